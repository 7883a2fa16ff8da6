#include "service/citem_maint.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include "gateway/app_server.h"
#include "model/citem.h"
#include "server/local_app_server.h"
#include "support/core/fields.h"
#include "support/qt/screen_test.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

using test::FaultInjectingConnection;
using ui::FlexGrid;

class ItemMaint : public test::ScreenTest {
  protected:
    ~ItemMaint() override { maint_.SetAppServer(nullptr); }
    void SetUp() override {
        ScreenTest::Faults();
        // Each support-table event as "table key... update type".
        const auto note = [this](const QString& table, const QStringList& keys, UpdateType type) {
            events_ << table + " " + keys.join(" ") + " " + QString::number(type);
        };
        QObject::connect(&maint_, &CItemMaint::FunctionUpdateEvent,
                         [=](const QString& f, UpdateType t) { note("function", {f}, t); });
        QObject::connect(&maint_, &CItemMaint::CatagoryUpdateEvent,
                         [=](const QString& f, const QString& c, UpdateType t) {
                             note("catagory", {f, c}, t);
                         });
        QObject::connect(&maint_, &CItemMaint::UnitUpdateEvent,
                         [=](const QString& f, const QString& u, UpdateType t) {
                             note("unit", {f, u}, t);
                         });
        QObject::connect(&maint_, &CItemMaint::SeasonUpdateEvent,
                         [=](const QString& f, const QString& s, UpdateType t) {
                             note("season", {f, s}, t);
                         });
    }

    // Binds the service object to the same database with `user` signed in.
    void SignIn(const std::string& user) {
        maint_.SetAppServer(nullptr);
        station_ = office_.OpenAgain(user);
        maint_.SetAppServer(station_.get());
    }

    Value Scalar(const std::string& sql) {
        auto rs = office_.Db().OpenRecordset(sql);
        return rs->Eof() ? Value::Null() : rs->Fields(0).Value();
    }
    FaultInjectingConnection& Faults() { return office_.Faults(); }

    // Three items: 90001 mapped as "PWD-RED-M" with two base prices and a
    // location price, 90002 without a map, price or description, and
    // 90003 mapped as "90001".
    void AddItems() {
        Sql("INSERT INTO vym_item (item_no, item_type, long_description) VALUES "
            "(90001, 'STOCK', 'Powder Jacket Red M'), (90002, 'STOCK', NULL), "
            "(90003, 'STOCK', 'Trail Map')");
        Sql("INSERT INTO vym_item_stock_map (map_id, item_no) VALUES ('PWD-RED-M', 90001), "
            "('90001', 90003)");
        Sql("INSERT INTO vym_price (item_no, unit_price, location_id) VALUES "
            "(90001, 189.99, NULL), (90001, 149.5, NULL), (90001, 99, 'BASE')");
    }

    static FlexGrid& Grid(QDialog& dialog) { return *dialog.findChild<FlexGrid*>("fgPickList"); }
    // Picks the grid row whose column `col` reads `text`, then presses "&Ok".
    static void PickRow(QDialog& dialog, int col, const QString& text) {
        FlexGrid& grid = Grid(dialog);
        for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, col) == text) {
                grid.SetCurrentCell(row, 0);
                test::Press(dialog, "cmdOk");
                return;
            }
        }
        ADD_FAILURE() << "no row reads " << text.toStdString();
        test::Press(dialog, "cmdCancel");
    }
    static QStringList Column(QDialog& dialog, int col) {
        return test::ColumnTexts(Grid(dialog), col);
    }

    QStringList events_;
    std::unique_ptr<server::LocalAppServer> station_;
};

// Bound, the service works through the server's connection and error object
// (ErrorsAreReportedUnderTheModuleSourceWithTheNativeConnection).
TEST_F(ItemMaint, UnbindingReleasesTheServerAndDatabaseMethodsFailQuietly) {
    maint_.SetAppServer(nullptr);
    EXPECT_EQ(maint_.AppServer(), nullptr);
    EXPECT_EQ(maint_.ErrorObject(), nullptr);
    EXPECT_EQ(maint_.DBConnection(), nullptr);
    std::int32_t itemNo = 1;
    EXPECT_FALSE(maint_.CheckStock(itemNo, "PWD-RED-M"));
    EXPECT_FALSE(maint_.FunctionUpdate("LIFT", "Lift Tickets", "y", true));
}

