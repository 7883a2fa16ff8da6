#include "model/cstock_serial.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "catalogue_database.h"
#include "support/core/fields.h"

namespace vym::test {
namespace {

class StockSerial : public RecordTest {
  protected:
    Connection* db_ = db.Db();
    ErrorObject* errors_ = db.Errors();
};

TEST_F(StockSerial, OpensTheUnitWithItsItemBindingAndContract) {
    CStockSerial ski;
    ASSERT_TRUE(ski.OpenSerial(db_, errors_, 600, "rsb00003"));
    EXPECT_EQ(Fields(ski.ItemDesc, ski.MfgSerial, ski.StatusId, ski.LocationDesc, ski.BindingItemNo,
                     ski.BindingItemTypeId, ski.BootLength, ski.ModelSerialPrefixId,
                     ski.RentalItemDesc, ski.CustomerName(), ski.ContractNo()),
              "Rental Ski,RS-ALLMTN,,160|SL16-40117|OUT|Base Lodge Shop|630|STD|305|RS|"
              "Adult Ski Rental|Dana Whitfield|5012");
    EXPECT_EQ(ski.OriginalCost, Currency::FromRaw(2120000));
    EXPECT_EQ(ski.DepreciatedValue, Currency::FromRaw(1272000));

    // A boot unit without a length of its own is set for its item's.
    CStockSerial boot;
    ASSERT_TRUE(boot.OpenSerial(db_, errors_, 610, "RBS00001"));
    EXPECT_EQ(boot.BootLength, 305);
    EXPECT_EQ(boot.ContractNo(), 0);
    EXPECT_FALSE(boot.OpenSerial(db_, errors_, 610, "RSB00003"));
    EXPECT_FALSE(boot.OpenSerial(nullptr, errors_, 610, "RBS00001"));
}

TEST_F(StockSerial, SavesWithoutBindingAsNullAndReportsARefusal) {
    CStockSerial unit;
    unit.ItemNo = 601;
    unit.SerialId = "RSS-T1";
    unit.LocationId = "SUMMIT";
    unit.RetailPrice = Currency::FromRaw(1000);  // 0.10, exactly
    ASSERT_TRUE(unit.Update(db_, errors_, true));
    EXPECT_EQ(db.Office().Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE serial_id = "
                                 "'RSS-T1' AND binding_item_no IS NULL AND status_id = 'NEW'"),
              1);
    CStockSerial again;
    ASSERT_TRUE(again.OpenSerial(db_, errors_, 601, "RSS-T1"));
    EXPECT_EQ(again.RetailPrice, Currency::FromRaw(1000));

    script.ExpectMessage("The serial number you have provided is not unique.",
                         "Update Serial Failed", kInformation);
    EXPECT_FALSE(unit.Update(db_, errors_, true));
}

TEST_F(StockSerial, QuantityCheckNeedsALocationAndCountsTheUnitsThere) {
    CStockSerial board;
    board.ItemNo = 620;
    EXPECT_EQ(board.CheckQOH(db_, errors_), -1);
    EXPECT_EQ(board.QOH, 0);
    board.LocationId = "SUMMIT";
    EXPECT_EQ(board.CheckQOH(db_, errors_), 0);
    EXPECT_EQ(Fields(board.QOH, board.QtySerialized), "3|3");
}

TEST_F(StockSerial, CopiesAndClearsAsANewUnitLikeIt) {
    CStockSerial ski;
    ASSERT_TRUE(ski.OpenSerial(db_, errors_, 600, "RSB00001"));
    ski.ItemUnitPrice = Currency::FromRaw(1990000);
    ski.BindingUnitPrice = Currency::FromRaw(890000);
    EXPECT_EQ(ski.SalePrice(), Currency::FromRaw(2880000));

    CStockSerial copy;
    ski.CopySerial(copy);
    EXPECT_EQ(Fields(copy.SerialId, copy.BindingItemNo, copy.BindingItemTypeId, copy.RentalItemDesc,
                     copy.CreatedBy),
              "RSB00001|630|||");

    ski.ClearState();
    EXPECT_EQ(
        Fields(ski.SerialId, ski.MfgSerial, ski.StatusId, ski.IsActive, ski.ItemNo, ski.CreatedBy),
        "||NEW|true|600|");
    EXPECT_GT(ski.CreatedOn.Serial(), 0);
}

}  // namespace
}  // namespace vym::test
