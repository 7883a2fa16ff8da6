#include "console/item.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "console/console_database.h"
#include "editors/screen_helpers.h"
#include "service/citem_maint.h"
#include "support/core/prompter_script.h"
#include "support/qt/grid_typing.h"
#include "support/qt/scripted_modal_runner.h"
#include "support/server/delegating_app_server.h"
#include "ui/any_combo.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

using test::ConsoleDatabase;
using test::PrompterScript;
using ui::FlexGrid;

constexpr MsgStyle kOkCancelDefaultCancel{MsgButtons::OKCancel, MsgIcon::Question, 2};
constexpr const char* kNoCriteria = "You must specify at least one search criteria!";
constexpr const char* kEndFirst = "The end item number range is less than the start.";
constexpr const char* kOverLimit =
    "200 Records found.\r\nOK - continue to load records\r\nCancel - redefine search";

// A console bound as the back office binds it, with the status texts it set.
struct Console {
    explicit Console(ConsoleDatabase& db) : server(db.Open()) {
        server->OnStatusText(
            [this](const std::string& text) { status.append(QString::fromStdString(text)); });
        item.implements_SetAppServer(server.get());
        item.implements_Setup();
    }
    template <class T>
    T* Find(const char* name) {
        T* widget = item.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    FlexGrid& Grid() { return *Find<FlexGrid>("fgItems"); }
    void Tab(const char* key) { Find<ui::KeyTabBar>("tabSearch")->SetCurrentKey(key); }
    void Type(const char* box, const QString& text) { Find<QLineEdit>(box)->setText(text); }
    void FindNow() { Find<QPushButton>("cmdFind")->click(); }
    void Search(const char* tab, const QString& description = {}) {
        Tab(tab);
        Type("txtDescription", description);
        FindNow();
    }
    std::vector<int> Numbers() {
        std::vector<int> numbers;
        for (int row = 1; row < Grid().Rows(); ++row) {
            numbers.push_back(Grid().RowData(row).toInt());
        }
        return numbers;
    }
    void Select(std::initializer_list<int> rows) {
        for (const int row : rows) {
            Grid().SelectRow(row);
        }
    }
    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

    std::unique_ptr<server::LocalAppServer> server;
    QStringList status;
    Item item;
};

using Numbers = std::vector<int>;

class ItemConsole : public ::testing::Test {
  protected:
    ConsoleDatabase db;
};

TEST_F(ItemConsole, SetupChecksTheUserAndRestoresTheLastSearchTab) {
    db.Server().SaveSetting("AppData\\Item Maintenance", "Environment", "SearchTab", "STOCK");
    Console c(db);
    EXPECT_EQ(c.item.SearchTab(), "STOCK");
    EXPECT_TRUE(c.Grid().isEnabled());
    EXPECT_EQ(c.status.front(), "Ready");
    auto* functions = c.Find<ui::AnyCombo>("cmbFunction");
    ASSERT_EQ(functions->count(), 2);  // <ANY> and the one function that has stock
    EXPECT_EQ(functions->itemText(1), "Retail");

    c.Tab("PACKAGE");
    EXPECT_EQ(c.Find<QLabel>("lblItemNo")->text(), "Package#:");
    EXPECT_EQ(c.Grid().ColumnHeading(4), "PackageNo");
    EXPECT_EQ(db.Open()->GetSetting("AppData\\Item Maintenance", "Environment", "SearchTab", ""),
              "PACKAGE");
    EXPECT_EQ(c.item.implements_ProgID(), "VYMItem.Item");
}

TEST_F(ItemConsole, UsesTheSharedServiceObjectAndPassesOnTheStockItAdds) {
    auto server = db.Open();
    CItemMaint maint;
    maint.SetAppServer(server.get());
    server->SetSharedServiceObject(&maint);
    Item item;
    item.implements_SetAppServer(server.get());
    item.implements_Setup();
    EXPECT_TRUE(item.findChild<FlexGrid*>("fgItems")->isEnabled());
    std::vector<std::int32_t> added;
    QObject::connect(&item, &Item::ItemStockAdded,
                     [&](std::int32_t itemNo, const QString&, vym::Currency, double, std::int32_t,
                         const QString& vendor) {
                         added.push_back(itemNo);
                         EXPECT_EQ(vendor, "ALPINE");
                     });
    emit maint.ItemStockAddedEvent(42, "Shell Jacket", vym::Currency::FromDouble(60), 120, 3,
                                   "ALPINE");
    EXPECT_EQ(added, (std::vector<std::int32_t>{42}));
    item.Implements_ShutDown();
    emit maint.ItemStockAddedEvent(43, "Hat", vym::Currency::FromDouble(5), 10, 1, "ALPINE");
    EXPECT_EQ(added.size(), 1u);
    EXPECT_FALSE(item.findChild<FlexGrid*>("fgItems")->isEnabled());
}

// The back office's server, except that it cannot validate the user.
class InvalidUserServer : public test::DelegatingAppServer {
  public:
    using DelegatingAppServer::DelegatingAppServer;
    bool ValidateUser() override { return false; }
};

TEST_F(ItemConsole, AUserWithoutTheRightOrNotValidatedIsToldAndTheConsoleStaysDisabled) {
    const auto kchen = db.Open("KCHEN");
    InvalidUserServer invalid(db.Server());
    const std::pair<AppServer*, const char*> users[] = {
        {kchen.get(),
         "Please contact your System Administrator to set up appropriate permissions."},
        {&invalid, "Your user id could not be validated."},
    };
    for (const auto& [server, why] : users) {
        SCOPED_TRACE(why);
        PrompterScript prompter;
        prompter.ExpectMessage(
            std::string("You do not have permission to use Item Maintenance.  ") + why,
            "Security Alert", kInformation);
        Item item;
        item.implements_SetAppServer(server);
        item.implements_Setup();
        EXPECT_FALSE(item.findChild<FlexGrid*>("fgItems")->isEnabled());
        EXPECT_FALSE(item.findChild<QPushButton*>("cmdFind")->isEnabled());
    }
}

TEST_F(ItemConsole, EveryTabSearchesWithAndWithoutCriteria) {
    Console c(db);
    struct Case {
        const char* tab;
        Numbers all;
        Numbers byDescription;  // "adult" / "ski" / "jacket" ...
        const char* description;
    };
    const Case cases[] = {
        {"TICKET", {1, 3, 2}, {1, 3}, "adult"},
        {"SS", {4}, {4}, "lesson"},
        {"PHOTO", {5}, {}, "adult"},
        {"SHIP", {6}, {6}, "press"},
        {"PACKAGE", {1, 2, 3}, {1, 3}, "family"},
        {"RENTAL", {7, 8}, {7}, "package"},
    };
    for (const Case& tab : cases) {
        SCOPED_TRACE(tab.tab);
        c.Search(tab.tab);
        EXPECT_EQ(c.Numbers(), tab.all);
        c.Search(tab.tab, tab.description);
        EXPECT_EQ(c.Numbers(), tab.byDescription);
        c.Find<QPushButton>("cmdNewSearch")->click();
        EXPECT_EQ(c.Grid().Rows(), 1);
    }
    // The stock and "all" tabs want at least one criterion.
    for (const char* tab : {"STOCK", "ALL"}) {
        SCOPED_TRACE(tab);
        c.Tab(tab);
        {
            PrompterScript prompter;
            prompter.ExpectMessage(kNoCriteria, "Search Criteria Required", kInformation);
            c.FindNow();
        }
        EXPECT_EQ(c.Grid().Rows(), 1);
        EXPECT_TRUE(c.Find<QPushButton>("cmdFind")->isEnabled());
        c.Search(tab, "jacket");
        EXPECT_EQ(c.Numbers(), (Numbers{10, 11}));
        c.Find<QPushButton>("cmdNewSearch")->click();
    }
    EXPECT_EQ(c.status.back(), "Ready...");

    // Stock rows show the stock columns with their formats.
    c.Tab("STOCK");
    c.Find<ui::AnyCombo>("cmbLocation")->SetKey("BASE");
    c.FindNow();
    ASSERT_EQ(c.Numbers(), (Numbers{10}));
    EXPECT_EQ(c.Grid().DisplayText(1, 11), "60.0000");
    EXPECT_EQ(c.Grid().TextMatrix(1, 6), "ALPINE");
    EXPECT_EQ(c.Grid().TextMatrix(1, 15), "4");
    EXPECT_EQ(c.item.StockNo(), QString());  // nothing selected
}

// The bulk price change works on the items the search found, and no others.
TEST_F(ItemConsole, TheStockTabSearchesByFunctionOrCatagoryAloneAndBulkPricesTheResults) {
    db.Sql(
        "INSERT INTO vym_catagory (function_id, catagory_id, description) VALUES "
        "('RETAIL', 'HATS', 'Hats')");
    db.Sql("UPDATE vym_item SET catagory_id = 'HATS' WHERE item_no = 12");
    db.Sql(
        "INSERT INTO vym_price (item_no, unit_id, total_price, unit_price) VALUES "
        "(3, 'DAY', 40, 40), (10, 'EA', 20, 20), (11, 'EA', 21, 21), (12, 'EA', 22, 22)");
    Console c(db);
    c.Tab("STOCK");
    PrompterScript prompter;  // no criteria message
    c.Find<ui::AnyCombo>("cmbFunction")->SetKey("RETAIL");
    c.FindNow();
    ASSERT_EQ(c.Numbers(), (Numbers{10, 11, 12}));
    test::ScriptedModalRunner modals;
    modals.Expect("frmBulkPrice", [](QDialog& screen) {
        EXPECT_EQ(screen.findChild<QLabel*>("lblSearchResult")->text(), "3 items");
        screen.findChild<QLineEdit*>("txtChange")->setText("10");
        screen.findChild<QPushButton*>("cmdPreview")->click();
        EXPECT_EQ(test::ColumnTexts(*screen.findChild<FlexGrid*>("fgPreview"), 0),
                  (QStringList{"10", "11", "12"}));
        screen.reject();
    });
    c.Trigger("mnuBulkPriceChange");
    modals.Verify();

    c.Find<ui::AnyCombo>("cmbCatagory")->SetKey("HATS");
    c.FindNow();
    EXPECT_EQ(c.Numbers(), (Numbers{12}));
}

TEST_F(ItemConsole, CriteriaOfTheTabsReachTheSearch) {
    Console c(db);
    c.Tab("TICKET");
    c.Find<QRadioButton>("optInactive")->setChecked(true);
    c.FindNow();
    EXPECT_EQ(c.Numbers(), (Numbers{3}));
    EXPECT_EQ(c.status.back(), "Ready");  // a single match

    c.Find<QPushButton>("cmdNewSearch")->click();
    auto* functions = c.Find<ui::AnyCombo>("cmbFunction");
    functions->SetKey("LIFT");
    auto* catagories = c.Find<ui::AnyCombo>("cmbCatagory");
    EXPECT_EQ(catagories->count(), 3);
    catagories->SetKey("CHILD");
    c.FindNow();
    EXPECT_EQ(c.Numbers(), (Numbers{2}));

    c.Tab("RENTAL");
    c.Find<QRadioButton>("optRentalItems")->setChecked(true);
    c.FindNow();
    EXPECT_EQ(c.Numbers(), (Numbers{8}));

    // On the package tab the number is a package number.
    c.Tab("PACKAGE");
    c.Type("txtItemNo", "2");
    c.FindNow();
    EXPECT_EQ(c.Numbers(), (Numbers{2}));
    EXPECT_EQ(c.Grid().TextMatrix(1, 2), "PACKAGE");

    // A number that is not one is no criterion.
    c.Tab("ALL");
    c.Type("txtItemNo", "1O");
    c.Type("txtDescription", "full day");
    c.FindNow();
    EXPECT_EQ(c.Numbers(), (Numbers{1, 2}));
    EXPECT_EQ(c.status.back(), "Found Items 2");
    EXPECT_TRUE(c.status.contains("Seaching Items..."));
    EXPECT_TRUE(server::LocalAppServer::Open(db.Server().DatabasePath())->Reports().empty());
}

TEST_F(ItemConsole, TwoHundredMatchesAskBeforeLoading) {
    db.AddTickets(199, "BULK");
    Console c(db);
    c.Search("TICKET", "bulk");  // 199: no question
    EXPECT_EQ(c.Grid().Rows(), 200);
    EXPECT_EQ(c.status.back(), "Found Items 199");

    db.AddTickets(1, "BULK");
    const auto findAnswering = [&](MsgResult answer) {
        PrompterScript prompter;
        prompter.ExpectMessage(kOverLimit, "Results Over Limit", kOkCancelDefaultCancel, answer);
        c.FindNow();
    };
    findAnswering(MsgResult::Cancel);
    EXPECT_EQ(c.Grid().Rows(), 200);  // the results of the search before
    EXPECT_EQ(c.status.back(), "Found Items 199");
    findAnswering(MsgResult::OK);
    EXPECT_EQ(c.Grid().Rows(), 201);
}

TEST_F(ItemConsole, ARefusedSearchLeavesTheResultsShown) {
    db.AddTickets(200, "BULK");
    Console c(db);
    struct Case {
        const char* tab;
        const char* description;  // of the search whose results are shown
        Numbers shown;
        const char* refused[3];  // the item numbers and description searched for then
        const char* message;
        const char* title;
    };
    const Case cases[] = {
        {"STOCK", "jacket", {10, 11}, {"", "", ""}, kNoCriteria, "Search Criteria Required"},
        {"STOCK", "jacket", {10, 11}, {"12", "10", "jacket"}, kEndFirst, "InValid End Item Number"},
        {"TICKET", "adult", {1, 3}, {"", "", "bulk"}, kOverLimit, "Results Over Limit"},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.message);
        c.Search(refused.tab, refused.description);
        ASSERT_EQ(c.Numbers(), refused.shown);
        c.Grid().SelectRow(1);

        test::ReplaceText(*c.Find<QLineEdit>("txtItemNo"), refused.refused[0]);
        test::ReplaceText(*c.Find<QLineEdit>("txtItemNoEnd"), refused.refused[1]);
        test::ReplaceText(*c.Find<QLineEdit>("txtDescription"), refused.refused[2]);
        {
            const bool overLimit = refused.message == kOverLimit;
            PrompterScript prompter;
            prompter.ExpectMessage(refused.message, refused.title,
                                   overLimit ? kOkCancelDefaultCancel : kInformation,
                                   overLimit ? MsgResult::Cancel : MsgResult::OK);
            c.FindNow();
        }
        EXPECT_EQ(c.Numbers(), refused.shown);
        EXPECT_EQ(c.Grid().SelectedRows(), QList<int>{1});
        EXPECT_TRUE(c.Find<QPushButton>("cmdFind")->isEnabled());
        c.Find<QPushButton>("cmdNewSearch")->click();
    }
}

