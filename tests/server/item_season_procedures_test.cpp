#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/date.h"
#include "base/value.h"
#include "gateway/command.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

// The demo database: lift seasons 1 to 4 and 7 (inactive), rental season 5,
// ski school season 6.
class SeasonProcedures : public test::ProcedureTest {
  protected:
    // The season numbers GetSeason returns, in order.
    std::string Seasons(const Args& args) {
        auto cmd = test::Prepared(*db_, "VYM_SP_ITEM_GetSeason", args);
        std::string numbers;
        for (const std::string& no : test::RowTexts(*db_->ExecuteRecordset(*cmd), {"season_no"})) {
            numbers += (numbers.empty() ? "" : " ") + no;
        }
        return numbers;
    }
    Date EndOf(int seasonNo) {
        auto rs = db_->OpenRecordset("SELECT end_date FROM vym_season WHERE season_no = " +
                                     std::to_string(seasonNo));
        return rs->Fields(0).Value().ToDate();
    }
};

TEST_F(SeasonProcedures, GetSeasonFiltersByActiveEndAndFunction) {
    EXPECT_EQ(Seasons({}), "1 2 3 4 7 5 6");
    EXPECT_EQ(Seasons({{"@is_active", true}}), "1 2 3 4 5 6");
    EXPECT_EQ(Seasons({{"@is_active", false}}), "7");

    // A season still counts on the day it ends, whatever the time.
    const Date end = EndOf(2);
    const Date noon(end.Serial() + 0.5);
    EXPECT_EQ(Seasons({{"@min_date", noon}, {"@function_id", "LIFT"}}), "2 3 4 7");
    EXPECT_EQ(Seasons({{"@min_date", Date(end.Serial() + 1)}, {"@function_id", "LIFT"}}), "3 4 7");

    // A season of no function is offered with every function's.
    db_->ExecuteSQL(
        "INSERT INTO vym_season (season_no, description, start_date) "
        "VALUES (20, 'Resort Wide', '2000-01-01')");
    EXPECT_EQ(Seasons({{"@function_id", "rental"}}), "20 5");
    EXPECT_EQ(Seasons({{"@function_id", ""}, {"@is_active", true}}), "20 1 2 3 4 5 6");
}

TEST_F(SeasonProcedures, TheDemoWinterIsTheCurrentOneAndItsTypesAreListed) {
    const Date today = Date::Today();
    const int winter = today.Month() >= 7 ? today.Year() : today.Year() - 1;
    auto rs = db_->OpenRecordset("SELECT start_date FROM vym_season WHERE season_no = 1");
    const Date early = rs->Fields(0).Value().ToDate();
    EXPECT_EQ(early.Year(), winter);
    EXPECT_EQ(early.Month(), 11);
    EXPECT_EQ(EndOf(3).Year(), winter + 1);

    auto cmd = test::Prepared(*db_, "VYM_SP_ITEM_GetSeasonType");
    EXPECT_EQ(test::RowTexts(*db_->ExecuteRecordset(*cmd), {"season_type_id", "description"}),
              (std::vector<std::string>{"PEAK|Peak", "REGULAR|Regular", "VALUE|Value"}));
}

}  // namespace
}  // namespace vym
