// The frame walk: run-list order, children by store and link order, queued requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/params.h"
#include "runtime/process.h"
#include "support/support.h"

namespace {

std::vector<std::string> trace;

// Records "object:function" for every call.
void Trace() { trace.push_back(Current_object->name + ":" + Current_object->fun_name); }

void Remove_self() {
  Trace();
  Queue_remove_function(Current_object, Current_object->fun_name);
  trace.push_back("still running");
}

void End_self() {
  Trace();
  End_object(Current_object);
}

Object* victim = nullptr;
void End_victim() {
  Trace();
  End_object(victim);
}

// Registers a function and starts it on the chosen list.
void Add(Object* object, const std::string& fun, bool before, Callback callback = Trace) {
  Add_function(object, fun, callback);
  if (before)
    Start_function_before(object, fun);
  else
    Start_function_after(object, fun);
}

class FrameWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset_runtime();
    trace.clear();
    root = new Object("Main_store", "main");
  }
  void TearDown() override { Reset_runtime(); }
  // One frame: process the root, then sweep.
  void Frame() {
    Process_obj(root);
    Sweep_global_store();
  }
  Object* root = nullptr;
};

TEST_F(FrameWalk, BootExampleAppliesQueuesInFirstFrameAndRunsFromTheSecond) {
  Object* cursor = new Object("A_Int_store", "cursor");
  Add(cursor, "long_view", true);
  Add(cursor, "follow_mouse", true);
  Add(cursor, "cursor_draw", false);
  Add(cursor, "follow_mouse_end", false);
  Add(cursor, "long_view_end", false);
  Link_object(root, "A_Int_store", "cursor");
  Object* loader = new Object("z_Int_store", "loader");
  Add(loader, "long_view", true);
  Add(loader, "loader_draw", false);
  Add(loader, "website_draw", false);
  Add(loader, "long_view_end", false);
  // Linked after the loader, yet it runs first: "A_Int_store" sorts before "z_Int_store".
  Link_object(root, "z_Int_store", "loader");

  Frame();
  EXPECT_TRUE(trace.empty());
  EXPECT_EQ(cursor->before_list, (std::vector<std::string>{"long_view", "follow_mouse"}));
  EXPECT_TRUE(Is_object_in_global_store("z_Int_store", "loader"));

  Frame();
  EXPECT_EQ(trace, (std::vector<std::string>{
                       "cursor:long_view", "cursor:follow_mouse", "cursor:cursor_draw",
                       "cursor:follow_mouse_end", "cursor:long_view_end", "loader:long_view",
                       "loader:loader_draw", "loader:website_draw", "loader:long_view_end"}));
}

TEST_F(FrameWalk, ChildrenRunInStoreByteOrderThenLinkOrderBetweenBeforeAndAfter) {
  Add(root, "first", true);
  Add(root, "last", false);
  for (const char* store : {"z_Int_store", "Int_store", "puzzle0.pak", "Int_butt", "plase0.pak",
                            "A_Int_store"}) {
    for (const char* name : {"b", "a"}) {
      Object* child = new Object(store, std::string(store) + "/" + name);
      Add(child, "draw", false);
      Link_object(root, store, child->name);
    }
  }
  Frame();  // applies the queues
  trace.clear();
  Frame();
  std::vector<std::string> expected = {"main:first"};
  for (const char* store : {"A_Int_store", "Int_butt", "Int_store", "plase0.pak", "puzzle0.pak",
                            "z_Int_store"}) {
    expected.push_back(std::string(store) + "/b:draw");
    expected.push_back(std::string(store) + "/a:draw");
  }
  expected.push_back("main:last");
  EXPECT_EQ(trace, expected);
}

TEST_F(FrameWalk, DuplicatesOnAListAndDoubleLinksRunEachTimeAndCurrentObjectIsRestored) {
  Add_function(root, "f", Trace);
  Start_function_before(root, "f");
  Start_function_before(root, "f");
  Add(root, "after", false);
  Object* child = new Object("C", "twice");
  Add(child, "draw", false);
  Link_object(root, "C", "twice");
  Link_object(root, "C", "twice");
  Frame();  // the second processing of the child already has its queue applied
  trace.clear();
  Frame();
  EXPECT_EQ(trace, (std::vector<std::string>{"main:f", "main:f", "twice:draw", "twice:draw",
                                             "main:after"}));
  EXPECT_EQ(root->fun_name, "");
  // A function started later runs from the processing after its start.
  Add(child, "g", true);
  trace.clear();
  Frame();  // the first processing applies the queue, the second runs it
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "twice:g"), 1);
}

TEST_F(FrameWalk, AddFunctionTwiceKeepsParametersAndTakesTheSecondCallback) {
  Get_function_params(root, "f")["X"].value.number = 7.0;
  Add_function(root, "f", Remove_self);
  Add_function(root, "f", Trace);
  EXPECT_EQ(root->functions.size(), 1u);
  EXPECT_EQ(root->functions["f"].params["X"].value.number, 7.0);
  Start_function_after(root, "f");
  Frame();
  Frame();
  EXPECT_EQ(trace, std::vector<std::string>{"main:f"});
}

