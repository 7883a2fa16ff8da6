#include "reference/frm_profile_prompt.h"

#include <QTest>

#include "support/qt/screen_test.h"
#include "ui/data_combo.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

using test::FaultInjectingConnection;
using ui::DataCombo;
using ui::FlexGrid;

// Profile LIFTID of the demo asks at the ticket windows for a photo ID (1),
// a return reason for weather closures, filtered to supervisors (2), and a
// manager's authorization (3); at the retail registers for two prompts.
class ProfilePromptWindow : public test::ScreenOf<frmProfilePrompt> {
  protected:
    ProfilePromptWindow() : ScreenOf("grdPrompts") {}
    // Opens the prompts of profile LIFTID, on the module's tab if given.
    void Open(const char* module = nullptr) {
        window_.Setup(&maint_, "LIFTID");
        window_.show();
        QCoreApplication::processEvents();
        if (module != nullptr) {
            Tabs().SetCurrentKey(module);
        }
    }
    ui::KeyTabBar& Tabs() { return Find<ui::KeyTabBar>("tabModules"); }
    // "seq:prompt" of the rows shown, in order.
    QStringList Shown() {
        QStringList rows;
        for (int row = 1; row < Grid().Rows(); ++row) {
            if (!Grid().IsRowHidden(row)) {
                rows << Grid().TextMatrix(row, 1) + ":" + Grid().TextMatrix(row, 2);
            }
        }
        return rows;
    }
    void SelectSeq(int seq) {
        for (int row = 1; row < Grid().Rows(); ++row) {
            if (!Grid().IsRowHidden(row) && Grid().TextMatrix(row, 1).toInt() == seq) {
                Grid().SetCurrentCell(row, 0);
            }
        }
    }
    std::string Saved(int seq) {
        return Scalar(
            "SELECT prompt_id || '/' || COALESCE(reason_type_id, '') || '/' || "
            "COALESCE(list_code, '') || '/' || COALESCE(validation_codes, '') FROM "
            "vym_profile_prompt WHERE profile_id = 'LIFTID' AND module_id = 'TICKET' AND "
            "seq_no = " +
            std::to_string(seq));
    }
    // Checks or clears a validation code in the editor as a user would.
    static void Toggle(QDialog& editor, const QString& code) {
        auto* codes = editor.findChild<FlexGrid*>("vsValidations");
        codes->SetCurrentCell(codes->FindRow(code, 1), 0);
        QTest::keyClick(codes, Qt::Key_Space);
    }
};

TEST_F(ProfilePromptWindow, EachModuleTabShowsItsOwnPromptsInOrder) {
    Open();
    EXPECT_EQ(window_.windowTitle(), "Prompts for Profile LIFTID");
    ASSERT_EQ(Tabs().count(), 4);
    EXPECT_EQ(Tabs().CurrentKey(), "POS");
    EXPECT_EQ(Shown(), QStringList({"1:PHOTOID", "2:REASON"}));
    Tabs().SetCurrentKey("TICKET");
    EXPECT_EQ(Shown(), QStringList({"1:PHOTOID", "2:REASON", "3:AUTHORIZE"}));
    EXPECT_EQ(Grid().TextMatrix(Grid().Row(), 2), "PHOTOID") << "the module's first is selected";
    Tabs().SetCurrentKey("RENTAL");
    EXPECT_TRUE(Shown().isEmpty());
    Click("cmdDelete");
}

TEST_F(ProfilePromptWindow, AddSavesTheEditorsPromptLastInTheModule) {
    Open("TICKET");
    modals_.ExpectReject("frmEditProfilePrompt");
    Click("cmdAdd");
    modals_.Verify();
    EXPECT_EQ(Saved(4), "<none>") << "cancelled";

    modals_.Expect("frmEditProfilePrompt", [](QDialog& editor) {
        editor.findChild<DataCombo*>("cmbPrompt")->SetKey("GUESTNAME");
        Toggle(editor, "PROPERCASE");
        editor.findChild<QPushButton*>("cmdOk")->click();
    });
    Click("cmdAdd");
    modals_.Verify();
    EXPECT_EQ(Saved(4), "GUESTNAME///PROPERCASE");
    EXPECT_EQ(Shown(), QStringList({"1:PHOTOID", "2:REASON", "3:AUTHORIZE", "4:GUESTNAME"}));
    EXPECT_EQ(Grid().TextMatrix(Grid().Row(), 1), "4") << "the new prompt is selected";
}

