#include "editors/frm_vendor.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "support/qt/screen_test.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

class VendorWindow : public test::ScreenOf<frmVendor> {
  protected:
    VendorWindow() : ScreenOf("fgVendors", {.demoData = false}) {}
    void SetUp() override {
        for (const char* sql : {
                 "INSERT INTO vym_vendor_address_type VALUES ('PRIMARY', 'Primary'), "
                 "('BILLING', 'Billing')",
                 "INSERT INTO vym_address (address_no, city) VALUES (10, 'Denver')",
                 "INSERT INTO vym_vendor (vendor_id, vendor_name, contact_name, "
                 "vendor_address_no) VALUES ('ALPINE', 'Alpine Gear', 'Marta', 10), "
                 "('ATLAS', 'Atlas Boards', NULL, NULL), ('SNOW', 'Snowline', NULL, NULL)",
                 "INSERT INTO vym_vendor_address VALUES ('ALPINE', 'PRIMARY', 10)",
                 "INSERT INTO vym_item (item_no, item_type, long_description) VALUES "
                 "(1, 'STOCK', 'Jacket')",
                 "INSERT INTO vym_item_stock (item_no, vendor_id) VALUES (1, 'SNOW')",
             }) {
            office_.Sql(sql);
        }
    }
    QString Text(const char* box) { return Find<QLineEdit>(box).text(); }
};

TEST_F(VendorWindow, SetupSelectsTheGivenVendorWithItsAddressesByTypeAndCancelSavesNothing) {
    window_.Setup(&maint_, "alpine");
    EXPECT_EQ(window_.windowTitle(), "Vendors");
    auto& tabs = Find<ui::KeyTabBar>("tabAddress");
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.TabKey(0), "PRIMARY");
    EXPECT_EQ(Text("txtVendorId"), "ALPINE");
    EXPECT_EQ(Text("txtContact"), "Marta");
    EXPECT_EQ(Text("txtCity"), "Denver");
    tabs.SetCurrentKey("BILLING");  // no address of this type
    EXPECT_EQ(Text("txtCity"), "");
    EXPECT_EQ(window_.PrimaryAddressNo(), 10);

    // The index bar: a letter filters by name, the last button lists all.
    Find<QToolButton>("cmdIndex18").click();  // "S"
    ASSERT_EQ(Grid().Rows(), 2);
    EXPECT_EQ(Text("txtVendorId"), "SNOW");
    Find<QToolButton>("cmdIndex26").click();
    EXPECT_EQ(Grid().Rows(), 4);

    // Cancel closes without saving what was typed.
    QTest::keyClicks(&Find<QLineEdit>("txtVendorName"), " Ltd");
    Find<QPushButton>("cmdCancel").click();
    EXPECT_TRUE(window_.UserCancelled());
    EXPECT_EQ(Scalar("SELECT vendor_name FROM vym_vendor WHERE vendor_id = 'SNOW'"), "Snowline");
}

TEST_F(VendorWindow, AddsAVendorInUpperCaseWithItsAddress) {
    window_.Setup(&maint_);
    Find<QPushButton>("cmdAdd").click();
    QTest::keyClicks(&Find<QLineEdit>("txtVendorName"), "Peak Print");
    script_.ExpectMessage("Vendor Id is required to save the new vendor record.",
                          "Vendor Id Require", kInformation);
    EXPECT_FALSE(window_.SaveData());
    script_.Verify();

    QTest::keyClicks(&Find<QLineEdit>("txtVendorId"), "peak");
    EXPECT_EQ(Text("txtVendorId"), "PEAK");
    QTest::keyClicks(&Find<QLineEdit>("txtCity"), "Aspen");
    Find<QPushButton>("cmdOk").click();
    EXPECT_FALSE(window_.UserCancelled());
    EXPECT_EQ(window_.VendorId(), "PEAK");
    EXPECT_EQ(Scalar("SELECT vendor_name FROM vym_vendor WHERE vendor_id = 'PEAK'"), "Peak Print");
    EXPECT_EQ(Scalar("SELECT a.city FROM vym_vendor v JOIN vym_address a "
                     "ON a.address_no = v.vendor_address_no WHERE v.vendor_id = 'PEAK'"),
              "Aspen");
    EXPECT_GT(window_.PrimaryAddressNo(), 0);

    // A second vendor with the same id is refused by the database.
    Find<QPushButton>("cmdAdd").click();
    QTest::keyClicks(&Find<QLineEdit>("txtVendorId"), "peak");
    QTest::keyClicks(&Find<QLineEdit>("txtVendorName"), "Other");
    script_.ExpectMessage("The vendor id PEAK is already in use.", "Update Vendor Failed",
                          kInformation);
    EXPECT_FALSE(window_.SaveData());
    EXPECT_EQ(Text("txtVendorName"), "Other");  // the entry stays
}

