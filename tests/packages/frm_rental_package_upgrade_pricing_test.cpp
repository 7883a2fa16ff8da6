// The rental package upgrade pricing on the demo back office: the ski
// package (702) and the snowboard package (703), upgraded either way (12.50
// and 8.00).
#include "packages/frm_rental_package_upgrade_pricing.h"

#include <QLineEdit>
#include <QListWidget>

#include "base/prompter.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using test::ScriptedModalRunner;
using test::TypeIntoCell;
using ui::FlexGrid;

constexpr int kStatus = 0;
constexpr int kPayFirst = 2;
constexpr int kRental = 4;
constexpr int kPrice = 5;

class RentalUpgradePricing : public test::ScreenOf<frmRentalPackageUpgradePricing> {
  protected:
    RentalUpgradePricing() : ScreenOf("fgUpgrades") {}
    void SetUp() override {
        ASSERT_TRUE(window_.Setup(&maint_));
        window_.show();
    }
    // The pairs as saved: "pay first>rental=price in cents".
    std::string Saved() {
        return Scalar(
            "SELECT group_concat(pair, ' ') FROM (SELECT pay_first_package_item_no || '>' || "
            "rental_package_item_no || '=' || CAST(upgrade_price * 100 AS int) AS pair FROM "
            "vym_rental_upgrade_price ORDER BY pay_first_package_item_no, rental_package_item_no)");
    }
    // The new-upgrade dialog as a user fills it: rows of both lists (-1 for
    // none) and the price typed.
    static ScriptedModalRunner::Handler Fill(int payFirst, int rental, const char* price,
                                             bool ok = true) {
        return [=](QDialog& d) {
            auto* first = d.findChild<QListWidget*>("lstPayFirst");
            auto* second = d.findChild<QListWidget*>("lstRental");
            ASSERT_EQ(first->count(), 2);
            first->setCurrentRow(payFirst);
            second->setCurrentRow(rental);
            d.findChild<QLineEdit*>("txtUpgradePrice")->setText(price);
            d.findChild<QPushButton*>(ok ? "cmdOk" : "cmdCancel")->click();
        };
    }
};

TEST_F(RentalUpgradePricing, ChangedPricesAreSavedTogetherOnOk) {
    FlexGrid& grid = Grid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, kPayFirst), "Adult Ski Package (Skis, Boots) (702)");
    EXPECT_EQ(grid.TextMatrix(1, kRental), "Snowboard Package (703)");
    EXPECT_EQ(grid.DisplayText(1, kPrice), "12.5000");
    for (const char* typed : {"-", "", "abc", "-1"}) {
        script_.ExpectMessage("The upgrade price must be an amount of 0 or more.",
                              "Invalid Upgrade Price", kInformation);
        TypeIntoCell(grid, 2, kPrice, typed);
        EXPECT_EQ(grid.DisplayText(2, kPrice), "8.0000") << typed;
        EXPECT_EQ(grid.TextMatrix(2, kStatus), "0") << typed;
    }
    ASSERT_TRUE(TypeIntoCell(grid, 2, kPrice, "$9.75"));
    EXPECT_EQ(grid.TextMatrix(2, kStatus), "-1");
    EXPECT_FALSE(grid.EditCell(2, kRental));

    // Another station deleted the first pair: nothing is saved, the user's price stays.
    ASSERT_TRUE(TypeIntoCell(grid, 1, kPrice, "1,250"));
    office_.Sql("DELETE FROM vym_rental_upgrade_price WHERE pay_first_package_item_no = 702");
    ExpectReload(
        "This upgrade price was deleted by another user after you opened it. Your changes were "
        "not saved.\r\n\r\nReload it now? No keeps what you typed on this screen.",
        MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Saved(), "703>702=800");
    EXPECT_EQ(grid.TextMatrix(1, kPrice), "1,250");

    office_.Sql(
        "INSERT INTO vym_rental_upgrade_price (pay_first_package_item_no, "
        "rental_package_item_no, upgrade_price) VALUES (702, 703, 12.5)");
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Saved(), "702>703=125000 703>702=975");
}

TEST_F(RentalUpgradePricing, APairIsAddedOnceAndDeletedOnRequest) {
    // Rows of the lists: 0 the ski package, 1 the snowboard package.
    struct Case {
        int payFirst;
        int rental;
        const char* price;
        const char* message;
        const char* title;
    };
    for (const Case& c : {
             Case{-1, 1, "5", "Please select a pay first rental package item", "Invalid Packages"},
             Case{0, -1, "5", "Please select a rental package item.", "Invalid Packages"},
             Case{1, 1, "5", "Please select a different pay first to rental package",
                  "Invalid Packages"},
             Case{0, 1, "-", "The upgrade price must be an amount of 0 or more.",
                  "Invalid Upgrade Price"},
             Case{0, 1, "5",
                  "An upgrade price from Adult Ski Package (Skis, Boots) to Snowboard Package "
                  "already exists.  Change its price in the list.",
                  "Error Updating Rental Upgrade Price"},
         }) {
        modals_.Expect("frmRentalUpgradePricingNew", [&](QDialog& d) {
            script_.ExpectMessage(c.message, c.title, kInformation);
            Fill(c.payFirst, c.rental, c.price)(d);
            EXPECT_TRUE(d.isVisible()) << c.message;
            d.reject();
        });
        Click("cmdAdd");
        EXPECT_EQ(Grid().Rows(), 3) << c.message;
    }
    EXPECT_EQ(Saved(), "702>703=1250 703>702=800");

    FlexGrid& grid = Grid();
    grid.SelectRow(1);
    grid.SelectRow(2);
    script_.ExpectMessage("Are you sure you want to delete the selected upgrade prices?",
                          "Confirm Price Delete", kQuestionYesNoDefaultNo, MsgResult::Yes);
    Click("cmdDelete");
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(Saved(), "");

    modals_.Expect("frmRentalUpgradePricingNew", Fill(1, 0, "$15"));
    Click("cmdAdd");
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, kPayFirst), "Snowboard Package (703)");
    EXPECT_EQ(grid.DisplayText(1, kPrice), "15.0000");
    EXPECT_EQ(Saved(), "703>702=1500") << "saved at once";
}

}  // namespace
}  // namespace vym
