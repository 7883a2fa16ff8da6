// The label rows of stock items and serialized units, the printers, and the
// demo receivings the label screen selects by.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "base/format.h"
#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "support/server/back_office.h"
#include "support/server/procedure_test.h"

namespace vym {
namespace {

using Row = std::map<std::string, std::string>;

class StockLabelProcedures : public test::ProcedureTest {
  protected:
    // Each row by column name in lower case (PostgreSQL folds the names the
    // procedures give); money as "0.00", since the engines spell it apart.
    std::vector<Row> Rows(const char* procedure, ProcedureArguments args) {
        auto cmd = NewProcedure(*db_, procedure, args);
        auto rs = db_->ExecuteRecordset(*cmd);
        std::vector<Row> rows;
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            Row row;
            for (std::int32_t i = 0; i < rs->FieldCount(); ++i) {
                const Value value = rs->Fields(i).Value();
                std::string name = rs->Fields(i).Name();
                std::transform(name.begin(), name.end(), name.begin(),
                               [](unsigned char c) { return std::tolower(c); });
                row[name] = value.IsNull()    ? "<null>"
                            : name == "price" ? Format(value, "0.00")
                                              : NullToEmpty(value);
            }
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(StockLabelProcedures, ItemRowsCarryTheStockAndUnitRowsTheirOwnPriceFormatAndHome) {
    const std::string unit = office_.Text(
        "SELECT serial_id FROM vym_item_stock_serial WHERE item_no = 601 ORDER BY serial_id");
    ASSERT_NE(unit, "<none>");
    office_.Sql(
        "UPDATE vym_item_stock_serial SET print_format_no = NULL, retail_price = 199.5 "
        "WHERE item_no = 601 AND serial_id = '" +
        unit + "'");
    office_.Sql("UPDATE vym_item_stock SET format_no = 4, unit_price = 210 WHERE item_no = 601");
    struct Case {
        std::int32_t item;
        std::string serial;
        Row expected;  // the columns checked
    };
    const Case cases[] = {
        {510,
         "",
         {{"serial_id", ""},
          {"mfg_serial", ""},
          {"format_no", "4"},
          {"upc_code", office_.Text("SELECT upc_code FROM vym_item_stock WHERE item_no = 510")},
          {"location_id", "<null>"},
          {"price", "29.95"}}},
        // The unit's price, and its item's format when it has none of its own.
        {601,
         unit,
         {{"serial_id", unit},
          {"mfg_serial", "SL17-51001"},
          {"price", "199.50"},
          {"format_no", "4"},
          {"location_id", "SUMMIT"},
          {"location_desc", "Summit Rental Shop"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        const auto rows =
            Rows("VYM_SP_ITEM_GetStockLabels",
                 {{"@item_no", c.item},
                  {"@serial_id", c.serial.empty() ? Value::Null() : Value(c.serial)}});
        ASSERT_EQ(rows.size(), 1u);
        for (const auto& [column, value] : c.expected) {
            EXPECT_EQ(rows[0].at(column), value) << column;
        }
    }
    // A unit the item does not have, and an item that is not stock, have no label.
    EXPECT_TRUE(
        Rows("VYM_SP_ITEM_GetStockLabels", {{"@item_no", 601}, {"@serial_id", "NOPE"}}).empty());
    EXPECT_TRUE(
        Rows("VYM_SP_ITEM_GetStockLabels", {{"@item_no", 100}, {"@serial_id", Value::Null()}})
            .empty());
}

TEST_F(StockLabelProcedures, PrintersListEveryPageOfEveryPrinterTypeAndReceivingsTheirLines) {
    const auto printers = Rows("VYM_SP_ITEM_GetPrinters", {});
    ASSERT_EQ(printers.size(), 6u);
    EXPECT_EQ(printers[0], (Row{{"printer", "CARD"}, {"page", "CR80"}}));
    EXPECT_EQ(printers[5], (Row{{"printer", "THERMAL"}, {"page", "TICKET"}}));
    EXPECT_EQ(office_.Text("SELECT count(*) FROM vym_receiving_line WHERE receiving_no = 1002"),
              "3");
    // A receiving's line is of an item; the receiving goes with its lines.
    EXPECT_THROW(office_.Sql("INSERT INTO vym_receiving_line (receiving_no, line_no, item_no, "
                             "qty_received) VALUES (1002, 9, 999999, 1)"),
                 std::exception);
    office_.Sql("DELETE FROM vym_receiving WHERE receiving_no = 1002");
    EXPECT_EQ(office_.Text("SELECT count(*) FROM vym_receiving_line WHERE receiving_no = 1002"),
              "0");
}

}  // namespace
}  // namespace vym
