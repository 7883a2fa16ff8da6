#include "editors/frm_stock.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "editors/screen_helpers.h"
#include "model/citem.h"
#include "model/citem_rent.h"
#include "model/citem_stock.h"
#include "support/qt/screen_test.h"
#include "ui/data_combo.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

using test::FaultInjectingConnection;
using test::PickItem;
using ui::DataCombo;
using ui::FlexGrid;

class StockWindow : public test::ScreenTest {
  protected:
    void SetUp() override { Faults(); }

    frmStock& Open(std::int32_t itemNo) {
        item_ = std::make_unique<CItem>();
        EXPECT_TRUE(item_->OpenItem(&office_.Db(), nullptr, itemNo));
        return Show();
    }
    // A new item as the console presets it.
    frmStock& OpenNew(const std::string& type) {
        item_ = std::make_unique<CItem>();
        item_->SetItemType(type);
        item_->FunctionID = type == "STOCK" ? "RETAIL" : "RENTAL";
        item_->CatagoryID = type == "STOCK" ? "OUTERWEAR" : "SKI";
        item_->ShortDescription = "Parka";
        return Show();
    }
    frmStock& Show() {
        window_ = std::make_unique<frmStock>();
        screen_ = window_.get();
        window_->Setup(&maint_, *item_);
        return *window_;
    }

    QLineEdit& Box(const char* name) { return Find<QLineEdit>(name); }
    DataCombo& Combo(const char* name) { return Find<DataCombo>(name); }
    FlexGrid& Grid(const char* name) { return Find<FlexGrid>(name); }
    // Replaces a field's text as a user would: select all, type.
    void Type(const char* name, const QString& text) {
        QLineEdit& box = Box(name);
        box.selectAll();
        QTest::keyClicks(&box, text);
    }
    void Leave(const char* name) { test::Leave(Box(name)); }
    QString CurrentTab() { return Find<ui::KeyTabBar>("tabStock").CurrentKey(); }
    QStringList Tabs() { return test::TabKeys(Find<ui::KeyTabBar>("tabStock")); }
    // The visible rows' texts in a column.
    QStringList Column(const char* grid, int col) {
        return test::ColumnTexts(Grid(grid), col, true);
    }
    void ChooseRow(const char* grid, const QString& text) {
        FlexGrid& g = Grid(grid);
        const int row = g.FindRow(text, 1);
        ASSERT_GT(row, 0) << text.toStdString();
        g.SetCurrentCell(row, 1);
    }

    std::unique_ptr<CItem> item_;
    std::unique_ptr<frmStock> window_;
};

TEST_F(StockWindow, ShowsAStockItemWithItsListsAndDepartmentsAndCancelSavesNothing) {
    Open(500);
    EXPECT_EQ(window_->windowTitle(), "Stock Item Properties (500)");
    EXPECT_EQ(Tabs(), (QStringList{"DESC", "PRICE", "MAP", "DEPT"}));
    EXPECT_EQ(test::Shown(*window_, {"txtShortDesc", "lblVendorName", "txtUnitPrice", "txtMinPrice",
                                     "txtAvgTotal", "txtMargin"}),
              "Shell Jacket|Alpine Gear Supply Co.|$159.0000|127.2000|$90.7500|42.92%");
    EXPECT_EQ(test::Keys(*window_, {"cmbStockType", "cmbModel", "cmbSize", "cmbSaleProfile"}),
              "APPAREL|SHELL|M|NONE");
    EXPECT_EQ(Combo("cmbSize").RowCount(), 5);  // the letter sizes in display order
    EXPECT_EQ(Combo("cmbPrintFormat").Cell(1), "Hang Tag 2x3");
    EXPECT_EQ(Column("fgMaps", 1), (QStringList{"500", "JKT-RED-M"}));

    // The departments of the stock type, and the reporting departments below.
    EXPECT_EQ(Combo("cmbDepartment").RowCount(), 1);
    EXPECT_EQ(Combo("cmbDepartment").Key(), "RETAIL");
    EXPECT_EQ(Column("fgRptDept", 0), (QStringList{"<NONE>", "HARDG", "SOFTG"}));
    EXPECT_EQ(Grid("fgRptDept").TextMatrix(Grid("fgRptDept").Row(), 0), "SOFTG");
    EXPECT_EQ(Column("fgSubRptDept", 0), (QStringList{"<NONE>", "GLOVES", "JACKETS"}));
    EXPECT_EQ(Grid("fgSubRptDept").TextMatrix(Grid("fgSubRptDept").Row(), 0), "JACKETS");

    // Another reporting department starts its sub-departments afresh.
    ChooseRow("fgRptDept", "Hardgoods");
    EXPECT_EQ(Column("fgSubRptDept", 0), (QStringList{"<NONE>", "GOGGLES", "SKIS"}));
    EXPECT_EQ(item_->StockItem()->ReportDepartmentId, "HARDG");
    EXPECT_EQ(item_->StockItem()->ReportSubDepartmentId, "");

    // A rental stock type brings the rental tab, its models and departments.
    Combo("cmbStockType").SetKey("RENTSKI");
    EXPECT_EQ(Tabs().last(), "RENTAL");
    EXPECT_EQ(Combo("cmbModel").Key(), "");
    EXPECT_EQ(Combo("cmbModel").RowCount(), 1);  // the inactive fleet model is not offered
    EXPECT_EQ(Combo("cmbDepartment").Key(), "");
    EXPECT_EQ(Column("fgRptDept", 0), (QStringList{"<NONE>"}));
    EXPECT_EQ(item_->StockItem()->ReportDepartmentId, "");
    Combo("cmbStockType").SetKey("ACCESSORY");
    EXPECT_FALSE(Tabs().contains("RENTAL"));

    Type("txtUnitPrice", "999");
    Click("cmdCancel");
    EXPECT_FALSE(window_->Saved());
    EXPECT_EQ(Scalar("SELECT unit_price || stock_type_id FROM vym_item_stock WHERE item_no = 500"),
              "159APPAREL");
}

