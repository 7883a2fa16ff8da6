#include "reference/frm_edit_profile_prompt.h"

#include <QTest>

#include "support/qt/screen_test.h"
#include "ui/data_combo.h"

namespace vym {
namespace {

using ui::DataCombo;
using ui::FlexGrid;

// The demo's prompt definitions: REASON requires a reason type and allows
// REQUIRED and COMMENT; PHOTOID allows REQUIRED, DLFORMAT and NOTEXPIRED.
class EditProfilePromptWindow : public test::ScreenOf<frmEditProfilePrompt> {
  protected:
    void Open(std::int32_t seq = 0) {
        window_.Setup(&maint_, "LIFTID", "TICKET", seq);
        window_.show();
        QCoreApplication::processEvents();
    }
    DataCombo& Combo(const char* name) { return Find<DataCombo>(name); }
    FlexGrid& Codes() { return Find<FlexGrid>("vsValidations"); }
    // "code" or "[x] code" for each listed validation.
    QStringList Listed() {
        QStringList codes;
        for (int row = 1; row < Codes().Rows(); ++row) {
            codes << (Codes().CellChecked(row, 0) ? "[x] " : "") + Codes().TextMatrix(row, 1);
        }
        return codes;
    }
    void Toggle(const QString& code) {
        Codes().SetCurrentCell(Codes().FindRow(code, 1), 0);
        QTest::keyClick(&Codes(), Qt::Key_Space);
    }
};

TEST_F(EditProfilePromptWindow, OkAsksForAPromptThenForTheReasonTypeItRequires) {
    Open();
    EXPECT_EQ(window_.windowTitle(), "Profile Prompt");
    EXPECT_EQ(Combo("cmbPrompt").Key(), "");
    EXPECT_EQ(Combo("cmbReasonType").currentText(), "<None>");
    script_.ExpectMessage("A prompt is required to continue.", "Prompt Required", kInformation);
    Click("cmdOk");
    script_.Verify();
    EXPECT_TRUE(window_.isVisible());

    Combo("cmbPrompt").SetKey("REASON");
    EXPECT_EQ(Listed(), QStringList({"REQUIRED", "COMMENT"}));
    script_.ExpectMessage("A reason type is required for this prompt.", "Reason Type Required",
                          kInformation);
    Click("cmdOk");
    script_.Verify();
    EXPECT_TRUE(window_.UserCancelled());

    Combo("cmbReasonType").SetKey("DEFECT");
    Click("cmdOk");
    EXPECT_FALSE(window_.UserCancelled());
    EXPECT_EQ(window_.PromptId(), "REASON");
    EXPECT_EQ(window_.ReasonTypeId(), "DEFECT");
    EXPECT_EQ(window_.ListCode(), "");
    EXPECT_EQ(window_.ValidationCodes(), "") << "no code checked, an empty list";
}

TEST_F(EditProfilePromptWindow, APromptThatNeedsNoReasonTypeIsAcceptedWithoutOne) {
    Open();
    Combo("cmbPrompt").SetKey("PHOTOID");
    Toggle("NOTEXPIRED");
    Toggle("REQUIRED");
    Combo("cmbFilterListCode").SetKey("GUESTSVC");
    Click("cmdOk");
    EXPECT_FALSE(window_.UserCancelled());
    EXPECT_EQ(window_.ReasonTypeId(), "");
    EXPECT_EQ(window_.ListCode(), "GUESTSVC");
    EXPECT_EQ(window_.ValidationCodes(), "REQUIRED,NOTEXPIRED") << "in the prompt's order";
}

TEST_F(EditProfilePromptWindow, ASavedPromptShowsItsChoicesAndAnotherPromptListsItsOwnCodes) {
    Open(2);
    EXPECT_EQ(Combo("cmbPrompt").Key(), "REASON");
    EXPECT_EQ(Combo("cmbReasonType").Key(), "WEATHER");
    EXPECT_EQ(Combo("cmbFilterListCode").Key(), "SUPERVISOR");
    EXPECT_EQ(Listed(), QStringList({"[x] REQUIRED", "COMMENT"}));

    Combo("cmbPrompt").SetKey("BIRTHDATE");
    EXPECT_EQ(Listed(), QStringList({"[x] REQUIRED", "DATE", "AGE65", "AGE6TO12"}));
    Click("cmdCancel");
    EXPECT_TRUE(window_.UserCancelled());
}

}  // namespace
}  // namespace vym
