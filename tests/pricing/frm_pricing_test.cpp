// The item price list on the demo back office: the adult day ticket (100,
// access rule 1, extensions 103 and 106) with its any-season, season and
// discount prices, the senior ticket (102, one price, no extensions) and the
// family week package (1) with two package prices made of line prices.
#include "pricing/frm_pricing.h"

#include <QLineEdit>
#include <QTest>

#include "base/prompter.h"
#include "model/citem.h"
#include "model/cpackage.h"
#include "server/local_app_server.h"
#include "support/qt/screen_test.h"
#include "support/server/fault_injecting_connection.h"
#include "support/server/procedure_answer.h"
#include "ui/data_combo.h"
#include "ui/flex_grid_delegate.h"
#include "ui/image_combo.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

using test::ScriptedModalRunner;
using ui::FlexGrid;

constexpr int kState = 0;
constexpr int kExtension = 1;
constexpr int kPricingSeasonNo = 2;
constexpr int kSeason = 3;
constexpr int kDiscountId = 4;
constexpr int kDiscount = 5;
constexpr int kParentUnit = 7;
constexpr int kUnitQty = 8;
constexpr int kUnit = 10;
constexpr int kPrice = 11;
constexpr int kUnitPrice = 12;
constexpr int kGross = 13;
constexpr int kAcctUnits = 16;
constexpr int kPrintQty = 17;
constexpr int kAccessRule = 18;
constexpr int kConfirmed = 20;