TEST_F(ItemMaint, RequireReportingDepartmentAsksTheDatabaseOnceOnlyWhenBound) {
    Sql("UPDATE vym_system_parm SET req_rpt_dept = 1");
    CItemMaint unbound;
    EXPECT_FALSE(unbound.RequireReportingDepartment());

    EXPECT_TRUE(maint_.RequireReportingDepartment());
    EXPECT_EQ(Faults().Calls(), 1);
    Sql("UPDATE vym_system_parm SET req_rpt_dept = 0");
    EXPECT_TRUE(maint_.RequireReportingDepartment());
    EXPECT_EQ(Faults().Calls(), 1);

    // Binding again reads the (new) answer afresh; Null counts as False.
    Sql("UPDATE vym_system_parm SET req_rpt_dept = NULL");
    maint_.SetAppServer(&office_.Server());
    EXPECT_FALSE(maint_.RequireReportingDepartment());
    EXPECT_EQ(Faults().Calls(), 2);
}

TEST_F(ItemMaint, CheckStockByNumberOrByMapIdOnly) {
    AddItems();
    std::int32_t itemNo = 90001;
    QString desc;
    double price = -1;
    ASSERT_TRUE(maint_.CheckStock(itemNo, "", &desc, &price));
    EXPECT_EQ(itemNo, 90001);
    EXPECT_EQ(desc, "Powder Jacket Red M");
    EXPECT_DOUBLE_EQ(price, 149.5);  // the lowest price for any location

    itemNo = 0;
    ASSERT_TRUE(maint_.CheckStock(itemNo, "pwd-red-m", &desc, &price));
    EXPECT_EQ(itemNo, 90001);

    // A stock id is a map id, never an item number.
    ASSERT_TRUE(maint_.CheckStock(itemNo, "90001", &desc, &price));
    EXPECT_EQ(itemNo, 90003);
    EXPECT_EQ(desc, "Trail Map");
    EXPECT_DOUBLE_EQ(price, 0);

    itemNo = 90002;
    desc = "old";
    ASSERT_TRUE(maint_.CheckStock(itemNo, "", &desc, &price));
    EXPECT_EQ(desc, "");

    itemNo = 5;
    EXPECT_FALSE(maint_.CheckStock(itemNo, "90002"));
    EXPECT_EQ(itemNo, 5);
}

TEST_F(ItemMaint, CheckLocationAndGetVendorInfoFindTheirIdsAndNothingForQuotesOrSql) {
    QString desc;
    std::int32_t address = 0, shipTo = 0, invoiceTo = 0, confirmTo = 0;
    ASSERT_TRUE(maint_.CheckLocation("summit", &desc, &address, &shipTo, &invoiceTo, &confirmTo));
    EXPECT_EQ(test::Fields(desc, address, shipTo, invoiceTo, confirmTo),
              "Summit Rental Shop|2|5|6|2");
    EXPECT_FALSE(maint_.CheckLocation("MOON"));
    QString name;
    maint_.GetVendorInfo("SNOWLINE", name, address);
    EXPECT_EQ(name, "Snowline Outfitters");
    EXPECT_EQ(address, 11);

    AddItems();
    const QStringList hostile = {"PWD-RED-M' OR '1'='1",
                                 "x'; DELETE FROM vym_item; --",
                                 "' UNION SELECT 1, 'a', 2 --",
                                 "BASE'",
                                 "O'Neil",
                                 "{fn CONCAT('PWD-RED-','M')}"};
    for (const QString& id : hostile) {
        std::int32_t itemNo = 0;
        EXPECT_FALSE(maint_.CheckStock(itemNo, id)) << id.toStdString();
        EXPECT_FALSE(maint_.CheckLocation(id)) << id.toStdString();
        name = "kept?";
        address = 7;
        maint_.GetVendorInfo(id, name, address);
        EXPECT_EQ(name, "");
        EXPECT_EQ(address, 0);
        // No list is shown: a hostile vendor id has no products.
        EXPECT_FALSE(maint_.VendorProductLookUp(nullptr, id)) << id.toStdString();
    }
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item WHERE item_no > 90000").ToLong(), 3);

    Sql("INSERT INTO vym_location (location_id, description) VALUES ('O''NEIL', 'Pro Shop')");
    EXPECT_TRUE(maint_.CheckLocation("o'neil", &desc));
    EXPECT_EQ(desc, "Pro Shop");
}

