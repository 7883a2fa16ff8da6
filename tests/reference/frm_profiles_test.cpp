#include "reference/frm_profiles.h"

#include <QLineEdit>
#include <QTest>
#include <functional>

#include "gateway/sql_quote.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kProfile = 1;
constexpr int kDescription = 2;

// The demo's profiles: AGE, LIFTID (the return profile of two day tickets),
// PASSPHOTO, RENTWAIVER (used by no item) and RETURN.
class ProfilesWindow : public test::ScreenTest {
  protected:
    void Open() {
        window_ = std::make_unique<frmProfiles>();
        screen_ = window_.get();
        window_->Setup(&maint_);
        window_->show();
        QCoreApplication::processEvents();
    }
    FlexGrid& Grid() { return *window_->findChild<FlexGrid*>("grdProfiles"); }
    // Types into the cell being edited, or starts the edit first.
    bool Type(int row, int col, const QString& text) {
        FlexGrid& grid = Grid();
        if (!grid.IsEditing()) {
            grid.SetCurrentCell(row, col);
            if (!grid.EditCell(row, col)) {
                return false;
            }
        }
        auto* editor =
            qobject_cast<QLineEdit*>(grid.indexWidget(grid.model()->index(row - 1, col)));
        if (editor == nullptr) {
            return false;
        }
        test::ReplaceText(*editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        return true;
    }
    std::string Description(const char* profile) {
        return Scalar("SELECT description FROM vym_profile WHERE profile_id = " +
                      SqlQuote(profile));
    }

    std::unique_ptr<frmProfiles> window_;
};

TEST_F(ProfilesWindow, AnAddedRowIsSavedWhenLeftOnceItHasAnIdAndADescription) {
    Open();
    EXPECT_EQ(window_->windowTitle(), "Profile Maintenance");
    FlexGrid& grid = Grid();
    ASSERT_EQ(grid.Rows(), 6);
    EXPECT_TRUE(grid.IsColumnHidden(0));
    EXPECT_EQ(grid.TextMatrix(2, kProfile), "LIFTID");

    Click("cmdAdd");
    EXPECT_TRUE(grid.IsEditing()) << "the new row's id is ready for typing";
    ASSERT_TRUE(Type(6, kProfile, "golf"));
    EXPECT_EQ(grid.TextMatrix(6, kProfile), "GOLF");
    script_.ExpectMessage("Description is a required field", "Description Required", kInformation);
    grid.SetCurrentCell(1, kDescription);
    script_.Verify();
    EXPECT_EQ(grid.Row(), 6) << "the row that cannot be saved stays current";
    EXPECT_EQ(Description("GOLF"), "<none>");

    ASSERT_TRUE(Type(6, kDescription, "Golf Course Waiver"));
    grid.SetCurrentCell(1, kDescription);
    EXPECT_EQ(Description("GOLF"), "Golf Course Waiver");
    EXPECT_EQ(grid.TextMatrix(6, 0), "") << "saved rows carry no state";

    // Saved, the row keeps its id; an edited description waits for leaving.
    EXPECT_FALSE(Type(6, kProfile, "GOLF2"));
    ASSERT_TRUE(Type(6, kDescription, "Golf Waiver"));
    EXPECT_EQ(grid.TextMatrix(6, 0), "E");
    EXPECT_EQ(Description("GOLF"), "Golf Course Waiver");
    grid.SetCurrentCell(1, kDescription);
    EXPECT_EQ(Description("GOLF"), "Golf Waiver");

    // An id that another row has would rename that profile.
    Click("cmdAdd");
    ASSERT_TRUE(Type(7, kProfile, "age"));
    ASSERT_TRUE(Type(7, kDescription, "Another"));
    script_.ExpectMessage("Profile AGE already exists.", "Error Updating Profile", kInformation);
    grid.SetCurrentCell(1, kDescription);
    script_.Verify();
    EXPECT_EQ(Description("AGE"), "Guest Age Check");

    // Without an id the window closes only when the row is given up.
    ASSERT_TRUE(Type(7, kProfile, ""));
    script_.ExpectMessage("Profile Id is a required field", "Profile Id Required", kInformation)
        .ExpectMessage("The profile row is not valid.  Do you want to discard its changes?",
                       "Invalid Profile", kQuestionYesNoDefaultNo, MsgResult::No);
    Click("cmdClose");
    script_.Verify();
    EXPECT_TRUE(window_->isVisible());
    ASSERT_TRUE(Type(7, kProfile, "skate"));
    Click("cmdClose");
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Description("SKATE"), "Another");
}

