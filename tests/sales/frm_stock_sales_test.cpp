// The stock sale list on the demo back office: item sales 1 (BASE, customer
// groups PASSHOLD and SKICLUB) and 2 (item 104 qualifies), department sales 3
// (VILLAGE, lines RETAIL 20 % and GOGGLE $5) and 4 (customer group EMPLOYEE).
#include "sales/frm_stock_sales.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "base/prompter.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kType = 1;
constexpr int kSaleDescription = 2;
constexpr int kLocation = 3;
constexpr int kItemQualified = 6;
constexpr int kCustomerQualified = 7;

FlexGrid& GridOf(QWidget& form, const char* name) {
    return *form.findChild<FlexGrid*>(name);
}

class StockSales : public test::ScreenOf<frmStockSales> {
  protected:
    StockSales() : ScreenOf("fgSales") {}
    void SetUp() override {
        window_.Setup(&maint_);
        window_.show();
    }
    int RowOf(int saleNo) { return Grid().FindRow(QString::number(saleNo), 0); }
    void Menu(const char* command, int saleNo) {
        Grid().SetCurrentCell(RowOf(saleNo), kType);
        window_.findChild<QAction*>(command)->trigger();
    }
    std::int32_t Count(const std::string& where) {
        return office_.Scalar("SELECT count(*) FROM " + where);
    }
};

TEST_F(StockSales, ListsEverySaleAndKeepsTheTwoQualificationsApart) {
    ASSERT_EQ(Grid().Rows(), 5);
    EXPECT_EQ(Grid().TextMatrix(RowOf(1), kType), "ItemNo");
    EXPECT_EQ(Grid().TextMatrix(RowOf(3), kType), "Dept");
    EXPECT_EQ(Grid().TextMatrix(RowOf(2), kLocation), "<ALL>");
    EXPECT_TRUE(Grid().CellChecked(RowOf(1), kCustomerQualified));

    script_.ExpectMessage(
        "You can not apply item qualified to a sale with customer qualified.\r\n"
        "Clear the customer qualified groups before adding item numbers.",
        "Already Customer Qualified", kInformation);
    Menu("mnuItemQualified", 1);
    script_.ExpectMessage(
        "You can not apply customer qualified to a sale with item qualified.\r\n"
        "Clear the item qualified items before adding customer groups.",
        "", kInformation);
    Menu("mnuCustomerQualified", 2);

    // A group id holding a quote is sent whole; unticking every group then
    // clears the flag.
    office_.Sql("INSERT INTO vym_customer_group VALUES ('A\"B', 'Quote Club')");
    auto tick = [](const char* group, bool ticked) {
        return [group, ticked](QDialog& d) {
            FlexGrid& groups = GridOf(d, "fgGroups");
            const int row = groups.FindRow(group, 2);
            ASSERT_GT(row, 0) << group;
            groups.SetCellChecked(row, 1, ticked);
            groups.setFocus();
            QTest::keyClick(&d, Qt::Key_Return);
            ASSERT_TRUE(d.isVisible());
            if (!ticked) {
                groups.SetCellChecked(groups.FindRow("EMPLOYEE", 2), 1, false);
            }
            test::Press(d, "cmdOk");
        };
    };
    modals_.Expect("frmSaleCustomerGroups", tick("A\"B", true));
    Menu("mnuCustomerQualified", 4);
    EXPECT_EQ(Count("vym_sale_customer WHERE sale_no = 4 AND customer_group_id = 'A\"B'"), 1);
    modals_.Expect("frmSaleCustomerGroups", tick("A\"B", false));
    Menu("mnuCustomerQualified", 4);
    EXPECT_FALSE(Grid().CellChecked(RowOf(4), kCustomerQualified));
    EXPECT_EQ(Count("vym_sale_customer WHERE sale_no = 4"), 0);
    EXPECT_EQ(Count("vym_sale WHERE sale_no = 4 AND customer_qualified = 0"), 1);

    // Emptying the qualifying items saves an empty list and clears the flag.
    modals_.Expect("frmSaleItems", [this](QDialog& d) {
        FlexGrid& items = GridOf(d, "fgItems");
        ASSERT_EQ(items.TextMatrix(1, 0), "104");
        items.SelectRow(1);
        script_.ExpectMessage("Are you sure you want to remove the selected item(s)?",
                              "Confirm Item Delete", kQuestionYesNoDefaultNo, MsgResult::Yes);
        test::Press(d, "cmdDelete");
        test::Press(d, "cmdOk");
    });
    Menu("mnuItemQualified", 2);
    EXPECT_FALSE(Grid().CellChecked(RowOf(2), kItemQualified));
    EXPECT_EQ(Count("vym_sale_item WHERE sale_no = 2"), 0);
    EXPECT_EQ(Count("vym_sale WHERE sale_no = 2 AND item_qualified = 0"), 1);
}