class PriceList : public test::ScreenTest {
  protected:
    PriceList() : ScreenTest(&window_, "fgPrices") {
        Faults();
        // The demo seasons follow the calendar; these stay on sale whatever the date.
        Sql("UPDATE vym_season SET end_date = '2099-04-30' WHERE function_id = 'LIFT'");
    }
    void Open(std::int32_t itemNo) {
        ASSERT_TRUE(item_.OpenItem(Db(), Errors(), itemNo));
        ASSERT_TRUE(window_.Setup(&maint_, &item_));
        window_.show();
    }
    void OpenPackage(std::int32_t packageNo) {
        ASSERT_TRUE(package_.OpenPackage(Db(), Errors(), packageNo));
        ASSERT_TRUE(window_.Setup(&maint_, nullptr, &package_));
        window_.show();
    }
    // The shown row of a season, discount and unit as the grid shows them; 0 if none.
    int Row(const QString& season, const QString& discount, const QString& unit) {
        FlexGrid& grid = Grid();
        for (int row = 1; row < grid.Rows(); ++row) {
            if (!grid.IsRowHidden(row) && grid.TextMatrix(row, kSeason) == season &&
                grid.TextMatrix(row, kDiscount) == discount &&
                grid.TextMatrix(row, kUnit) == unit) {
                return row;
            }
        }
        return 0;
    }
    std::vector<int> ShownRows() {
        std::vector<int> rows;
        for (int row = 1; row < Grid().Rows(); ++row) {
            if (!Grid().IsRowHidden(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    // The add-price dialog as a user fills it.
    ScriptedModalRunner::Handler Fill(const char* season, const char* discount, const char* unit,
                                      const char* price, std::int32_t extension = 0,
                                      const char* extensionUnit = nullptr) {
        return [=](QDialog& d) {
            EXPECT_TRUE(d.findChild<ui::ImageCombo*>("cmbSeason")->SetKey(season));
            EXPECT_TRUE(d.findChild<ui::ImageCombo*>("cmbDiscount")->SetKey(discount));
            EXPECT_TRUE(d.findChild<ui::DataCombo*>("cmbUnit")->SetKey(unit));
            if (extension != 0) {
                EXPECT_TRUE(d.findChild<ui::DataCombo*>("cmbExtensionItem")
                                ->SetKey(QString::number(extension)));
                EXPECT_TRUE(
                    d.findChild<ui::DataCombo*>("cmbExtensionUnits")->SetKey(extensionUnit));
            }
            d.findChild<QLineEdit*>("txtPrice")->setText(price);
            d.findChild<QPushButton*>("cmdOk")->click();
        };
    }
    // Deletes a row as the user does, answering the question with `answer`.
    void Delete(int row, MsgResult answer) {
        Grid().SetCurrentCell(row, kSeason);
        script_.ExpectMessage("Are you sure you want to delete the selected price row?",
                              "Confirm Delete Price", kQuestionYesNoDefaultNo, answer);
        Click("cmdDelete");
    }
    std::string Prices(const std::string& where) {
        return Scalar(
            "SELECT group_concat(k, ' ') FROM (SELECT IFNULL(season_id, 0) || '/' || "
            "IFNULL(discount_id, '-') || '/' || unit_id || ':' || printf('%.4f', total_price) || "
            "'=' || unit_qty || 'x' || printf('%.4f', unit_price) || '<=' || "
            "printf('%.4f', gross_unit_price) AS k FROM vym_price WHERE " +
            where + " ORDER BY price_no)");
    }

    CItem item_;
    CPackage package_;
    frmPricing window_;
};

TEST_F(PriceList, ShowsTheItemsOwnAndExtensionPricesOnTheirTabs) {
    Open(100);
    EXPECT_EQ(window_.windowTitle(), "Pricing for: Adult Day Ticket (100)");
    auto& tabs = Find<ui::KeyTabBar>("tabPricing");
    EXPECT_FALSE(tabs.isHidden());
    FlexGrid& grid = Grid();
    ASSERT_EQ(ShownRows().size(), 12u);
    EXPECT_EQ(ShownRows().front(), grid.Row()) << "the first shown row is selected";

    const int day = Row("[ANY Season]", "[BASE Price]", "Full Day");
    ASSERT_NE(day, 0);
    EXPECT_EQ(grid.DisplayText(day, kPrice), "89.00");
    EXPECT_EQ(test::CellTexts(grid, day, {kPricingSeasonNo, kDiscountId, kConfirmed}), "0||-1");
    const int military = Row("Regular Season", "Active Military", "Full Day");
    ASSERT_NE(military, 0);
    EXPECT_EQ(grid.TextMatrix(military, kDiscountId), "MILITARY");
    EXPECT_EQ(grid.DisplayText(military, kGross), "$99.0000");
    EXPECT_EQ(grid.DisplayText(military, kAccessRule), "Full Mountain");
    const int threeDays = Row("Holiday Period", "[BASE Price]", "3 Day");
    ASSERT_NE(threeDays, 0);
    EXPECT_EQ(grid.TextMatrix(threeDays, kUnitQty), "3");
    EXPECT_EQ(grid.DisplayText(threeDays, kPrice), "315.00");
    EXPECT_EQ(grid.DisplayText(threeDays, kUnitPrice), "$105.0000");

    // Only the season, discount, unit and price show until the detail is asked for.
    EXPECT_TRUE(grid.IsColumnHidden(kExtension));
    EXPECT_TRUE(grid.IsColumnHidden(kUnitPrice));
    EXPECT_FALSE(grid.IsColumnHidden(kPrice));
    auto& detail = Find<QPushButton>("cmdDetail");
    EXPECT_EQ(detail.text(), "Show Detail");
    detail.click();
    EXPECT_EQ(detail.text(), "Hide Detail");
    for (int col = kUnitPrice; col <= kAccessRule; ++col) {
        EXPECT_FALSE(grid.IsColumnHidden(col)) << col;
    }
    EXPECT_TRUE(grid.IsColumnHidden(19));
    detail.click();
    EXPECT_TRUE(grid.IsColumnHidden(kGross));

    tabs.SetCurrentKey("EXT");
    ASSERT_EQ(ShownRows().size(), 2u);
    const int upgrade = ShownRows().back();
    EXPECT_FALSE(grid.IsColumnHidden(kExtension));
    EXPECT_FALSE(grid.IsColumnHidden(kParentUnit));
    EXPECT_EQ(test::CellTexts(grid, upgrade, {kExtension, kParentUnit}),
              "Night Skiing Upgrade|Full Day");
    EXPECT_EQ(grid.CellData(upgrade, kExtension).toInt(), 106);
    EXPECT_EQ(grid.Row(), ShownRows().front());

    // An item without extensions has no tabs; one that does not prompt for
    // access has no rule list.
    frmPricing senior;
    CItem ticket;
    ASSERT_TRUE(ticket.OpenItem(Db(), Errors(), 102));
    ASSERT_TRUE(senior.Setup(&maint_, &ticket));
    EXPECT_TRUE(senior.findChild<ui::KeyTabBar*>("tabPricing")->isHidden());
    EXPECT_EQ(senior.findChild<FlexGrid*>("fgPrices")->Rows(), 2);
}

TEST_F(PriceList, PriceAndUnitPriceFollowEachOtherByTheUnitQuantity) {
    Open(100);
    FlexGrid& grid = Grid();
    const int row = Row("Holiday Period", "[BASE Price]", "3 Day");
    ASSERT_TRUE(Type(row, kPrice, "10"));
    EXPECT_EQ(grid.DisplayText(row, kPrice), "10.00");
    // A gross above the unit price stays.
    EXPECT_EQ(test::CellTexts(grid, row, {kUnitPrice, kPrice, kGross, kState}),
              "3.3333|9.9999|115|1");

    ASSERT_TRUE(Type(row, kUnitPrice, "3.3333"));
    EXPECT_EQ(grid.TextMatrix(row, kPrice), "10.00");
    ASSERT_TRUE(Type(row, kUnitPrice, "120"));
    EXPECT_EQ(grid.TextMatrix(row, kPrice), "360.00");
    EXPECT_EQ(grid.TextMatrix(row, kGross), "120") << "the gross follows a higher unit price";

    script_.ExpectMessage("The gross unit price may not be less than the unit price.",
                          "Invalid Gross Price", kInformation);
    ASSERT_TRUE(Type(row, kGross, "119.99"));
    EXPECT_EQ(grid.TextMatrix(row, kGross), "120");
    script_.ExpectMessage("Please enter a valid numeric value for price.", "InValid Price Value",
                          kInformation);
    ASSERT_TRUE(Type(row, kPrice, "12A"));
    EXPECT_EQ(grid.TextMatrix(row, kPrice), "360.00");

    // No units count as one.
    const int day = Row("Spring Skiing", "[BASE Price]", "Full Day");
    grid.SetTextMatrix(day, kUnitQty, "0");
    ASSERT_TRUE(Type(day, kPrice, "80.5"));
    EXPECT_EQ(grid.TextMatrix(day, kUnitPrice), "80.5000");

    EXPECT_FALSE(grid.EditCell(row, kSeason)) << "the key of a price is not edited";
    EXPECT_EQ(Prices("price_no = (SELECT max(price_no) FROM vym_price WHERE item_no = 100 AND "
                     "season_id = 2 AND unit_id = '3DAY')"),
              "2/-/3DAY:315.0000=3x105.0000<=115.0000")
        << "nothing is saved before Ok";

    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Prices("item_no = 100 AND season_id IN (2, 4) AND discount_id IS NULL"),
              "2/-/DAY:115.0000=1x115.0000<=115.0000 2/-/3DAY:360.0000=3x120.0000<=120.0000 "
              "4/-/DAY:80.5000=0x80.5000<=80.5000");
    EXPECT_EQ(grid.TextMatrix(row, kState), "0");
}

TEST_F(PriceList, DeletedRowsGoOnOkUnlessThePriceIsInUse) {
    Open(100);
    FlexGrid& grid = Grid();
    const std::string count = "SELECT count(*) FROM vym_price WHERE item_no = 100";
    const std::string before = Scalar(count);

    // The base day price is the parent price of the extension prices.
    const int day = Row("[ANY Season]", "[BASE Price]", "Full Day");
    grid.SetCurrentCell(day, kSeason);
    script_.ExpectMessage(
        "This price is the parent price of 2 extension prices.  Delete the extension prices "
        "first.",
        "Delete Cancelled", kInformation);
    Click("cmdDelete");
    EXPECT_FALSE(grid.IsRowHidden(day));

    const int corporate = Row("Regular Season", "Corporate Partner", "Full Day");
    Delete(corporate, MsgResult::No);
    EXPECT_FALSE(grid.IsRowHidden(corporate));
    Delete(corporate, MsgResult::Yes);
    EXPECT_TRUE(grid.IsRowHidden(corporate));

    // Clearing a price asks too.
    const int half = Row("[ANY Season]", "[BASE Price]", "Half Day (from 12:30)");
    const std::string clearing =
        "Clearing a unit price will delete the price from the database.  Do you want to delete "
        "the price?";
    script_.ExpectMessage(clearing, "Confirm Delete", kQuestionYesNoDefaultNo, MsgResult::No);
    grid.SetColumnHidden(kUnitPrice, false);
    ASSERT_TRUE(Type(half, kUnitPrice, ""));
    EXPECT_EQ(grid.TextMatrix(half, kUnitPrice), "69");
    script_.ExpectMessage(clearing, "Confirm Delete", kQuestionYesNoDefaultNo, MsgResult::Yes);
    ASSERT_TRUE(Type(half, kUnitPrice, ""));
    EXPECT_TRUE(grid.IsRowHidden(half));
    EXPECT_EQ(grid.TextMatrix(half, kState), "-1");

    // Deleted rows stay hidden on either tab.
    Find<ui::KeyTabBar>("tabPricing").SetCurrentKey("EXT");
    Find<ui::KeyTabBar>("tabPricing").SetCurrentKey("ITEM");
    EXPECT_TRUE(grid.IsRowHidden(half));
    EXPECT_EQ(Scalar(count), before);

    Click("cmdOk");
    ASSERT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar(count), std::to_string(std::stoi(before) - 2));
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_price WHERE item_no = 100 AND "
                     "(discount_id = 'CORP' OR unit_id = 'HALF')"),
              "0");
}

