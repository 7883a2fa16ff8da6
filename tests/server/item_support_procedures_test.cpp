#include <gtest/gtest.h>

#include <string>

#include "base/date.h"
#include "base/value.h"
#include "gateway/command.h"
#include "server/local_app_server.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

// The demo database: lift seasons 1 to 4 and 7 (inactive), rental season 5,
// ski school season 6.
class SupportProcedures : public test::ProcedureTest {
  protected:
    // Runs the procedure; false when the connection failed it. `out` gets the command.
    bool Runs(const char* procedure, const Args& args, std::unique_ptr<Command>* out = nullptr) {
        auto cmd = test::Prepared(*db_, procedure, args);
        const bool executed = db_->Execute(*cmd);
        if (out != nullptr) {
            *out = std::move(cmd);
        }
        return executed;
    }
    // A delete's "@RETURN_VALUE @message".
    std::string Delete(const char* procedure, const Args& args) {
        return test::Told(test::CallProcedure(*db_, procedure, args));
    }
    std::vector<std::string> Rows(const std::string& sql) {
        return test::RowTexts(*db_->OpenRecordset(sql));
    }
    std::int32_t CountOf(const std::string& sql) { return office_.Scalar(sql); }
    // The season numbers GetSeason returns, in order.
    std::string Seasons(const Args& args) {
        std::string numbers;
        for (const std::string& no :
             test::ProcedureRows(*db_, "VYM_SP_ITEM_GetSeason", args, {"season_no"})) {
            numbers += (numbers.empty() ? "" : " ") + no;
        }
        return numbers;
    }
    Date EndOf(int seasonNo) {
        return db_
            ->OpenRecordset("SELECT end_date FROM vym_season WHERE season_no = " +
                            std::to_string(seasonNo))
            ->Fields(0)
            .Value()
            .ToDate();
    }
};

TEST_F(SupportProcedures, UpdateFunctionAddsThenChangesTheSameRowWhateverTheCase) {
    ASSERT_TRUE(Runs("VYM_SP_ITEM_UpdateFunction", {{"@function_id", "GOLF"},
                                                    {"@description", "Golf"},
                                                    {"@tree_icon", "g"},
                                                    {"@is_active", true}}));
    ASSERT_TRUE(Runs("VYM_SP_ITEM_UpdateFunction", {{"@function_id", "golf"},
                                                    {"@description", "Golf Course"},
                                                    {"@tree_icon", ""},
                                                    {"@is_active", false}}));
    EXPECT_EQ(Rows("SELECT description, COALESCE(tree_icon, 'null'), is_active FROM vym_function "
                   "WHERE function_id = 'GOLF'"),
              std::vector<std::string>{"Golf Course|null|False"});
}

TEST_F(SupportProcedures, UpdatesWithoutTheirKeysOrWithUnknownParentsFailAndWriteNothing) {
    const auto functions = CountOf("SELECT count(*) FROM vym_function");
    const auto units = CountOf("SELECT count(*) FROM vym_unit");
    EXPECT_FALSE(
        Runs("VYM_SP_ITEM_UpdateFunction", {{"@function_id", ""}, {"@description", "Nothing"}}));
    EXPECT_FALSE(
        Runs("VYM_SP_ITEM_UpdateCatagory", {{"@function_id", "NOSUCH"}, {"@catagory_id", "X"}}));
    EXPECT_FALSE(Runs("VYM_SP_ITEM_UpdateUnit",
                      {{"@function_id", "LIFT"}, {"@unit_id", "NIGHT"}, {"@uom_id", "BARREL"}}));
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_function"), functions);
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_unit"), units);
    EXPECT_EQ(office_.Local().Reports().size(), 3u);
}

TEST_F(SupportProcedures, UnitAndCatagoryUpdatesReplaceTheExistingRow) {
    ASSERT_TRUE(Runs("VYM_SP_ITEM_UpdateUnit", {{"@function_id", "lift"},
                                                {"@unit_id", "day"},
                                                {"@description", "All Day"},
                                                {"@uom_id", ""},
                                                {"@qty", std::int16_t{1}},
                                                {"@acct_units", std::int16_t{2}},
                                                {"@print_qty", std::int16_t{0}}}));
    EXPECT_EQ(Rows("SELECT acct_units, COALESCE(uom_id, 'null') FROM vym_unit "
                   "WHERE function_id = 'LIFT' AND unit_id = 'DAY'"),
              std::vector<std::string>{"2|null"});

    ASSERT_TRUE(Runs("VYM_SP_ITEM_UpdateCatagory", {{"@function_id", "LIFT"},
                                                    {"@catagory_id", "ADULT"},
                                                    {"@description", "Adult 19-64"},
                                                    {"@is_active", false},
                                                    {"@require_access_rule", false}}));
    EXPECT_EQ(Rows("SELECT description, require_access_rule FROM vym_catagory "
                   "WHERE function_id = 'LIFT' AND catagory_id = 'ADULT'"),
              std::vector<std::string>{"Adult 19-64|False"});
}

