// Reading, testing and deleting parameters of other objects' functions.
#include <gtest/gtest.h>

#include "runtime/params.h"
#include "runtime/process.h"
#include "support/support.h"

namespace {

class Params : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset_runtime();
    object = new Object("S", "obj");
    Add_function(object, "f", nullptr);
    Get_function_params(object, "f")["P"].value.number = 2.5;
  }
  void TearDown() override { Reset_runtime(); }
  Object* object = nullptr;
};

TEST_F(Params, ReadOfAMissingParameterReportsOnceAndCreatesZero) {
  testing::internal::CaptureStdout();
  Data& first = Return_fun_var_data("S", "obj", "f", "Q");
  EXPECT_EQ(first.value.number, 0.0);
  first.value.number = 4.0;
  Data& second = Return_fun_var_data("S", "obj", "f", "Q");
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(second.value.number, 4.0);
  EXPECT_EQ(Return_fun_var_data("S", "obj", "f", "P").value.number, 2.5);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Return_fun_var_data) In Global_env in store <S> in  object <obj> in fun_name <f> "
            "data <Q> no found!\n");
}

TEST_F(Params, ReadOfAMissingFunctionReportsTheFunctionOnlyAndCreatesBoth) {
  testing::internal::CaptureStdout();
  Return_fun_var_data("S", "obj", "g", "Q").value.flag = 1;
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Return_fun_var_data) In Global_env in store <S> in  object <obj> fun_name <g>  "
            "no found!\n");
  ASSERT_EQ(object->functions.count("g"), 1u);
  EXPECT_EQ(object->functions["g"].fun, nullptr);
  EXPECT_EQ(object->functions["g"].params["Q"].value.flag, 1);

  testing::internal::CaptureStdout();
  Return_fun_data("S", "obj", "h")["Z"];
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Return_fun_data) In Global_env in store <S> in  object <obj> fun_name <h>  "
            "no found!\n");
  EXPECT_EQ(object->functions["h"].params.count("Z"), 1u);
}

TEST_F(Params, DeletionReportsWhatIsMissing) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(Delete_fun_param("S", "obj", "f", "Q"));
  EXPECT_FALSE(Delete_fun_param("S", "obj", "g", "Q"));
  EXPECT_TRUE(Delete_fun_param("S", "obj", "f", "P"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Delete_fun_param) In Global_env in store <S> in  object <obj> in fun_name <f> "
            "param <Q> no found!\n"
            "(Delete_fun_data) In Global_env in store <S> in  object <obj> fun_name <g>  "
            "no found!\n");
  EXPECT_EQ(object->functions["f"].params.count("P"), 0u);
  EXPECT_EQ(object->functions.count("g"), 0u);
}

TEST_F(Params, MissingObjectGivesHarmlessResultsAndChangesNothing) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(Has_fun_var_data("S", "nobody", "f", "P"));
  EXPECT_FALSE(Has_fun_var_data("T", "obj", "f", "P"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  testing::internal::CaptureStdout();
  Data& scratch = Return_fun_var_data("S", "nobody", "f", "P");
  scratch.value.number = 9.0;
  Return_fun_data("S", "nobody", "f")["junk"];
  EXPECT_FALSE(Delete_fun_param("S", "nobody", "f", "P"));
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("(Get_object_from_global_store) In <S> object <nobody> no found!"),
            std::string::npos);
  // The scratch belongs to no object and does not remember earlier writes.
  EXPECT_EQ(Return_fun_var_data("S", "nobody", "f", "P").value.number, 0.0);
  EXPECT_TRUE(Return_fun_data("S", "nobody", "f").empty());
  EXPECT_EQ(Global_env.size(), 1u);
  EXPECT_EQ(Global_env["S"].size(), 1u);
}

TEST_F(Params, PresenceTestsNeitherPrintNorCreate) {
  testing::internal::CaptureStdout();
  EXPECT_TRUE(Has_fun_var_data("S", "obj", "f", "P"));
  EXPECT_FALSE(Has_fun_var_data("S", "obj", "f", "Q"));
  EXPECT_FALSE(Has_fun_var_data("S", "obj", "g", "P"));
  EXPECT_TRUE(Has_fun_param(object, "f", "P"));
  EXPECT_FALSE(Has_fun_param(object, "g", "P"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(object->functions.size(), 1u);
  EXPECT_EQ(object->functions["f"].params.size(), 1u);
}

Object* seen = nullptr;
bool had_p = false, had_q = false;
void Inspect_own_params() {
  seen = Current_object;
  had_p = Has_param(Current_object, "P");
  had_q = Has_param(Current_object, "Q");
  Remove_eval_function_param(Current_object, "P");
  Remove_eval_function_param(Current_object, "Q");
}

TEST_F(Params, RunningFunctionSeesAndErasesItsOwnParameters) {
  Add_function(object, "f", Inspect_own_params);
  Start_function_before(object, "f");
  Process_obj(object);
  testing::internal::CaptureStdout();
  Process_obj(object);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Remove_eval_function_param) In store <S> in  object <obj> in fun_name <f> data <Q "
            "no found!\n");
  EXPECT_EQ(seen, object);
  EXPECT_TRUE(had_p);
  EXPECT_FALSE(had_q);
  EXPECT_EQ(object->functions["f"].params.count("P"), 0u);
}

}  // namespace