// Presses Stop while the tenth row is about to load.
class StopAtRow : public PrompterScript {
  public:
    StopAtRow(QPushButton& stop, int row) : stop_(stop), row_(row) {}
    void ProcessPendingInput() override {
        stopWasEnabled = stop_.isEnabled();
        if (++calls_ == row_) {
            stop_.click();
        }
    }
    bool stopWasEnabled = false;

  private:
    QPushButton& stop_;
    int row_;
    int calls_ = 0;
};

TEST_F(ItemConsole, StopEndsALoadAndKeepsTheRowsLoaded) {
    db.AddTickets(50, "BULK");
    Console c(db);
    c.Tab("TICKET");
    c.Type("txtDescription", "bulk");
    StopAtRow prompter(*c.Find<QPushButton>("cmdStop"), 10);
    c.FindNow();
    EXPECT_TRUE(prompter.stopWasEnabled);
    EXPECT_EQ(c.Grid().Rows(), 10);  // nine rows and the header
    EXPECT_FALSE(c.Find<QPushButton>("cmdStop")->isEnabled());
    EXPECT_TRUE(c.Find<QPushButton>("cmdFind")->isEnabled());
    EXPECT_EQ(c.status.back(), "Found Items 9");
}

TEST_F(ItemConsole, RowsShowTheirSymbolAndInactiveRowsTheirStatus) {
    db.Sql("UPDATE vym_item SET tree_icon = 'T', item_color = 255 WHERE item_no = 2");
    Console c(db);
    c.Search("TICKET");
    ASSERT_EQ(c.Numbers(), (Numbers{1, 3, 2}));
    QCoreApplication::processEvents();          // the grid shows the rows added
    EXPECT_EQ(c.Grid().TextMatrix(1, 3), "y");  // the function's symbol
    EXPECT_EQ(c.Grid().TextMatrix(3, 3), "T");  // the item's own
    const QModelIndex inactive = c.Grid().model()->index(1, 1);
    const QModelIndex active = c.Grid().model()->index(0, 1);
    EXPECT_NE(inactive.data(Qt::ForegroundRole), active.data(Qt::ForegroundRole));
    EXPECT_EQ(c.Grid().model()->index(2, 3).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(255, 0, 0));
}

