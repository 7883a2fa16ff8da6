#include <gtest/gtest.h>

#include "support/core/prompter_script.h"
#include "support/core/scripted_prompter.h"

namespace vym {
namespace {

// A script whose failures are collected, so that the tests can check them.
struct Recorded {
    std::vector<std::string> failures;
    ScriptedPrompter script{[this](const std::string& f) { failures.push_back(f); }};
};

TEST(ScriptedPrompter, AnswersExpectedPromptsInOrder) {
    test::PrompterScript script;
    script.ExpectMessage("Delete this item?", "Delete", kQuestionYesNoDefaultNo, MsgResult::Yes)
        .ExpectInput("Enter the new code", std::string("NEW"))
        .ExpectOpenFile(std::string("/tmp/a.tpl"))
        .ExpectSaveFile(std::nullopt)
        .ExpectMessage("Saved", "", kInformation);

    EXPECT_EQ(MsgBox("Delete this item?", kQuestionYesNoDefaultNo, "Delete"), MsgResult::Yes);
    EXPECT_EQ(InputBox("Enter the new code"), "NEW");
    EXPECT_EQ(CurrentPrompter().OpenFile("Open", "Template (*.tpl)|*.tpl", ""), "/tmp/a.tpl");
    EXPECT_EQ(CurrentPrompter().SaveFile("Save", "", ""), std::nullopt);
    EXPECT_EQ(MsgBox("Saved", kInformation), MsgResult::OK);
    EXPECT_TRUE(script.AllMet());
    EXPECT_EQ(script.Transcript().size(), 5u);
}

TEST(ScriptedPrompter, ReportsADifferentMessage) {
    Recorded r;
    r.script.ExpectMessage("Unable to update function", "Update Failed", kInformation);
    MsgBox("Unable to update function.", kInformation, "Update Failed");
    MsgBox("Other", kExclamation, "");  // nothing more expected
    ASSERT_EQ(r.failures.size(), 2u);
    EXPECT_NE(r.failures[0].find("\"Unable to update function.\""), std::string::npos);
    EXPECT_NE(r.failures[0].find("expected message \"Unable to update function\""),
              std::string::npos);
    EXPECT_NE(r.failures[1].find("unexpected message \"Other\""), std::string::npos);
}

TEST(ScriptedPrompter, ReportsMissingPromptsOnceAndRestoresThePreviousPrompter) {
    std::vector<std::string> failures;
    {
        ScriptedPrompter script([&](const std::string& f) { failures.push_back(f); });
        script.ExpectMessage("Shown", "T", kInformation).ExpectInput("Code", "A");
        MsgBox("Shown", kInformation, "T");
        script.Verify();
        EXPECT_EQ(failures.size(), 1u);
        EXPECT_NE(failures[0].find("input box \"Code\""), std::string::npos);
    }
    EXPECT_EQ(failures.size(), 1u);
    // Back to the headless default: the default button, every input cancelled.
    EXPECT_EQ(MsgBox("Sure?", kQuestionYesNoDefaultNo), MsgResult::No);
    EXPECT_EQ(MsgBox("Sure?", kQuestionYesNo), MsgResult::Yes);
    EXPECT_EQ(InputBox("Code"), std::nullopt);
}

// A different title or style, a prompt of another kind, an answer the box
// cannot give: each is one failure.
TEST(ScriptedPrompter, ReportsEachMismatchOnce) {
    Recorded r;
    r.script.ExpectMessage("Sure?", "Delete", kQuestionYesNoDefaultNo, MsgResult::No)
        .ExpectMessage("Sure?", "Delete", kQuestionYesNoDefaultNo, MsgResult::No);
    EXPECT_EQ(MsgBox("Sure?", kQuestionYesNoDefaultNo, "Remove"), MsgResult::No);
    MsgBox("Sure?", kQuestionYesNo, "Delete");
    EXPECT_EQ(r.failures.size(), 2u);

    r.script.ExpectInput("Code", "A");
    EXPECT_EQ(MsgBox("Sure?", kQuestionYesNo), MsgResult::Yes);
    EXPECT_EQ(InputBox("Code"), "A");  // the input is still expected
    EXPECT_EQ(r.failures.size(), 3u);

    r.script.ExpectMessage("Saved", "", kInformation, MsgResult::Yes);
    EXPECT_EQ(r.failures.size(), 4u);
    r.script.Verify();
}

}  // namespace
}  // namespace vym
