// The grid screens on two stations of one demo back office: each station runs
// the screen on its own connection, as its own user, and both change the same
// row. The second save is refused with who and when, keeps what was typed,
// and a reload shows the other station's row.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <memory>
#include <ostream>

#include "base/prompter.h"
#include "pricing/frm_seasons.h"
#include "reference/frm_profiles.h"
#include "reference/frm_support_tables.h"
#include "server/local_app_server.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

// How a screen saves a changed cell: its Ok button, leaving the row, or at
// once on the edit.
enum class SaveBy { Ok, LeavingTheRow, Editing };

struct GridScreen {
    const char* name;
    std::function<std::unique_ptr<QDialog>(CItemMaint&)> open;
    const char* grid;
    int row;
    int col;
    SaveBy saveBy;
    const char* what;
    // The table and condition of the row, from the grid that shows it.
    std::function<std::string(const FlexGrid&)> where;
};

template <typename Screen>
std::unique_ptr<QDialog> Opened(CItemMaint& maint) {
    auto screen = std::make_unique<Screen>();
    screen->Setup(&maint);
    screen->show();
    QCoreApplication::processEvents();
    return screen;
}

std::string Quoted(const QVariant& key) {
    return "'" + key.toString().toStdString() + "'";
}

const GridScreen kScreens[] = {
    {"Seasons", Opened<frmSeasons>, "fgSeasons", 1, 6, SaveBy::Ok, "season",
     [](const FlexGrid& grid) {
         return "vym_season WHERE season_no = " + grid.TextMatrix(1, 1).toStdString();
     }},
    {"Profiles", Opened<frmProfiles>, "grdProfiles", 1, 2, SaveBy::LeavingTheRow, "profile",
     [](const FlexGrid& grid) {
         return "vym_profile WHERE profile_id = '" + grid.TextMatrix(1, 1).toStdString() + "'";
     }},
    {"Functions", Opened<frmSupportTables>, "fgFunctions", 1, 3, SaveBy::Editing, "function",
     [](const FlexGrid& grid) {
         return "vym_function WHERE function_id = " + Quoted(grid.RowData(1));
     }},
    {"Catagories", Opened<frmSupportTables>, "fgCatagories", 1, 4, SaveBy::Editing, "catagory",
     [](const FlexGrid& grid) {
         return "vym_catagory WHERE function_id = '" + grid.TextMatrix(1, 0).toStdString() +
                "' AND catagory_id = " + Quoted(grid.RowData(1));
     }},
    {"Units", Opened<frmSupportTables>, "fgUnits", 1, 6, SaveBy::Editing, "unit",
     [](const FlexGrid& grid) {
         return "vym_unit WHERE function_id = '" + grid.TextMatrix(1, 0).toStdString() +
                "' AND unit_id = " + Quoted(grid.RowData(1));
     }},
};

// Names the screen, not the parameter's bytes, in the test log.
void PrintTo(const GridScreen& screen, std::ostream* out) {
    *out << screen.name;
}

class GridRowConflict : public test::ScreenTest, public ::testing::WithParamInterface<GridScreen> {
  protected:
    GridRowConflict() { there_.SetAppServer(station_.get()); }
    ~GridRowConflict() override { there_.SetAppServer(nullptr); }
    static FlexGrid& Grid(QDialog& screen) {
        auto* grid = screen.findChild<FlexGrid*>(GetParam().grid);
        EXPECT_NE(grid, nullptr);
        return *grid;
    }
    // Types into the row's cell and saves it as the screen does.
    static void TypeAndSave(QDialog& screen, const QString& text) {
        const GridScreen& s = GetParam();
        FlexGrid& grid = Grid(screen);
        ASSERT_TRUE(test::TypeIntoCell(grid, s.row, s.col, text));
        if (s.saveBy == SaveBy::Ok) {
            screen.findChild<QPushButton*>("cmdOk")->click();
        } else if (s.saveBy == SaveBy::LeavingTheRow) {
            grid.SetCurrentCell(s.row + 1, s.col);
        }
        QCoreApplication::processEvents();
    }
    // What the refusal says after JSMITH's save of the row.
    std::string Refusal(const std::string& where) {
        return office_.ChangedBy("JSMITH", GetParam().what, where);
    }