TEST_F(ItemConsole, SelectionModeHandsBackTheChosenRows) {
    Console c(db);
    c.item.Setup(true, false, ttoTicket);
    auto* tabs = c.Find<ui::KeyTabBar>("tabSearch");
    EXPECT_EQ(c.item.SearchTab(), "TICKET");
    EXPECT_FALSE(tabs->isTabVisible(tabs->TabIndex("STOCK")));
    EXPECT_TRUE(c.Find<QPushButton>("cmdOk")->isVisibleTo(&c.item));
    c.FindNow();
    QSignalSpy ok(&c.item, &Item::OkClick);
    c.Select({1, 3});
    {
        PrompterScript prompter;
        prompter.ExpectMessage("Please only select one item", "MultiSelect Not Supported",
                               kInformation);
        c.Find<QPushButton>("cmdOk")->click();
    }
    EXPECT_EQ(ok.count(), 0);
    EXPECT_TRUE(c.item.UserCanceled());

    c.Grid().SelectRow(1, false);
    c.Find<QPushButton>("cmdOk")->click();
    EXPECT_EQ(ok.count(), 1);
    EXPECT_FALSE(c.item.UserCanceled());
    EXPECT_EQ(c.item.ItemNo(), 2);
    EXPECT_EQ(c.item.ItemType(), "TICKET");
    EXPECT_EQ(c.item.ItemDescription(), "Child Full Day");

    QSignalSpy doubleClick(&c.item, &Item::ItemDoubleClick);
    emit c.Grid().CellDoubleClicked(1, 5);
    EXPECT_EQ(doubleClick.count(), 1);

    c.item.Setup(false);
    c.Tab("PACKAGE");
    c.item.Setup(true, true, ttoAll, {}, false, {}, {}, {}, false, std::nullopt, false, true);
    EXPECT_EQ(c.item.SearchTab(), "ALL");
    EXPECT_EQ(c.Grid().Rows(), 1);  // the last search cleared
    EXPECT_TRUE(tabs->isTabVisible(tabs->TabIndex("STOCK")));
    EXPECT_FALSE(tabs->isTabVisible(tabs->TabIndex("PACKAGE")));
    c.Tab("TICKET");
    c.FindNow();
    c.Select({1, 2});
    c.Find<QPushButton>("cmdOk")->click();
    EXPECT_EQ(c.item.MultiSelect(), (std::vector<std::int32_t>{1, 3}));

    // Stock presets.
    c.item.Setup(true, false, ttoStock, "BASE", false, "ALPINE", "APPAREL", {}, true, std::nullopt,
                 true);
    EXPECT_EQ(c.Find<ui::AnyCombo>("cmbLocation")->Key(), "BASE");
    EXPECT_EQ(c.Find<ui::AnyCombo>("cmbStockType")->Key(), "APPAREL");
    EXPECT_EQ(c.Find<QLineEdit>("txtVendor")->text(), "ALPINE");
    EXPECT_TRUE(c.Find<QCheckBox>("chkBindingType")->isChecked());
    EXPECT_TRUE(c.Find<QCheckBox>("chkSerialized")->isChecked());
    c.item.Setup(true, false, ttoRental, {}, false, {}, {}, {}, false, true);
    EXPECT_TRUE(c.Find<QRadioButton>("optRentalPackages")->isChecked());
}

