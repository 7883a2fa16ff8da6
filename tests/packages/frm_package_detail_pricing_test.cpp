// The package detail pricing on the demo back office: the family week
// (package 1: four adult day tickets, item 100 with access rule 1, and four
// ski rentals, item 700) priced for the regular season at 79 and 32 a day,
// five days each (2220.00).
#include "packages/frm_package_detail_pricing.h"

#include <QLabel>
#include <QLineEdit>

#include "base/prompter.h"
#include "model/cpackage.h"
#include "packages/package_price_rules.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using namespace package_price_column;
using ui::FlexGrid;

class PackageDetailPricing : public test::ScreenTest {
  protected:
    PackageDetailPricing() : ScreenTest(&window_, "fgGrid") {}
    void SetUp() override {
        Faults();
        ASSERT_TRUE(package_.OpenPackage(Db(), Errors(), 1));
        request_.package = &package_;
        request_.priceNo = office_.Scalar(
            "SELECT price_no FROM vym_price WHERE package_no = 1 AND season_id = 3 "
            "AND package_price_no IS NULL");
        request_.seasonNo = 3;
        request_.seasonDescription = "Regular Season";
        request_.unitId = "5DAY";
        request_.unitDescription = "5 Day";
        request_.unitQty = 1;
        ASSERT_TRUE(window_.Setup(&maint_, request_));
        window_.show();
    }
    QString Total() { return window_.findChild<QLineEdit*>("txtTotal")->text(); }
    // The package price and its lines as saved: "total:line unit prices".
    std::string Saved() {
        const std::string price = std::to_string(request_.priceNo);
        return std::to_string(office_.Scalar("SELECT CAST(total_price * 100 AS int) FROM "
                                             "vym_price WHERE price_no = " +
                                             price)) +
               ":" +
               std::to_string(office_.Scalar(
                   "SELECT CAST(sum(unit_price * 10000) AS int) FROM vym_price WHERE "
                   "package_price_no = " +
                   price));
    }
    void ExpectLargeDiscount(MsgResult answer) {
        script_.ExpectMessage(
            "Are you sure you want to create a price more than 80% less than the gross price "
            "for row 1 Adult Day Ticket?",
            "Confirm Large Discount", kQuestionYesNo, answer);
    }

    CPackage package_;
    PackagePriceRequest request_;
    frmPackageDetailPricing window_;
};

TEST_F(PackageDetailPricing, ShowsEachLineWithItsPriceAndSumsThem) {
    EXPECT_EQ(window_.windowTitle(),
              "Package Price for Family Ski Week for 5 Day for Regular Season season");
    FlexGrid& grid = Grid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_TRUE(window_.findChild<QLabel*>("lblNoItems")->isHidden());
    EXPECT_EQ(test::CellTexts(grid, 1, {kType, kUnit}), "Ticket|5DAY");
    EXPECT_EQ(grid.DisplayText(1, kUnitPrice), "$79.00");
    EXPECT_EQ(grid.DisplayText(1, kSubTotal), "$1,580.00");
    EXPECT_EQ(grid.DisplayText(1, kAccessRule), "Full Mountain");
    EXPECT_EQ(grid.TextMatrix(2, kType), "Rental");
    EXPECT_EQ(grid.DisplayText(2, kAccessRule), "[NA]");
    EXPECT_FALSE(grid.EditCell(2, kAccessRule)) << "rules are for tickets and lessons";
    EXPECT_EQ(Total(), "2220.0000");
    EXPECT_EQ(Saved(), "222000:1110000");
}

// What the user types is read as typed; a price that is no amount is refused
// and the cell keeps its price; a total the register would not charge is
// questioned before anything is saved.
TEST_F(PackageDetailPricing, RefusesWhatIsNoPriceAndWarnsOfRounding) {
    FlexGrid& grid = Grid();
    for (const char* typed : {"-", "abc", "-5", "1.2.3"}) {
        script_.ExpectMessage("Please enter a valid numeric value for price.",
                              "InValid Price Value", kInformation);
        Type(1, kUnitPrice, typed);
        EXPECT_EQ(grid.TextMatrix(1, kUnitPrice), "79") << typed;
    }
    ASSERT_TRUE(Type(1, kUnitPrice, "$20.0025"));
    EXPECT_EQ(grid.TextMatrix(1, kUnitPrice), "20.0025");
    EXPECT_EQ(grid.DisplayText(1, kGross), "$89.00") << "the gross stays above";
    EXPECT_EQ(Total(), "1040.0500") << "4 x 5 x 20.0025 + 640";

    ExpectLargeDiscount(MsgResult::Yes);
    script_.ExpectMessage(
        "Warning the package price that you have set will not be the price that the customer is "
        "charged due to rounding issues in line prices.\r\nYour price is $1,040.05\r\nThe total "
        "price the customer would be charged is $1,040.04\r\nDo you want to adjust your price?",
        "Final Price Rounding Issue", kQuestionYesNoDefaultNo, MsgResult::Yes);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible()) << "the user stays to adjust";
    EXPECT_EQ(Saved(), "222000:1110000");

    ASSERT_TRUE(Type(1, kUnitPrice, "1,000"));
    EXPECT_EQ(grid.DisplayText(1, kGross), "$1,000.00") << "the gross follows the unit price";
    ASSERT_TRUE(Type(1, kUnitPrice, ".50"));
    ASSERT_TRUE(Type(2, kUnitPrice, "32"));
    EXPECT_EQ(Total(), "650.0000");
    ExpectLargeDiscount(MsgResult::Yes);
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(window_.Result().priceNo, request_.priceNo);
    EXPECT_EQ(window_.Result().price, "650.0000");
    EXPECT_EQ(Saved(), "65000:325000");
}

// A line the database refuses leaves everything as it was, in the database
// and on the screen.
TEST_F(PackageDetailPricing, SavesThePackagePriceAndEveryLineOrNothing) {
    FlexGrid& grid = Grid();
    ASSERT_TRUE(Type(1, kUnitPrice, "75"));
    ASSERT_TRUE(Type(2, kUnitPrice, "30"));
    office_.Faults().FailOnCall(3, test::FaultInjectingConnection::Fault::ExecuteFailed);
    errorsExpected_ = true;
    script_.ExpectMessage("Unable to save data.  Close anyway", "Save Error", kQuestionYesNo,
                          MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Saved(), "222000:1110000");
    EXPECT_EQ(grid.TextMatrix(1, kUnitPrice), "75.0000");
    EXPECT_EQ(grid.TextMatrix(2, kUnitPrice), "30.0000");
    EXPECT_EQ(Total(), "2100.0000");

    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Saved(), "210000:1050000");
}

TEST_F(PackageDetailPricing, DeletesThePackagePriceWithItsLines) {
    script_.ExpectMessage("Are you sure you want to delete all the item prices for this package?",
                          "Confirm Package Price Delete", kQuestionYesNo, MsgResult::No);
    Click("cmdDelete");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price WHERE package_no = 1"), 6);
    script_.ExpectMessage("Are you sure you want to delete all the item prices for this package?",
                          "Confirm Package Price Delete", kQuestionYesNo, MsgResult::Yes);
    Click("cmdDelete");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_TRUE(window_.Result().deleted);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price WHERE package_no = 1"), 3);
}

}  // namespace
}  // namespace vym
