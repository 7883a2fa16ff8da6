// Stock sale pricing on the demo back office's sale 1 (BASE): jackets 500 to
// 503 at 119.25, a quarter off their regular 159.00. Glove 510 sells at 27.50 at its cheapest
// location.
#include "sales/frm_stock_sale_pricing.h"

#include <QLineEdit>
#include <QTest>

#include "base/prompter.h"
#include "model/csale.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kSale = 2;
constexpr int kOriginal = 3;
constexpr int kDisc = 4;

class StockSalePricing : public test::ScreenTest {
  protected:
    StockSalePricing() : ScreenTest(&window_, "fgStock") {}
    void SetUp() override {
        // Jacket 500 at 20.00 and 501 at nothing, for the arithmetic at a glance.
        office_.Sql("UPDATE vym_price SET unit_price = 20 WHERE item_no = 500 AND sale_no IS NULL");
        office_.Sql("UPDATE vym_price SET unit_price = 0 WHERE item_no = 501 AND sale_no IS NULL");
        sale_.OpenSale(&office_.Db(), maint_.ErrorObject(), 1);
        window_.Setup(&maint_, &sale_);
        window_.show();
    }
    QLineEdit& Box(const char* name) { return *window_.findChild<QLineEdit*>(name); }
    void Type(const char* box, const QString& text) {
        Box(box).setFocus();
        QTest::keyClicks(&Box(box), text);
    }
    int RowOf(int itemNo) { return Grid().FindRow(QString::number(itemNo), 0); }
    QString Cells(int itemNo) {
        const int row = RowOf(itemNo);
        return Grid().TextMatrix(row, kSale) + " " + Grid().TextMatrix(row, kOriginal) + " " +
               Grid().TextMatrix(row, kDisc);
    }
    std::string Price(int itemNo) {
        return Scalar("SELECT unit_price FROM vym_price WHERE sale_no = 1 AND item_no = " +
                      std::to_string(itemNo));
    }

    CSale sale_;
    frmStockSalePricing window_;
};

TEST_F(StockSalePricing, EachCommandPricesTheSelectedRowsFromTheirOriginalPrice) {
    ASSERT_EQ(Cells(500), "119.25 20 -496.25");
    struct Case {
        const char* box;
        const char* typed;
        const char* button;
        const char* row500;  // Sale Original Disc
        const char* row501;
    };
    for (const Case& c : {
             Case{"txtPercent", "15", "cmdApplyPercent", "17 20 15", "0 0 0"},
             Case{"txtFlat", "$25", "cmdApplyFlat", "0 20 100", "0 0 0"},
             Case{"txtFlat", ".50", "cmdApplyFlat", "19.5 20 2.5", "0 0 0"},
             Case{"txtSalePrice", "21", "cmdApplyPrice", "21 20 -5", "21 0 0"},
             Case{"txtSalePrice", "1,250", "cmdApplyPrice", "1250 20 -6150", "1250 0 0"},
         }) {
        Box(c.box).clear();
        Type(c.box, c.typed);
        Grid().SelectRow(RowOf(500));
        Grid().SelectRow(RowOf(501));
        Click(c.button);
        EXPECT_EQ(Cells(500), c.row500) << c.box << " " << c.typed;
        EXPECT_EQ(Cells(501), c.row501) << c.box << " " << c.typed;
        EXPECT_EQ(Grid().TextMatrix(RowOf(502), kSale), "119.25");
    }

    // Typing in one box empties the other two.
    Type("txtFlat", "2");
    EXPECT_EQ(Box("txtSalePrice").text(), "");
    Type("txtPercent", "1");
    EXPECT_EQ(Box("txtFlat").text(), "");

    // A percentage of 100 or one that is no number is refused, and stays typed.
    for (const char* typed : {"100", "-"}) {
        Box("txtPercent").clear();
        Type("txtPercent", typed);
        script_.ExpectMessage(typed[0] == '-' ? "The percentage \"-\" is not a number."
                                              : "The percentage must be less than 100.",
                              "Invalid Percentage Discount", kInformation);
        Click("cmdApplyPercent");
        EXPECT_EQ(Box("txtPercent").text(), typed);
    }
    EXPECT_EQ(Cells(500), "1250 20 -6150");
    EXPECT_EQ(Price(500), "119.25");
}

