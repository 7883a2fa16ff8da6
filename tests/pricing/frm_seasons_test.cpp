// Season maintenance on the demo back office. The grid lists the lift seasons
// first (1 Early Season, 2 Holiday Period, 3 Regular Season, 4 Spring Skiing,
// 7 Pond Skim Weekend, inactive), then 5 Holiday Rentals and 6 Winter Lessons.
#include "pricing/frm_seasons.h"

#include <QTest>

#include "base/date.h"
#include "base/format.h"
#include "base/prompter.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kChanged = 0;
constexpr int kSeasonNo = 1;
constexpr int kActive = 2;
constexpr int kType = 3;
constexpr int kFunction = 4;
constexpr int kGroup = 5;
constexpr int kDescription = 6;
constexpr int kStart = 7;
constexpr int kEnd = 8;
constexpr int kStoreStart = 9;
constexpr int kStoreEnd = 10;

constexpr MsgStyle kPlain{};

class Seasons : public test::ScreenOf<frmSeasons> {
  protected:
    Seasons() : ScreenOf("fgSeasons") {}
    void Open() {
        window_.Setup(&maint_);
        window_.show();
    }
    std::string Season(int seasonNo) {
        return Scalar(
            "SELECT description || '|' || IFNULL(season_type_id, '-') || '|' || "
            "IFNULL(function_id, '-') || '|' || IFNULL(season_group_id, '-') || '|' || "
            "is_active || '|' || start_date || '|' || end_date || '|' || "
            "IFNULL(store_start_date, '-') || '|' || IFNULL(store_end_date, '-') "
            "FROM vym_season WHERE season_no = " +
            std::to_string(seasonNo));
    }
    std::string AllSeasons() {
        return Scalar(
            "SELECT group_concat(season_no || ':' || description || ':' || is_active || ':' || "
            "end_date, ' ') FROM (SELECT * FROM vym_season ORDER BY season_no)");
    }
    void ToggleActive(int row) {
        Grid().SetCurrentCell(row, kActive);
        QTest::keyClick(&Grid(), Qt::Key_Space);
    }
    void Delete(std::initializer_list<int> rows, MsgResult answer) {
        FlexGrid& grid = Grid();
        for (int row = 1; row < grid.Rows(); ++row) {
            grid.SelectRow(row, std::find(rows.begin(), rows.end(), row) != rows.end());
        }
        script_.ExpectMessage("Are you sure you want to delete all the selected season rows?",
                              "Confirm Season Delete", kQuestionYesNoDefaultNo, answer);
        Click("cmdDelete");
    }
    // A new season the save accepts.
    int AddSeason(const QString& description) {
        Click("cmdAdd");
        const int row = Grid().Rows() - 1;
        Choose(row, kType, "Peak");
        Type(row, kDescription, description);
        return row;
    }
};

TEST_F(Seasons, ListsEverySeasonWithItsTypeFunctionAndDates) {
    Open();
    EXPECT_EQ(window_.windowTitle(), "Season Maintenance");
    FlexGrid& grid = Grid();
    EXPECT_EQ(grid.FormatString(),
              "Changed|^Season No|IsActive|Type|Function|Group|Description|Start|End|Store "
              "Start|Store End");
    EXPECT_TRUE(grid.IsColumnHidden(kChanged));
    ASSERT_EQ(grid.Rows(), 8);
    EXPECT_EQ(test::ColumnTexts(grid, kSeasonNo), QStringList({"1", "2", "3", "4", "7", "5", "6"}));
    EXPECT_EQ(test::ColumnTexts(grid, kChanged), QStringList(7, "0"));

    EXPECT_EQ(test::CellTexts(grid, 1, {kType, kFunction, kGroup, kDescription}),
              "VALUE|LIFT|1|Early Season");
    EXPECT_EQ(grid.DisplayText(1, kType), "Value");
    EXPECT_EQ(grid.DisplayText(1, kFunction), "Lift Tickets");
    const auto shown = [&](const char* column, int seasonNo) {
        return QString::fromStdString(
            Scalar(std::string("SELECT strftime('%m/%d/%Y', ") + column +
                   ") FROM vym_season WHERE season_no = " + std::to_string(seasonNo)));
    };
    EXPECT_EQ(test::CellTexts(grid, 1, {kStart, kEnd, kStoreStart, kStoreEnd}),
              QStringList({shown("start_date", 1), shown("end_date", 1),
                           shown("store_start_date", 1), shown("store_end_date", 1)})
                  .join(u'|'));
    EXPECT_EQ(grid.TextMatrix(7, kStoreStart), "") << "the lessons are not sold online";
    EXPECT_TRUE(grid.CellChecked(1, kActive));
    EXPECT_FALSE(grid.CellChecked(5, kActive)) << "Pond Skim Weekend was dropped";
    EXPECT_FALSE(grid.EditCell(1, kSeasonNo));
}