TEST_F(VendorWindow, OnlyANewVendorsIdTakesTyping) {
    window_.Setup(&maint_);
    // No vendor shown: nothing typed could be saved.
    for (const char* box : {"txtVendorId", "txtVendorName", "txtContact"}) {
        QTest::keyClicks(&Find<QLineEdit>(box), "X");
        EXPECT_EQ(Text(box), "") << box;
    }

    Find<QToolButton>("cmdIndex26").click();
    Grid().SetCurrentCell(Grid().FindRow("ATLAS", 0), 0);
    QTest::keyClicks(&Find<QLineEdit>("txtVendorId"), "X");
    EXPECT_EQ(Text("txtVendorId"), "ATLAS");
    QTest::keyClicks(&Find<QLineEdit>("txtVendorName"), " Ltd");
    Find<QPushButton>("cmdOk").click();
    EXPECT_FALSE(window_.UserCancelled());
    EXPECT_EQ(window_.VendorId(), "ATLAS");
    EXPECT_EQ(Scalar("SELECT vendor_name FROM vym_vendor WHERE vendor_id = 'ATLAS'"),
              "Atlas Boards Ltd");

    // The list's columns fit their texts.
    EXPECT_GE(Grid().columnWidth(1),
              QFontMetrics(Grid().font()).horizontalAdvance("Atlas Boards Ltd"));
}

TEST_F(VendorWindow, SelectingAnotherVendorSavesTheChangedOneFirst) {
    window_.Setup(&maint_, "ALPINE");
    Find<QLineEdit>("txtContact").clear();
    QTest::keyClicks(&Find<QLineEdit>("txtContact"), "Lena");
    Find<ui::KeyTabBar>("tabAddress").SetCurrentKey("BILLING");
    QTest::keyClicks(&Find<QLineEdit>("txtCity"), "Boulder");
    Grid().SetCurrentCell(Grid().FindRow("ATLAS", 0), 0);
    EXPECT_EQ(Text("txtVendorId"), "ATLAS");
    EXPECT_EQ(Scalar("SELECT contact_name FROM vym_vendor WHERE vendor_id = 'ALPINE'"), "Lena");
    EXPECT_EQ(Scalar("SELECT a.city FROM vym_vendor_address va JOIN vym_address a ON "
                     "a.address_no = va.address_no WHERE va.vendor_id = 'ALPINE' AND "
                     "va.vendor_address_type = 'BILLING'"),
              "Boulder");
}

TEST_F(VendorWindow, DeleteShowsTheDatabasesRefusalAndRemovesAFreeVendor) {
    window_.Setup(&maint_, "SNOW");
    script_
        .ExpectMessage("Are you sure you want to delete Snowline?", "Confirm Vendor Delete",
                       kQuestionYesNoDefaultNo, MsgResult::Yes)
        .ExpectMessage("Snowline is the vendor of 1 stock item(s) and cannot be deleted.",
                       "Error Deleting Vendor", kInformation);
    Find<QPushButton>("cmdDelete").click();
    EXPECT_EQ(Grid().Rows(), 4);
    EXPECT_EQ(Text("txtVendorId"), "SNOW");

    Grid().SetCurrentCell(Grid().FindRow("ALPINE", 0), 0);
    script_.ExpectMessage("Are you sure you want to delete Alpine Gear?", "Confirm Vendor Delete",
                          kQuestionYesNoDefaultNo, MsgResult::Yes);
    Find<QPushButton>("cmdDelete").click();
    EXPECT_EQ(Grid().Rows(), 3);
    EXPECT_EQ(Text("txtVendorId"), "ATLAS");  // the next row
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_address"), "0");
}

TEST_F(VendorWindow, AFailedAddressLeavesNoVendorAndTheRetrySavesBoth) {
    test::FaultInjectingConnection& faults = Faults();
    window_.Setup(&maint_);
    Find<QPushButton>("cmdAdd").click();
    QTest::keyClicks(&Find<QLineEdit>("txtVendorId"), "peak");
    QTest::keyClicks(&Find<QLineEdit>("txtVendorName"), "Peak Print");
    QTest::keyClicks(&Find<QLineEdit>("txtCity"), "Aspen");
    const std::string addresses = Scalar("SELECT count(*) FROM vym_address");

    // The vendor and its address are written, then linking them fails.
    faults.FailOnCall(3, test::FaultInjectingConnection::Fault::ExecuteFailed);
    errorsExpected_ = true;
    EXPECT_FALSE(window_.SaveData());
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_vendor WHERE vendor_id = 'PEAK'"), "0");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_address"), addresses);
    EXPECT_EQ(Text("txtCity"), "Aspen");

    faults.Disarm();
    ASSERT_TRUE(window_.SaveData());
    EXPECT_EQ(Scalar("SELECT a.city FROM vym_vendor v JOIN vym_address a "
                     "ON a.address_no = v.vendor_address_no WHERE v.vendor_id = 'PEAK'"),
              "Aspen");
}

}  // namespace
}  // namespace vym