TEST_F(ItemMaint, ErrorsAreReportedUnderTheModuleSourceWithTheNativeConnection) {
    Faults().FailOnCall(1, FaultInjectingConnection::Fault::Locked);
    EXPECT_FALSE(maint_.CheckLocation("BASE"));
    errorsExpected_ = true;
    ASSERT_EQ(office_.Local().Reports().size(), 1u);
    const ErrorReport& report = office_.Local().Reports().back();
    EXPECT_EQ(report.Source, ModuleSourcePrefix("ItemMaint") + " CheckLocation");
    EXPECT_EQ(report.NativeConnection, &office_.Db().Native());
    EXPECT_TRUE(maint_.CheckLocation("BASE"));
}

TEST_F(ItemMaint, SelectLocationListsTheUsersLocationsUnlessAskedForAllAndQuotesTheUserId) {
    SignIn("RMILLER");
    QString id, desc;
    std::int32_t address = 0, shipTo = 0, invoiceTo = 0, confirmTo = 0;
    modals_.Expect("frmPickList", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select Location");
        EXPECT_EQ(Column(d, 1), QStringList({"Base Lodge Shop", "Summit Rental Shop"}));
        PickRow(d, 0, "SUMMIT");
    });
    ASSERT_TRUE(maint_.SelectLocation(nullptr, id, desc, address, shipTo, invoiceTo, confirmTo));
    EXPECT_EQ(test::Fields(id, desc, address, shipTo, invoiceTo, confirmTo),
              "SUMMIT|Summit Rental Shop|2|5|6|2");

    QWidget owner;
    desc = "ALL";
    modals_.Expect("frmPickList", [&owner](QDialog& d) {
        EXPECT_EQ(d.parentWidget(), &owner);
        EXPECT_EQ(Column(d, 1), QStringList({"Base Lodge Shop", "Summit Rental Shop",
                                             "Ticket Windows", "Village Sports"}));
        PickRow(d, 0, "TICKET");
    });
    ASSERT_TRUE(maint_.SelectLocation(&owner, id, desc, address, shipTo, invoiceTo, confirmTo));
    EXPECT_EQ(id, "TICKET");
    EXPECT_EQ(desc, "Ticket Windows");

    modals_.Expect("frmPickList", [](QDialog& d) { test::Press(d, "cmdCancel"); });
    EXPECT_FALSE(maint_.SelectLocation(nullptr, id, desc, address, shipTo, invoiceTo, confirmTo));
    EXPECT_EQ(id, "TICKET");

    // A user id holding a quote finds that user's locations.
    Sql("INSERT INTO vym_security_user (vym_user, name) VALUES ('O''HARA', 'Pat O''Hara')");
    Sql("INSERT INTO vym_security_user_location (vym_user, location_id) VALUES ('O''HARA', "
        "'VILLAGE')");
    SignIn("O'HARA");
    desc.clear();
    modals_.Expect("frmPickList", [](QDialog& d) {
        EXPECT_EQ(Column(d, 0), QStringList({"VILLAGE"}));
        PickRow(d, 0, "VILLAGE");
    });
    EXPECT_TRUE(maint_.SelectLocation(nullptr, id, desc, address, shipTo, invoiceTo, confirmTo));
}

