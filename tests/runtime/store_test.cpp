// The global object store: creation, replacement, lookups and the end-of-frame sweep.
#include <gtest/gtest.h>

#include "runtime/process.h"
#include "support/support.h"

namespace {

int destroyed = 0;
struct Destruction_probe {
  ~Destruction_probe() { ++destroyed; }
};

class Store : public ::testing::Test {
 protected:
  void SetUp() override { Reset_runtime(); }
  void TearDown() override { Reset_runtime(); }
};

TEST_F(Store, UnlinkedObjectSurvivesItsCreationFrameAndDiesAtTheEndOfTheNext) {
  new Object("S", "lonely");
  Sweep_global_store();
  EXPECT_TRUE(Is_object_in_global_store("S", "lonely"));
  Sweep_global_store();
  EXPECT_FALSE(Is_object_in_global_store("S", "lonely"));
  // The emptied store stays until the following sweep.
  EXPECT_EQ(Global_env.count("S"), 1u);
  Sweep_global_store();
  EXPECT_EQ(Global_env.count("S"), 0u);
}

TEST_F(Store, ProcessedObjectsStayAndTwoSweepsInARowDestroyEverything) {
  Object* root = new Object("Main_store", "main");
  new Object("C", "child");
  Link_object(root, "C", "child");
  for (int frame = 0; frame < 3; ++frame) {
    Process_obj(root);
    Sweep_global_store();
  }
  EXPECT_TRUE(Is_object_in_global_store("C", "child"));
  Sweep_global_store();
  Sweep_global_store();
  EXPECT_FALSE(Is_object_in_global_store("C", "child"));
  EXPECT_FALSE(Is_object_in_global_store("Main_store", "main"));
}

TEST_F(Store, NamesakeIsDestroyedAtOnceAndLinksReachTheNewObject) {
  Object* root = new Object("Main_store", "main");
  Object* first = new Object("S", "same");
  Get_function_params(first, "probe");  // give it something to own
  first->functions["probe"].params["P"];
  Link_object(root, "S", "same");
  Object* second = new Object("S", "same");
  EXPECT_NE(first, second);
  EXPECT_EQ(Get_object_from_global_store("S", "same"), second);
  EXPECT_EQ(Global_env["S"].size(), 1u);
  Process_obj(root);
  EXPECT_EQ(second->alive, 1);
  EXPECT_EQ(root->links.size(), 1u);
}

TEST_F(Store, LookupMessagesAndNoEntriesCreatedByMisses) {
  new Object("S", "here");
  testing::internal::CaptureStdout();
  EXPECT_EQ(Get_object_from_global_store("Nope", "x"), nullptr);
  EXPECT_EQ(Get_object_from_global_store("S", "x"), nullptr);
  EXPECT_FALSE(Is_object_in_global_store("S", "x"));
  EXPECT_FALSE(Is_object_in_global_store("Nope", "here"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Get_object_from_global_store) Store <Nope> no found!\n"
            "(Get_object_from_global_store) In <S> object <x> no found!\n");
  EXPECT_EQ(Global_env.size(), 1u);
  EXPECT_EQ(Global_env["S"].size(), 1u);
}

TEST_F(Store, DanglingLinkIsReportedOnceThenErased) {
  Object* root = new Object("Main_store", "main");
  new Object("S", "keeper");
  new Object("S", "gone");
  Link_object(root, "S", "keeper");
  Link_object(root, "S", "gone");
  Process_obj(root);
  Sweep_global_store();
  Global_env["S"].erase("gone");
  Link_object(root, "T", "never_made");
  testing::internal::CaptureStdout();
  Process_obj(root);
  Process_obj(root);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Launch_from_global_store)) In <S> object <gone> no found!\n"
            "(Launch_from_global_store) Store <T> no found!\n");
  EXPECT_EQ(root->links.size(), 1u);
}

TEST_F(Store, LinkIntoAStoreEmptiedBySweepsReportsTheStore) {
  Object* root = new Object("Main_store", "main");
  new Object("Lone", "obj");
  Sweep_global_store();
  Process_obj(root);     // the root stays alive, as it does every frame
  Sweep_global_store();  // object destroyed, store empty
  Link_object(root, "Lone", "obj");
  testing::internal::CaptureStdout();
  Process_obj(root);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Launch_from_global_store)) In <Lone> object <obj> no found!\n");
  Sweep_global_store();  // erases the empty store
  Link_object(root, "Lone", "obj");
  testing::internal::CaptureStdout();
  Process_obj(root);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Launch_from_global_store) Store <Lone> no found!\n");
}

TEST_F(Store, RemoveObjectUnlinksTheFirstMatchOnlyAndReportsAMiss) {
  Object* root = new Object("Main_store", "main");
  new Object("S", "child");
  Link_object(root, "S", "child");
  Link_object(root, "S", "child");
  Process_obj(root);
  Remove_object(root, "S", "child");
  EXPECT_EQ(root->links.size(), 1u);
  Remove_object(root, "S", "child");
  testing::internal::CaptureStdout();
  Remove_object(root, "S", "child");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Remove_object) Error, object\"S child\" not found, and can't remove\n");
  // The child is not destroyed by the unlink, only by a sweep that finds it unprocessed.
  EXPECT_TRUE(Is_object_in_global_store("S", "child"));
}

}  // namespace