TEST_F(Seasons, AddedChangedAndDeletedSeasonsAreSavedTogetherOnOk) {
    Open();
    const std::string regular = Season(3);
    Click("cmdAdd");
    FlexGrid& grid = Grid();
    ASSERT_EQ(grid.Rows(), 9);
    const QString today = QString::fromStdString(Format(Value(Date::Today()), "mm/dd/yyyy"));
    EXPECT_TRUE(grid.CellChecked(8, kActive));
    EXPECT_EQ(test::CellTexts(grid, 8,
                              {kChanged, kSeasonNo, kType, kFunction, kGroup, kDescription, kStart,
                               kEnd, kStoreStart, kStoreEnd}),
              "-1|0||||<New Season>|" + QStringList(4, today).join(u'|'));
    Choose(8, kType, "Peak");
    Choose(8, kFunction, "Lift Tickets");
    EXPECT_TRUE(Type(8, kGroup, "2"));
    EXPECT_TRUE(Type(8, kDescription, "Closing Weekend"));
    EXPECT_TRUE(Type(8, kStart, "4/17/2027"));
    EXPECT_TRUE(Type(8, kEnd, "4/18/2027"));
    EXPECT_TRUE(Type(8, kStoreStart, ""));
    EXPECT_TRUE(Type(8, kStoreEnd, ""));

    EXPECT_TRUE(Type(3, kDescription, "Regular Season O'Brien's"));
    ToggleActive(2);
    EXPECT_FALSE(grid.CellChecked(2, kActive));
    EXPECT_EQ(grid.TextMatrix(2, kChanged), "-1");
    Delete({5}, MsgResult::Yes);
    EXPECT_TRUE(grid.IsRowHidden(5));
    EXPECT_EQ(Season(3), regular) << "nothing is saved before Ok";
    const std::string pondSkim =
        "SELECT count(*) FROM vym_season WHERE description = 'Pond Skim Weekend'";
    EXPECT_EQ(Scalar(pondSkim), "1");

    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar(pondSkim), "0");
    EXPECT_EQ(Scalar("SELECT description FROM vym_season WHERE season_no = 3"),
              "Regular Season O'Brien's");
    EXPECT_EQ(Scalar("SELECT is_active FROM vym_season WHERE season_no = 2"), "False");
    const std::string added = grid.TextMatrix(7, kSeasonNo).toStdString();
    EXPECT_EQ(grid.TextMatrix(7, kDescription), "Closing Weekend") << "the deleted row is gone";
    EXPECT_EQ(Scalar("SELECT max(season_no) FROM vym_season"), added);
    EXPECT_EQ(Season(std::stoi(added)), "Closing Weekend|PEAK|LIFT|2|1|2027-04-17|2027-04-18|-|-");
    EXPECT_EQ(grid.TextMatrix(7, kChanged), "0");
}

TEST_F(Seasons, NewRowsDeletedAgainCostNoCall) {
    test::FaultInjectingConnection& faulty = Faults();
    Open();
    const std::string before = AllSeasons();
    Click("cmdAdd");
    Delete({1, 8}, MsgResult::No);
    EXPECT_FALSE(Grid().IsRowHidden(1));
    EXPECT_FALSE(Grid().IsRowHidden(8));
    Delete({8}, MsgResult::Yes);
    EXPECT_TRUE(Grid().IsRowHidden(8));

    faulty.FailEveryCall(test::FaultInjectingConnection::Fault::ExecuteFailed);
    const int calls = faulty.Calls();
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(faulty.Calls(), calls);
    EXPECT_EQ(AllSeasons(), before);
}

TEST_F(Seasons, DateCellsTakeOnlyDatesAndTheGroupOnlyANumber) {
    Open();
    FlexGrid& grid = Grid();
    const QString start = grid.TextMatrix(1, kStart);
    for (const char* typed : {"13/45/2026", "soon", ""}) {
        script_.ExpectMessage("You must specify a valid date", "InValid Date", kInformation);
        EXPECT_TRUE(Type(1, kStart, typed));
        EXPECT_EQ(grid.TextMatrix(1, kStart), start) << typed;
    }
    script_.ExpectMessage("You must specify a valid date", "InValid Date", kInformation);
    EXPECT_TRUE(Type(1, kEnd, "2/30/2027"));
    EXPECT_EQ(grid.TextMatrix(1, kChanged), "0") << "a refused edit changes nothing";

    EXPECT_TRUE(Type(1, kStart, "1/2/27"));
    EXPECT_EQ(test::CellTexts(grid, 1, {kStart, kChanged}), "01/02/2027|-1");

    EXPECT_TRUE(Type(2, kGroup, "two"));
    EXPECT_EQ(grid.TextMatrix(2, kGroup), "1");
    EXPECT_TRUE(Type(2, kGroup, " 3 "));
    EXPECT_EQ(grid.TextMatrix(2, kGroup), "3");
    EXPECT_TRUE(Type(2, kGroup, ""));
    EXPECT_EQ(grid.TextMatrix(2, kGroup), "");
}