TEST_F(StockSalePricing, OkSavesTheHeaderTheChangedAndTheDeletedRowsTogether) {
    // A glove added under a flat amount above its price would sell below 0.
    Type("txtFlat", "40");
    Type("txtStock", "510");
    QTest::keyClick(&Box("txtStock"), Qt::Key_Return);
    const int glove = RowOf(510);
    ASSERT_GT(glove, 0);
    EXPECT_EQ(Cells(510), "-12.5 27.5 145.4545");  // its lowest regular price
    EXPECT_EQ(Box("txtStock").text(), "");
    script_.ExpectMessage("The sale price in row " + std::to_string(glove) +
                              " is below 0. Lower the discount or enter a sale price.",
                          "Invalid Sale Price", kInformation);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Price(510), "<none>");

    ASSERT_TRUE(test::TypeIntoCell(Grid(), glove, kSale, "$12.5"));
    EXPECT_EQ(Cells(510), "12.5 27.5 54.5455");
    Grid().SelectRow(glove, false);
    Grid().SelectRow(RowOf(503));
    script_.ExpectMessage("Are you sure you want to delete the selected stock rows?",
                          "Confirm Stock Sale Delete", kQuestionYesNo, MsgResult::No);
    Click("cmdDelete");
    EXPECT_GT(RowOf(503), 0);
    script_.ExpectMessage("Are you sure you want to delete the selected stock rows?",
                          "Confirm Stock Sale Delete", kQuestionYesNo, MsgResult::Yes);
    Click("cmdDelete");
    EXPECT_EQ(RowOf(503), -1);

    Click("cmdOk");
    EXPECT_FALSE(window_.UserCanceled());
    EXPECT_EQ(Price(510), "12.5");
    EXPECT_EQ(Price(503), "<none>");
    EXPECT_EQ(Price(500), "119.25");
    EXPECT_EQ(office_.Scalar("SELECT CAST(sale_fixed_discount AS int) FROM vym_sale WHERE "
                             "sale_no = 1"),
              40);
}

// JSMITH's station renames the sale while this one prices it: this Ok is
// refused with who and when, saves nothing and keeps what was typed; on Yes
// the screen shows the sale as JSMITH left it.
TEST_F(StockSalePricing, ASaleAnotherStationSavedSinceIsRefusedAndReloadedOnRequest) {
    auto station = office_.OpenAgain("JSMITH");
    CSale theirs;
    ASSERT_TRUE(theirs.OpenSale(station->DBConnection().get(), &station->ErrorObject(), 1));
    theirs.Description = "Renamed There";
    ASSERT_TRUE(theirs.Update(station->DBConnection().get(), &station->ErrorObject()));

    ASSERT_TRUE(test::TypeIntoCell(Grid(), RowOf(500), kSale, "15"));
    const std::string question = office_.ChangedBy("JSMITH", "sale", "vym_sale WHERE sale_no = 1");
    ExpectReload(question, MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.UserCanceled());
    EXPECT_EQ(Grid().TextMatrix(RowOf(500), kSale), "15");
    EXPECT_EQ(Price(500), "119.25");

    ExpectReload(question, MsgResult::Yes);
    Click("cmdOk");
    EXPECT_EQ(sale_.Description, "Renamed There");
    EXPECT_EQ(Grid().TextMatrix(RowOf(500), kSale), "119.25") << "reloaded";
    Click("cmdOk");
    EXPECT_FALSE(window_.UserCanceled()) << "saved on the version JSMITH left";
}

}  // namespace
}  // namespace vym