TEST_F(ItemMaint, SelectPOShowsTheAmountHidesVendorIdAndNotesAndHandsBackTheChosenLines) {
    std::int32_t poNo = 0;
    QString vendorId, vendorName, note;
    modals_.Expect("frmPickList", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select Purchase Order");
        FlexGrid& grid = Grid(d);
        EXPECT_EQ(Column(d, 0), QStringList({"1005", "1004", "1003"}));
        EXPECT_EQ(grid.ColumnFormat(5), "0.0000");
        EXPECT_TRUE(grid.IsColumnHidden(grid.ColumnIndex("vendor_id")));
        EXPECT_TRUE(grid.IsColumnHidden(grid.ColumnIndex("notes")));
        EXPECT_FALSE(grid.IsColumnHidden(grid.ColumnIndex("vendor")));
        PickRow(d, 0, "1003");
    });
    ASSERT_TRUE(maint_.SelectPO(poNo, "OPEN", nullptr, &vendorId, &vendorName, &note));
    EXPECT_EQ(test::Fields(poNo, vendorId, vendorName, note),
              "1003|SUMMITOPT|Summit Optics|Goggles for the holidays");

    modals_.Expect("frmPickList", [](QDialog& d) {
        EXPECT_EQ(Column(d, 0).size(), 5);
        test::Press(d, "cmdCancel");
    });
    EXPECT_FALSE(maint_.SelectPO(poNo));
    EXPECT_EQ(poNo, 1003);

    // Its lines come back by column, as many as were chosen.
    AddItems();
    Sql("UPDATE vym_po_line SET item_no = 90001 WHERE po_no = 1003 AND line_no = 2");
    Sql("INSERT INTO vym_item_stock (item_no, stock_id) VALUES (90001, 'PWD-RED-M')");
    std::vector<frmPickList::POLine> lines;
    modals_.Expect("frmPickList", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select PO Line(s)");
        Grid(d).SelectAllRows();
        test::Press(d, "cmdOk");
    });
    ASSERT_TRUE(maint_.SelectPOLines(1003, lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(test::Fields(lines[0][pvPOLine], lines[0][pvQtyOrd]), "1|30");
    EXPECT_EQ(test::Fields(lines[1][pvQtyReceived], lines[1][pvItemNo], lines[1][pvStockId],
                           lines[1][pvItemFullDesc]),
              "0|90001|PWD-RED-M|Powder Jacket Red M");
}

TEST_F(ItemMaint, VendorProductLookUpShowsAListOnlyWhenThereAreProducts) {
    QString product, desc, unit;
    std::int32_t itemNo = 42;
    Currency price, tax;
    modals_.Expect("frmPickList", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select Vendor Product");
        EXPECT_EQ(Column(d, 0), QStringList({"SL-300", "SL-410", "SL-900"}));
        PickRow(d, 0, "SL-900");
    });
    ASSERT_TRUE(maint_.VendorProductLookUp(nullptr, "SNOWLINE", &product, &desc, &itemNo, &unit,
                                           &price, &tax));
    EXPECT_EQ(test::Fields(product, desc, unit), "SL-900|Hot Wax, 1 lb bar|CS");
    EXPECT_EQ(price, Currency::FromDouble(38.0));
    EXPECT_EQ(tax, Currency::FromDouble(2.85));
    EXPECT_EQ(itemNo, 42) << "a product without an item leaves the item number alone";

    Sql("INSERT INTO vym_vendor (vendor_id, vendor_name) VALUES ('NEWCO', 'New Co')");
    EXPECT_FALSE(maint_.VendorProductLookUp(nullptr, "NEWCO", &product));
    EXPECT_EQ(modals_.Shown().size(), 1);
}

TEST_F(ItemMaint, SupportTableUpdatesRaiseTheirEventsOnlyWhenSaved) {
    ASSERT_TRUE(maint_.FunctionUpdate("GOLF", "Golf", "g", true));
    ASSERT_TRUE(maint_.CatagoriesUpdate("GOLF", "JUNIOR", "Junior", true, false));
    ASSERT_TRUE(maint_.UnitUpdate("GOLF", "9HOLE", "Nine Holes", "EA", 1, 1, 1));
    ASSERT_TRUE(maint_.SeasonUpdate("GOLF", "SUMMER", "Summer Golf", Date::FromParts(2025, 6, 1),
                                    Date::FromParts(2025, 9, 1)));
    const QStringList updated = {"function GOLF 1", "catagory GOLF JUNIOR 1", "unit GOLF 9HOLE 1",
                                 "season GOLF SUMMER 1"};
    EXPECT_EQ(events_, updated);
    EXPECT_EQ(Scalar("SELECT description FROM vym_unit WHERE unit_id = '9HOLE'"),
              Value("Nine Holes"));
    EXPECT_EQ(Scalar("SELECT end_date FROM vym_season WHERE season_id = 'SUMMER'"),
              Value(Date::FromParts(2025, 9, 1)));

    // An empty function id makes no call at all.
    const int calls = Faults().Calls();
    EXPECT_FALSE(maint_.FunctionUpdate("", "Nothing", "", true));
    EXPECT_EQ(Faults().Calls(), calls);
    EXPECT_EQ(events_, updated);
}