TEST_F(PriceList, AddedPricesTakeTheDialogsKeyAndRefuseADuplicate) {
    Open(100);
    FlexGrid& grid = Grid();
    const int rows = grid.Rows();
    modals_.Expect("frmAddPrice", Fill("3", "'EMPLOYEE", "3DAY", "10"));
    Click("cmdAdd");
    ASSERT_EQ(grid.Rows(), rows + 1);
    const int row = rows;
    EXPECT_EQ(grid.Row(), row);
    // The access rule is the ticket's own.
    EXPECT_EQ(
        test::CellTexts(grid, row,
                        {kState, kPricingSeasonNo, kSeason, kDiscountId, kDiscount, kUnit, kUnitQty,
                         kAcctUnits, kUnitPrice, kGross, kPrice, kAccessRule, kConfirmed}),
        "1|3|Regular Season|EMPLOYEE|STAFF Resort Employee|3 Day|3|3|3.3333|3.3333|9.9999|1|");

    script_.ExpectMessage(
        "This combination of season, discount and unit already has a price assigned.  Please "
        "edit the existing price.",
        "Price already Exists.", kInformation);
    modals_.Expect("frmAddPrice", Fill("3", "'MILITARY", "DAY", "50"));
    Click("cmdAdd");
    EXPECT_EQ(grid.Rows(), rows + 1);
    EXPECT_EQ(grid.Row(), Row("Regular Season", "Active Military", "Full Day"));

    // An extension price: the extension's unit prices it, the ticket's unit is its parent.
    Find<ui::KeyTabBar>("tabPricing").SetCurrentKey("EXT");
    modals_.Expect("frmAddPrice", Fill("2", "'", "DAY", "12", 106, "HALF"));
    Click("cmdAdd");
    ASSERT_EQ(grid.Rows(), rows + 2);
    EXPECT_EQ(test::CellTexts(grid, rows + 1, {kExtension, kParentUnit, kUnit}),
              "Night Skiing Upgrade|Full Day|Half Day (from 12:30)");
    script_.ExpectMessage(
        "This combination of extension item, season, discount and unit already has a price "
        "assigned.  Please edit the existing price.",
        "Price already Exists.", kInformation);
    modals_.Expect("frmAddPrice", Fill("2", "'", "DAY", "14", 106, "HALF"));
    Click("cmdAdd");
    EXPECT_EQ(grid.Rows(), rows + 2);
    modals_.ExpectReject("frmAddPrice");
    Click("cmdAdd");
    EXPECT_EQ(grid.Rows(), rows + 2);

    Click("cmdOk");
    ASSERT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Prices("item_no = 100 AND discount_id = 'EMPLOYEE' AND season_id = 3"),
              "3/EMPLOYEE/3DAY:9.9999=3x3.3333<=3.3333");
    EXPECT_EQ(Scalar("SELECT child_item_no || ' ' || parent_unit_id || ' ' || unit_id || ' ' || "
                     "season_id || ' ' || access_rule_no FROM vym_price WHERE item_no = 100 "
                     "AND child_item_no = 106 AND season_id = 2"),
              "106 DAY HALF 2 1");
    EXPECT_NE(grid.RowData(row).toInt(), 0) << "a saved row knows its number";
    EXPECT_EQ(grid.TextMatrix(row, kState), "0");
}

