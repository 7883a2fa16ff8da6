// Stock pricing on the demo back office: the ski gloves (510) by the pair,
// for any location at 1 and 3 pairs, at the base lodge at 1 and 6 pairs.
#include "pricing/frm_stock_pricing.h"

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "base/prompter.h"
#include "model/citem.h"
#include "support/qt/screen_test.h"
#include "ui/image_combo.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kAny = 2;
constexpr int kBase = 3;  // the locations follow by description
constexpr int kSummit = 4;
constexpr int kVillage = 6;

class StockPricing : public test::ScreenTest {
  protected:
    StockPricing() : ScreenTest(&window_, "fgPrices") {}
    void SetUp() override { Faults(); }
    void Open(std::int32_t itemNo) {
        ASSERT_TRUE(item_.OpenItem(Db(), Errors(), itemNo));
        ASSERT_TRUE(window_.Setup(&maint_, &item_));
        window_.show();
    }
    // The data row of a unit of measure and quantity; 0 when there is none.
    int Row(const QString& uom, int qty) {
        for (int row = 1; row < Grid().Rows(); ++row) {
            if (Grid().TextMatrix(row, 0) == uom && Grid().TextMatrix(row, 1).toInt() == qty) {
                return row;
            }
        }
        return 0;
    }
    std::vector<QString> Headings() {
        std::vector<QString> headings;
        for (int col = 0; col < Grid().Cols(); ++col) {
            headings.push_back(Grid().ColumnHeading(col));
        }
        return headings;
    }
    // "total = qty x unit" of the gloves' regular price at a location ("" any).
    std::string Stored(int qty, const std::string& location) {
        return Scalar(
            "SELECT printf('%.4f = %d x %.4f', total_price, unit_qty, unit_price) FROM vym_price "
            "WHERE item_no = 510 AND uom_id = 'PR' AND sale_no IS NULL AND unit_qty = " +
            std::to_string(qty) + " AND IFNULL(location_id, '') = '" + location + "'");
    }
    void AddRow(const char* uom, const QString& qty) {
        modals_.Expect("frmPromptUOM", [=](QDialog& prompt) {
            EXPECT_EQ(prompt.windowTitle(), "Select UOM and Qty");
            EXPECT_TRUE(prompt.findChild<ui::ImageCombo*>("cmbUOM")->SetKey(uom));
            test::ReplaceText(*prompt.findChild<QLineEdit*>("txtQty"), qty);
            prompt.findChild<QPushButton*>("cmdOk")->click();
            if (prompt.isVisible()) {
                prompt.reject();
            }
        });
        window_.findChild<QPushButton*>("cmdAddRow")->click();
    }

    CItem item_;
    frmStockPricing window_;
};

TEST_F(StockPricing, ShowsOneRowPerUnitOfMeasureAndQuantityAndOneColumnPerLocation) {
    Open(510);
    EXPECT_EQ(window_.windowTitle(), "Pricing for Stock Item (510) Ski Gloves,GLOVE,Black,L");
    EXPECT_EQ(Headings(),
              (std::vector<QString>{"UOM", "Qty", "<ANY>", "Base Lodge Shop", "Summit Rental Shop",
                                    "Ticket Windows", "Village Sports"}));
    ASSERT_EQ(Grid().Rows(), 4);
    const int one = Row("PR", 1);
    EXPECT_EQ(test::CellTexts(Grid(), one, {kAny, kBase, kSummit}), "$29.9500|$31.9500|")
        << "one row, a price per location";
    EXPECT_EQ(Grid().TextMatrix(Row("PR", 3), kAny), "$27.5000");
    EXPECT_EQ(Grid().TextMatrix(Row("PR", 6), kBase), "$24.9500");
    EXPECT_EQ(Grid().CellData(one, kBase).toInt(),
              std::stoi(Scalar("SELECT price_no FROM vym_price WHERE item_no = 510 AND "
                               "location_id = 'BASE' AND unit_qty = 1")));
    EXPECT_TRUE(window_.findChild<QLineEdit*>("txtMinPrice")->isEnabled());

    frmStockPricing rental;
    CItem skis;
    ASSERT_TRUE(skis.OpenItem(Db(), Errors(), 700));
    ASSERT_TRUE(rental.Setup(&maint_, &skis));
    EXPECT_EQ(rental.windowTitle(),
              QString::fromStdString("Pricing for Rental Item (700) " + skis.LongDescription));
    EXPECT_FALSE(rental.findChild<QLineEdit*>("txtMinPrice")->isEnabled());
}