// The editor each type of row opens, by its window's name.
QString EditorOf(const QString& type) {
    if (type == "STOCK" || type == "RENTAL") {
        return "frmStock";
    }
    return type == "PACKAGE" ? "frmEditPackage" : "frmItem";
}

TEST_F(ItemConsole, PropertiesOpensTheEditorOfTheSelectedRow) {
    Console c(db);
    test::ScriptedModalRunner modals;
    PrompterScript prompter;
    // Every type opens its own editor; a cancelled one changes nothing.
    for (const char* tab : {"TICKET", "SS", "PHOTO", "SHIP", "RENTAL", "STOCK", "PACKAGE"}) {
        c.Search(tab, std::string_view(tab) == "STOCK" ? "jacket" : "");
        ASSERT_GT(c.Grid().Rows(), 1) << tab;
        c.Select({1});
        modals.ExpectReject(EditorOf(c.Grid().TextMatrix(1, 2)));
        c.Trigger("mnuProperties");
    }
    EXPECT_EQ(modals.Shown(), (QStringList{"frmItem", "frmItem", "frmItem", "frmItem", "frmStock",
                                           "frmStock", "frmEditPackage"}));

    // Outside selection mode a double-click is Properties; a saved item's row
    // shows what was saved.
    db.Sql("INSERT INTO vym_department (department_id, description) VALUES ('LIFTS', 'Lifts')");
    db.Sql("UPDATE vym_item SET department_id = 'LIFTS' WHERE item_no = 1");
    c.Search("TICKET");
    ASSERT_EQ(c.Grid().RowData(1).toInt(), 1);
    c.Grid().clearSelection();
    c.Select({1});
    modals.Expect("frmItem", [](QDialog& editor) {
        editor.findChild<QLineEdit*>("txtLongDesc")->setText("Adult Full Day Plus");
        editor.findChild<QPushButton*>("cmdOk")->click();
    });
    prompter.ExpectMessage("Host not available to run lookup at this time.  Please try again later",
                           "", MsgStyle{});
    emit c.Grid().CellDoubleClicked(1, 5);
    modals.Verify();
    EXPECT_EQ(c.Grid().TextMatrix(1, 5), "Adult Full Day Plus");
    EXPECT_EQ(c.Grid().Rows(), 4);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_item WHERE long_description = "
                        "'Adult Full Day Plus'"),
              1);
}