// Ok asks about the rows of the tab that is not shown as well, and shows the
// row it asks about; each No keeps the screen open with nothing saved.
TEST_F(PriceList, OkAsksAboutLargeDiscountsAndChangedAccessRulesOnBothTabs) {
    Open(100);
    Click("cmdDetail");
    FlexGrid& grid = Grid();
    auto& tabs = Find<ui::KeyTabBar>("tabPricing");
    const int spring = Row("Spring Skiing", "[BASE Price]", "Full Day");
    ASSERT_TRUE(Type(spring, kUnitPrice, "1.00"));
    ASSERT_TRUE(Type(spring, kGross, "1.80"));  // exactly 80% off passes unasked
    tabs.SetCurrentKey("EXT");
    const int upgrade = grid.FindRow("Night Skiing Upgrade", kExtension);
    ASSERT_GT(upgrade, 0);
    ASSERT_TRUE(Type(upgrade, kUnitPrice, "8.33"));  // gross 15: a cent past 80% off
    Choose(grid, upgrade, kAccessRule, "Beginner Area Only");
    tabs.SetCurrentKey("ITEM");
    ASSERT_TRUE(grid.IsRowHidden(upgrade));

    const std::string row = std::to_string(upgrade);
    const std::string large =
        "Are you sure you want to create a price more than 80% less than the gross price for row " +
        row + "?";
    const std::string change =
        "Are you sure you want to change the access rule to: Beginner Area Only for row " + row +
        "?";
    const std::string stored =
        "SELECT group_concat(p, ' ') FROM (SELECT printf('%.2f/%.2f/', unit_price, "
        "gross_unit_price) || IFNULL(access_rule_no, '-') AS p FROM vym_price WHERE item_no = 100 "
        "AND (child_item_no = 106 OR season_id = 4 AND discount_id IS NULL) ORDER BY price_no)";
    const std::string before = Scalar(stored);
    script_.ExpectMessage(large, "Confirm Large Discount", kQuestionYesNo, MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(tabs.CurrentKey(), "EXT");
    EXPECT_EQ(grid.Row(), upgrade);

    tabs.SetCurrentKey("ITEM");
    script_.ExpectMessage(large, "Confirm Large Discount", kQuestionYesNo, MsgResult::Yes);
    script_.ExpectMessage(change, "Confirm Access Rule Change", kQuestionYesNo, MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(tabs.CurrentKey(), "EXT");
    EXPECT_EQ(grid.TextMatrix(upgrade, kConfirmed), "0");
    EXPECT_EQ(Scalar(stored), before) << "nothing is saved before the last Yes";

    script_.ExpectMessage(large, "Confirm Large Discount", kQuestionYesNo, MsgResult::Yes);
    script_.ExpectMessage(change, "Confirm Access Rule Change", kQuestionYesNo, MsgResult::Yes);
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(grid.TextMatrix(upgrade, kConfirmed), "-1");
    EXPECT_EQ(Scalar(stored), "8.33/15.00/2 1.00/1.80/1");
}

TEST_F(PriceList, AcctUnitsAndPrintQtyMustBeWholeNumbers) {
    Open(100);
    Click("cmdDetail");
    FlexGrid& grid = Grid();
    const int day = Row("[ANY Season]", "[BASE Price]", "Full Day");
    const struct {
        int col;
        const char* typed;
        const char* message;
        const char* title;
    } refusals[] = {
        {kAcctUnits, "1.5", "Acct Units must be a whole number of 0 or more.",
         "Invalid Acct Units"},
        {kAcctUnits, "-1", "Acct Units must be a whole number of 0 or more.", "Invalid Acct Units"},
        {kPrintQty, "x", "Print Qty must be a whole number of 0 or more.", "Invalid Print Qty"},
        {kPrintQty, "", "Print Qty must be a whole number of 0 or more.", "Invalid Print Qty"},
    };
    for (const auto& refusal : refusals) {
        script_.ExpectMessage(refusal.message, refusal.title, kInformation);
        ASSERT_TRUE(Type(day, refusal.col, refusal.typed)) << refusal.typed;
        script_.Verify();
        EXPECT_EQ(grid.TextMatrix(day, refusal.col), "1") << refusal.typed;
    }
    EXPECT_EQ(grid.TextMatrix(day, kState), "");

    ASSERT_TRUE(Type(day, kAcctUnits, "2"));
    ASSERT_TRUE(Type(day, kPrintQty, "0"));
    Click("cmdOk");
    ASSERT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT acct_units || '/' || print_qty FROM vym_price WHERE item_no = 100 "
                     "AND child_item_no IS NULL AND season_id IS NULL AND discount_id IS NULL "
                     "AND unit_id = 'DAY'"),
              "2/0");
}