TEST_F(StockWindow, UnitPriceAndMarginFollowEachOther) {
    item_ = std::make_unique<CItem>();
    item_->OpenItem(&office_.Db(), nullptr, 510);
    CItemStock& stock = *item_->StockItem();
    stock.CurrentAvgCost = 10;
    stock.CurrentAvgFreight = 1;
    stock.CurrentAvgDiscount = 0.5;
    Show();

    Type("txtMargin", "30");
    EXPECT_EQ(Box("txtUnitPrice").text(), "$15.0000");
    EXPECT_EQ(Box("txtMargin").text(), "30");
    Leave("txtMargin");
    EXPECT_EQ(Box("txtMargin").text(), "30.00%");

    Type("txtUnitPrice", "21");
    EXPECT_EQ(Box("txtMargin").text(), "50.00%");
    EXPECT_DOUBLE_EQ(stock.UnitPrice, 21);

    // The margin as it is shown, percent sign and all, is a number.
    Type("txtMargin", "50%");
    EXPECT_EQ(Box("txtUnitPrice").text(), "$21.0000");

    Type("txtUnitPrice", "ab");
    EXPECT_EQ(Box("txtUnitPrice").text(), "0");
    EXPECT_EQ(Box("txtMargin").text(), "0.00%");
    Leave("txtUnitPrice");
    EXPECT_EQ(Box("txtUnitPrice").text(), "$0.0000");
    EXPECT_DOUBLE_EQ(stock.UnitPrice, 0);
}

// A price is typed key by key: the field keeps a number in the making and
// reads it when it is left, thousands separators and dollar sign included.
TEST_F(StockWindow, PricesTypedKeyByKeyAreReadWhenTheFieldIsLeft) {
    const struct {
        const char* field;
        const char* typed;
        const char* shown;      // once the field is left
        const char* unitPrice;  // as saved
    } cases[] = {
        {"txtUnitPrice", ".50", "$0.5000", "0.5"},
        {"txtUnitPrice", "-", "$0.0000", "0"},
        {"txtUnitPrice", "1,250", "$1250.0000", "1250"},
        {"txtUnitPrice", "", "$0.0000", "0"},
        {"txtUnitPrice", "$20", "$20.0000", "20"},
        // 0.5 %, over the landed cost of $90.75: 90.75 / 0.995.
        {"txtMargin", ".5", "0.50%", "91.206"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " \"" + c.typed + "\"");
        Open(500);
        QLineEdit& box = Box(c.field);
        test::ReplaceText(box, c.typed);
        EXPECT_EQ(box.text(), c.typed);
        Leave(c.field);
        EXPECT_EQ(box.text(), c.shown);
        Click("cmdApply");
        ASSERT_TRUE(window_->Saved());
        EXPECT_EQ(Scalar("SELECT unit_price FROM vym_item_stock WHERE item_no = 500"), c.unitPrice);
    }
}