TEST_F(ProfilesWindow, ARowThatCannotBeSavedIsDiscardedOnClosingWhenTheUserAgrees) {
    struct Case {
        const char* way;
        std::function<void(frmProfiles&)> close;
        bool added;  // a new row, else an edited one
    };
    const Case cases[] = {
        {"Close", [](frmProfiles& window) { window.findChild<QPushButton*>("cmdClose")->click(); },
         false},
        {"Escape",
         [](frmProfiles& window) {
             QTest::keyClick(window.findChild<FlexGrid*>("grdProfiles"), Qt::Key_Escape);
         },
         true},
        {"close box", [](frmProfiles& window) { window.close(); }, false},
    };
    for (const Case& closing : cases) {
        SCOPED_TRACE(closing.way);
        Open();
        if (closing.added) {
            Click("cmdAdd");
            ASSERT_TRUE(Type(6, kProfile, "golf"));
        } else {
            ASSERT_TRUE(Type(2, kDescription, ""));
        }
        for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
            script_
                .ExpectMessage("Description is a required field", "Description Required",
                               kInformation)
                .ExpectMessage("The profile row is not valid.  Do you want to discard its changes?",
                               "Invalid Profile", kQuestionYesNoDefaultNo, answer);
            closing.close(*window_);
            script_.Verify();
            EXPECT_EQ(window_->isVisible(), answer == MsgResult::No);
        }
        EXPECT_EQ(Description("LIFTID"), "Lift Ticket Refund - Photo ID");
        EXPECT_EQ(Description("GOLF"), "<none>");
    }
}

TEST_F(ProfilesWindow, AnAddedRowLeftEmptyGoesWithoutAWord) {
    Open();
    Click("cmdAdd");
    Grid().SetCurrentCell(1, kDescription);
    EXPECT_EQ(Grid().Rows(), 6);
    Click("cmdAdd");
    Click("cmdAdd");
    EXPECT_EQ(Grid().Rows(), 7) << "one empty row at a time";
}

TEST_F(ProfilesWindow, DeleteAsksTheDatabaseBeforeTheUser) {
    Open();
    FlexGrid& grid = Grid();
    grid.SetCurrentCell(grid.FindRow("LIFTID", kProfile), kProfile);
    script_.ExpectMessage("Profile LIFTID is used by 2 items.", "Delete Profile Cancelled",
                          kInformation);
    Click("cmdDelete");
    script_.Verify();
    EXPECT_GT(grid.FindRow("LIFTID", kProfile), 0);

    grid.SetCurrentCell(grid.FindRow("RENTWAIVER", kProfile), kProfile);
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        script_.ExpectMessage("Are you sure you want to delete the Profile RENTWAIVER?",
                              "Confirm Delete", kQuestionYesNoDefaultNo, answer);
        Click("cmdDelete");
        script_.Verify();
        EXPECT_EQ(Description("RENTWAIVER"),
                  answer == MsgResult::No ? "Rental Waiver and DIN Setting" : "<none>");
    }
    EXPECT_EQ(grid.FindRow("RENTWAIVER", kProfile), -1);
}

TEST_F(ProfilesWindow, EditOpensThePromptsOfTheSelectedProfile) {
    Open();
    QString title;
    modals_.Expect("frmProfilePrompt", [&](QDialog& dialog) {
        title = dialog.windowTitle();
        dialog.findChild<QPushButton*>("cmdClose")->click();
    });
    Grid().SetCurrentCell(Grid().FindRow("PASSPHOTO", kProfile), kProfile);
    Click("cmdEdit");
    modals_.Verify();
    EXPECT_EQ(title, "Prompts for Profile PASSPHOTO");
}

TEST_F(ProfilesWindow, EditWithoutAProfileSaysSo) {
    office_.Db().ExecuteSQL("DELETE FROM vym_profile_prompt");
    office_.Db().ExecuteSQL("UPDATE vym_item SET sale_profile_id = NULL, return_profile_id = NULL");
    office_.Db().ExecuteSQL("DELETE FROM vym_profile");
    Open();
    script_.ExpectMessage("Please select a row before selecting the edit function.",
                          "Edit Cancelled", kInformation);
    Click("cmdEdit");
}

}  // namespace
}  // namespace vym