TEST_F(ItemConsole, AddRoutesByTabAndStartsFromTheCriteria) {
    Console c(db);
    test::ScriptedModalRunner modals;

    // Stock opens the stock editor with the vendor searched for.
    c.Tab("STOCK");
    c.Type("txtVendor", "alpine");
    modals.Expect("frmStock", [](QDialog& editor) {
        EXPECT_EQ(editor.findChild<QLabel*>("lblVendorName")->text(), "Alpine Gear");
        editor.reject();
    });
    c.Trigger("mnuAdd");
    c.Tab("PACKAGE");
    modals.ExpectReject("frmEditPackage");
    c.Trigger("mnuAdd");
    modals.Verify();

    // Other tabs ask for the type first, and the item starts from the
    // function searched for; cancelled, nothing is added.
    c.Tab("TICKET");
    c.Find<ui::AnyCombo>("cmbFunction")->SetKey("LIFT");
    modals.Expect("frmItemType",
                  [](QDialog& chooser) { chooser.findChild<QPushButton*>("cmdOk")->click(); });
    modals.Expect("frmItem", [](QDialog& editor) {
        EXPECT_EQ(editor.findChild<ui::DataCombo*>("cmbFunction")->Key(), "LIFT");
        editor.reject();
    });
    c.Trigger("mnuAdd");
    EXPECT_EQ(c.Grid().Rows(), 1);
    modals.ExpectReject("frmItemType");
    c.Trigger("mnuAdd");
    modals.Verify();
}