TEST_F(PriceList, NoRuleOnARuleLessItemAndAnUnchangedForeignRuleAreConfirmed) {
    Sql("UPDATE vym_item_ticket SET access_rule_no = 0 WHERE item_no = 101");
    Open(101);
    Click("cmdDetail");
    FlexGrid& grid = Grid();
    const int regular = Row("Regular Season", "[BASE Price]", "Full Day");
    const int spring = Row("Spring Skiing", "[BASE Price]", "Full Day");
    ASSERT_LT(regular, spring);
    Choose(grid, regular, kAccessRule, "[NO RULE]");
    Choose(grid, spring, kAccessRule, "Beginner Area Only");  // the rule it had
    script_.ExpectMessage("Are you sure you don't want to assign an access rule to row " +
                              std::to_string(regular) + "?  The item does not have a rule defind.",
                          "Confirm No Access Rule", kQuestionYesNo, MsgResult::Yes);
    script_.ExpectMessage(
        "Access Rule not equal Item Access Rule - Do you want to save?  For row " +
            std::to_string(spring),
        "Access Rule Warning", kQuestionYesNo, MsgResult::Yes);
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT IFNULL(access_rule_no, 'none') FROM vym_price WHERE item_no = 101 "
                     "AND season_id = 3 AND discount_id IS NULL"),
              "none");
}

