// The price overview and the price selection on the demo back office.
#include "pricing/frm_edit_prices.h"

#include <QLineEdit>

#include "base/prompter.h"
#include "pricing/frm_select_price.h"
#include "support/qt/screen_test.h"
#include "support/qt/stop_at_first_chance.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kListPriceNo = 3;
constexpr int kListSeason = 5;
constexpr int kListDiscount = 6;
constexpr int kListUnitPrice = 9;
constexpr int kListPrice = 10;

class PriceLists : public test::ScreenTest {};

TEST_F(PriceLists, OverviewListsEveryItemPriceAndEditsOneInItsProperties) {
    frmEditPrices window;
    ASSERT_TRUE(window.Setup(&maint_));
    window.show();
    ASSERT_TRUE(window.LoadPrices());
    EXPECT_EQ(window.windowTitle(), "Edit Prices");
    FlexGrid& grid = *window.findChild<FlexGrid*>("fgPrices");
    EXPECT_EQ(grid.Rows() - 1,
              office_.Scalar("SELECT count(*) FROM vym_price WHERE package_no IS NULL"));

    const std::int32_t military = office_.Scalar(
        "SELECT price_no FROM vym_price WHERE item_no = 100 AND discount_id = 'MILITARY'");
    const int row = grid.FindRow(QString::number(military), kListPriceNo);
    ASSERT_GT(row, 0);
    EXPECT_EQ(test::CellTexts(grid, row, {kListSeason, kListDiscount}),
              "Regular Season (3)|MILITARY:Active Military");
    const std::int32_t gloves =
        office_.Scalar("SELECT price_no FROM vym_price WHERE item_no = 510 AND unit_qty = 6");
    const int stock = grid.FindRow(QString::number(gloves), kListPriceNo);
    ASSERT_GT(stock, 0);
    EXPECT_EQ(test::CellTexts(grid, stock, {kListSeason, kListDiscount}), "|");
    EXPECT_EQ(grid.DisplayText(stock, kListUnitPrice), "24.9500");

    modals_.Expect("frmStockPriceProp", [](QDialog& d) {
        auto& price = *d.findChild<QLineEdit*>("txtUnitPrice");
        EXPECT_EQ(price.text(), "$24.9500");
        test::ReplaceText(price, "2.5");
        d.findChild<QPushButton*>("cmdOk")->click();
    });
    emit grid.CellDoubleClicked(stock, kListPrice);  // as the grid reports it
    modals_.Verify();
    EXPECT_EQ(grid.TextMatrix(stock, kListUnitPrice), "$2.5000");
    EXPECT_EQ(grid.DisplayText(stock, kListPrice), "15.0000");
    EXPECT_EQ(office_.Scalar("SELECT total_price * 10000 FROM vym_price WHERE price_no = " +
                             std::to_string(gloves)),
              150000);
}

TEST_F(PriceLists, StopEndsTheOverviewsLoad) {
    frmEditPrices window;
    test::StopAtFirstChance user(window);
    ASSERT_TRUE(window.Setup(&maint_));
    ASSERT_TRUE(window.LoadPrices());
    const int rows = window.findChild<FlexGrid*>("fgPrices")->Rows() - 1;
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, office_.Scalar("SELECT count(*) FROM vym_price WHERE package_no IS NULL"));
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdStop")->isEnabled());
}

TEST_F(PriceLists, SelectionReturnsThePickedPrice) {
    struct Case {
        std::int32_t item;
        std::int32_t package;
        int rows;
    };
    for (const Case& c : {Case{102, 0, 1}, Case{0, 1, 2}}) {
        frmSelectPrice list;
        ASSERT_TRUE(list.Setup(&maint_, c.item, c.package));
        list.show();
        EXPECT_EQ(list.windowTitle(), "Select Price");
        FlexGrid& grid = *list.findChild<FlexGrid*>("fgPrices");
        ASSERT_EQ(grid.Rows() - 1, c.rows);
        emit grid.CellDoubleClicked(c.rows, 1);
        EXPECT_FALSE(list.Cancelled());
        EXPECT_EQ(list.PriceNo(), grid.TextMatrix(c.rows, 0).toInt());
        EXPECT_EQ(list.UnitQty(), 1);
        EXPECT_EQ(list.Price(), Currency::FromRaw(c.item == 102 ? 690000 : 22200000));
    }
    frmSelectPrice list;
    ASSERT_TRUE(list.Setup(&maint_, 0, 1));
    EXPECT_EQ(list.findChild<FlexGrid*>("fgPrices")->TextMatrix(2, 1), "Regular Season (3)");
    list.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_TRUE(list.Cancelled());
}

}  // namespace
}  // namespace vym