TEST_F(ItemConsole, AnAddedItemOfAnotherTypeJoinsTheResultsSelected) {
    db.Sql("INSERT INTO vym_department (department_id, description) VALUES ('LIFTS', 'Lifts')");
    Console c(db);
    test::ScriptedModalRunner modals;
    struct Case {
        const char* tab;
        Numbers shown;
        const char* option;  // of the type chooser
        const char* type;
        const char* function;
        const char* description;
    };
    const Case cases[] = {
        {"TICKET", {1, 3, 2}, "optShip", "SHIP", "SHIP", "Overnight Shipping"},
        {"PHOTO", {5}, "optTicket", "TICKET", "LIFT", "Twilight Skiing"},
        {"SS", {4}, "optPhoto", "PHOTO", "PHOTO", "Family Portrait"},
    };
    for (const Case& added : cases) {
        SCOPED_TRACE(added.type);
        c.Search(added.tab);
        ASSERT_EQ(c.Numbers(), added.shown);
        c.Grid().SelectRow(1);
        PrompterScript prompter;  // no refusal
        modals.Expect("frmItemType", [&](QDialog& chooser) {
            chooser.findChild<QRadioButton*>(added.option)->click();
            chooser.findChild<QPushButton*>("cmdOk")->click();
        });
        modals.Expect("frmItem", [&](QDialog& editor) {
            QTest::keyClicks(editor.findChild<QLineEdit*>("txtShortDesc"), "New");
            QTest::keyClicks(editor.findChild<QLineEdit*>("txtLongDesc"), added.description);
            editor.findChild<ui::DataCombo*>("cmbFunction")->SetKey(added.function);
            editor.findChild<ui::DataCombo*>("cmbDepartment")->SetKey("LIFTS");
            editor.findChild<QPushButton*>("cmdOk")->click();
        });
        c.Trigger("mnuAdd");
        modals.Verify();

        const int number =
            db.Scalar("SELECT item_no FROM vym_item WHERE long_description = '" +
                      std::string(added.description) + "' AND item_type = '" + added.type + "'");
        Numbers expected = added.shown;
        expected.push_back(number);
        EXPECT_EQ(c.Numbers(), expected);
        const int row = c.Grid().Rows() - 1;
        EXPECT_EQ(c.Grid().TextMatrix(row, 2), added.type);
        EXPECT_EQ(c.Grid().TextMatrix(row, 4), QString::number(number));
        EXPECT_EQ(c.Grid().TextMatrix(row, 5), added.description);
        EXPECT_EQ(c.Grid().SelectedRows(), QList<int>{row});
        EXPECT_EQ(c.item.ItemNo(), number);
    }
}

