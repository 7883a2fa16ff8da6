#include "model/catalogue_import.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/format.h"
#include "catalogue_database.h"
#include "support/server/fault_injecting_connection.h"

namespace vym::test {
namespace {

struct Expected {
    RowFate fate;
    std::string details;
};

class CatalogueImportTest : public ::testing::Test {
  protected:
    ImportOutcome DryRun(CatalogueImport& import, const std::string& csv) {
        std::istringstream in(csv);
        return import.DryRun(in);
    }
    void ExpectRows(const CatalogueImport& import, const std::vector<Expected>& expected) {
        ASSERT_EQ(import.RowCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i + 1) + " (line " +
                         std::to_string(import.Row(i).line) + ")");
            EXPECT_EQ(CatalogueImport::FateText(import.Row(i).fate),
                      std::string(CatalogueImport::FateText(expected[i].fate)));
            EXPECT_EQ(import.Row(i).details, expected[i].details);
        }
    }
    // The first row's columns joined by "|", amounts as "0.00", since the
    // engines spell them apart.
    std::string Row(const std::string& sql) {
        auto rs = db.Db()->OpenRecordset(sql);
        std::string row = rs->Eof() ? "<none>" : "";
        for (std::int32_t i = 0; !rs->Eof() && i < rs->FieldCount(); ++i) {
            const Value value = rs->Fields(i).Value();
            const bool amount =
                value.Type() == VarType::Currency || value.Type() == VarType::Double;
            row += (i ? "|" : "") + (amount ? Format(value, "0.00") : NullToEmpty(value));
        }
        return row;
    }
    std::string Stock(const std::string& stockId, const std::string& columns) {
        return Row("SELECT " + columns +
                   " FROM vym_item i JOIN vym_item_stock s ON s.item_no = i.item_no "
                   "WHERE s.stock_id = '" +
                   stockId + "'");
    }

    CatalogueDatabase db;
};

TEST_F(CatalogueImportTest, StockRowsAreNewChangedUnchangedOrRefusedWithTheReason) {
    CatalogueImport import(*db.Db(), ImportKind::StockItems);
    const std::string csv =
        "Item No,stock_id,Short Description,Department,Stock Type,Vendor,Model,Unit Price,"
        "Serialized,Serial Type,Notes\r\n"
        ",JKT-RED,Red Jacket,retail,APPAREL,alpinegear,SHELL,$159.00,,,first\r\n"
        "500,,,,,,,\"1,250\",,,\r\n"
        "501,,Shell Jacket,,,,,159,No,,\r\n"
        "502,,,,,,,-,,,\r\n"
        ",NEW2,No Vendor,RETAIL,APPAREL,,SHELL,.50,,,\r\n"
        ",NEW3,Ski,RENTAL,RENTSKI,SNOWLINE,RS-ALLMTN,,Yes,,\r\n"
        "999,,,,,,,,,,\r\n"
        "500,,,,,,,12,,,\r\n"
        ",NEW4,=cmd|' /C calc'!A0,RETAIL,APPAREL,ALPINEGEAR,SHELL,$20,,,\r\n"
        ",NEW5,Jacket,RETAIL,APPAREL,NOBODY,SHELL,,,,\r\n"
        ",NEW6,A description far too long to be one,RETAIL,APPAREL,ALPINEGEAR,SHELL,,,,\r\n"
        ",jkt-red,Again,RETAIL,APPAREL,ALPINEGEAR,SHELL,,,,\r\n"
        "601,,,,,,,,N,,\r\n"
        "510,,,,,,,,,,,extra\r\n";
    ASSERT_EQ(DryRun(import, csv), ImportOutcome::Done) << import.Message();
    EXPECT_EQ(import.Notes(),
              (std::vector<std::string>{"The file was read as UTF-8.",
                                        "The column \"Notes\" is not imported: it is skipped."}));
    ExpectRows(import,
               {{RowFate::New, "Red Jacket"},
                {RowFate::Changed, "Unit Price 159.00 \u2192 1250.00"},
                {RowFate::Unchanged, ""},
                {RowFate::Refused, "Unit Price \"-\" is not an amount."},
                {RowFate::Refused, "Vendor is Required"},
                {RowFate::Refused, "Serial Type is required for serialized stock."},
                {RowFate::Refused, "Item 999 does not exist or is not a stock item."},
                {RowFate::Refused, "Line 3 is for the same item."},
                {RowFate::New, "=cmd|' /C calc'!A0"},
                {RowFate::Refused, "Vendor \"NOBODY\" does not exist."},
                {RowFate::Refused, "Short Description is longer than 30 characters."},
                {RowFate::Refused, "Line 2 is for the same item."},
                {RowFate::Changed, "Serialized Yes \u2192 No"},
                {RowFate::Refused, "The row has 12 fields; the first line names 11 columns."}});
    const std::string before = Stock("500", "s.unit_price");

    ASSERT_EQ(import.Commit(), ImportOutcome::Done) << import.Message();
    EXPECT_EQ(Stock("JKT-RED",
                    "i.short_description, i.long_description, i.department_id, "
                    "s.vendor_id, s.model_id, s.unit_price, i.row_saved_by"),
              "Red Jacket|Red Jacket|RETAIL|ALPINEGEAR|SHELL|159.00|ADMIN");
    EXPECT_NE(before, Stock("500", "s.unit_price"));
    EXPECT_EQ(Stock("500", "s.unit_price, i.row_version, i.short_description"),
              "1250.00|2|Shell Jacket");
    EXPECT_EQ(Stock("501", "i.row_version"), "1");
    EXPECT_EQ(Stock("601", "s.serialized, s.serial_type_id"), "False|SKI");
    // Formulas are data: saved as typed, never run.
    EXPECT_EQ(Stock("NEW4", "i.short_description"), "=cmd|' /C calc'!A0");
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_item_stock WHERE stock_id IN "
                        "('NEW2', 'NEW3', 'NEW5', 'NEW6')"),
              "0");
    EXPECT_EQ(import.Commit(), ImportOutcome::Failed);
    EXPECT_EQ(import.Message(), "These rows were imported already.");
}

