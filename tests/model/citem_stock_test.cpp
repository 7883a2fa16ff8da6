#include "model/citem_stock.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "catalogue_database.h"
#include "model/citem.h"
#include "support/core/fields.h"
#include "support/server/fault_injecting_connection.h"

namespace vym::test {
namespace {

void SetLanded(CItemStock& stock, double cost, double freight, double discount) {
    stock.CurrentAvgCost = cost;
    stock.CurrentAvgFreight = freight;
    stock.CurrentAvgDiscount = discount;
    stock.CurrentCost = 99;  // never used by the computations
}

// Both round to four places half to even. The ties of five in the fifth
// place tell half to even from half away from zero: a tie after an even
// digit stays down for a positive value and up for a negative one, where
// half away from zero would move both away.
TEST(CItemStock, UnitPriceFollowsTheLandedCostAndMargin) {
    const struct {
        double cost, freight, discount, margin;
        const char* shown;
        double unitPrice;
    } cases[] = {
        {10, 1, 0.5, 0.3, "$15.0000", 15},
        {10, 0, 0, 1, "$0.0000", 0},        // a margin of exactly 1 gives no price
        {10, 0, 0, 1.5, "-$20.0000", -20},  // above 1 the price turns negative
        {0.00005, 0, 0, 0, "$0.0000", 0},
        {0.00015, 0, 0, 0, "$0.0002", 0.0002},
        {0.000625, 0, 0, 0.5, "$0.0012", 0.0012},    // 0.00125
        {0, 0, 0.000625, 0.5, "-$0.0012", -0.0012},  // -0.00125
    };
    for (const auto& c : cases) {
        CItemStock stock;
        SetLanded(stock, c.cost, c.freight, c.discount);
        stock.UnitPrice = 7;
        stock.Margin = c.margin;
        EXPECT_EQ(stock.CalculateUnitPrice(), c.shown) << c.cost << " at margin " << c.margin;
        EXPECT_DOUBLE_EQ(stock.UnitPrice, c.unitPrice) << c.cost << " at margin " << c.margin;
    }
}

TEST(CItemStock, MarginFollowsTheLandedCostAndUnitPrice) {
    const struct {
        double cost, freight, discount, unitPrice;
        const char* shown;
        double margin;
    } cases[] = {
        {10, 1, 0.5, 21, "50.00%", 0.5},
        {10, 0, 0, 0, "0.00%", 0},  // no price, no margin
        {10, 0, 0, -5, "300.00%", 3},
        {1, 0, 0, 1.6, "37.50%", 0.375},      // exact: nothing to round
        {1, 0, 0, 1.00016, "0.02%", 0.0002},  // 0.000159974...: no tie
        {799, 0, 0, 800, "0.12%", 0.0012},    // 0.00125
        {801, 0, 0, 800, "-0.12%", -0.0012},  // -0.00125
        {797, 0, 0, 800, "0.38%", 0.0038},    // 0.00375: after an odd digit the tie goes up
    };
    for (const auto& c : cases) {
        CItemStock stock;
        SetLanded(stock, c.cost, c.freight, c.discount);
        stock.Margin = 0.42;
        stock.UnitPrice = c.unitPrice;
        EXPECT_EQ(stock.CalculateMargin(), c.shown) << c.unitPrice << " over " << c.cost;
        EXPECT_DOUBLE_EQ(stock.Margin, c.margin) << c.unitPrice << " over " << c.cost;
    }
}

TEST(CItemStock, ParentIsCreatedOnFirstUseAndFollowsNumberAndStatus) {
    CItemStock stock;
    stock.SetItemNo(42);
    CItem* parent = stock.ParentItem();
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->ItemNo, 42);
    EXPECT_EQ(stock.ParentItem(), parent);
    stock.SetItemNo(43);
    EXPECT_EQ(parent->ItemNo, 43);
    stock.SetStatusId("INACTIVE");
    EXPECT_EQ(parent->StatusId, "INACTIVE");

    parent->ShortDescription = "Boot";
    stock.StockSize = "10";
    EXPECT_EQ(stock.MakeLongDescription(), "Boot,,,10");
    stock.Model = "RB-COMFORT";
    stock.StockAttribute = "Black";
    EXPECT_EQ(stock.MakeLongDescription(), "Boot,RB-COMFORT,Black,10");
    EXPECT_EQ(parent->LongDescription, "Boot,RB-COMFORT,Black,10");