// The commands on one row say so when none or several are selected, and
// open nothing; on one row they open their screens.
TEST_F(ItemConsole, RowCommandsCheckTheSelectionAndOpenTheirScreens) {
    Console c(db);
    c.Search("STOCK", "jacket");
    test::ScriptedModalRunner modals;
    PrompterScript prompter;
    const struct {
        const char* command;
        const char* none;  // message and title when no row is selected
        const char* noneTitle;
        const char* several;
        const char* severalTitle;
    } commands[] = {
        {"mnuPricing", "Please select a row before selecting the Pricing feature.", "Select Row",
         "Please select only one row before selecting the Pricing feature.", "Single Row Select"},
        {"mnuHistory", "Please select a row before selecting the History feature",
         "Row Selection Required",
         "Please select only one row before selecting the History feature", "Sinlge Row Selection"},
        {"mnuLocation", "Please select a row before selecting the Location feature.", "Select Row",
         "Please select only one row before selecting the Location feature", "Single Row Select"},
        {"mnuProperties", "Please select a row before selecting the Properties feature",
         "Select Row", "Please select only one row before selecting the Properties feature.",
         "Single Row Select"},
        {"mnuCreateLike",
         "Please select an item row before proceeding with the Create Like feature.",
         "Row Selection Required",
         "Please only select item row before using the Create Like feature.", "Select Single Row"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.command);
        c.Grid().clearSelection();
        prompter.ExpectMessage(command.none, command.noneTitle, kInformation);
        c.Trigger(command.command);
        c.Select({1, 2});
        prompter.ExpectMessage(command.several, command.severalTitle, kInformation);
        c.Trigger(command.command);
        prompter.Verify();
    }

    // A stock row: its history, locations and stock pricing.
    c.Grid().SelectRow(2, false);
    ASSERT_TRUE(c.Find<QAction>("mnuPricing")->isEnabled());
    modals.ExpectReject("frmStockHistory")
        .ExpectReject("frmStockLocation")
        .ExpectReject("frmStockPricing");
    c.Trigger("mnuHistory");
    c.Trigger("mnuLocation");
    c.Trigger("mnuPricing");
    modals.Verify();

    // Labels of the selected stock rows, one row each.
    c.Select({1, 2});
    prompter.ExpectMessage("No stock label format defined for item 10", "", kInformation)
        .ExpectMessage("No stock label format defined for item 11", "", kInformation);
    modals.Expect("frmStockLabels", [](QDialog& labels) {
        const auto& grid = *labels.findChild<ui::FlexGrid*>("dbgStockLabels");
        EXPECT_EQ(grid.Rows(), 3);
        EXPECT_EQ(grid.TextMatrix(1, 4), "Shell Jacket M");
        labels.reject();
    });
    c.Trigger("mnuPrintLabels");
    modals.Verify();
    prompter.Verify();

    // A ticket row: its price list; history and locations are for stock.
    c.Search("TICKET");
    c.Select({1});
    EXPECT_FALSE(c.Find<QAction>("mnuHistory")->isEnabled());
    EXPECT_FALSE(c.Find<QAction>("mnuLocation")->isEnabled());
    ASSERT_TRUE(c.Find<QAction>("mnuPricing")->isEnabled());
    modals.ExpectReject("frmPricing");
    c.Trigger("mnuPricing");
    modals.Verify();

    // The stock summary and the maintenance screens.
    prompter.ExpectMessage("There are no batch scans to display", "Batch Scans", kInformation);
    for (const auto& [command, screen] : {
             std::pair{"mnuStockSummary", "frmStockSummary"},
             {"mnuSupportTables", "frmSupportTables"},
             {"mnuProfile", "frmProfiles"},
             {"mnuSeasons", "frmSeasons"},
             {"mnuSpecialOffers", "frmSpecialOffer"},
             {"mnuEditPricing", "frmEditPrices"},
             {"mnuPackageUpgrade", "frmRentalPackageUpgradePricing"},
         }) {
        modals.ExpectReject(screen);
        c.Trigger(command);
        modals.Verify();
    }
}