TEST_F(CatalogueImportTest, PricesAreKeyedByItemSeasonUnitOfMeasureQuantityAndLocation) {
    CatalogueImport import(*db.Db(), ImportKind::Prices);
    const std::string csv =
        "Stock Id,UOM,Qty,Location,Unit Price,Season\n"
        "500,EA,1,SUMMIT,169,\n"
        "500,ea,3,,145.50,\n"
        "510,PR,2,base,$30,\n"
        "510,PR,2,BASE,31,\n"
        "511,XX,1,,5,\n"
        "511,EA,0,,5,\n"
        "ZZZ,EA,1,,5,\n"
        "511,EA,1,,,\n"
        "510,PR,1,BASE,-1,\n"
        "511,EA,1,,7,3\n"
        "511,EA,1,,7,99\n";
    ASSERT_EQ(DryRun(import, csv), ImportOutcome::Done) << import.Message();
    ExpectRows(import, {{RowFate::Unchanged, ""},
                        {RowFate::Changed, "Unit Price 149.00 \u2192 145.50"},
                        {RowFate::New, "Unit Price 30.00"},
                        {RowFate::Refused, "Line 4 is for the same price."},
                        {RowFate::Refused, "UOM \"XX\" does not exist."},
                        {RowFate::Refused, "Qty is at least 1."},
                        {RowFate::Refused, "Stock Id \"ZZZ\" does not exist."},
                        {RowFate::Refused, "Unit Price is required."},
                        {RowFate::Refused, "Unit Price can not be negative."},
                        {RowFate::New, "Unit Price 7.00"},
                        {RowFate::Refused, "Season \"99\" does not exist."}});
    EXPECT_EQ(import.Row(2).key, "Item 510, PR x 2 at BASE");

    ASSERT_EQ(import.Commit(), ImportOutcome::Done) << import.Message();
    const auto price = [&](const std::string& where) {
        return Row(
            "SELECT unit_price, total_price, gross_unit_price, row_version, row_saved_by "
            "FROM vym_price WHERE discount_id IS NULL AND sale_no IS NULL AND " +
            where);
    };
    EXPECT_EQ(price("item_no = 510 AND uom_id = 'PR' AND unit_qty = 2"),
              "30.00|60.00|30.00|2|ADMIN");
    EXPECT_EQ(price("item_no = 500 AND uom_id = 'EA' AND unit_qty = 3 AND location_id IS NULL"),
              "145.50|436.50|149.00|2|ADMIN");
    EXPECT_EQ(price("item_no = 511 AND season_id = 3"), "7.00|7.00|7.00|2|ADMIN");
}

