#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "server/large_catalogue.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

#include "server_checks.h"

namespace vym {
namespace {

using Params = test::ProcedureArgs;
using test::Told;

// The demo fleet: skis 600 at BASE (RSB00001-RSB00005, RSB00003 out on a
// contract, RSB00005 retired), skis 601 and boots 610 at SUMMIT, boards 620
// at SUMMIT with every board on hand serialized; transfer batch 9001 brings
// four skis of 600 (and gloves) to BASE.
class SerialProcedures : public test::ProcedureTest {
  protected:
    // The serial ids a search finds.
    std::string Found(const Params& params) {
        return Rows("VYM_SP_SERIAL_SearchStockSerial", params, 2);
    }
    // The serial id GenerateUniqueSerial gives, or its refusal.
    std::string Generated(const Params& params) {
        const Answer a = Call("VYM_SP_SERIAL_GenerateUniqueSerial", params);
        return a.returned == 0 ? NullToEmpty(a.cmd->Parameters["@serial_id"].Value) : Told(a);
    }
    // A column of the procedure's rows (the first by default), joined by blanks.
    std::string Rows(const char* procedure, const Params& params, int column = 0) {
        auto cmd = test::Prepared(*db_, procedure, params);
        auto rows = db_->ExecuteRecordset(*cmd);
        std::string joined;
        for (; !rows->Eof(); rows->MoveNext()) {
            joined += (joined.empty() ? "" : " ") + NullToEmpty(rows->Fields(column).Value());
        }
        return joined;
    }
};

TEST_F(SerialProcedures, SearchFindsUnitsByEachCriterion) {
    struct Case {
        const char* name;
        Params args;
        const char* serials;
    };
    const Case cases[] = {
        {"serial id from its start, any case",
         {{"@serial_id", "rsb0000"}},
         "RSB00001 RSB00002 RSB00003 RSB00004 RSB00005"},
        {"item", {{"@item_no", 620}}, "SBS00001 SBS00002 SBS00003"},
        {"location with status",
         {{"@location_id", "SUMMIT"}, {"@status_id", "AVAIL"}},
         "RSS00001 RBS00001 RBS00002 SBS00001 SBS00002"},
        {"inactive only", {{"@item_no", 600}, {"@is_active", false}}, "RSB00005"},
        {"model", {{"@model_id", "RB-COMFORT"}}, "RBS00001 RBS00002 RBS00003"},
        {"rental item", {{"@rental_item_no", 704}}, "RSS00001 RSS00002"},
        {"description", {{"@item_description", "boot"}}, "RBS00001 RBS00002 RBS00003"},
        {"maker's serial", {{"@item_description", "FR155-7782"}}, "SBS00002"},
        {"size and serial type",
         {{"@stock_size", "170"}, {"@serial_type_id", "SKI"}},
         "RSS00001 RSS00002"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Found(c.args), c.serials) << c.name;
    }
}

TEST_F(SerialProcedures, SavingANewUnitRefusesAnIdTheItemHasAndAddsItsMaps) {
    const Params unit = {{"@item_no", 600},
                         {"@serial_id", "RSB09000"},
                         {"@mfg_serial", "MFG-77"},
                         {"@location_id", "BASE"},
                         {"@status_id", "AVAIL"},
                         {"@insert", std::int16_t(-1)},
                         {"@boot_length", std::int16_t(0)},
                         {"@print_format_no", 3}};
    struct Case {
        const char* name;
        Params changes;
        const char* answer;
    };
    const char* notUnique = "-1 The serial number you have provided is not unique.";
    const Case cases[] = {
        {"new id", {}, "0 "},
        {"the same id again", {}, notUnique},
        {"in another case", {{"@serial_id", "rsb09000"}}, notUnique},
        {"the same id for another item", {{"@item_no", 601}}, "0 "},
        {"an item without serials",
         {{"@item_no", 500}, {"@serial_id", "X1"}},
         "-1 Item 500 is not a serialized stock item."},
        {"an unknown status",
         {{"@serial_id", "X2"}, {"@status_id", "LOST"}},
         "-1 Status LOST does not exist."},
        {"an update of a unit never saved",
         {{"@serial_id", "X3"}, {"@insert", std::int16_t(0)}},
         "-1 Serial X3 of item 600 no longer exists."},
    };
    for (const Case& c : cases) {
        Params params = unit;
        params.insert(params.end(), c.changes.begin(), c.changes.end());
        EXPECT_EQ(Told(Call("VYM_SP_SERIAL_UpdateItemStockSerial", params)), c.answer) << c.name;
    }
    EXPECT_EQ(
        Rows("VYM_SP_SERIAL_GetStockSerialMapIds", {{"@item_no", 600}, {"@serial_id", "RSB09000"}}),
        "MFG-77 RSB09000");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE serial_id = "
                             "'RSB09000' AND binding_item_no IS NULL"),
              2);
}