TEST_F(StockWindow, ARentalItemHasNoMarginAndAPackageHasItsDetailTab) {
    Open(702);
    EXPECT_EQ(window_->windowTitle(), "Rental Item Properties (702)");
    EXPECT_TRUE(Find<QCheckBox>("chkIsAPackage").isChecked());
    EXPECT_EQ(Tabs().last(), "RENTAL");
    EXPECT_EQ(Column("fgRental", 1), (QStringList{"700", "701"}));
    EXPECT_EQ(Combo("cmbDepartment").Key(), "RENTAL");

    Type("txtUnitPrice", "x");
    EXPECT_EQ(Box("txtUnitPrice").text(), "0");
    EXPECT_EQ(Box("txtMargin").text(), "");
    EXPECT_DOUBLE_EQ(item_->RentItem()->UnitPrice, 0);

    Find<QCheckBox>("chkIsAPackage").click();
    EXPECT_FALSE(Tabs().contains("RENTAL"));
    Find<QCheckBox>("chkIsAPackage").click();
    EXPECT_EQ(Tabs().last(), "RENTAL");
}

TEST_F(StockWindow, MinimumPriceBelowCostWarnsButIsSaved) {
    Open(500);
    Type("txtMinPrice", "50");
    script_.ExpectMessage("Minimum Price is less than the current Cost.", "Minimum Price Warning",
                          kExclamation);
    Leave("txtMinPrice");
    script_.Verify();
    EXPECT_EQ(Box("txtMinPrice").text(), "50.0000");

    // Text that is no amount goes back to the price that will be saved.
    Type("txtMinPrice", "cheap");
    Leave("txtMinPrice");
    EXPECT_EQ(Box("txtMinPrice").text(), "50.0000");

    Click("cmdOk");
    EXPECT_TRUE(window_->Saved());
    EXPECT_EQ(window_->result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT min_price FROM vym_item_stock WHERE item_no = 500"), "50");
}

TEST_F(StockWindow, ANewStockItemIsCheckedInOrderThenSaved) {
    office_.Db().ExecuteSQL("UPDATE vym_system_parm SET req_rpt_dept = 1");
    OpenNew("STOCK");
    EXPECT_EQ(window_->windowTitle(), "Stock Item Properties (NEW)");

    script_.ExpectMessage("Stock Type is required", "Save Error", kInformation);
    Find<ui::KeyTabBar>("tabStock").SetCurrentKey("PRICE");
    Click("cmdApply");
    EXPECT_EQ(CurrentTab(), "DESC");

    Combo("cmbStockType").SetKey("APPAREL");
    script_.ExpectMessage("Vendor is Required", "Save Error", kInformation);
    EXPECT_FALSE(window_->SaveData());
    modals_.Expect("frmVendor", test::PickVendor("SNOWLINE"));
    Click("cmdVendor");
    EXPECT_EQ(Find<QLabel>("lblVendorName").text(), "Snowline Outfitters");

    Combo("cmbDepartment").SetKey("RETAIL");
    Box("txtAttribute").setText("Green");
    Combo("cmbModel").SetKey("SHELL");
    EXPECT_EQ(Box("txtLongDesc").text(), "Parka,SHELL,Green,");

    script_.ExpectMessage("Reporting Department is required for retail type stock.",
                          "InValid Reporting Department", kInformation);
    EXPECT_FALSE(window_->SaveData());
    EXPECT_EQ(CurrentTab(), "DEPT");
    ChooseRow("fgRptDept", "Softgoods");
    ChooseRow("fgSubRptDept", "Jackets");
    script_.Verify();

    Type("txtUnitPrice", "120");
    ASSERT_TRUE(window_->SaveData());
    const std::int32_t itemNo = item_->ItemNo;
    ASSERT_GT(itemNo, 0);
    const std::string where = " WHERE item_no = " + std::to_string(itemNo);
    EXPECT_EQ(window_->windowTitle(), QString("Stock Item Properties (%1)").arg(itemNo));
    EXPECT_TRUE(window_->Saved());
    EXPECT_EQ(Scalar("SELECT long_description || '/' || department_id FROM vym_item" + where),
              "Parka,SHELL,Green,/RETAIL");
    EXPECT_EQ(Scalar("SELECT vendor_id || '/' || model_id || '/' || report_department_id || '/' "
                     "|| report_sub_department_id || '/' || unit_price || '/' || rental_type "
                     "FROM vym_item_stock" +
                     where),
              "SNOWLINE/SHELL/SOFTG/JACKETS/120/RETAIL");
    // Applied: the map ids now hold the item's own number.
    EXPECT_EQ(Column("fgMaps", 1), QStringList{QString::number(itemNo)});
}

TEST_F(StockWindow, ARentalItemNeedsItsDepartments) {
    office_.Db().ExecuteSQL("UPDATE vym_system_parm SET req_rpt_dept = 1");
    OpenNew("RENTAL");
    EXPECT_EQ(Combo("cmbDepartment").RowCount(), 1);  // the rental stock types' department
    script_.ExpectMessage("Department is required", "InValid Department", kInformation);
    EXPECT_FALSE(window_->SaveData());
    Combo("cmbDepartment").SetKey("RENTAL");
    script_.ExpectMessage("Reporting Department is required for rental type stock.",
                          "InValid Reporting Department", kInformation);
    EXPECT_FALSE(window_->SaveData());
    ChooseRow("fgRptDept", "Rental Revenue");
    EXPECT_TRUE(window_->SaveData());
    EXPECT_EQ(Scalar("SELECT report_department_id FROM vym_item_rental WHERE item_no = " +
                     std::to_string(item_->ItemNo)),
              "RENTREV");
}

TEST_F(StockWindow, MapIdsAreAddedAndDeletedOnlyWithAnItemNumber) {
    OpenNew("STOCK");
    script_.ExpectMessage(
        "Item must have an item number before providing map ids.  Please apply before "
        "supplying map ids.",
        "Map Add Cancelled", kInformation);
    Box("txtMapId").setText("PARKA-1");
    Click("cmdAddMap");
    script_.Verify();

    Open(500);
    Box("txtMapId").setText("jkt-red-m");
    script_.ExpectMessage("Map is already in the list", "Invalid Map", kInformation);
    Click("cmdAddMap");
    Box("txtMapId").setText("shell");
    script_.ExpectMessage("Item Map can not begin with a reserved character (S,C,I,P,#).",
                          "Invalid Item Map", kInformation);
    Click("cmdAddMap");
    EXPECT_EQ(Box("txtMapId").text(), "SHELL");
    Box("txtMapId").setText("jkt-red-l");  // another item's
    script_.ExpectMessage("Item Map already exits for item 501", "Item Map Error", kInformation);
    Click("cmdAddMap");
    // Shown, so that Enter would reach the default button if the field let it.
    window_->show();
    Box("txtMapId").setText("red jacket m");
    QTest::keyClick(&Box("txtMapId"), Qt::Key_Return);
    EXPECT_EQ(Column("fgMaps", 1), (QStringList{"500", "JKT-RED-M", "RED JACKET M"}));
    EXPECT_TRUE(window_->isVisible()) << "Enter in the map id adds it and does not press OK";
    EXPECT_FALSE(window_->Saved());

    FlexGrid& maps = Grid("fgMaps");
    maps.SetCurrentCell(maps.FindRow("500", 1), 1);
    script_.ExpectMessage("Sorry you can not delete the item number from the map list.",
                          "Map Delete Cancelled", kInformation);
    Click("cmdDeleteMap");
    maps.SetCurrentCell(maps.FindRow("JKT-RED-M", 1), 1);
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        script_.ExpectMessage("Are you sure you want to delete the item map: JKT-RED-M?",
                              "Confirm Item Map Delete", kQuestionYesNoDefaultNo, answer);
        Click("cmdDeleteMap");
        EXPECT_EQ(Column("fgMaps", 1).size(), answer == MsgResult::No ? 3 : 2);
    }
    EXPECT_EQ(Column("fgMaps", 1), (QStringList{"500", "RED JACKET M"}));
    script_.Verify();

    ASSERT_TRUE(window_->SaveData());
    EXPECT_EQ(Scalar("SELECT group_concat(map_id, ',') FROM (SELECT map_id FROM "
                     "vym_item_stock_map WHERE item_no = 500 ORDER BY map_id)"),
              "500,RED JACKET M");
    EXPECT_EQ(Scalar("SELECT vym_user FROM vym_item_stock_map WHERE map_id = 'RED JACKET M'"),
              "ADMIN");
}

