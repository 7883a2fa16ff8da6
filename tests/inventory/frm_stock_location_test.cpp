#include "inventory/frm_stock_location.h"

#include "support/qt/screen_test.h"
#include "ui/data_combo.h"

namespace vym {
namespace {

using ui::FlexGrid;

class StockLocationWindow : public test::ScreenOf<frmStockLocation> {
  protected:
    StockLocationWindow() : ScreenOf("fgLocation") {}
};

TEST_F(StockLocationWindow, ListsTheItemsLocationsWithTheirCountsAndDates) {
    window_.Setup(&maint_, 511);
    EXPECT_EQ(window_.windowTitle(), "View Stock Location");
    FlexGrid& grid = Grid();
    EXPECT_EQ(grid.ColumnHeading(2), "Qty on Hand");
    EXPECT_EQ(grid.ColumnIndex("Last_Date_Sold"), 8);
    Find<QPushButton>("cmdFind").click();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, grid.ColumnIndex("LocationID")), "BASE");
    EXPECT_EQ(grid.TextMatrix(1, grid.ColumnIndex("Qty_On_Hand")), "7");
    EXPECT_EQ(grid.TextMatrix(2, grid.ColumnIndex("Min_Qty")), "1");
    // The village shop is counting its goggles.
    EXPECT_FALSE(grid.CellChecked(1, grid.ColumnIndex("Locked")));
    EXPECT_TRUE(grid.CellChecked(2, grid.ColumnIndex("Locked")));
    EXPECT_EQ(grid.DisplayText(1, grid.ColumnIndex("Last_Inventory_Date")), "01/31/2025");
    EXPECT_FALSE(grid.EditCell(1, 2));
}

TEST_F(StockLocationWindow, SearchesByLocationAloneOrEverything) {
    window_.Setup(&maint_, 0, "summit");
    EXPECT_EQ(Find<ui::DataCombo>("cmbLocation").Key(), "SUMMIT");
    Find<QPushButton>("cmdFind").click();
    EXPECT_EQ(Grid().Rows() - 1,
              office_.Scalar("SELECT count(*) FROM vym_item_stock_location WHERE location_id = "
                             "'SUMMIT'"));
    EXPECT_EQ(Grid().TextMatrix(1, 3), Grid().TextMatrix(1, 2)) << "rental units are serialized";

    Find<ui::DataCombo>("cmbLocation").setCurrentIndex(0);  // <Any Location>
    Find<QPushButton>("cmdFind").click();
    EXPECT_EQ(Grid().Rows() - 1, office_.Scalar("SELECT count(*) FROM vym_item_stock_location"));
}

}  // namespace
}  // namespace vym