    std::unique_ptr<server::LocalAppServer> station_ = office_.OpenAgain("JSMITH");
    CItemMaint there_;
};

TEST_P(GridRowConflict, TheSecondSaveIsRefusedKeepsTheTypingAndReloadsOnRequest) {
    const GridScreen& s = GetParam();
    auto mine = s.open(maint_);
    auto theirs = s.open(there_);
    const std::string where = s.where(Grid(*mine));
    ASSERT_EQ(where, s.where(Grid(*theirs)));

    TypeAndSave(*theirs, "Saved There");
    ASSERT_EQ(Scalar("SELECT description FROM " + where), "Saved There");
    const std::string refused = Refusal(where);

    ExpectReload(refused, MsgResult::No);
    TypeAndSave(*mine, "Typed Here");
    EXPECT_TRUE(mine->isVisible());
    EXPECT_EQ(Grid(*mine).TextMatrix(s.row, s.col), "Typed Here");
    EXPECT_EQ(Scalar("SELECT description FROM " + where), "Saved There");

    ExpectReload(refused, MsgResult::Yes);
    TypeAndSave(*mine, "Typed Twice");
    EXPECT_EQ(Grid(*mine).TextMatrix(s.row, s.col), "Saved There");
    EXPECT_EQ(Scalar("SELECT description FROM " + where), "Saved There");

    // Reloaded, the row saves on the version the other station left.
    TypeAndSave(*mine, "Typed Again");
    EXPECT_EQ(Scalar("SELECT description FROM " + where), "Typed Again");
    EXPECT_EQ(Scalar("SELECT row_saved_by FROM " + where), "ADMIN");
}

// A delete of a row another station saved since this one read it is refused
// the same way, and the row stays: the support tables delete with the Delete
// key once the user confirms, the profiles with their Delete button, which
// asks the database before the user.
class GridRowDeleteConflict : public GridRowConflict {};

TEST_P(GridRowDeleteConflict, ADeleteOfARowSavedSinceIsRefused) {
    const GridScreen& s = GetParam();
    const bool byKey = s.saveBy == SaveBy::Editing;
    auto mine = s.open(maint_);
    auto theirs = s.open(there_);
    const std::string where = s.where(Grid(*mine));
    TypeAndSave(*theirs, "Saved There");

    FlexGrid& grid = Grid(*mine);
    const int rows = grid.Rows();
    if (byKey) {
        script_.ExpectMessage("Are you sure you want to delete the " + std::string(s.what) + " " +
                                  grid.RowData(s.row).toString().toStdString(),
                              "Confirm Delete", kQuestionYesNoDefaultNo, MsgResult::Yes);
    }
    ExpectReload(Refusal(where), MsgResult::No);
    grid.SetCurrentCell(s.row, 1);
    if (byKey) {
        QTest::keyClick(&grid, Qt::Key_Delete);
    } else {
        mine->findChild<QPushButton*>("cmdDelete")->click();
    }
    EXPECT_EQ(grid.Rows(), rows);
    EXPECT_EQ(Scalar("SELECT description FROM " + where), "Saved There");
}

INSTANTIATE_TEST_SUITE_P(Screens, GridRowConflict, ::testing::ValuesIn(kScreens),
                         [](const auto& info) { return std::string(info.param.name); });
// Every screen but the seasons', which deletes nothing itself.
INSTANTIATE_TEST_SUITE_P(Screens, GridRowDeleteConflict,
                         ::testing::Values(kScreens[1], kScreens[2], kScreens[3], kScreens[4]),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vym