TEST_F(SerialProcedures, GeneratedIdsFollowThePrefixesAndSkipTypedOnes) {
    EXPECT_EQ(Generated({{"@item_no", 600}, {"@location_id", "BASE"}}), "RSB00006");
    // Someone typed the next number by hand.
    office_.Sql(
        "INSERT INTO vym_item_stock_serial (item_no, serial_id, status_id, location_id) "
        "VALUES (600, 'RSB00007', 'NEW', 'BASE')");
    EXPECT_EQ(Generated({{"@item_no", 600}, {"@location_id", "BASE"}}), "RSB00008");
    // A location without a prefix numbers under the model's alone.
    EXPECT_EQ(Generated({{"@item_no", 610}, {"@location_id", "VILLAGE"}}), "RB00001");
    EXPECT_EQ(Generated({{"@item_no", 600}}),
              "-1 You must assign a location before a serial number can be generated.");
}

TEST_F(SerialProcedures, QuantityOnHandCountsTheUnitsSerializedThere) {
    struct Case {
        std::int32_t item;
        const char* location;
        Value serial;
        std::int32_t result, qoh, serialized;
    };
    const Case cases[] = {
        {600, "BASE", Value::Null(), 35, 40, 5},
        {620, "SUMMIT", Value::Null(), 0, 3, 3},
        {620, "SUMMIT", "SBS00002", 1, 3, 2},  // the unit being saved is not counted
        {630, "SUMMIT", Value::Null(), 0, 0, 0},
    };
    for (const Case& c : cases) {
        const Answer a =
            Call("VYM_SP_SERIAL_GetQOH",
                 {{"@item_no", c.item}, {"@location_id", c.location}, {"@serial_id", c.serial}});
        EXPECT_EQ(a.returned, c.result) << c.item << c.location;
        EXPECT_EQ(a.Output("@qoh"), c.qoh);
        EXPECT_EQ(a.Output("@qty_serialized"), c.serialized);
    }
}

TEST_F(SerialProcedures, ATransferBatchGivesItsUnitsOnce) {
    struct Case {
        const char* name;
        std::int32_t batch, format;
        const char* answer;
    };
    const Case cases[] = {
        {"no format", 9001, 0, "-1 Please select a label format before proceeding."},
        {"unknown batch", 9999, 3, "-1 Transfer batch 9999 does not exist."},
        {"first run", 9001, 3, "4 "},
        {"second run", 9001, 3,
         "-1 Serial numbers were already generated from transfer batch 9001."},
        {"generated before", 9000, 3,
         "-1 Serial numbers were already generated from transfer batch 9000."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Told(Call("VYM_SP_INV_BATCH_GenerateSerialNumbers",
                            {{"@batch_no", c.batch}, {"@print_format_no", c.format}})),
                  c.answer)
            << c.name;
    }
    EXPECT_EQ(Found({{"@item_no", 600}, {"@status_id", "NEW"}}),
              "RSB00006 RSB00007 RSB00008 RSB00009");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_serial_map WHERE item_no = 600 "
                             "AND serial_id = map_id"),
              9);
}

TEST_F(SerialProcedures, MapsAndDeletesKeepTheirRules) {
    struct Case {
        const char* procedure;
        const char* serial;
        const char* map;
        const char* answer;
    };
    const char* insert = "VYM_SP_SERIAL_InsertStockSerialMapIds";
    const char* reserved = "-1 Maps can not begin with reserved characters (S,C,P,I,#).";
    const Case cases[] = {
        {insert, "RSB00002", "S-17", reserved},
        {insert, "RSB00002", "s-17", "0 "},
        {insert, "RSB00004", "#17", reserved},
        {insert, "RSB00004", "blue-tag-17",
         "-1 The map blue-tag-17 already belongs to serial RSB00001."},
        {"VYM_SP_SERIAL_DeleteStockSerialMapIds", "RSB00002", "s-17", "0 "},
        {"VYM_SP_SERIAL_DeleteStockSerialMapIds", "RSB00002", "s-17",
         "-1 The map s-17 is not a map of this serial."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Told(Call(c.procedure,
                            {{"@item_no", 600}, {"@serial_id", c.serial}, {"@map_id", c.map}})),
                  c.answer)
            << c.procedure << " " << c.map;
    }
    const auto remove = [&](const char* serial) {
        return Told(Call("VYM_SP_SERIAL_DeleteSerial", {{"@serial_id", serial}}));
    };
    EXPECT_EQ(remove("RSB00003"),
              "-1 Serial RSB00003 is out on rental contract 5012 and cannot be deleted.");
    EXPECT_EQ(remove("rsb00001"), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_serial_map WHERE item_no = 600 "
                             "AND serial_id = 'RSB00001'"),
              0);
    EXPECT_EQ(Found({{"@serial_id", "RSB0000"}}), "RSB00002 RSB00003 RSB00004 RSB00005");
}