TEST_F(SupportProcedures, DeleteFunctionSaysWhatStillRefersToIt) {
    db_->ExecuteSQL("INSERT INTO vym_function (function_id, description) VALUES ('GOLF', 'Golf')");
    db_->ExecuteSQL("INSERT INTO vym_catagory (function_id, catagory_id) VALUES ('GOLF', 'GREEN')");
    db_->ExecuteSQL("INSERT INTO vym_unit (function_id, unit_id) VALUES ('GOLF', '9HOLE')");
    db_->ExecuteSQL("INSERT INTO vym_unit (function_id, unit_id) VALUES ('GOLF', '18HOLE')");
    for (int item = 90001; item <= 90012; ++item) {
        db_->ExecuteSQL("INSERT INTO vym_item (item_no, item_type, function_id) VALUES (" +
                        std::to_string(item) + ", 'TICKET', 'GOLF')");
    }
    EXPECT_EQ(Delete("VYM_SP_ITEM_DeleteFunction", {{"@function_id", "GOLF"}}),
              "-1 Function GOLF is used by 12 items, 1 catagory and 2 units.");
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_function WHERE function_id = 'GOLF'"), 1);

    db_->ExecuteSQL("DELETE FROM vym_item WHERE function_id = 'GOLF'");
    db_->ExecuteSQL("DELETE FROM vym_unit WHERE function_id = 'GOLF'");
    db_->ExecuteSQL("DELETE FROM vym_catagory WHERE function_id = 'GOLF'");
    EXPECT_EQ(Delete("VYM_SP_ITEM_DeleteFunction", {{"@function_id", "golf"}}), "0 ");
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_function WHERE function_id = 'GOLF'"), 0);
    EXPECT_EQ(Delete("VYM_SP_ITEM_DeleteFunction", {{"@function_id", "GOLF"}}),
              "-1 Function GOLF does not exist.");
}

TEST_F(SupportProcedures, CatagoryUnitAndSeasonDeletesAreRefusedWhileInUse) {
    // Golf and the disc golf course share category, unit and season codes.
    db_->ExecuteSQL("INSERT INTO vym_function (function_id) VALUES ('GOLF'), ('DISC')");
    db_->ExecuteSQL(
        "INSERT INTO vym_catagory (function_id, catagory_id) "
        "VALUES ('GOLF', 'SENIOR'), ('DISC', 'SENIOR')");
    db_->ExecuteSQL(
        "INSERT INTO vym_unit (function_id, unit_id) "
        "VALUES ('GOLF', '9HOLE'), ('DISC', '9HOLE')");
    db_->ExecuteSQL(
        "INSERT INTO vym_season (season_no, function_id, season_id) "
        "VALUES (50, 'GOLF', 'SUMMER'), (51, 'DISC', 'SUMMER'), (52, 'DISC', NULL)");
    db_->ExecuteSQL(
        "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id) "
        "VALUES (90001, 'TICKET', 'GOLF', 'SENIOR')");
    db_->ExecuteSQL(
        "INSERT INTO vym_price (item_no, unit_id, season_id) VALUES (90001, '9HOLE', "
        "50), (90001, '9HOLE', 50)");

    struct Case {
        const char* procedure;
        Args args;
        const char* answer;
    };
    for (const Case& c : {
             Case{"VYM_SP_ITEM_DeleteCatagory",
                  {{"@function_id", "GOLF"}, {"@catagory_id", "SENIOR"}},
                  "-1 Catagory SENIOR of function GOLF is used by 1 item."},
             Case{"VYM_SP_ITEM_DeleteUnit",
                  {{"@function_id", "GOLF"}, {"@unit_id", "9HOLE"}},
                  "-1 Unit 9HOLE of function GOLF is used by 2 prices."},
             Case{"VYM_SP_ITEM_DeleteSeason",
                  {{"@function_id", "GOLF"}, {"@season_id", "SUMMER"}},
                  "-1 Season SUMMER is used by 2 prices."},
             Case{"VYM_SP_ITEM_DeleteCatagory",
                  {{"@function_id", "disc"}, {"@catagory_id", "senior"}},
                  "0 "},
             Case{
                 "VYM_SP_ITEM_DeleteUnit", {{"@function_id", "DISC"}, {"@unit_id", "9hole"}}, "0 "},
             Case{"VYM_SP_ITEM_DeleteSeason",
                  {{"@function_id", "DISC"}, {"@season_id", "summer"}},
                  "0 "},
             Case{"VYM_SP_ITEM_DeleteSeason", {{"@season_no", 52}}, "0 "},
         }) {
        EXPECT_EQ(Delete(c.procedure, c.args), c.answer) << c.procedure;
    }
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_season WHERE season_no = 50"), 1);
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_catagory WHERE function_id = 'DISC'"), 0);
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_unit WHERE function_id = 'DISC'"), 0);
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_season WHERE function_id = 'DISC'"), 0);
}

