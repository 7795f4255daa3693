#include <gtest/gtest.h>

#include <string>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/settle_variables.h"

using namespace kelvara;

namespace {

class SettleVariables : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(setupState.variableNames.create(5));
        ASSERT_TRUE(setupState.variableValues.create(5));
    }
    void TearDown() override {
        setupState.variableNames.destroy();
        setupState.variableValues.destroy();
    }
    static std::string value(const char* name) {
        const char* v = lookupVariable(name);
        return v ? v : "<missing>";
    }
};

}  // namespace

TEST_F(SettleVariables, EveryValueEndsFullyExpandedWhateverTheOrder) {
    // Defined before what they name, and in a chain several levels deep.
    defineVariable("%InstallPath%", "%Base%\\%Product%");
    defineVariable("%Base%", "%Root%\\Programs");
    defineVariable("%Product%", "Tool %Version%");
    defineVariable("%Root%", "C:");
    defineVariable("%Version%", "%Major%.0");
    defineVariable("%Major%", "3");
    EXPECT_EQ(settleVariables(), -1);
    EXPECT_EQ(value("%InstallPath%"), "C:\\Programs\\Tool 3.0");
    EXPECT_EQ(value("%Base%"), "C:\\Programs");
    EXPECT_EQ(value("%Version%"), "3.0");
}

TEST_F(SettleVariables, ReferencesInAnotherCaseAndUndefinedNamesAreHandled) {
    defineVariable("%Dir%", "%installpath%\\bin");
    defineVariable("%InstallPath%", "D:\\App");
    defineVariable("%Other%", "%NotDefined%\\x");
    EXPECT_EQ(settleVariables(), -1);
    EXPECT_EQ(value("%Dir%"), "D:\\App\\bin");
    EXPECT_EQ(value("%Other%"), "%NotDefined%\\x") << "an undefined name stays as written";
}

TEST_F(SettleVariables, ADefinitionThatNamesItselfIsReportedInsteadOfLooping) {
    defineVariable("%Fine%", "ok");
    defineVariable("%A%", "%B%\\a");
    defineVariable("%B%", "%A%\\b");
    EXPECT_EQ(settleVariables(), 1) << "the first value that can never settle";
    EXPECT_EQ(value("%Fine%"), "ok");

    setupState.variableNames.clear();
    setupState.variableValues.clear();
    defineVariable("%Self%", "x%Self%");
    EXPECT_EQ(settleVariables(), 0);
}

TEST_F(SettleVariables, AnEmptyTableIsSettled) {
    EXPECT_EQ(settleVariables(), -1);
}