TEST_F(SerialProcedures, ContractHistoryListsTheUnitsContractsNewestFirst) {
    auto cmd =
        NewProcedure(*db_, "VYM_SP_SERIAL_GetSerialContractHistory", {{"@serial_id", "RSB00001"}});
    const auto lines = test::RowTexts(*db_->ExecuteRecordset(*cmd), {"grid_line"});
    EXPECT_EQ(NullToEmpty(cmd->Parameters["@column_header"].Value),
              "Contract|Line|Customer|Out|Returned|Return Loc");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 23), "5007\t2\tPriya Natarajan\t");
    EXPECT_EQ(lines[1].substr(0, 18), "5001\t1\tMarco Ruiz\t");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 5), "\tBASE");
}

// The made-up catalogue the serial searches are measured on: about one unit
// per item, spread over locations, statuses and models, and each search finds
// what a plain query of the units finds, in the console's order.
TEST(LargeCatalogueUnits, SpreadOverTheStockAndFoundByEachSearch) {
    test::BackOffice office(test::BackOffice::Options{.demoData = false});
    server::LargeCatalogue::Generate(office.Path(), 240);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item_stock_serial"), 240);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item_stock_serial s JOIN vym_item i ON "
                            "i.item_no = s.item_no WHERE i.item_type NOT IN ('STOCK', 'RENTAL')"),
              0);
    for (const auto& [column, distinct] : std::vector<std::pair<std::string, int>>{
             {"s.item_no", 80}, {"s.location_id", 10}, {"s.status_id", 5}, {"st.model_id", 20}}) {
        EXPECT_EQ(office.Scalar("SELECT count(DISTINCT " + column +
                                ") FROM vym_item_stock_serial s JOIN vym_item_stock st ON "
                                "st.item_no = s.item_no"),
                  distinct)
            << column;
    }
    // Enough units of one item to make a search by the beginning of their ids
    // walk the units in order rather than sort them.
    office.Sql(
        "WITH RECURSIVE n (k) AS (SELECT 6 UNION ALL SELECT k + 1 FROM n WHERE k < 5205) "
        "INSERT INTO vym_item_stock_serial (item_no, serial_id, status_id, location_id) "
        "SELECT 2, 'SN2-' || CAST(k AS varchar(5)), 'AVAIL', 'GENL01' FROM n");
    struct Case {
        Params args;
        const char* where;
    };
    const Case cases[] = {
        {{{"@serial_id", "SN1"}}, "s.serial_id LIKE 'SN1%'"},
        {{{"@serial_id", "sn2-"}}, "s.serial_id LIKE 'SN2-%'"},
        {{{"@serial_id", "SN2-"}, {"@location_id", "GENL01"}},
         "s.serial_id LIKE 'SN2-%' AND s.location_id = 'GENL01'"},
        {{{"@item_no", 12}}, "s.item_no = 12"},
        {{{"@location_id", "GENL03"}, {"@status_id", "OUT"}},
         "s.location_id = 'GENL03' AND s.status_id = 'OUT'"},
        {{{"@model_id", "GENM04"}}, "st.model_id = 'GENM04'"},
        {{{"@model_id", "GENM04"}, {"@is_active", true}},
         "st.model_id = 'GENM04' AND s.status_id <> 'RETIRED'"},
    };
    for (const Case& c : cases) {
        const auto found = test::ProcedureRows(office.Db(), "VYM_SP_SERIAL_SearchStockSerial",
                                               c.args, {"serial_id"});
        const auto plain = test::RowTexts(*office.Db().OpenRecordset(
            std::string("SELECT s.serial_id FROM vym_item_stock_serial s JOIN vym_item_stock st ON "
                        "st.item_no = s.item_no WHERE ") +
            c.where + " ORDER BY s.item_no, s.serial_id"));
        EXPECT_EQ(found, plain) << c.where;
        EXPECT_GE(plain.size(), 2u) << c.where;
    }
}

}  // namespace
}  // namespace vym