TEST_F(SupportProcedures, SeasonUpdateWithUnknownReferencesFailsSayingWhichAndWritesNothing) {
    const auto seasons = CountOf("SELECT count(*) FROM vym_season");
    const auto peak = CountOf("SELECT count(*) FROM vym_season WHERE season_type_id = 'PEAK'");
    const auto firstSeason = CountOf("SELECT min(season_no) FROM vym_season");
    struct Case {
        std::vector<std::pair<const char*, Value>> args;
        const char* says;
    };
    for (const Case& c : {
             Case{{{"@season_type_id", "NOSUCH"}, {"@description", "Spring Break"}},
                  "Season type NOSUCH does not exist."},
             Case{{{"@season_no", firstSeason}, {"@season_type_id", "NOSUCH"}},
                  "Season type NOSUCH does not exist."},
             Case{{{"@function_id", "LIFT"}, {"@season_id", "NEW"}, {"@season_type_id", "x"}},
                  "Season type x does not exist."},
             Case{{{"@function_id", "NOSUCH"}, {"@season_type_id", "PEAK"}},
                  "Function NOSUCH does not exist."},
             Case{{{"@season_no", 99999}, {"@season_type_id", "PEAK"}},
                  "Season 99999 does not exist."},
         }) {
        auto cmd = test::Prepared(*db_, "VYM_SP_ITEM_UpdateSeason");
        cmd->Parameters["@start_date"].Value = Date::FromParts(2025, 3, 1, 0, 0, 0);
        cmd->Parameters["@end_date"].Value = Date::FromParts(2025, 3, 31, 0, 0, 0);
        for (const auto& [name, value] : c.args) {
            cmd->Parameters[name].Value = value;
        }
        const auto reports = office_.Local().Reports().size();
        EXPECT_FALSE(db_->Execute(*cmd)) << c.says;
        ASSERT_EQ(office_.Local().Reports().size(), reports + 1) << c.says;
        EXPECT_EQ(office_.Local().Reports().back().Description,
                  std::string("VYM_SP_ITEM_UpdateSeason: ") + c.says);
    }
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_season"), seasons);
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_season WHERE season_type_id = 'PEAK'"), peak);
}

TEST_F(SupportProcedures, SeasonUpdateByCodeKeepsWhatItDoesNotSend) {
    // The season number the save gives back; 0 when the call failed.
    const auto save = [&](const char* function, const char* season, const char* description,
                          const Date& start, const Date& end) -> std::int32_t {
        std::unique_ptr<Command> cmd;
        return Runs("VYM_SP_ITEM_UpdateSeason",
                    {{"@function_id", function},
                     {"@season_id", season},
                     {"@description", description},
                     {"@start_date", start},
                     {"@end_date", end}},
                    &cmd)
                   ? cmd->Parameters["@season_no"].Value.ToLong()
                   : 0;
    };
    EXPECT_EQ(save("LIFT", "spring", "Spring Fling", Date::FromParts(2025, 3, 20),
                   Date::FromParts(2025, 4, 27)),
              4);
    EXPECT_EQ(Rows("SELECT season_type_id, end_date FROM vym_season WHERE season_no = 4"),
              std::vector<std::string>{"VALUE|" + Value(Date::FromParts(2025, 4, 27)).ToString()});
    EXPECT_GT(save("SKISCHOOL", "SPRING", "Spring Lessons", Date::FromParts(2025, 4, 1),
                   Date::FromParts(2025, 4, 1)),
              6)
        << "a one-day season";

    const auto earlyStart = Rows("SELECT start_date FROM vym_season WHERE season_no = 1");
    EXPECT_FALSE(Runs("VYM_SP_ITEM_UpdateSeason", {{"@function_id", "LIFT"},
                                                   {"@season_id", "EARLY"},
                                                   {"@start_date", Date::FromParts(2024, 12, 1)},
                                                   {"@end_date", Date::FromParts(2024, 11, 1)}}));
    EXPECT_EQ(Rows("SELECT start_date FROM vym_season WHERE season_no = 1"), earlyStart);
}