TEST_F(PriceList, ASaveThatFailsHalfWaySavesNothingAndCanBeRetried) {
    Open(100);
    FlexGrid& grid = Grid();
    const std::string all = "item_no = 100";
    const int spring = Row("Spring Skiing", "[BASE Price]", "Full Day");
    const int early = Row("Early Season", "[BASE Price]", "Full Day");
    const int corporate = Row("Regular Season", "Corporate Partner", "Full Day");
    ASSERT_TRUE(Type(spring, kPrice, "70"));
    ASSERT_TRUE(Type(early, kPrice, "72"));
    Delete(corporate, MsgResult::Yes);
    modals_.Expect("frmAddPrice", Fill("1", "'GROUP20", "DAY", "65"));
    Click("cmdAdd");
    const int added = grid.Rows() - 1;

    // The delete and two saves go through; the early season's price was
    // removed meanwhile by another station, so its save is refused, and the
    // user keeps the typing rather than reload.
    const std::string earlyNo = std::to_string(grid.RowData(early).toInt());
    Sql("DELETE FROM vym_price WHERE price_no = " + earlyNo);
    const std::string afterRemoval = Prices(all);
    ExpectReload(
        "This price was deleted by another user after you opened it. Your changes were not "
        "saved.\r\n\r\nReload it now? No keeps what you typed on this screen.",
        MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Prices(all), afterRemoval) << "the saves before the refusal are rolled back";
    EXPECT_EQ(grid.RowData(added).toInt(), 0);
    EXPECT_EQ(grid.TextMatrix(added, kState), "1");
    EXPECT_TRUE(grid.IsRowHidden(corporate));

    // With the price back, a database error half-way is rolled back the same way.
    Sql("INSERT INTO vym_price (price_no, item_no, season_id, unit_id, total_price, unit_price, "
        "gross_unit_price) VALUES (" +
        earlyNo + ", 100, 1, 'DAY', 79, 79, 79)");
    const std::string restored = Prices(all);
    errorsExpected_ = true;
    office_.Faults().FailOnCall(3, test::FaultInjectingConnection::Fault::Locked);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Prices(all), restored);
    EXPECT_FALSE(office_.Local().Reports().empty());

    office_.Faults().Disarm();
    Click("cmdOk");
    ASSERT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Prices("item_no = 100 AND season_id IN (1, 4) AND unit_id = 'DAY'"),
              "1/-/DAY:72.0000=1x72.0000<=79.0000 4/-/DAY:70.0000=1x70.0000<=75.0000 "
              "1/GROUP20/DAY:65.0000=1x65.0000<=65.0000");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_price WHERE discount_id = 'CORP'"), "0");
    EXPECT_NE(grid.RowData(grid.Rows() - 1).toInt(), 0) << "the deleted row is gone";
}