// However a commit ends before its last row (the database fails, the user
// stops it, another station saved an item since the dry run), it saves none.
TEST_F(CatalogueImportTest, ACommitThatDoesNotFinishLeavesTheDatabaseAsItWas) {
    std::string csv = "Stock Id,Short Description,Department,Stock Type,Vendor,Model\n";
    for (int i = 0; i < 300; ++i) {
        csv += "BULK" + std::to_string(i) + ",Bulk,RETAIL,APPAREL,ALPINEGEAR,SHELL\n";
    }
    csv += "503,Renamed,,,,\n";
    enum class Ending { DiskFull, Stop, SavedElsewhere };
    for (Ending ending : {Ending::DiskFull, Ending::Stop, Ending::SavedElsewhere}) {
        SCOPED_TRACE(static_cast<int>(ending));
        FaultInjectingConnection faulty(db.SharedDb(), *db.Errors());
        CatalogueImport import(faulty, ImportKind::StockItems);
        ASSERT_EQ(DryRun(import, csv), ImportOutcome::Done);
        ASSERT_EQ(import.Count(RowFate::New), 300);
        if (ending == Ending::SavedElsewhere) {
            db.Office().Sql(
                "UPDATE vym_item SET row_version = row_version + 1, row_saved_by = "
                "'CLERK' WHERE item_no = 503");
        }
        const std::string before = db.Snapshot();
        if (ending == Ending::DiskFull) {
            faulty.FailOnCall(150, FaultInjectingConnection::Fault::DiskFull);
        }
        const ImportOutcome outcome = import.Commit([&](std::uint64_t done, std::uint64_t total) {
            EXPECT_EQ(total, 301u);
            return ending != Ending::Stop || done < 256;
        });
        EXPECT_EQ(outcome, ending == Ending::Stop ? ImportOutcome::Stopped : ImportOutcome::Failed);
        EXPECT_EQ(db.Snapshot(), before);
        if (ending == Ending::DiskFull) {
            EXPECT_EQ(import.Message(),
                      "Line 151 could not be saved: the database failed. "
                      "Nothing was imported.");
        } else if (ending == Ending::SavedElsewhere) {
            EXPECT_EQ(import.Message().rfind("Line 302: ", 0), 0u) << import.Message();
            EXPECT_NE(import.Message().find("CLERK"), std::string::npos) << import.Message();
        }
    }
}

TEST_F(CatalogueImportTest, AFileThatIsNoImportIsRefusedWhole) {
    const struct {
        const char* csv;
        ImportKind kind;
        const char* message;
    } cases[] = {
        {"", ImportKind::StockItems, "The file is empty."},
        {"Name,Price\nJacket,10\n", ImportKind::StockItems,
         "The file has no \"Item No\" or \"Stock Id\" column. Its first line must name the "
         "columns, as the template's does."},
        {"Stock Id,Vendor,VENDOR_ID\n", ImportKind::StockItems,
         "The column \"Vendor\" is in the file twice."},
        {"Item No,UOM,Qty\n500,EA,1\n", ImportKind::Prices,
         "The file has no \"Unit Price\" column."},
        {"Stock Id,Short Description\n500,ok\n501,\"open\n502,x\n", ImportKind::StockItems,
         "A quote opened on line 3 is never closed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csv);
        CatalogueImport import(*db.Db(), c.kind);
        EXPECT_EQ(DryRun(import, c.csv), ImportOutcome::Failed);
        EXPECT_EQ(import.Message(), c.message);
        EXPECT_EQ(import.RowCount(), 0u);
    }
}

// The refused rows come back as a file of their own, under the file's header,
// that reads back as the same rows: fixed, it can be imported again.
TEST_F(CatalogueImportTest, RefusedRowsMakeAFileToFixAndImportAgain) {
    CatalogueImport import(*db.Db(), ImportKind::StockItems);
    // Windows-1252: "Caf\xE9" is not UTF-8.
    ASSERT_EQ(DryRun(import,
                     "Stock Id,Short Description,Vendor,Department,Stock Type,Model\r\n"
                     "N1,Caf\xE9,ALPINEGEAR,RETAIL,APPAREL,SHELL\r\n"
                     "N2,=HYPERLINK(\"x\"),NOBODY,RETAIL,APPAREL,SHELL\r\n"
                     "N3,\"Two, parts\",,RETAIL,APPAREL,SHELL\r\n"),
              ImportOutcome::Done);
    EXPECT_EQ(import.Notes().front(), "The file is not UTF-8: it was read as Windows-1252.");
    EXPECT_EQ(import.Row(0).details, "Caf\xC3\xA9");
    EXPECT_EQ(import.RefusedCsv(),
              "Stock Id,Short Description,Vendor,Department,Stock Type,Model,Refused Because\r\n"
              "N2,\"'=HYPERLINK(\"\"x\"\")\",NOBODY,RETAIL,APPAREL,SHELL,"
              "\"Vendor \"\"NOBODY\"\" does not exist.\"\r\n"
              "N3,\"Two, parts\",,RETAIL,APPAREL,SHELL,Vendor is Required\r\n");

    CatalogueImport again(*db.Db(), ImportKind::StockItems);
    ASSERT_EQ(DryRun(again, import.RefusedCsv()), ImportOutcome::Done);
    ExpectRows(again, {{RowFate::Refused, "Vendor \"NOBODY\" does not exist."},
                       {RowFate::Refused, "Vendor is Required"}});
    EXPECT_EQ(again.Notes().size(), 1u);
}

}  // namespace
}  // namespace vym::test