TEST_F(ItemMaint, FailedUpdatesSayWhatFailedAndRaiseNothing) {
    errorsExpected_ = true;
    script_.ExpectMessage("Unable to update function", "Update Failed", kInformation)
        .ExpectMessage("Unable to update catagory", "Update Failed", kInformation)
        .ExpectMessage("Unable to update unit.", "Update Failed", kInformation)
        .ExpectMessage("Unable to update season.", "Update Failed", kInformation);

    Faults().FailEveryCall(FaultInjectingConnection::Fault::DiskFull);
    EXPECT_FALSE(maint_.FunctionUpdate("GOLF", "Golf", "g", true));
    EXPECT_FALSE(maint_.CatagoriesUpdate("LIFT", "MILITARY", "Military", true, true));
    EXPECT_FALSE(maint_.UnitUpdate("LIFT", "NIGHT", "Night Skiing", "EA", 1, 1, 1));
    EXPECT_FALSE(maint_.SeasonUpdate("LIFT", "EARLY", "Opening", Date::FromParts(2024, 11, 1),
                                     Date::FromParts(2024, 11, 30)));
    std::int32_t group = 0;
    EXPECT_FALSE(maint_.UpdateStoreGroup(1, group, "Rentals"));
    EXPECT_FALSE(maint_.UpdateBookDate(1, Date::FromParts(2025, 1, 1)));
    Faults().Disarm();

    EXPECT_TRUE(Scalar("SELECT 1 FROM vym_function WHERE function_id = 'GOLF'").IsNull());
    EXPECT_EQ(group, 0);

    // A refusal of the database itself reads the same.
    script_.ExpectMessage("Unable to update catagory", "Update Failed", kInformation);
    EXPECT_FALSE(maint_.CatagoriesUpdate("NOSUCH", "X", "", true, true));
    EXPECT_TRUE(events_.isEmpty()) << events_.join(", ").toStdString();
}

TEST_F(ItemMaint, StoreGroupsAndBookDates) {
    std::int32_t group = 0;
    // Numbering, renaming and the refusal's reasons are the procedures' own
    // tests; here the number comes back and the refusal is shown.
    ASSERT_TRUE(maint_.UpdateStoreGroup(2, group, "Snowboards"));
    EXPECT_EQ(group, 3);
    EXPECT_TRUE(maint_.DeleteStoreGroup(2, 3));

    script_.ExpectMessage("Product group 1 of store 2 is used by 2 products.",
                          "Delete Store Group Error", kInformation);
    EXPECT_FALSE(maint_.DeleteStoreGroup(2, 1));

    Sql("INSERT INTO vym_item_stock_history (trans_no, item_no, trans_date) VALUES (5, 90001, "
        "'2025-02-01 09:30:00')");
    EXPECT_TRUE(maint_.UpdateBookDate(5, Date::FromParts(2025, 2, 28)));
    EXPECT_EQ(Scalar("SELECT book_date FROM vym_item_stock_history WHERE trans_no = 5"),
              Value(Date::FromParts(2025, 2, 28)));
    errorsExpected_ = true;
    EXPECT_FALSE(maint_.UpdateBookDate(6, Date::FromParts(2025, 2, 28)));
}