TEST_F(StockWindow, RentalItemsOfARentalArticleAreListedOnceAndSaveOnlyTheirChanges) {
    Open(600);
    EXPECT_EQ(Tabs().last(), "RENTAL");
    EXPECT_EQ(Column("fgRental", 1), QStringList{"700"});

    modals_.Expect("frmItemLookup", PickItem(700));
    script_.ExpectMessage("Item is already in the rental item list", "Invalid Rental Item",
                          kInformation);
    Click("cmdAddRental");
    script_.Verify();
    EXPECT_EQ(Column("fgRental", 1), QStringList{"700"});

    for (const int item : {701, 704}) {
        modals_.Expect("frmItemLookup", PickItem(item));
        Click("cmdAddRental");
    }
    EXPECT_EQ(Column("fgRental", 2),
              (QStringList{"Adult Ski Rental", "Adult Boot Rental", "Demo Ski, Season Lease"}));

    // Added and removed again before saving: nothing to save for it.
    FlexGrid& rental = Grid("fgRental");
    for (const auto& [item, name] :
         {std::pair{"704", "Demo Ski, Season Lease"}, std::pair{"700", "Adult Ski Rental"}}) {
        rental.SetCurrentCell(rental.FindRow(item, 1), 1);
        script_.ExpectMessage(
            std::string("Are you sure you want to remove the rental item ") + name + "?",
            "Confirm Rental Item Remove", kQuestionYesNoDefaultNo, MsgResult::Yes);
        Click("cmdRemoveRental");
    }
    EXPECT_EQ(Column("fgRental", 1), QStringList{"701"});

    ASSERT_TRUE(window_->SaveData());
    EXPECT_EQ(Scalar("SELECT group_concat(rental_item_no, ',') FROM vym_item_stock_rental "
                     "WHERE item_no = 600"),
              "701");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item_stock_rental WHERE rental_item_no = 704 AND "
                     "item_no = 600"),
              "0");
    // Reloaded: a second apply has nothing left to send.
    EXPECT_EQ(Grid("fgRental").Rows(), 2);
    EXPECT_TRUE(window_->SaveData());
}

