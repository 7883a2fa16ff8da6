#include "model/cstock_serial.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "support/core/prompter_script.h"
#include "support/server/back_office.h"

namespace vym {
namespace {

class StockSerial : public ::testing::Test {
  protected:
    test::BackOffice office_;
    Connection* db_ = &office_.Db();
    ErrorObject* errors_ = &office_.Local().ErrorObject();
};

TEST_F(StockSerial, OpensTheUnitWithItsItemBindingAndContract) {
    CStockSerial ski;
    ASSERT_TRUE(ski.OpenSerial(db_, errors_, 600, "rsb00003"));
    EXPECT_EQ(ski.ItemDesc, "Rental Ski,RS-ALLMTN,,160");
    EXPECT_EQ(ski.MfgSerial, "SL16-40117");
    EXPECT_EQ(ski.StatusId, "OUT");
    EXPECT_EQ(ski.LocationDesc, "Base Lodge Shop");
    EXPECT_EQ(ski.BindingItemNo, 630);
    EXPECT_EQ(ski.BindingItemTypeId, "STD");
    EXPECT_EQ(ski.BootLength, 305);
    EXPECT_EQ(ski.ModelSerialPrefixId, "RS");
    EXPECT_EQ(ski.RentalItemDesc, "Adult Ski Rental");
    EXPECT_EQ(ski.CustomerName(), "Dana Whitfield");
    EXPECT_EQ(ski.ContractNo(), 5012);
    EXPECT_EQ(ski.OriginalCost, Currency::FromRaw(2120000));
    EXPECT_EQ(ski.DepreciatedValue, Currency::FromRaw(1272000));

    // A boot unit without a length of its own is set for its item's.
    CStockSerial boot;
    ASSERT_TRUE(boot.OpenSerial(db_, errors_, 610, "RBS00001"));
    EXPECT_EQ(boot.BootLength, 305);
    EXPECT_EQ(boot.ContractNo(), 0);
    EXPECT_FALSE(boot.OpenSerial(db_, errors_, 610, "RSB00003"));
    EXPECT_FALSE(boot.OpenSerial(nullptr, errors_, 610, "RBS00001"));
    office_.ExpectNoErrorReports();
}

TEST_F(StockSerial, SavesWithoutBindingAsNullAndReportsARefusal) {
    CStockSerial unit;
    unit.ItemNo = 601;
    unit.SerialId = "RSS-T1";
    unit.LocationId = "SUMMIT";
    unit.RetailPrice = Currency::FromRaw(1000);  // 0.10, exactly
    ASSERT_TRUE(unit.Update(db_, errors_, true));
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE serial_id = "
                             "'RSS-T1' AND binding_item_no IS NULL AND status_id = 'NEW'"),
              1);
    CStockSerial again;
    ASSERT_TRUE(again.OpenSerial(db_, errors_, 601, "RSS-T1"));
    EXPECT_EQ(again.RetailPrice, Currency::FromRaw(1000));

    test::PrompterScript script;
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
    EXPECT_EQ(board.QOH, 3);
    EXPECT_EQ(board.QtySerialized, 3);
}

TEST_F(StockSerial, CopiesAndClearsAsANewUnitLikeIt) {
    CStockSerial ski;
    ASSERT_TRUE(ski.OpenSerial(db_, errors_, 600, "RSB00001"));
    ski.ItemUnitPrice = Currency::FromRaw(1990000);
    ski.BindingUnitPrice = Currency::FromRaw(890000);
    EXPECT_EQ(ski.SalePrice(), Currency::FromRaw(2880000));

    CStockSerial copy;
    ski.CopySerial(copy);
    EXPECT_EQ(copy.SerialId, "RSB00001");
    EXPECT_EQ(copy.BindingItemNo, 630);
    EXPECT_EQ(copy.BindingItemTypeId, "");
    EXPECT_EQ(copy.RentalItemDesc, "");
    EXPECT_EQ(copy.CreatedBy, "");

    ski.ClearState();
    EXPECT_EQ(ski.SerialId, "");
    EXPECT_EQ(ski.MfgSerial, "");
    EXPECT_EQ(ski.StatusId, "NEW");
    EXPECT_TRUE(ski.IsActive);
    EXPECT_EQ(ski.ItemNo, 600);
    EXPECT_EQ(ski.CreatedBy, "");
    EXPECT_GT(ski.CreatedOn.Serial(), 0);
}

}  // namespace
}  // namespace vym
