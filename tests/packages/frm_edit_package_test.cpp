// The package editor on the demo back office: package 1 "Family Ski Week"
// (ticket 100 and a rental line; package 4 is redeemed as it), package 2
// "Learn to Ski Day" (ticket, lesson and rental lines).
#include "packages/frm_edit_package.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "base/prompter.h"
#include "editors/screen_helpers.h"
#include "model/cpackage.h"
#include "support/qt/screen_test.h"
#include "ui/check_list.h"
#include "ui/data_combo.h"
#include "ui/key_tab_bar.h"
#include "ui/rich_text_box.h"

namespace vym {
namespace {

using test::PickItem;
using test::TypeIntoCell;
using ui::FlexGrid;

constexpr MsgStyle kRemoveQuestion{MsgButtons::YesNoCancel, MsgIcon::Question, 2};

class PackageEditor : public test::ScreenTest {
  protected:
    PackageEditor() : ScreenTest(&window_) {}
    void Open(std::int32_t packageNo) {
        ASSERT_TRUE(package_.OpenPackage(Db(), Errors(), packageNo));
        ASSERT_TRUE(package_.OpenItems(Db(), Errors()));
        window_.Setup(&maint_, package_);
        window_.show();
    }
    FlexGrid& Items() { return Find<FlexGrid>("gdItems"); }
    FlexGrid& Map() { return Find<FlexGrid>("gdRedemptionItems"); }
    std::string Lines(int packageNo) {
        return Scalar(
            "SELECT group_concat(seq_no || ':' || item_no || 'x' || pkg_qty || ' r' || "
            "IFNULL(redeem_seq_no, '-'), ' ') FROM (SELECT * FROM vym_package_item "
            "WHERE package_no = " +
            std::to_string(packageNo) + " ORDER BY seq_no)");
    }
    void Remove(int row, MsgResult answer = MsgResult::Yes) {
        script_.ExpectMessage("Are you sure you want to remove " +
                                  Items().TextMatrix(row, 4).toStdString() +
                                  " from the package?\r\nall package prices must be recreated!",
                              "", kRemoveQuestion, answer);
        Items().SetCurrentCell(row, 4);
        Click("cmdDelete");
    }