    // Owned by an item, the stock record works on that item instead.
    CItem item;
    item.SetItemType("STOCK");
    item.StockItem()->SetItemNo(7);
    EXPECT_EQ(item.ItemNo, 7);
    EXPECT_EQ(item.StockItem()->ParentItem(), &item);
}

class CItemStockDbTest : public RecordTest {};

TEST_F(CItemStockDbTest, NewStockReadsNothing) {
    test::FaultInjectingConnection faulty(db.SharedDb(), *db.Errors());
    faulty.FailEveryCall(test::FaultInjectingConnection::Fault::ExecuteFailed);
    CItemStock stock;
    EXPECT_TRUE(stock.OpenStock(&faulty, db.Errors(), 0, "BASE", true));
    EXPECT_EQ(faulty.Calls(), 0);
    EXPECT_TRUE(stock.AllowLineDiscount);
    EXPECT_TRUE(stock.AllowSellerPricing);
    EXPECT_EQ(stock.LocationId, "BASE");
    EXPECT_FALSE(stock.OpenStock(nullptr, db.Errors(), 500));
}

TEST_F(CItemStockDbTest, QuantityComesFromTheLocation) {
    CItemStock stock;
    ASSERT_TRUE(stock.OpenStock(&recording, db.Errors(), 601));
    EXPECT_EQ(stock.QOH, 47);  // all locations
    ASSERT_TRUE(stock.OpenStock(&recording, db.Errors(), 601, "SUMMIT"));
    EXPECT_EQ(stock.QOH, 12);
    EXPECT_EQ(recording.calls.size(), 2u);  // the procedure only
    EXPECT_EQ(Fields(stock.VendorName, stock.SerialTypeId, stock.ModelSerialPrefix),
              "Snowline Outfitters|SKI|RS");

    stock.DataChanged = true;
    ASSERT_TRUE(stock.OpenStock(&recording, db.Errors(), 601, "O'Brien", true));
    EXPECT_EQ(stock.QOH, 0);
    ASSERT_EQ(recording.calls.size(), 4u);
    EXPECT_EQ(recording.calls.back().procedure,
              "SELECT qty_on_hand from vym_item_stock_location WHERE item_no = 601 AND "
              "location_id = 'O''Brien'");
    EXPECT_FALSE(stock.DataChanged);

    CItemStock missing;
    missing.UnitPrice = 3;
    EXPECT_FALSE(missing.OpenStock(db.Db(), db.Errors(), 100));
    EXPECT_EQ(missing.UnitPrice, 3);
}

TEST_F(CItemStockDbTest, RentalItemsDocumentAndRefusal) {
    CItemStock stock;
    ASSERT_TRUE(stock.OpenStock(db.Db(), db.Errors(), 610));
    const std::string rows =
        "<vym_item_stock_rental item_no=\"610\" rental_item_no=\"703\" action=\"INSERT\" "
        "vym_user=\"ADMIN\" />\r"
        "<vym_item_stock_rental item_no=\"610\" rental_item_no=\"701\" action=\"DELETE\" "
        "vym_user=\"ADMIN\" />\r";
    ASSERT_TRUE(stock.UpdateRentalItems(&recording, db.Errors(), rows));
    const auto& call = recording.calls.back();
    EXPECT_EQ(call.procedure, "VYM_SP_ITEM_UpdateItemStockRentalItemXML");
    EXPECT_EQ(call.Find("@DOC")->Value.ToString(), "<ROOT>\r\n" + rows + "\r\n</ROOT>");
    EXPECT_EQ(call.Find("@DOC")->Size, static_cast<std::int32_t>(rows.size() + 17));
    EXPECT_EQ(db.Joined("SELECT rental_item_no FROM vym_item_stock_rental WHERE item_no = 610 "
                        "ORDER BY rental_item_no",
                        ","),
              "703");

    const std::string before = db.Snapshot();
    script.ExpectMessage("Item 99999 does not exist.", "Error Updating Stock Rental Items",
                         kInformation);
    EXPECT_FALSE(stock.UpdateRentalItems(
        db.Db(), db.Errors(),
        "<vym_item_stock_rental item_no=\"610\" rental_item_no=\"700\" action=\"INSERT\" />\r"
        "<vym_item_stock_rental item_no=\"610\" rental_item_no=\"99999\" action=\"INSERT\" />"));
    EXPECT_EQ(db.Snapshot(), before);
}

}  // namespace
}  // namespace vym::test