TEST_F(Seasons, OkStopsAtTheFirstRowAtFaultAndSavesNothing) {
    Open();
    FlexGrid& grid = Grid();
    const std::string before = AllSeasons();
    const auto ok = [&](const std::string& message, const char* title, MsgStyle style, int row,
                        int col) {
        script_.ExpectMessage(message, title, style);
        Click("cmdOk");
        EXPECT_EQ(window_.result(), QDialog::Rejected) << message;
        EXPECT_EQ(grid.Row(), row) << message;
        EXPECT_EQ(grid.Col(), col) << message;
        EXPECT_EQ(AllSeasons(), before) << message;
    };
    Click("cmdAdd");
    ok("You must specifiy a season type for season 0", "Season Type Required", kInformation, 8,
       kType);

    // The first data row is the second row of the grid, header included;
    // row 1 is written before row 8 fails and must be rolled back.
    EXPECT_TRUE(Type(1, kDescription, "Early Bird"));
    EXPECT_TRUE(Type(1, kEnd, "1/1/2000"));
    ok("Start date must be less than end date for season 1 Row 2", "", kPlain, 1, kEnd);
    EXPECT_TRUE(Type(1, kEnd, grid.TextMatrix(1, kStart)));
    ok("You must specifiy a season type for season 0", "Season Type Required", kInformation, 8,
       kType);

    Choose(8, kType, "Regular");
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT description || ' ' || (start_date = end_date) || ' ' || "
                     "store_start_date FROM vym_season WHERE season_no = 1"),
              "Early Bird 1 2026-09-01");
}

TEST_F(Seasons, ASeasonWithPricesIsNotDeletedAndNothingElseIsSaved) {
    office_.Db().ExecuteSQL(
        "INSERT INTO vym_price (item_no, unit_id, season_id) VALUES (700, 'DAY', 5)");
    const std::string prices = Scalar("SELECT count(*) FROM vym_price WHERE season_id = 5");
    Open();
    FlexGrid& grid = Grid();
    const std::string before = AllSeasons();
    EXPECT_TRUE(Type(1, kDescription, "Early Bird"));
    AddSeason("Spring Break");
    ASSERT_EQ(grid.TextMatrix(6, kSeasonNo), "5");
    Delete({6}, MsgResult::Yes);

    script_.ExpectMessage("Unable to delete season\r\nSeason 5 is used by " + prices +
                              (prices == "1" ? " price." : " prices."),
                          "", kInformation);
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Rejected);
    EXPECT_EQ(AllSeasons(), before);
    EXPECT_FALSE(grid.IsRowHidden(6)) << "the season that stays is shown again";
    EXPECT_EQ(grid.Row(), 6);

    // The rest goes through on the next Ok.
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT description FROM vym_season WHERE season_no = 1"), "Early Bird");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_season WHERE description = 'Spring Break'"), "1");
    EXPECT_NE(Season(5), "<none>");
}

TEST_F(Seasons, AWriteThatFailsHalfWayLeavesTheDatabaseAsItWas) {
    test::FaultInjectingConnection& faulty = Faults();
    Open();
    FlexGrid& grid = Grid();
    const std::string before = AllSeasons();
    AddSeason("Spring Break");
    AddSeason("Summer Uphill");
    errorsExpected_ = true;
    faulty.FailOnCall(2, test::FaultInjectingConnection::Fault::DiskFull);
    script_.ExpectMessage("Error updating season", "Unable to save changes", kInformation);
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Rejected);
    EXPECT_EQ(AllSeasons(), before) << "the first new season is rolled back";
    EXPECT_EQ(grid.TextMatrix(8, kSeasonNo), "0");
    EXPECT_EQ(grid.TextMatrix(9, kSeasonNo), "0");
    ASSERT_FALSE(office_.Local().Reports().empty());

    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_season WHERE description IN ('Spring Break', "
                     "'Summer Uphill')"),
              "2")
        << "each new season is inserted once";
    EXPECT_EQ(Scalar("SELECT season_no FROM vym_season WHERE description = 'Summer Uphill'"),
              grid.TextMatrix(9, kSeasonNo).toStdString());
}

}  // namespace
}  // namespace vym