    CPackage package_;
    frmEditPackage window_;
};

TEST_F(PackageEditor, ShowsThePackageWithItsLinesGroupsAndRedemption) {
    Open(4);
    EXPECT_EQ(window_.windowTitle(), "Package Properties (4)");
    EXPECT_EQ(test::Shown(window_, {"txtDescription", "cmbStatus", "lblRedeemPackage"}),
              "Family Ski Week Online|Active|Family Ski Week (1)");
    EXPECT_EQ(test::Keys(window_, {"cmbFunction", "cmbCatagory"}), "LIFT|ADULT");

    FlexGrid& items = Items();
    ASSERT_EQ(items.Rows(), 3);
    EXPECT_EQ(test::CellTexts(items, 1, {2, 3, 4}), "100|TICKET|Adult Day Ticket");
    EXPECT_EQ(items.DisplayText(1, 6), "Print At Home Voucher");
    EXPECT_EQ(items.DisplayText(2, 6), "<Use Item Format>");
    EXPECT_TRUE(items.IsColumnHidden(0));
    ASSERT_EQ(Map().Rows(), 3);
    EXPECT_EQ(Map().DisplayText(1, 3), "Adult Day Ticket");
    EXPECT_EQ(Map().DisplayText(2, 3), items.TextMatrix(2, 4));

    // Register groups are read when their tab is first shown.
    ui::CheckList& groups = Find<ui::CheckList>("lstGroups");
    EXPECT_EQ(groups.count(), 0);
    Find<ui::KeyTabBar>("tabPackage").SetCurrentKey("REGISTER");
    ASSERT_EQ(groups.count(), 4);
    EXPECT_EQ(groups.item(0)->text(), "RENTAL-Rental Counter");
    EXPECT_TRUE(groups.CheckedKeys().isEmpty());

    window_.close();
    frmEditPackage family;
    CPackage package;
    ASSERT_TRUE(package.OpenPackage(Db(), Errors(), 1));
    family.Setup(&maint_, package);
    EXPECT_TRUE(family.findChild<QCheckBox*>("ckbShowOnTree")->isChecked());
    EXPECT_FALSE(family.findChild<QPushButton*>("cmdSymbol")->text().isEmpty());
    EXPECT_TRUE(family.findChild<ui::RichTextBox*>("rtbInstructions")
                    ->Text()
                    .startsWith("Collect the lift tickets"));
    EXPECT_EQ(family.findChild<QLabel*>("lblRedeemPackage")->text(), "");
}

// Of the lines only quantities and ticket formats are edited; they are saved
// on Ok with the header fields and the register groups.
TEST_F(PackageEditor, EditedLinesHeaderFieldsAndRegisterGroupsAreSavedTogetherOnOk) {
    Open(2);
    FlexGrid& items = Items();
    EXPECT_FALSE(items.EditCell(1, 4));
    EXPECT_FALSE(items.EditCell(1, 2));
    EXPECT_FALSE(items.EditCell(3, 6)) << "a rental line has no ticket format";
    EXPECT_EQ(items.TextMatrix(3, 3), "RENTAL");

    // A quantity of 0 would remove the line unasked; the others are no quantity.
    for (const char* typed : {"0", "x", "1.5", "-2", "40000"}) {
        script_.ExpectMessage(
            "The quantity must be a whole number from 1 to 32767.  Use Delete to remove an item "
            "from the package.",
            "Invalid Quantity", kInformation);
        EXPECT_TRUE(TypeIntoCell(items, 1, 5, typed));
        script_.Verify();
        EXPECT_EQ(items.TextMatrix(1, 5), "1") << typed;
    }
    script_.ExpectMessage(
        "After changing the qty you will need to update any defined prices for this package to "
        "reflect this change",
        "Price Adjustment", kInformation);
    EXPECT_TRUE(TypeIntoCell(items, 1, 5, "3"));
    EXPECT_EQ(items.TextMatrix(1, 5), "3");
    Choose(items, 2, 6, "Print At Home Voucher");

    test::ReplaceText(Find<QLineEdit>("txtDescription"), "Learn to Ski Weekend");
    Find<QComboBox>("cmbStatus").setCurrentIndex(1);
    ui::DataCombo& functions = Find<ui::DataCombo>("cmbFunction");
    ASSERT_TRUE(functions.SetKey("LIFT"));
    ui::DataCombo& catagories = Find<ui::DataCombo>("cmbCatagory");
    EXPECT_EQ(catagories.currentIndex(), -1) << "another function's categories start unchosen";
    ASSERT_TRUE(catagories.SetKey("CHILD"));
    Find<QCheckBox>("ckbShowOnTree").setChecked(true);
    Find<ui::RichTextBox>("rtbInstructions").SetText("Meet at the clock tower.");
    modals_.Expect("frmSymbol", [](QDialog& symbols) {
        symbols.findChild<FlexGrid*>("fgSymbols")->SetCurrentCell(2, 3);  // code 33 + 13
        symbols.findChild<QPushButton*>("cmdOk")->click();
    });
    Click("cmdSymbol");
    Find<ui::KeyTabBar>("tabPackage").SetCurrentKey("REGISTER");
    Click("cmdSelectAll");

    Click("cmdOk");
    ASSERT_TRUE(window_.Saved());
    EXPECT_EQ(window_.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT pkg_qty FROM vym_package_item WHERE package_no = 2 AND seq_no = 1"),
              "3");
    EXPECT_EQ(Scalar("SELECT p.description FROM vym_package_item pi JOIN vym_print_format p "
                     "ON p.format_no = pi.format_no WHERE package_no = 2 AND seq_no = 2"),
              "Print At Home Voucher");
    EXPECT_EQ(Scalar("SELECT description || '|' || is_active || '|' || function_id || '|' || "
                     "catagory_id || '|' || show_on_tree || '|' || unicode(tree_icon) FROM "
                     "vym_package WHERE package_no = 2"),
              "Learn to Ski Weekend|0|LIFT|CHILD|1|46");
    EXPECT_EQ(Scalar("SELECT i.instruction_body FROM vym_package p JOIN vym_item_instruction i "
                     "ON i.instruction_no = p.instruction_no WHERE package_no = 2"),
              "Meet at the clock tower.");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_register_group_package WHERE package_no = 2"), "4");
    EXPECT_EQ(package_.RegisterGroups.size(), 4u);
}

TEST_F(PackageEditor, AddedAndRemovedLinesAreSavedOnOk) {
    Open(2);
    const std::string before = Lines(2);
    modals_.Expect("frmItemLookup", PickItem(101, "TICKET"));
    Click("cmdAdd");
    modals_.Expect("frmItemLookup", PickItem(102, "TICKET"));
    Click("cmdAdd");
    FlexGrid& items = Items();
    ASSERT_EQ(items.Rows(), 6);
    EXPECT_EQ(test::CellTexts(items, 4, {0, 1, 2, 3, 5}), "1|0|101|TICKET|1");
    EXPECT_EQ(Map().Rows(), 6);

    Remove(3, MsgResult::Cancel);
    EXPECT_FALSE(items.IsRowHidden(3));
    Remove(3);  // the saved rental line
    Remove(5);  // a new line never saved: nothing to delete
    EXPECT_TRUE(items.IsRowHidden(3));
    EXPECT_TRUE(Map().IsRowHidden(3));
    EXPECT_EQ(Lines(2), before) << "nothing is saved before Ok";

    Click("cmdOk");
    ASSERT_TRUE(window_.Saved());
    EXPECT_EQ(Lines(2),
              "1:100x1 r- 2:" + items.TextMatrix(2, 2).toStdString() + "x1 r- 3:101x1 r-");
    ASSERT_EQ(package_.Items().size(), 3u);
    EXPECT_EQ(package_.Items()[2].SeqNo, 3);
    EXPECT_EQ(package_.Items()[2].PackageParent, &package_);
    EXPECT_EQ(items.TextMatrix(4, 1), "3");
}

TEST_F(PackageEditor, RedemptionPackageIsCheckedThenMappedLineByLine) {
    Open(2);
    auto choosePackage = [&](int number) {
        modals_.Expect("frmItemLookup", PickItem(number, "PACKAGE"));
        Click("cmdRedeemPackage");
    };
    script_.ExpectMessage("You can not associate a redemption package to itself.",
                          "Redemption Package Error", kInformation);
    choosePackage(2);
    script_.ExpectMessage(
        "The redemption package selected does not have the same number of items as this "
        "package.",
        "Redemption Association Error", kInformation);
    choosePackage(1);
    EXPECT_EQ(Find<QLabel>("lblRedeemPackage").text(), "");

    Remove(3);
    choosePackage(1);
    EXPECT_EQ(Find<QLabel>("lblRedeemPackage").text(), "Family Ski Week (1)");
    EXPECT_EQ(Map().TextMatrix(1, 3), "0");

    script_.ExpectMessage("The item Adult Day Ticket needs to be mapped to a redemption item",
                          "Redemption Association Error", kInformation);
    Find<ui::KeyTabBar>("tabPackage").SetCurrentKey("ITEMS");
    Click("cmdOk");
    EXPECT_EQ(Find<ui::KeyTabBar>("tabPackage").CurrentKey(), "ASSOCIATIONS");
    EXPECT_FALSE(window_.Saved());

    Choose(Map(), 1, 3, "Adult Day Ticket");
    Choose(Map(), 2, 3, "Adult Day Ticket");
    script_.ExpectMessage("Each maped item can only be used once.", "Redemption Association Error",
                          kInformation);
    Click("cmdOk");
    EXPECT_FALSE(window_.Saved());

    const std::string rental = Scalar(
        "SELECT long_description FROM vym_item i JOIN vym_package_item pi "
        "ON pi.item_no = i.item_no WHERE package_no = 1 AND seq_no = 2");
    Choose(Map(), 2, 3, QString::fromStdString(rental));
    Click("cmdOk");
    ASSERT_TRUE(window_.Saved());
    EXPECT_EQ(Scalar("SELECT redeem_package_no FROM vym_package WHERE package_no = 2"), "1");
    EXPECT_EQ(Lines(2), "1:100x1 r1 2:" + Items().TextMatrix(2, 2).toStdString() + "x1 r2");
}

TEST_F(PackageEditor, ClearingTheRedemptionPackageUnmapsEveryLine) {
    Open(4);
    Click("cmdClearRedeem");
    EXPECT_EQ(Find<QLabel>("lblRedeemPackage").text(), "");
    EXPECT_EQ(Map().TextMatrix(1, 3), "0");
    Click("cmdOk");
    ASSERT_TRUE(window_.Saved());
    EXPECT_EQ(Scalar("SELECT IFNULL(redeem_package_no, 0) FROM vym_package WHERE package_no = 4"),
              "0");
    EXPECT_EQ(Lines(4).find(" r1"), std::string::npos);
}

TEST_F(PackageEditor, ARefusalHalfWayThroughTheSaveChangesNothing) {
    Open(1);
    test::ReplaceText(Find<QLineEdit>("txtDescription"), "");
    script_.ExpectMessage("Description is required.", "Update Package Message", kInformation);
    script_.ExpectMessage("Unable to update package", "", MsgStyle{});
    Click("cmdOk");
    EXPECT_FALSE(window_.Saved());

    test::ReplaceText(Find<QLineEdit>("txtDescription"), "Family Ski Fortnight");
    Remove(1);  // the line package 4 is redeemed as
    script_.ExpectMessage(
        "A line of the package Family Ski Week Online is redeemed as line 1, which can not be "
        "removed.",
        "Update Package Message", kInformation);
    Click("cmdOk");
    EXPECT_FALSE(window_.Saved());
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Scalar("SELECT description FROM vym_package WHERE package_no = 1"),
              "Family Ski Week");
    EXPECT_EQ(Lines(1).substr(0, 8), "1:100x4 ");
    EXPECT_EQ(package_.Items().size(), 2u);
}

TEST_F(PackageEditor, ANewPackageThatFailsToSaveKeepsNumberZeroAndCanBeSavedAgain) {
    test::FaultInjectingConnection& faulty = Faults();
    package_.FunctionID = "LIFT";
    package_.CatagoryID = "ADULT";
    window_.Setup(&maint_, package_);
    EXPECT_EQ(window_.windowTitle(), "Package Properties (0)");
    EXPECT_EQ(Find<ui::DataCombo>("cmbCatagory").Key(), "ADULT");
    test::ReplaceText(Find<QLineEdit>("txtDescription"), "Spring Pass");
    modals_.Expect("frmItemLookup", PickItem(100, "TICKET"));
    Click("cmdAdd");
    ASSERT_EQ(Items().Rows(), 2);

    // The header is saved, then the line fails: all of it is undone.
    faulty.FailOnCall(2, test::FaultInjectingConnection::Fault::DiskFull);
    Click("cmdOk");
    EXPECT_FALSE(window_.Saved());
    EXPECT_EQ(package_.PackageNo, 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_package WHERE description = 'Spring Pass'"), "0");
    EXPECT_FALSE(office_.Local().Reports().empty());
    errorsExpected_ = true;

    faulty.Disarm();
    Click("cmdOk");
    ASSERT_TRUE(window_.Saved());
    EXPECT_GT(package_.PackageNo, 4);
    EXPECT_EQ(Lines(package_.PackageNo), "1:100x1 r-");
    EXPECT_EQ(window_.windowTitle(),
              "Package Properties (" + QString::number(package_.PackageNo) + ")");
}

}  // namespace
}  // namespace vym