TEST_F(StockSales, CreatesCopiesRenamesAndDeletesSales) {
    modals_.Expect("frmNewSale", [](QDialog& d) {
        QTest::keyClicks(d.findChild<QLineEdit*>("txtDescription"), "Summit \"Demo\" Days");
        d.findChild<QRadioButton*>("optDept")->click();
        test::Press(d, "cmdOk");
    });
    modals_.Expect("frmDeptSalePricing", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Department Sale Pricing");
        test::Press(d, "cmdOk");
    });
    Click("cmdAdd");
    ASSERT_EQ(Grid().Rows(), 6);
    EXPECT_EQ(Grid().TextMatrix(5, kType), "Dept");
    EXPECT_EQ(Grid().TextMatrix(5, kSaleDescription), "Summit \"Demo\" Days");
    const int added = Grid().TextMatrix(5, 0).toInt();
    EXPECT_EQ(Count("vym_sale WHERE sale_type = 'Dept' AND sale_no = " + std::to_string(added)), 1);

    modals_.Expect("frmPickList", [](QDialog& d) {
        FlexGrid& list = *d.findChild<FlexGrid*>();
        list.SetCurrentCell(list.FindRow("SUMMIT", 0), 0);
        test::Press(d, "cmdOk");
    });
    Grid().SetCurrentCell(RowOf(3), 0);
    Click("cmdCopy");
    ASSERT_EQ(Grid().Rows(), 7);
    EXPECT_EQ(Grid().Row(), 6);
    EXPECT_EQ(Grid().TextMatrix(6, kLocation), "Summit Rental Shop");
    EXPECT_EQ(Count("vym_sale_dept WHERE sale_no = " + Grid().TextMatrix(6, 0).toStdString()), 2);

    ASSERT_TRUE(test::TypeIntoCell(Grid(), RowOf(3), kSaleDescription, "Village 25% Off"));
    EXPECT_EQ(Count("vym_sale WHERE sale_no = 3 AND description = 'Village 25% Off'"), 1);
    const QString tooLong = "Village " + QString(53, 'x');
    script_.ExpectMessage("Error Updating Description with " + tooLong.toStdString() +
                              "\r\nThe description can hold at most 60 characters.",
                          "", {}, MsgResult::OK);
    EXPECT_TRUE(test::TypeIntoCell(Grid(), RowOf(3), kSaleDescription, tooLong));
    EXPECT_EQ(Grid().TextMatrix(RowOf(3), kSaleDescription), "Village 25% Off");
    EXPECT_EQ(Count("vym_sale WHERE sale_no = 3 AND description = 'Village 25% Off'"), 1);

    Grid().SelectRow(RowOf(1));
    Grid().SelectRow(RowOf(3));
    script_.ExpectMessage("Are you sure you want to delete This Sale?", "Confirm Delete Sale",
                          kQuestionYesNoDefaultNo, MsgResult::Yes);
    script_.ExpectMessage("Are you sure you want to delete This Sale?", "Confirm Delete Sale",
                          kQuestionYesNoDefaultNo, MsgResult::No);
    window_.findChild<QAction*>("mnuDelete")->trigger();
    EXPECT_EQ(RowOf(3), -1);
    EXPECT_GT(RowOf(1), 0);
    EXPECT_EQ(Count("vym_sale WHERE sale_no = 3") + Count("vym_sale_dept WHERE sale_no = 3"), 0);
}

}  // namespace
}  // namespace vym