TEST_F(StockWindow, AFailedSaveLeavesTheDatabaseAndTheNewItemAsTheyWere) {
    OpenNew("RENTAL");
    const std::string items = Scalar("SELECT count(*) FROM vym_item");
    Find<QCheckBox>("chkIsAPackage").click();
    Combo("cmbDepartment").SetKey("RENTAL");
    modals_.Expect("frmItemLookup", PickItem(700));
    Click("cmdAddRental");

    // The item is written, then its detail rows fail.
    maint_.RequireReportingDepartment();  // read once, before the save
    const int calls = office_.Faults().Calls();
    office_.Faults().FailOnCall(2, FaultInjectingConnection::Fault::ExecuteFailed);
    errorsExpected_ = true;
    EXPECT_FALSE(window_->SaveData());
    EXPECT_EQ(office_.Faults().Calls(), calls + 2);
    EXPECT_FALSE(window_->Saved());
    EXPECT_EQ(item_->ItemNo, 0);
    EXPECT_EQ(item_->RentItem()->ItemNo(), 0);
    EXPECT_EQ(window_->windowTitle(), "Rental Item Properties (NEW)");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item"), items);

    office_.Faults().Disarm();
    ASSERT_TRUE(window_->SaveData());
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item"), std::to_string(std::stoi(items) + 1));
    EXPECT_EQ(Scalar("SELECT group_concat(detail_item_no, ',') FROM vym_item_rental_detail "
                     "WHERE item_no = " +
                     std::to_string(item_->ItemNo)),
              "700");
}

TEST_F(StockWindow, LocationPricingOpensForASavedItemOnly) {
    OpenNew("STOCK");
    script_.ExpectMessage("Please apply changes to save item setting location pricing.",
                          "Cancel Location Pricing", kInformation);
    Click("cmdLocationPricing");
    script_.Verify();

    // A saved item's stock pricing saves the minimum price with the stored
    // item, and this window shows it.
    Open(500);
    modals_.Expect("frmStockPricing", [](QDialog& pricing) {
        auto* minimum = pricing.findChild<QLineEdit*>("txtMinPrice");
        test::ReplaceText(*minimum, "120.5");
        test::Leave(*minimum);
        pricing.accept();
    });
    Click("cmdLocationPricing");
    modals_.Verify();
    EXPECT_EQ(Find<QLineEdit>("txtMinPrice").text(), "120.5000");
    EXPECT_EQ(Scalar("SELECT min_price FROM vym_item_stock WHERE item_no = 500"), "120.5");
}

}  // namespace
}  // namespace vym