TEST_F(ItemConsole, DeleteRemovesTheRowsTheDatabaseLetGo) {
    Console c(db);
    c.Search("TICKET");
    ASSERT_EQ(c.Numbers(), (Numbers{1, 3, 2}));  // 3 is a line of a package
    c.Select({1, 2, 3});
    PrompterScript prompter;
    prompter
        .ExpectMessage("Are you sure you want to delete all the selected items?", "Confirm Delete",
                       kQuestionYesNoDefaultNo, MsgResult::Yes)
        .ExpectMessage("Adult Half Day is a line of the package Family Week and cannot be deleted.",
                       "Error Deleting Item", kInformation);
    c.Trigger("mnuDelete");
    EXPECT_EQ(c.Numbers(), (Numbers{3}));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_item WHERE item_no IN (1, 2, 3)"), 1);

    prompter.ExpectMessage("Are you sure you want to delete Adult Half Day?", "Confirm Delete",
                           kQuestionYesNoDefaultNo, MsgResult::No);
    c.Select({1});
    c.Trigger("mnuDelete");
    EXPECT_EQ(c.Numbers(), (Numbers{3}));

    c.Search("PACKAGE");
    c.Select({1});
    prompter.ExpectMessage("Are you sure you want to delete Family Week?", "Confirm Delete",
                           kQuestionYesNoDefaultNo, MsgResult::Yes);
    c.Trigger("mnuDelete");
    EXPECT_EQ(c.Numbers(), (Numbers{2, 3}));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_package_item"), 0);
}

TEST_F(ItemConsole, CreateLikeAddsTheCopyAsARow) {
    Console c(db);
    c.Search("STOCK", "jacket");
    c.Select({1});
    c.Trigger("mnuCreateLike");
    ASSERT_EQ(c.Grid().Rows(), 4);
    const int copy = c.Grid().RowData(3).toInt();
    EXPECT_GT(copy, 12);
    EXPECT_EQ(c.Grid().TextMatrix(3, 5), "Shell Jacket M");
    EXPECT_EQ(c.Grid().TextMatrix(3, 2), "STOCK");
    EXPECT_EQ(c.item.ItemNo(), copy);
    EXPECT_EQ(
        db.Scalar("SELECT count(*) FROM vym_item_stock WHERE item_no = " + std::to_string(copy)),
        1);
}

TEST_F(ItemConsole, StockMatrixShowsTheItemsItCreatesUnlessDisabled) {
    db.Sql("INSERT INTO vym_department (department_id, description) VALUES ('SHOP', 'Shop')");
    db.Sql(
        "INSERT INTO vym_item_stock_size_type (stock_size_type_id, description) VALUES "
        "('HAT', 'Hat Sizes')");
    db.Sql(
        "INSERT INTO vym_item_stock_size (stock_size_type_id, stock_size, display_order) "
        "VALUES ('HAT', 'S/M', 1), ('HAT', 'L/XL', 2)");
    db.Sql(
        "INSERT INTO vym_item_stock_model (model_id, stock_type_id, description, is_active) "
        "VALUES ('CUFF', 'APPAREL', 'Cuffed Beanie', 1)");
    Console c(db);
    c.item.Setup(true, false, ttoAll, {}, true);
    EXPECT_FALSE(c.Find<QAction>("mnuStockMatrix")->isEnabled());
    c.item.Setup(false);
    ASSERT_TRUE(c.Find<QAction>("mnuStockMatrix")->isEnabled());
    c.Tab("STOCK");

    PrompterScript prompter;
    test::ScriptedModalRunner modals;
    modals.Expect("frmStockMatrix", [&](QDialog& d) {
        d.findChild<ui::DataCombo*>("cmbStockType")->SetKey("APPAREL");
        QTest::keyClicks(d.findChild<QLineEdit*>("txtDescription"), "Beanie");
        modals.Expect("frmVendor", test::PickVendor("ALPINE"));
        d.findChild<QToolButton*>("cmdVendor")->click();
        d.findChild<ui::DataCombo*>("cmbModel")->SetKey("CUFF");
        d.findChild<ui::DataCombo*>("cmbDepartment")->SetKey("SHOP");
        d.findChild<ui::DataCombo*>("cmbSizeType")->SetKey("HAT");
        d.findChild<QPushButton*>("cmdAddRow")->click();
        FlexGrid& matrix = *d.findChild<FlexGrid*>("fgMatrix");
        ASSERT_TRUE(test::TypeIntoCell(matrix, 1, 0, "Navy"));
        ASSERT_TRUE(test::TypeIntoCell(matrix, 1, 1, "6"));
        ASSERT_TRUE(test::TypeIntoCell(matrix, 1, 2, "6"));
        prompter.ExpectMessage(
            "Are you sure you want to generate all the stock for this stock matrix?",
            "Confirm Stock Generation", kQuestionYesNoDefaultNo, MsgResult::Yes);
        d.findChild<QPushButton*>("cmdOk")->click();
    });
    const int rows = c.Grid().Rows();
    c.Trigger("mnuStockMatrix");
    modals.Verify();
    ASSERT_EQ(c.Grid().Rows(), rows + 2);
    EXPECT_EQ(c.Grid().TextMatrix(rows + 1, 5), "Beanie,CUFF,Navy,L/XL");
}

}  // namespace
}  // namespace vym
