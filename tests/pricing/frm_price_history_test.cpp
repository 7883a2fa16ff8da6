// The price history as the History buttons of stock pricing and of the item
// price list show it, on the demo back office: the ski gloves (510) priced by
// the pair, and the adult day ticket (100) by season, discount and unit.
#include "pricing/frm_price_history.h"

#include <QTest>

#include "gateway/procedure_call.h"
#include "model/citem.h"
#include "pricing/frm_pricing.h"
#include "pricing/frm_stock_pricing.h"
#include "server/local_app_server.h"
#include "support/qt/qt_printers.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kHistoryWhen = 0;
constexpr int kHistoryExtension = 4;
constexpr int kHistoryDiscount = 6;

class PriceHistoryScreen : public test::ScreenTest {
  protected:
    // The history's first rows as "user|station|change|extension|season|
    // discount|unit|qty|location|old|new"; each must say when.
    static std::vector<QString> Rows(QDialog& history, int count) {
        const FlexGrid& grid = *history.findChild<FlexGrid*>("fgHistory");
        std::vector<QString> rows;
        for (int row = 1; row <= count && row < grid.Rows(); ++row) {
            EXPECT_FALSE(grid.TextMatrix(row, kHistoryWhen).isEmpty());
            QStringList cells;
            for (int col = kHistoryWhen + 1; col < grid.Cols(); ++col) {
                cells << grid.TextMatrix(row, col);
            }
            rows.push_back(cells.join('|'));
        }
        return rows;
    }
    // Opens the history with the window's History button; `check` reads it,
    // then the history is closed from the keyboard with `key`.
    void ShowHistory(QWidget& window, Qt::Key key, const std::function<void(QDialog&)>& check) {
        modals_.Expect("frmPriceHistory", [&](QDialog& history) {
            check(history);
            QTest::keyClick(&history, key);
            EXPECT_FALSE(history.isVisible());
        });
        window.findChild<QPushButton*>("cmdHistory")->click();
        EXPECT_TRUE(modals_.AllMet());
    }

    CItem item_;
    const QString here_ = QString::fromStdString(server::DefaultStation());
};

TEST_F(PriceHistoryScreen, StockPricingShowsThePricesJustTypedAndCleared) {
    ASSERT_TRUE(item_.OpenItem(Db(), Errors(), 510));
    frmStockPricing window;
    ASSERT_TRUE(window.Setup(&maint_, &item_));
    window.show();
    FlexGrid& grid = *window.findChild<FlexGrid*>("fgPrices");
    constexpr int kAny = 2;
    constexpr int kBase = 3;
    ASSERT_TRUE(test::TypeIntoCell(grid, grid.FindRow("3", 1), kAny, "$28"));
    ASSERT_TRUE(test::TypeIntoCell(grid, grid.FindRow("6", 1), kBase, ""));

    ShowHistory(window, Qt::Key_Escape, [&](QDialog& history) {
        EXPECT_EQ(history.windowTitle(), "Price History for: Ski Gloves,GLOVE,Black,L (510)");
        EXPECT_EQ(
            Rows(history, 3),
            (std::vector<QString>{"ADMIN|" + here_ + "|Deleted||||PR|6|Base Lodge Shop|24.9500|",
                                  "ADMIN|" + here_ + "|Changed||||PR|3|<ANY>|27.5000|28.0000",
                                  "ADMIN|" + here_ + "|Added||||EA|1|<ANY> (Sale 2)||19.9900"}))
            << "the last price the demo gives the gloves is one of a sale";
        const FlexGrid& shown = *history.findChild<FlexGrid*>("fgHistory");
        EXPECT_TRUE(shown.IsColumnHidden(kHistoryExtension) &&
                    shown.IsColumnHidden(kHistoryDiscount))
            << "the gloves have no extension or discount prices";
    });
}

TEST_F(PriceHistoryScreen, PriceListShowsAnotherStationsChange) {
    const auto desk = office_.OpenAgain("JSMITH", "FRONT-DESK");
    const std::int32_t regular = office_.Scalar(
        "SELECT price_no FROM vym_price WHERE item_no = 100 AND season_id = 3 "
        "AND discount_id IS NULL AND child_item_no IS NULL");
    auto save = NewProcedure(*desk->DBConnection(), "VYM_SP_ITEM_UpdatePrice",
                             {{"@price_no", regular}, {"@item_no", 100}, {"@price", 104}});
    ASSERT_TRUE(desk->DBConnection()->Execute(*save));

    ASSERT_TRUE(item_.OpenItem(Db(), Errors(), 100));
    frmPricing window;
    ASSERT_TRUE(window.Setup(&maint_, &item_));
    window.show();
    ShowHistory(window, Qt::Key_Return, [&](QDialog& history) {
        EXPECT_EQ(history.windowTitle(), "Price History for: Adult Day Ticket (100)");
        EXPECT_EQ(Rows(history, 1),
                  std::vector<QString>{
                      "JSMITH|FRONT-DESK|Changed||Regular Season (3)||DAY|1||99.0000|104.0000"});
        const FlexGrid& shown = *history.findChild<FlexGrid*>("fgHistory");
        EXPECT_FALSE(shown.IsColumnHidden(kHistoryExtension) ||
                     shown.IsColumnHidden(kHistoryDiscount))
            << "the ticket has extension and discount prices";
    });
}

}  // namespace
}  // namespace vym