TEST_F(SupportProcedures, BookDateAndSystemParameters) {
    db_->ExecuteSQL(
        "INSERT INTO vym_item_stock_history (trans_no, item_no, location_id, "
        "trans_date) VALUES (77, 90001, 'BASE', '2025-01-03 10:00:00')");
    ASSERT_TRUE(Runs("VYM_SP_ITEM_UpdateItemStockHistory",
                     {{"@trans_no", 77}, {"@book_date", Date::FromParts(2025, 1, 31)}}));
    EXPECT_EQ(Rows("SELECT book_date FROM vym_item_stock_history WHERE trans_no = 77"),
              std::vector<std::string>{Value(Date::FromParts(2025, 1, 31)).ToString()});
    EXPECT_FALSE(Runs("VYM_SP_ITEM_UpdateItemStockHistory",
                      {{"@trans_no", 78}, {"@book_date", Date::FromParts(2025, 1, 31)}}));

    const auto required = [&] {
        return test::CallProcedure(*db_, "VYM_SP_ITEM_SYSTEM_PARM_get", Args{})
            .cmd->Parameters["@req_rpt_dept"]
            .Value;
    };
    EXPECT_EQ(required(), Value(false));
    db_->ExecuteSQL("UPDATE vym_system_parm SET req_rpt_dept = 1");
    EXPECT_EQ(required(), Value(true));
    db_->ExecuteSQL("UPDATE vym_system_parm SET req_rpt_dept = NULL");
    EXPECT_TRUE(required().IsNull());
}

TEST_F(SupportProcedures, StoreGroupsGetTheStoresNextNumberAndStayWhileProductsUseThem) {
    std::unique_ptr<Command> cmd;
    ASSERT_TRUE(Runs(
        "VYM_SP_STORE_UpdateStoreGroup",
        {{"@store_no", 1}, {"@product_group_no", Value::Null()}, {"@description", "Rentals To Go"}},
        &cmd));
    EXPECT_EQ(cmd->Parameters["@product_group_no"].Value.ToLong(), 4);
    ASSERT_TRUE(Runs("VYM_SP_STORE_UpdateStoreGroup",
                     {{"@store_no", 1}, {"@product_group_no", 4}, {"@description", "Rentals"}}));
    EXPECT_EQ(Rows("SELECT description FROM vym_store_product_group WHERE store_no = 1 AND "
                   "product_group_no = 4"),
              std::vector<std::string>{"Rentals"});
    EXPECT_FALSE(Runs("VYM_SP_STORE_UpdateStoreGroup",
                      {{"@store_no", 9}, {"@product_group_no", 0}, {"@description", "Nowhere"}}));

    EXPECT_EQ(Delete("VYM_SP_STORE_DeleteStoreGroup", {{"@store_no", 1}, {"@product_group_no", 2}}),
              "-1 Product group 2 of store 1 is used by 3 products.");
    EXPECT_EQ(Delete("VYM_SP_STORE_DeleteStoreGroup", {{"@store_no", 1}, {"@product_group_no", 4}}),
              "0 ");
    EXPECT_EQ(CountOf("SELECT count(*) FROM vym_store_product_group WHERE store_no = 1"), 3);
}

TEST_F(SupportProcedures, PurchaseOrdersFilteredByStatusWithTheirAmount) {
    EXPECT_EQ(test::ProcedureRows(*db_, "VyM_SP_INV_PO_GetPO").size(), 5u);
    auto cmd = test::Prepared(*db_, "VyM_SP_INV_PO_GetPO", Args{{"@status_id", "open"}});
    auto open = db_->ExecuteRecordset(*cmd);
    EXPECT_EQ(open->Fields(5).Name(), "po_amount");
    // The newest order, still without lines, is the stock matrix's.
    EXPECT_EQ(test::RowTexts(*open, {"po_no", "vendor_id", "vendor", "notes", "po_amount"}),
              (std::vector<std::string>{
                  "1005|ALPINEGEAR|Alpine Gear Supply Co.|Spring fleece by colour and size|0",
                  "1004|ALPINEGEAR|Alpine Gear Supply Co.|Gloves reorder; deliver to dock|684",
                  "1003|SUMMITOPT|Summit Optics|Goggles for the holidays|1680"}));
}

TEST_F(SupportProcedures, GetSeasonFiltersByActiveEndAndFunction) {
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

TEST_F(SupportProcedures, TheDemoWinterIsTheCurrentOneAndItsTypesAreListed) {
    const Date today = Date::Today();
    const int winter = today.Month() >= 7 ? today.Year() : today.Year() - 1;
    auto rs = db_->OpenRecordset("SELECT start_date FROM vym_season WHERE season_no = 1");
    const Date early = rs->Fields(0).Value().ToDate();
    EXPECT_EQ(early.Year(), winter);
    EXPECT_EQ(early.Month(), 11);
    EXPECT_EQ(EndOf(3).Year(), winter + 1);

    EXPECT_EQ(test::ProcedureRows(*db_, "VYM_SP_ITEM_GetSeasonType", Args{},
                                  {"season_type_id", "description"}),
              (std::vector<std::string>{"PEAK|Peak", "REGULAR|Regular", "VALUE|Value"}));
}

}  // namespace
}  // namespace vym