TEST_F(StockPricing, TypedPricesAreSavedAtOnceAndRefusedOnesKeepTheirText) {
    Open(510);
    script_.ExpectMessage("Please enter a whole number of 1 or more for the quantity.",
                          "InValid Quantity", kInformation);
    AddRow("PR", "two");
    modals_.Verify();
    AddRow("PR", "4");
    const int four = Row("PR", 4);
    ASSERT_NE(four, 0);
    AddRow("PR", "4");
    EXPECT_EQ(Grid().Rows(), four + 1) << "an existing row is chosen, not added again";

    struct Case {
        int qty;
        int col;
        QString typed;
        QString shown;
        std::string location;
        std::string stored;
        const char* message = nullptr;
        const char* title = nullptr;
    };
    const Case cases[] = {
        {4, kAny, "2.5", "$2.5000", "", "10.0000 = 4 x 2.5000"},
        {1, kSummit, ".50", "$0.5000", "SUMMIT", "0.5000 = 1 x 0.5000"},
        {3, kAny, "1,250", "$1250.0000", "", "3750.0000 = 3 x 1250.0000"},
        {6, kBase, "$20", "$20.0000", "BASE", "120.0000 = 6 x 20.0000"},
        {6, kBase, "-", "-", "BASE", "120.0000 = 6 x 20.0000",
         "Please enter a valid numeric value for price.", "InValid Price Value"},
        {6, kBase, "-5", "-5", "BASE", "120.0000 = 6 x 20.0000", "A price can not be negative.",
         "Price Failed to Update"},
        {1, kBase, "", "", "BASE", "<none>"},
        {3, kVillage, "", "", "VILLAGE", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + " at " + std::to_string(c.qty));
        if (c.message != nullptr) {
            script_.ExpectMessage(c.message, c.title, kInformation);
        }
        ASSERT_TRUE(test::TypeIntoCell(Grid(), Row("PR", c.qty), c.col, c.typed));
        script_.Verify();
        EXPECT_EQ(Grid().TextMatrix(Row("PR", c.qty), c.col), c.shown);
        EXPECT_EQ(Stored(c.qty, c.location), c.stored);
    }
    EXPECT_EQ(Grid().CellData(Row("PR", 1), kBase).toInt(), 0) << "the deleted price is gone";

    // The base price is the item's unit price too.
    ASSERT_TRUE(test::TypeIntoCell(Grid(), Row("PR", 1), kAny, "30.125"));
    EXPECT_EQ(Stored(1, ""), "30.1250 = 1 x 30.1250");
    EXPECT_EQ(Scalar("SELECT unit_price FROM vym_item_stock WHERE item_no = 510"), "30.125");

    // A failed save says so; the cell keeps the text and the database the price.
    errorsExpected_ = true;
    office_.Faults().FailEveryCall(test::FaultInjectingConnection::Fault::ExecuteFailed);
    script_.ExpectMessage("Unable to update price.", "Price Failed to Update", kInformation);
    ASSERT_TRUE(test::TypeIntoCell(Grid(), Row("PR", 4), kAny, "3"));
    EXPECT_EQ(Grid().TextMatrix(Row("PR", 4), kAny), "3");
    office_.Faults().Disarm();
    EXPECT_EQ(Stored(4, ""), "10.0000 = 4 x 2.5000");
    EXPECT_FALSE(office_.Local().Reports().empty());
}

TEST_F(StockPricing, MinimumPriceIsSavedWithTheItemWhenItIsAnAmount) {
    Open(510);
    auto* minimum = window_.findChild<QLineEdit*>("txtMinPrice");
    const std::string stored = Scalar("SELECT min_price FROM vym_item_stock WHERE item_no = 510");
    EXPECT_EQ(minimum->text().toStdString(),
              Scalar("SELECT printf('%.4f', min_price) FROM vym_item_stock WHERE item_no = 510"));
    const auto leave = [&](const QString& typed) {
        test::ReplaceText(*minimum, typed);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(minimum, &out);
    };
    script_.ExpectMessage("Please enter a numeric value for the minimum price value.",
                          "InValid Minimum Price", kInformation);
    leave("cheap");
    script_.Verify();
    EXPECT_EQ(minimum->text(), "cheap");
    EXPECT_EQ(Scalar("SELECT min_price FROM vym_item_stock WHERE item_no = 510"), stored);
    leave("$1,012.5");
    EXPECT_EQ(minimum->text(), "1012.5000");
    EXPECT_EQ(Scalar("SELECT min_price || '/' || unit_price FROM vym_item_stock WHERE item_no = "
                     "510"),
              "1012.5/29.95");
}