TEST_F(PriceList, APackageShowsItsPricesWhichAreDeletedWithTheirLines) {
    OpenPackage(1);
    EXPECT_EQ(window_.windowTitle(), "Pricing for: Family Ski Week (1)");
    EXPECT_TRUE(Find<QPushButton>("cmdDetail").isHidden());
    EXPECT_TRUE(Find<ui::KeyTabBar>("tabPricing").isHidden());
    FlexGrid& grid = Grid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(test::CellTexts(grid, 1, {kSeason, kUnit}), "[ANY Season]|5 Day");
    EXPECT_EQ(grid.DisplayText(1, kPrice), "1960.00");
    EXPECT_EQ(grid.TextMatrix(2, kSeason), "Regular Season");
    EXPECT_FALSE(grid.EditCell(1, kPrice));

    // A package with prices stays; its prices go with their lines.
    Sql("UPDATE vym_package SET redeem_package_no = NULL WHERE package_no = 4");
    const auto refused = test::CallProcedure(office_.Db(), "VyM_SP_ITEM_DeletePackage",
                                             test::ProcedureArgs{{"@package_no", 1}});
    EXPECT_EQ(refused.returned, -1);
    EXPECT_EQ(refused.message, "Family Ski Week has prices and cannot be deleted.");

    Delete(2, MsgResult::Yes);
    Click("cmdOk");
    ASSERT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_price WHERE package_no = 1"), "3")
        << "the any-season price and its two line prices";
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_price WHERE season_id = 3 AND package_no = 1"), "0");
}

// A new package price is added as a row, then priced line by line behind
// the button of its Price cell; the price list takes the package total.
TEST_F(PriceList, APackagePriceIsAddedAndPricedLineByLine) {
    OpenPackage(1);
    EXPECT_TRUE(Find<QPushButton>("cmdAdd").isEnabled());
    modals_.Expect("frmAddPrice", Fill("1", "'", "5DAY", ""));
    Click("cmdAdd");
    FlexGrid& grid = Grid();
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(3, kSeason), "Early Season");
    script_.ExpectMessage("Set the price of row 3 with the button in its Price cell before saving.",
                          "Price Not Set", kInformation);
    Click("cmdOk");
    EXPECT_NE(window_.result(), QDialog::Accepted);

    modals_.Expect("frmPackageDetailPricing", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(),
                  "Package Price for Family Ski Week for 5 Day for Early Season season");
        FlexGrid& lines = *d.findChild<FlexGrid*>("fgGrid");
        ASSERT_EQ(lines.Rows(), 3);
        EXPECT_EQ(lines.TextMatrix(1, 6), "") << "no unit yet";
        ASSERT_TRUE(test::ChooseInCell(lines, 1, 6, "5DAY - 5 EA"));
        EXPECT_EQ(lines.TextMatrix(1, 7), "5");
        ASSERT_TRUE(test::TypeIntoCell(lines, 1, 8, "$65"));
        ASSERT_TRUE(test::ChooseInCell(lines, 2, 6, "DAY - 1 EA"));
        ASSERT_TRUE(test::TypeIntoCell(lines, 2, 7, "5"));
        ASSERT_TRUE(test::TypeIntoCell(lines, 2, 8, "29"));
        EXPECT_EQ(d.findChild<QLineEdit*>("txtTotal")->text(), "1880.0000");
        d.findChild<QPushButton*>("cmdOk")->click();
    });
    const QRect button =
        ui::FlexGridDelegate::ButtonRect(grid.visualRect(grid.model()->index(3 - 1, kPrice)));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, button.center());
    modals_.Verify();
    EXPECT_EQ(grid.DisplayText(3, kPrice), "1880.00");
    const std::int32_t priceNo = grid.RowData(3).toInt();
    ASSERT_NE(priceNo, 0);
    Click("cmdOk");
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Prices("package_price_no = " + std::to_string(priceNo)),
              "1/-/5DAY:1300.0000=5x65.0000<=65.0000 1/-/DAY:580.0000=5x29.0000<=29.0000");
}

}  // namespace
}  // namespace vym
