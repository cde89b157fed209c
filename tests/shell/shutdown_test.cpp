// One frame's bookkeeping and the orderly shutdown.
#include <gtest/gtest.h>

#include "app/frame.h"
#include "runtime/process.h"
#include "support/support.h"

namespace {

TEST(Frame, UnreachedObjectsAreSweptAtTheEndOfTheFrameAndShutDownDestroysAll) {
  Ensure_video();
  Reset_runtime();
  Main_object = new Object("Main_store", "main");
  new Object("A_Int_store", "linked");
  Link_object(Main_object, "A_Int_store", "linked");
  new Object("A_Int_store", "stray");
  Run_frame();
  Run_frame();
  EXPECT_TRUE(Is_object_in_global_store("A_Int_store", "linked"));
  EXPECT_FALSE(Is_object_in_global_store("A_Int_store", "stray"));
  Shut_down();
  EXPECT_EQ(Main_object, nullptr);
  EXPECT_FALSE(Is_object_in_global_store("A_Int_store", "linked"));
  EXPECT_FALSE(Is_object_in_global_store("Main_store", "main"));
}

}  // namespace