TEST_F(ItemMaint, DeletesRaiseTheirEventsOnlyWhenTheDatabaseAgrees) {
    Sql("INSERT INTO vym_function (function_id) VALUES ('GOLF'), ('DISC')");
    Sql("INSERT INTO vym_catagory (function_id, catagory_id) VALUES ('GOLF', 'JUNIOR'), "
        "('GOLF', 'SENIOR')");
    Sql("INSERT INTO vym_unit (function_id, unit_id) VALUES ('GOLF', '9HOLE')");
    Sql("INSERT INTO vym_season (function_id, season_id) VALUES ('GOLF', 'SUMMER')");
    script_
        .ExpectMessage("Function GOLF is used by 2 catagories, 1 unit and 1 season.",
                       "Delete Function Error", kInformation)
        .ExpectMessage("Catagory JUNIOR of function DISC does not exist.", "Delete Catagory Error",
                       kInformation)
        .ExpectMessage("Unit 18HOLE of function GOLF does not exist.", "Delete Unit Error",
                       kInformation)
        .ExpectMessage("Season WINTER does not exist.", "Delete Season Error", kInformation);
    EXPECT_FALSE(maint_.DeleteFunction("GOLF"));
    EXPECT_FALSE(maint_.DeleteCatagory("DISC", "JUNIOR"));
    EXPECT_FALSE(maint_.DeleteUnit("GOLF", "18HOLE"));
    EXPECT_FALSE(maint_.DeleteSeason("GOLF", "WINTER"));
    EXPECT_TRUE(events_.isEmpty()) << events_.join(", ").toStdString();

    EXPECT_TRUE(maint_.DeleteCatagory("GOLF", "SENIOR"));
    EXPECT_TRUE(maint_.DeleteUnit("GOLF", "9HOLE"));
    EXPECT_TRUE(maint_.DeleteSeason("GOLF", "SUMMER"));
    EXPECT_TRUE(maint_.DeleteFunction("DISC"));
    const QStringList deleted = {"catagory GOLF SENIOR 2", "unit GOLF 9HOLE 2",
                                 "season GOLF SUMMER 2", "function DISC 2"};
    EXPECT_EQ(events_, deleted);
    EXPECT_TRUE(Scalar("SELECT 1 FROM vym_catagory WHERE catagory_id = 'SENIOR' AND "
                       "function_id = 'GOLF'")
                    .IsNull());

    // A delete that never reached the database shows nothing and raises nothing.
    errorsExpected_ = true;
    Faults().FailOnCall(1, FaultInjectingConnection::Fault::Locked);
    EXPECT_FALSE(maint_.DeleteCatagory("GOLF", "JUNIOR"));
    EXPECT_EQ(events_, deleted);
    EXPECT_FALSE(Scalar("SELECT 1 FROM vym_catagory WHERE catagory_id = 'JUNIOR'").IsNull());
}

TEST_F(ItemMaint, StockMatrixHandsBackTheItemsItCreatedAndAnnouncesEach) {
    QSignalSpy added(&maint_, &ScreenContext::ItemStockAddedEvent);
    modals_.Expect("frmStockMatrix", [this](QDialog& d) {
        EXPECT_EQ(d.findChild<QLabel*>("lblVendorName")->text(), "Alpine Gear Supply Co.");
        EXPECT_EQ(d.findChild<ui::DataCombo*>("cmbStockType")->Key(), "APPAREL");
        QTest::keyClicks(d.findChild<QLineEdit*>("txtDescription"), "Trail Fleece");
        d.findChild<ui::DataCombo*>("cmbModel")->SetKey("SHELL");
        d.findChild<ui::DataCombo*>("cmbDepartment")->SetKey("RETAIL");
        d.findChild<ui::DataCombo*>("cmbSizeType")->SetKey("ALPHA");
        FlexGrid& matrix = *d.findChild<FlexGrid*>("fgMatrix");
        test::Press(d, "cmdAddRow");
        ASSERT_TRUE(test::TypeIntoCell(matrix, 1, 0, "Red"));
        ASSERT_TRUE(test::TypeIntoCell(matrix, 1, 1, "2"));
        ASSERT_TRUE(test::TypeIntoCell(matrix, 1, 5, "3"));
        script_.ExpectMessage(
            "Are you sure you want to generate all the stock for this stock matrix?",
            "Confirm Stock Generation", kQuestionYesNoDefaultNo, MsgResult::Yes);
        test::Press(d, "cmdOk");
    });
    std::vector<std::int32_t> created;
    ASSERT_TRUE(maint_.StockMatrix(nullptr, 1005, &created, "ALPINEGEAR", "APPAREL"));
    ASSERT_EQ(created.size(), 2u);
    ASSERT_EQ(added.count(), 2);
    EXPECT_EQ(added.at(1).at(0).toInt(), created[1]);
    EXPECT_EQ(added.at(1).at(4).toInt(), 3);
    EXPECT_EQ(Scalar("SELECT attribute || ' ' || stock_size FROM vym_item_stock WHERE item_no = " +
                     std::to_string(created[1])),
              Value("Red XL"));

    modals_.ExpectReject("frmStockMatrix");
    std::vector<std::int32_t> untouched{7};
    EXPECT_FALSE(maint_.StockMatrix(nullptr, 0, &untouched));
    EXPECT_EQ(untouched, std::vector<std::int32_t>{7});
}

}  // namespace
}  // namespace vym
