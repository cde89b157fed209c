// The frame walk, object lifetimes, queued run-list requests and parameter look-ups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/params.h"
#include "runtime/process.h"

namespace {
std::vector<std::string> trace;  // "object:function" of every call
void Trace() { trace.push_back(Current_object->name + ":" + Current_object->fun_name); }
void End_self() { Trace(); End_object(Current_object); }
void End_victim() {
  Trace();
  if (Is_object_in_global_store("V", "victim")) End_object(Get_object_from_global_store("V", "victim"));
}

void Add(Object* object, const std::string& fun, Run_list list, Callback callback = Trace) {
  Add_started_function(object, fun, callback, list);
}
class Runtime : public ::testing::Test {
 protected:
  void SetUp() override { Destroy_all_objects(); trace.clear(); Create_main_object(); }
  void TearDown() override { Destroy_all_objects(); }
  static void Frame() { Process_obj(Main_object); Sweep_global_store(); }
  static Object* Child(const std::string& store, const std::string& name) {
    Link_object(Main_object, store, name);
    return new Object(store, name);
  }
};

TEST_F(Runtime, ChildrenRunByStoreByteOrderThenLinkOrderBetweenTheLists) {
  Add(Main_object, "first", Before_list);
  Add(Main_object, "last", After_list);
  for (const char* store : {"z_Int_store", "Int_store", "puzzle0.pak", "A_Int_store", "Int_butt"})
    for (const char* name : {"b", "a"}) Add(Child(store, std::string(store) + "/" + name), "draw", After_list);
  Frame();  // the first processing applies the queued starts
  EXPECT_TRUE(trace.empty());
  Frame();
  std::vector<std::string> expected = {"main:first"};
  for (const char* store : {"A_Int_store", "Int_butt", "Int_store", "puzzle0.pak", "z_Int_store"})
    for (const char* name : {"/b:draw", "/a:draw"}) expected.push_back(store + std::string(name));
  expected.push_back("main:last");
  EXPECT_EQ(trace, expected);
}

TEST_F(Runtime, EndedObjectsFinishTheirFrameAndUnprocessedOnesGoAtTheSecondSweep) {
  Object* parent = Child("P", "parent");
  Add(parent, "end", Before_list, End_self);
  Add(parent, "draw", After_list);
  Link_object(parent, "Q", "child");
  Add(new Object("Q", "child"), "draw", After_list);
  Add(Child("V", "victim"), "draw", Before_list);
  Add(Child("K", "killer"), "kill", Before_list, End_victim);  // "K" runs before "V"
  Frame();
  Frame();
  // The parent ended itself yet ran all of its lists and its child; the victim ran nothing.
  EXPECT_EQ(trace, (std::vector<std::string>{"killer:kill", "parent:end", "child:draw", "parent:draw"}));
  EXPECT_FALSE(Is_object_in_global_store("P", "parent"));
  EXPECT_FALSE(Is_object_in_global_store("V", "victim"));
  EXPECT_TRUE(Is_object_in_global_store("Q", "child"));  // processed this frame
  Frame();  // not processed since the last sweep: destroyed by this one
  EXPECT_FALSE(Is_object_in_global_store("Q", "child"));
}

TEST_F(Runtime, QueuedRequestsApplyInTheNextProcessingAndAStopTakesTheFirstOccurrence) {
  Add_function(Main_object, "g", Trace);
  for (int i = 0; i < 2; ++i) Start_function_before(Main_object, "g");
  Start_function_after(Main_object, "g");
  EXPECT_TRUE(Main_object->before_list.empty());
  Frame();
  Queue_stop_function_before(Main_object, "g");
  Queue_stop_function_after(Main_object, "g");
  trace.clear();
  Frame();  // still runs three times, then the stops apply
  EXPECT_EQ(trace.size(), 3u);
  EXPECT_EQ(Main_object->before_list, std::vector<std::string>{"g"});
  EXPECT_TRUE(Main_object->after_list.empty());
  Queue_remove_function(Main_object, "g");
  Frame();
  EXPECT_TRUE(Main_object->before_list.empty());
  EXPECT_EQ(Main_object->functions.count("g"), 0u);
}

TEST_F(Runtime, PresenceTestsCreateNothingWhileReadsCreate) {
  Object* object = new Object("S", "obj");
  Get_function_params(object, "f")["P"].value.number = 2.5;
  EXPECT_TRUE(Has_fun_var_data("S", "obj", "f", "P"));
  EXPECT_FALSE(Has_fun_var_data("S", "obj", "f", "Q") || Has_fun_var_data("S", "obj", "g", "P"));
  EXPECT_FALSE(Has_fun_var_data("S", "nobody", "f", "P"));
  EXPECT_TRUE(object->functions.size() == 1 && object->functions["f"].params.size() == 1);
  Return_fun_var_data("S", "obj", "f", "Q").value.number = 4;
  Return_fun_data("S", "obj", "h")["Z"];
  EXPECT_EQ(object->functions["f"].params["Q"].value.number, 4);
  EXPECT_EQ(object->functions["h"].params.count("Z"), 1u);
  Return_fun_var_data("S", "nobody", "f", "P").value.number = 9;  // a scratch, not kept
  EXPECT_EQ(Return_fun_var_data("S", "nobody", "f", "P").value.number, 0);
  EXPECT_EQ(Global_env["S"].size(), 1u);
}

TEST_F(Runtime, StoreSignatureIgnoresTimeAndSeesEveryOtherChange) {
  Param_map& params = Add_started_function(new Object("S", "obj"), "f", Trace, After_list);
  params["TIME"].value.number = 1;
  const uint64_t before = Store_signature();
  params["TIME"].value.number = 2000;
  EXPECT_EQ(Store_signature(), before);
  params["X"].value.number = 0.5;
  EXPECT_NE(Store_signature(), before);
}

}  // namespace