TEST_F(FrameWalk, StartsBeforeStopsBeforeRemovalsAndStopTakesOnlyTheFirstOccurrence) {
  Add_function(root, "f", Trace);
  Start_function_before(root, "f");
  Queue_remove_function(root, "f");
  Frame();
  EXPECT_EQ(root->functions.count("f"), 0u);
  EXPECT_TRUE(root->before_list.empty());

  // A start and a stop of one name in one frame leave the name off the list.
  Add_function(root, "g", Trace);
  Start_function_after(root, "g");
  Queue_stop_function_after(root, "g");
  Frame();
  EXPECT_TRUE(root->after_list.empty());
  EXPECT_EQ(root->functions.count("g"), 1u);

  Start_function_before(root, "g");
  Start_function_before(root, "g");
  Start_function_after(root, "g");
  Frame();
  Queue_stop_function_before(root, "g");
  Frame();
  EXPECT_EQ(root->before_list, std::vector<std::string>{"g"});
  EXPECT_EQ(root->after_list, std::vector<std::string>{"g"});
  Queue_remove_function(root, "g");
  Frame();
  EXPECT_TRUE(root->before_list.empty());
  EXPECT_TRUE(root->after_list.empty());
  EXPECT_EQ(root->functions.count("g"), 0u);
}

TEST_F(FrameWalk, AFunctionThatRemovesItselfFinishesItsCallAndNeverRunsAgain) {
  Add(root, "once", true, Remove_self);
  Add(root, "after", true);
  Frame();
  Frame();
  Frame();
  EXPECT_EQ(trace, (std::vector<std::string>{"main:once", "still running", "main:after",
                                             "main:after"}));
  EXPECT_EQ(root->functions.count("once"), 0u);
}

TEST_F(FrameWalk, ObjectEndedByItsOwnBeforeListStillRunsEverythingAndDiesThatFrame) {
  Object* parent = new Object("P", "parent");
  Link_object(root, "P", "parent");
  Add(parent, "end", true, End_self);
  Add(parent, "more", true);
  Add(parent, "draw", false);
  Object* child = new Object("C", "child");
  Add(child, "draw", false);
  Link_object(parent, "C", "child");
  Frame();
  Frame();  // child queues applied; parent ends itself here
  EXPECT_EQ(trace, (std::vector<std::string>{"parent:end", "parent:more", "child:draw",
                                             "parent:draw"}));
  EXPECT_FALSE(Is_object_in_global_store("P", "parent"));
  // The child was processed in that frame, so it lives until the next sweep.
  EXPECT_TRUE(Is_object_in_global_store("C", "child"));
  testing::internal::CaptureStdout();
  Frame();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(Is_object_in_global_store("C", "child"));
  // The store itself lasts one sweep longer than its last object.
  EXPECT_EQ(out, "(Launch_from_global_store)) In <P> object <parent> no found!\n");
}

TEST_F(FrameWalk, ObjectEndedByAnotherBeforeItsTurnRunsNothing) {
  Object* killer = new Object("A", "killer");
  victim = new Object("B", "victim");
  Link_object(root, "A", "killer");
  Link_object(root, "B", "victim");
  Add(victim, "draw", true);
  Frame();  // both get their run lists
  Add(killer, "kill", true, End_victim);
  Add(victim, "never", true);
  Frame();  // killer's queue applied; victim runs draw
  trace.clear();
  Frame();  // killer ends the victim before the victim's turn
  EXPECT_EQ(trace, std::vector<std::string>{"killer:kill"});
  EXPECT_FALSE(Is_object_in_global_store("B", "victim"));
}

TEST_F(FrameWalk, ObjectEndedAfterItsProcessingSurvivesOneMoreFrame) {
  victim = new Object("A", "victim");
  Object* killer = new Object("B", "killer");
  Link_object(root, "A", "victim");
  Link_object(root, "B", "killer");
  Add(killer, "kill", true, End_victim);
  Add(victim, "draw", true);
  Frame();
  Frame();  // victim draws, then is ended by the killer after its processing
  EXPECT_TRUE(Is_object_in_global_store("A", "victim"));
  Frame();  // its next processing runs nothing
  EXPECT_FALSE(Is_object_in_global_store("A", "victim"));
  EXPECT_EQ(trace, (std::vector<std::string>{"victim:draw", "killer:kill", "killer:kill"}));
}

TEST_F(FrameWalk, MissingFunctionIsReportedOnceAndOneWithoutCallbackIsSkippedSilently) {
  Start_function_before(root, "ghost");
  Get_function_params(root, "params_only")["X"].value.number = 1.0;
  Start_function_before(root, "params_only");
  Add(root, "real", true);
  Frame();
  testing::internal::CaptureStdout();
  Frame();
  Frame();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Process_obj) Function\"ghost\" not found or delete\n");
  EXPECT_EQ(trace, (std::vector<std::string>{"main:real", "main:real"}));
  EXPECT_EQ(std::count(root->before_list.begin(), root->before_list.end(), "ghost"), 0);
  EXPECT_EQ(root->before_list.back(), "real");
}

TEST_F(FrameWalk, StopsAndRemovalsOfAbsentNamesAreReported) {
  Start_function_after(root, "unregistered");
  Queue_stop_function_before(root, "nothing");
  Queue_stop_function_after(root, "nothing");
  Queue_remove_function(root, "unregistered");
  testing::internal::CaptureStdout();
  Frame();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Stop_function_after) Error, function\"nothing\" not found, and can't stop\n"
            "(Stop_function_before) Error, function\"nothing\" not found, and can't stop\n"
            "(Remove_function) Error, function\"unregistered\" not found, and can't delete\n");
  // The name stays on the list; the next after pass reports and erases it.
  EXPECT_EQ(root->after_list, std::vector<std::string>{"unregistered"});
  testing::internal::CaptureStdout();
  Frame();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Process_obj) Function\"unregistered\" not found or delete\n");
  EXPECT_TRUE(root->after_list.empty());
}

}  // namespace