TEST_F(StockPricing, PropertiesEditOnePricesUnitPriceAndFlags) {
    Open(510);
    const int one = Row("PR", 1);
    const int priceNo = Grid().CellData(one, kBase).toInt();
    Grid().SetCurrentCell(one, kBase);
    modals_.Expect("frmStockPriceProp", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Stock Price Properties (" + QString::number(priceNo) + ")");
        EXPECT_EQ(d.findChild<QLabel*>("lblStock")->text(),
                  "Stock: Ski Gloves,GLOVE,Black,L (510)");
        EXPECT_EQ(d.findChild<QLabel*>("lblLocation")->text(), "Location: Base Lodge Shop");
        EXPECT_EQ(d.findChild<QLabel*>("lblUnitQty")->text(), "Unit Qty: 1");
        auto* price = d.findChild<QLineEdit*>("txtUnitPrice");
        EXPECT_EQ(price->text(), "$31.9500");
        EXPECT_TRUE(d.findChild<QCheckBox*>("chkAllowLineDiscount")->isChecked());
        EXPECT_FALSE(d.findChild<QCheckBox*>("chkAllowSellerPricing")->isChecked());

        test::ReplaceText(*price, "abc");
        script_.ExpectMessage("Please enter a valid numeric value for price.",
                              "InValid Price Value", kInformation);
        d.findChild<QPushButton*>("cmdOk")->click();
        EXPECT_NE(d.result(), QDialog::Accepted) << "a refused price keeps the dialog open";
        test::ReplaceText(*price, "1,033");
        QTest::keyClick(price, Qt::Key_Return);
        EXPECT_EQ(price->text(), "1033.0000");
        d.findChild<QCheckBox*>("chkAllowSellerPricing")->click();
        d.findChild<QPushButton*>("cmdOk")->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    window_.findChild<QAction*>("mnuProperties")->trigger();
    modals_.Verify();
    EXPECT_EQ(Grid().TextMatrix(one, kBase), "$1033.0000");
    EXPECT_EQ(Scalar("SELECT printf('%.4f/%d/%d', unit_price, seller_pricing, line_discount) "
                     "FROM vym_price WHERE price_no = " +
                     std::to_string(priceNo)),
              "1033.0000/1/1");
}

// A second station (JSMITH) saves the base lodge's single pair while this
// one has it open: this station's save, from the grid or from the
// properties, is refused with who and when and keeps what was typed; a
// reload shows JSMITH's price.
TEST_F(StockPricing, APriceAnotherStationSavedSinceIsRefusedAndKeptAsTyped) {
    Open(510);
    const int one = Row("PR", 1);
    const std::string where =
        "vym_price WHERE price_no = " + std::to_string(Grid().CellData(one, kBase).toInt());
    auto station = office_.OpenAgain("JSMITH");
    CItemMaint theirMaint;
    theirMaint.SetAppServer(station.get());
    CItem theirItem;
    ASSERT_TRUE(theirItem.OpenItem(station->DBConnection().get(), &station->ErrorObject(), 510));
    frmStockPricing theirs;
    ASSERT_TRUE(theirs.Setup(&theirMaint, &theirItem));
    FlexGrid& theirGrid = *theirs.findChild<FlexGrid*>("fgPrices");
    ASSERT_TRUE(test::TypeIntoCell(theirGrid, one, kBase, "40"));

    ExpectReload(office_.ChangedBy("JSMITH", "price", where), MsgResult::No);
    ASSERT_TRUE(test::TypeIntoCell(Grid(), one, kBase, "25"));
    script_.Verify();
    EXPECT_EQ(Grid().TextMatrix(one, kBase), "25");
    EXPECT_EQ(Stored(1, "BASE"), "40.0000 = 1 x 40.0000");

    Grid().SetCurrentCell(one, kBase);
    modals_.Expect("frmStockPriceProp", [&](QDialog& d) {
        ASSERT_TRUE(test::TypeIntoCell(theirGrid, one, kBase, "41"));
        auto* price = d.findChild<QLineEdit*>("txtUnitPrice");
        test::ReplaceText(*price, "26");
        ExpectReload(office_.ChangedBy("JSMITH", "price", where), MsgResult::Yes);
        d.findChild<QPushButton*>("cmdOk")->click();
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(price->text(), "$41.0000") << "reloaded";
        d.reject();
    });
    window_.findChild<QAction*>("mnuProperties")->trigger();
    modals_.Verify();
    EXPECT_EQ(Stored(1, "BASE"), "41.0000 = 1 x 41.0000");
    theirMaint.SetAppServer(nullptr);
}

}  // namespace
}  // namespace vym
