#include "labels/stock_label_row.h"

#include <gtest/gtest.h>

#include "model/citem_stock.h"
#include "support/qt/qt_printers.h"

namespace vym {
namespace {

TEST(StockLabelRow, TheRecordCarriesEveryLabelFieldFromTheRowAndTheStock) {
    CItemStock stock;
    stock.SetItemNo(510);
    stock.SetFormatNo(4);
    stock.StockId = "GLOVE-L";
    stock.Taxable = true;
    stock.Model = "GLOVE";
    stock.StockModelDesc = "Ski Glove";
    stock.UnitPrice = 29.95;
    stock.MinPrice = 23.96;
    stock.CurrentAvgCost = 1234.5;
    stock.BaseUOMId = "EA";
    stock.BaseUOMDesc = "Each";
    stock.VendorName = "Alpine Gear Supply Co.";
    StockLabelRow row;
    row.StockNo = "510";
    row.StockDesc = "Ski Gloves,GLOVE,Black,L";
    row.SerialId = "SBS00001";
    row.ManfSerialId = "FR155-7781";
    row.UPC = "071234551007";
    row.HomeLocId = "SUMMIT";
    row.HomeLocDesc = "Summit Rental Shop";
    row.FormatDesc = "Shelf Label";
    row.User = {"a", "b", "c", "d"};

    const preview::CPrintData record = StockLabelRecord(row, stock);
    const std::pair<const char*, const char*> expected[] = {
        {"User.1", "a"},
        {"User.4", "d"},
        {"Stock.Stock_Id", "GLOVE-L"},
        {"Stock.Item_No", "510"},
        {"Stock.Description", "Ski Gloves,GLOVE,Black,L"},
        {"Stock.format_no", "4"},
        {"Stock.Model", "Ski Glove"},
        {"Stock.Model_Id", "GLOVE"},
        {"Stock.Taxable", "True"},
        {"Stock.Serialized", "False"},
        {"Stock.Unit_Price", "$29.95"},
        {"Stock.Min_Price", "$23.96"},
        {"Stock.Current_Avg_Cost", "$1,234.50"},
        {"Stock.Current_Cost", "$0.00"},
        {"Vendor.Vendor_Name", "Alpine Gear Supply Co."},
        {"UOM.Description", "Each"},
        {"Unit.UOM_ID", "EA"},
        {"Print_Format.Description", "Shelf Label"},
        {"Serial.Serial_id", "SBS00001"},
        {"Serial.Location_id", "SUMMIT"},
        {"Serial.Location_desc", "Summit Rental Shop"},
        {"Serial.Mfg_Serial_id", "FR155-7781"},
        {"Serial.UPC_Code", "071234551007"},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(record.Field(name), value) << name;
    }
    // Every name a stock label's template may use is there, even when empty.
    EXPECT_EQ(record.Names().size(), 43);
}

// A row needs a format number and a whole number of labels as users type
// it; each refusal names the row's stock.
TEST(StockLabelRow, ARowNeedsAFormatNumberAndAWholeNumberOfLabels) {
    StockLabelRow row;
    row.StockNo = "502";
    for (const char* format : {"", "Shelf Label", "0"}) {
        row.FormatID = format;
        const Verdict verdict = CheckLabelRow(row);
        ASSERT_TRUE(verdict) << format;
        EXPECT_EQ(verdict->message,
                  "Format is required to print labels.  Please select one and reprint for 502");
        EXPECT_EQ(verdict->title, "Invalid Format");
    }
    row.FormatID = "4";
    EXPECT_FALSE(CheckLabelRow(row));

    const struct {
        const char* typed;
        std::optional<int> copies;
    } cases[] = {{"3", 3},
                 {" 12 ", 12},
                 {"1,250", 1250},
                 {"2.0", 2},
                 {"99999", 99999},
                 {"", std::nullopt},
                 {"0", std::nullopt},
                 {"-1", std::nullopt},
                 {"2.5", std::nullopt},
                 {"abc", std::nullopt},
                 {"100000", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCopies(c.typed), c.copies) << c.typed;
        row.Qty = c.typed;
        const Verdict verdict = CheckLabelRow(row);
        EXPECT_EQ(verdict.has_value(), !c.copies.has_value()) << c.typed;
        if (verdict) {
            EXPECT_EQ(verdict->message,
                      "The number of labels for 502 must be a whole number from "
                      "1 to 99999, not \"" +
                          std::string(c.typed) + "\".");
            EXPECT_EQ(verdict->title, "Invalid Qty");
        }
    }
}

}  // namespace
}  // namespace vym