TEST_F(ProfilePromptWindow, EditShowsTheSavedPromptAndSavesAnEmptyCodeList) {
    Open("TICKET");
    SelectSeq(2);
    modals_.Expect("frmEditProfilePrompt", [](QDialog& editor) {
        EXPECT_EQ(editor.findChild<DataCombo*>("cmbPrompt")->Key(), "REASON");
        EXPECT_EQ(editor.findChild<DataCombo*>("cmbReasonType")->Key(), "WEATHER");
        EXPECT_EQ(editor.findChild<DataCombo*>("cmbFilterListCode")->Key(), "SUPERVISOR");
        editor.findChild<DataCombo*>("cmbReasonType")->SetKey("INJURY");
        Toggle(editor, "REQUIRED");
        editor.findChild<QPushButton*>("cmdOk")->click();
    });
    emit Grid().CellDoubleClicked(Grid().Row(), 2);
    modals_.Verify();
    EXPECT_EQ(Saved(2), "REASON/INJURY/SUPERVISOR/");
    EXPECT_EQ(Grid().TextMatrix(Grid().Row(), 3), "INJURY");
}

TEST_F(ProfilePromptWindow, DeleteAsksAndTheArrowsMoveThePrompt) {
    Open("TICKET");
    SelectSeq(1);
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        script_.ExpectMessage(
            "Are you sure you want to delete the selected profile prompt for module TICKET and seq "
            "1?",
            "Confirm Delete", kQuestionYesNoDefaultNo, answer);
        Click("cmdDelete");
        EXPECT_EQ(Saved(1), answer == MsgResult::No ? "PHOTOID///REQUIRED,NOTEXPIRED"
                                                    : "REASON/WEATHER/SUPERVISOR/REQUIRED");
    }
    EXPECT_EQ(Shown(), QStringList({"1:REASON", "2:AUTHORIZE"}));

    SelectSeq(1);
    Click("cmdDown");
    EXPECT_EQ(Shown(), QStringList({"1:AUTHORIZE", "2:REASON"}));
    EXPECT_EQ(Grid().TextMatrix(Grid().Row(), 2), "REASON") << "the moved prompt stays selected";
    Click("cmdDown");  // already last
    EXPECT_EQ(Shown(), QStringList({"1:AUTHORIZE", "2:REASON"}));
    Click("cmdUp");
    EXPECT_EQ(Shown(), QStringList({"1:REASON", "2:AUTHORIZE"}));
    EXPECT_EQ(Saved(1), "REASON/WEATHER/SUPERVISOR/REQUIRED");
}

TEST_F(ProfilePromptWindow, AFailedSaveSaysSoAndChangesNothing) {
    FaultInjectingConnection& faulty = Faults();
    errorsExpected_ = true;
    Open("TICKET");
    SelectSeq(3);
    modals_.Expect("frmEditProfilePrompt", [&](QDialog& editor) {
        Toggle(editor, "PASSWORD");
        faulty.FailOnCall(1, FaultInjectingConnection::Fault::DiskFull);
        editor.findChild<QPushButton*>("cmdOk")->click();
    });
    script_.ExpectMessage("Error updating profile prompt", "Update Error", kInformation);
    Click("cmdEdit");
    modals_.Verify();
    script_.Verify();
    EXPECT_EQ(Saved(3), "AUTHORIZE//MANAGER/REQUIRED,PASSWORD");
}

}  // namespace
}  // namespace vym
