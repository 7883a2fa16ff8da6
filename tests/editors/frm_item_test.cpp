#include "editors/frm_item.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "editors/screen_helpers.h"
#include "model/citem.h"
#include "server/local_app_server.h"
#include "support/qt/screen_test.h"
#include "ui/check_list.h"
#include "ui/data_combo.h"
#include "ui/key_tab_bar.h"
#include "ui/key_tree.h"
#include "ui/rich_text_box.h"

namespace vym {
namespace {

using test::ChooseInCell;
using test::FaultInjectingConnection;
using test::PickItem;
using test::TypeIntoCell;
using ui::DataCombo;
using ui::FlexGrid;

constexpr const char* kNoHost =
    "Host not available to run lookup at this time.  Please try again "
    "later";

// What the host system answers to sp_item_validate, and whom it was asked about.
struct HostAnswer {
    std::string code;
    std::string message;
    std::vector<std::int32_t> asked;
};

class ItemWindow : public test::ScreenTest {
  protected:
    // A host system whose sp_item_validate gives `answer_`.
    void ConnectHost() {
        auto catalog = std::make_shared<server::ProcedureCatalog>();
        catalog->Add("sp_item_validate",
                     {server::In("@item_no", DataType::Integer),
                      server::Out("@result_code", DataType::VarChar, 1),
                      server::Out("@result_message", DataType::VarChar, 255)},
                     [answer = &answer_](server::ProcedureContext& call) {
                         answer->asked.push_back(*call.GetLong("@item_no"));
                         call.SetOutput("@result_code", answer->code + " ");
                         call.SetOutput("@result_message", " " + answer->message);
                     });
        server::OpenOptions options;
        options.catalog = catalog;
        host_ = server::LocalAppServer::Open((office_.Dir() / "host.db").string(), options);
        office_.SetHostConnection(host_->DBConnection());
        Rebind();
    }

    // Opens the editor on an item of the demo catalogue (0: a new one of `type`).
    void Open(std::int32_t itemNo, const std::string& type = "TICKET") {
        if (itemNo != 0) {
            ASSERT_TRUE(item_.OpenItem(maint_.DBConnection().get(), maint_.ErrorObject(), itemNo));
        } else {
            item_.SetItemType(type);
            item_.FunctionID = "LIFT";
            item_.CatagoryID = "ADULT";
        }
        window_ = std::make_unique<frmItem>();
        screen_ = window_.get();
        window_->Setup(&maint_, item_);
    }

    DataCombo& Combo(const char* name) { return Find<DataCombo>(name); }
    QCheckBox& Check(const char* name) { return Find<QCheckBox>(name); }
    void Type(const char* name, const QString& text) {
        test::ReplaceText(Find<QLineEdit>(name), text);
    }
    QStringList TabKeys() { return test::TabKeys(Find<ui::KeyTabBar>("tabMain")); }
    QString Shown(std::initializer_list<const char*> names) { return test::Shown(*screen_, names); }
    QString Keys(std::initializer_list<const char*> names) { return test::Keys(*screen_, names); }
    void FillNewTicket() {
        Type("txtShortDesc", "Twilight");
        Type("txtLongDesc", "Twilight Ticket (3-8 pm)");
        Combo("cmbDepartment").SetKey("LIFT");
        Combo("cmbAccessRule").SetKey("1");
    }
    // Types what is no number into a cell of a grid of the Relation page,
    // which refuses it and puts 0 there.
    void TypeNoNumber(FlexGrid& grid, int row, int col, const QString& typed) {
        window_->show();
        Find<ui::KeyTabBar>("tabMain").SetCurrentKey("Relation");
        script_.ExpectMessage("You must enter a valid numerical value.", "Edit Cancelled",
                              kInformation);
        ASSERT_TRUE(TypeIntoCell(grid, row, col, typed));
        script_.Verify();
        EXPECT_EQ(grid.TextMatrix(row, col), "0");
    }
    // Ok while the host cannot be reached to validate the item, answering
    // the changed-by question `refused` if given; whether the item was saved.
    bool OkWithoutHost(const std::string& refused = {}, MsgResult reload = MsgResult::No) {
        script_.ExpectMessage(kNoHost, "", {});
        if (!refused.empty()) {
            ExpectReload(refused, reload);
        }
        Click("cmdOk");
        return window_->Saved();
    }

    std::unique_ptr<server::LocalAppServer> host_;
    HostAnswer answer_;
    CItem item_;
    std::unique_ptr<frmItem> window_;
};

TEST_F(ItemWindow, ShowsATicketWithItsListsRelationsAndGroups) {
    Open(100);
    EXPECT_EQ(window_->windowTitle(), "Item Ticket Properties (100)");
    EXPECT_EQ(TabKeys(), QStringList({"Definition", "Sales", "Accounting", "Relation", "Register",
                                      "Instructions"}));
    EXPECT_EQ(Shown({"lblItemNo", "txtShortDesc", "cmbFormat", "cmbAccessRule", "cmbSaleProfile",
                     "lblRedemption"}),
              "100|Adult Day|Day Ticket|Full Mountain|<NONE>|");
    EXPECT_EQ(Keys({"cmbStatus", "cmbFunction", "cmbCatagory", "cmbDepartment", "cmbTransType"}),
              "ACTIVE|LIFT|ADULT|LIFT|SALE");
    EXPECT_TRUE(Find<ui::RichTextBox>("rtfInstructions").Text().startsWith("Attach the ticket"));

    // The function list offers the item types' own functions; the category
    // list an empty row, the function's categories and the built-in ones.
    for (const char* id : {"STOCK", "RENTAL", "SS", "PHOTO", "LIFT"}) {
        EXPECT_TRUE(Combo("cmbFunction").SetKey(id)) << id;
    }
    DataCombo& catagories = Combo("cmbCatagory");
    QStringList ids;
    for (int row = 0; row < catagories.RowCount(); ++row) {
        ids << catagories.CellAt(row, 1);
    }
    EXPECT_EQ(ids,
              QStringList({"", "ADULT", "CHILD", "SEASON", "SENIOR", "STOCK", "SHIP", "RENTAL"}));

    auto& groups = Find<ui::CheckList>("lstRegisterGroups");
    ASSERT_EQ(groups.count(), 4);
    EXPECT_EQ(groups.CheckedKeys(), QStringList({"TICKETS"}));
    EXPECT_EQ(groups.item(0)->text(), "RENTAL-Rental Counter");

    FlexGrid& extensions = Find<FlexGrid>("fgExtensions");
    ASSERT_EQ(extensions.Rows(), 3);
    EXPECT_EQ(extensions.TextMatrix(2, 0), "106");
    EXPECT_TRUE(extensions.CellChecked(2, 3));
    EXPECT_EQ(extensions.TextMatrix(1, 5), "6");
    FlexGrid& addOns = Find<FlexGrid>("fgAddOns");
    ASSERT_EQ(addOns.Rows(), 2);
    EXPECT_EQ(addOns.DisplayText(1, 3), "8.0000");
    EXPECT_EQ(addOns.DisplayText(1, 4), "[Use Item Rule]");
    EXPECT_EQ(addOns.DisplayText(1, 5), "[Use Item Format]");
}

TEST_F(ItemWindow, ShowsOnlyThePagesOfTheItemsType) {
    Open(200);
    EXPECT_EQ(window_->windowTitle(), "Item Ski School Properties (200)");
    EXPECT_FALSE(TabKeys().contains("Photo") || TabKeys().contains("Ship"));
    auto& tabs = Find<ui::KeyTabBar>("tabMain");
    EXPECT_EQ(tabs.tabText(tabs.TabIndex("SS")), "Ski School");
    EXPECT_EQ(Shown({"cmbResourceType", "cmbFormat", "lblRedemption"}),
              "Ski Instructor|Lesson Voucher|");
    EXPECT_EQ(Keys({"cmbEventType", "cmbLessonCode", "cmbLaborCode"}), "LESSON|L2|GRPLES");
    EXPECT_EQ(Find<QSpinBox>("spnScheduleHours").value(), 2);

    window_.reset();
    Open(302);
    EXPECT_EQ(window_->windowTitle(), "Item Photo Properties (302)");
    EXPECT_TRUE(TabKeys().contains("Photo"));
    EXPECT_FALSE(TabKeys().contains("SS") || TabKeys().contains("Ship"));
    EXPECT_TRUE(Find<QWidget>("fraPrinting").isHidden());
    EXPECT_TRUE(Find<QWidget>("fraAccessRule").isHidden());
    EXPECT_EQ(Combo("cmbPhotoSize").currentText(), "<None>");
    EXPECT_TRUE(Check("chkMailNotAllowed").isChecked());
}

TEST_F(ItemWindow, ANewItemShowsNewAndItsPresets) {
    Open(0, "SHIP");
    EXPECT_EQ(window_->windowTitle(), "Item Ship Properties (NEW)");
    EXPECT_EQ(Shown({"lblItemNo"}), "NEW");
    EXPECT_EQ(Keys({"cmbStatus", "cmbCatagory"}), "ACTIVE|ADULT");
    EXPECT_FALSE(TabKeys().contains("SS") || TabKeys().contains("Photo"));
    EXPECT_TRUE(TabKeys().contains("Ship"));
}

TEST_F(ItemWindow, ValidatesDepartmentThenAccessRuleBeforeAskingTheHost) {
    ConnectHost();
    answer_.code = "E";
    Open(101);
    Combo("cmbDepartment").SetKey("");
    script_.ExpectMessage("The accounting department is required", "Department Required",
                          kInformation);
    EXPECT_FALSE(window_->ValidateData());
    EXPECT_EQ(Find<ui::KeyTabBar>("tabMain").CurrentKey(), "Accounting");

    Combo("cmbDepartment").SetKey("LIFT");
    Combo("cmbAccessRule").SetKey("0");
    script_.ExpectMessage("The Access Rule is required", "Access Rule Required", kInformation);
    EXPECT_FALSE(window_->ValidateData());
    EXPECT_TRUE(answer_.asked.empty());

    // A lesson category that asks for no rule accepts none.
    window_.reset();
    answer_.code.clear();
    Open(201);
    Combo("cmbAccessRule").SetKey("0");
    EXPECT_TRUE(window_->ValidateData());
    EXPECT_EQ(answer_.asked, std::vector<std::int32_t>{201});

    // Nor is a photo item held to its category's rule.
    window_.reset();
    office_.Db().ExecuteSQL(
        "UPDATE vym_catagory SET require_access_rule = 1 WHERE function_id = 'PHOTO'");
    Open(300);
    EXPECT_TRUE(window_->ValidateData());
    EXPECT_EQ(answer_.asked, (std::vector<std::int32_t>{201, 300}));
}

// The host's error refuses the save; its warning asks, and No saves nothing.
TEST_F(ItemWindow, TheHostsErrorRefusesAndItsWarningAsks) {
    ConnectHost();
    Open(102);
    answer_ = {"E", "Item 102 is locked by the host.", {}};
    script_.ExpectMessage("Item 102 is locked by the host.", "Item Validation Error", kInformation);
    EXPECT_FALSE(window_->ValidateData());

    answer_.code = "W";
    answer_.message = "Item 102 has open sales.";
    Type("txtShortDesc", "Senior Day 65+");
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        script_.ExpectMessage(
            "Item 102 has open sales. Do you want to continue and save these changes?",
            "Item Validation Warning", kQuestionYesNoDefaultNo, answer);
        Click("cmdOk");
        EXPECT_EQ(window_->Saved(), answer == MsgResult::Yes);
        EXPECT_EQ(window_->result(),
                  answer == MsgResult::Yes ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(Scalar("SELECT short_description FROM vym_item WHERE item_no = 102"),
                  answer == MsgResult::Yes ? "Senior Day 65+" : "Senior Day");
    }
    EXPECT_EQ(answer_.asked, (std::vector<std::int32_t>{102, 102, 102}));
}

TEST_F(ItemWindow, SavesANewTicketWithItsGroupsAndInstructionsWithoutAskingTheHost) {
    ConnectHost();
    Open(0);
    FillNewTicket();
    Combo("cmbFormat").SetKey("1");
    Check("chkUseNegativeFormat").setChecked(true);
    EXPECT_TRUE(Check("chkSerialized").isChecked());
    Combo("cmbSaleProfile").SetKey("AGE");
    Find<ui::CheckList>("lstRegisterGroups").SetChecked(3, true);  // TICKETS
    Find<ui::RichTextBox>("rtfInstructions").SetText("Valid from 3 pm.");
    Type("txtReturnCharge", "0.25");

    modals_.Expect("frmSymbol", [](QDialog& symbols) {
        symbols.findChild<FlexGrid*>("fgSymbols")->SetCurrentCell(1, 0);  // code 33
        symbols.findChild<QPushButton*>("cmdOk")->click();
    });
    Click("cmdSymbol");
    EXPECT_FALSE(Find<QLabel>("lblSymbol").text().isEmpty());

    Click("cmdOk");
    ASSERT_TRUE(window_->Saved());
    EXPECT_TRUE(answer_.asked.empty());
    ASSERT_GT(item_.ItemNo, 107);
    const std::string where = " WHERE item_no = " + std::to_string(item_.ItemNo);
    EXPECT_EQ(Scalar("SELECT short_description || '|' || department_id || '|' || tree_icon || '|' "
                     "|| sale_profile_id || '|' || return_charge_rate || '|' || format_no FROM "
                     "vym_item" +
                     where),
              "Twilight|LIFT|!|AGE|0.25|1");
    EXPECT_EQ(Scalar("SELECT access_rule_no || (use_negative_format <> 0) || (serialized <> 0) "
                     "FROM vym_item_ticket" +
                     where),
              "111");
    EXPECT_EQ(Scalar("SELECT group_concat(register_group_id) FROM vym_register_group_item" + where),
              "TICKETS");
    EXPECT_EQ(Scalar("SELECT n.instruction_body FROM vym_item i JOIN vym_item_instruction n ON "
                     "n.instruction_no = i.instruction_no WHERE i.item_no = " +
                     std::to_string(item_.ItemNo)),
              "Valid from 3 pm.");
}

TEST_F(ItemWindow, AFailedSaveLeavesTheDatabaseAndTheNumbersAsTheyWere) {
    FaultInjectingConnection& faulty = Faults();
    Open(0);
    FillNewTicket();
    Find<ui::CheckList>("lstRegisterGroups").SetChecked(3, true);
    Find<ui::RichTextBox>("rtfInstructions").SetText("Valid from 3 pm.");
    const std::string items = Scalar("SELECT count(*) FROM vym_item");
    const std::string instructions = Scalar("SELECT count(*) FROM vym_item_instruction");

    faulty.FailOnCall(2, FaultInjectingConnection::Fault::ExecuteFailed);  // the groups
    errorsExpected_ = true;
    EXPECT_FALSE(window_->SaveData());
    EXPECT_EQ(item_.ItemNo, 0);
    EXPECT_EQ(item_.InstructionNo, 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item"), items);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item_instruction"), instructions);
    EXPECT_FALSE(office_.Local().Reports().empty());

    // The retry saves one new item, not an update of the rolled-back one.
    EXPECT_TRUE(window_->SaveData());
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_item"), std::to_string(std::stoi(items) + 1));
    EXPECT_EQ(Scalar("SELECT group_concat(register_group_id) FROM vym_register_group_item WHERE "
                     "item_no = " +
                     std::to_string(item_.ItemNo)),
              "TICKETS");
}

TEST_F(ItemWindow, ARefusedItemSaveSavesNoneOfItsLists) {
    Open(101);
    Find<ui::CheckList>("lstRegisterGroups").SetAllChecked(false);
    Type("txtShortDesc", "");
    script_.ExpectMessage("Short description is required.", "Update Item TICKET Message",
                          kInformation);
    EXPECT_FALSE(window_->SaveData());
    EXPECT_EQ(Scalar("SELECT group_concat(register_group_id) FROM vym_register_group_item WHERE "
                     "item_no = 101"),
              "TICKETS");
}

TEST_F(ItemWindow, AddOnsMustBeUnserializedTicketsOrLessonsListedOnce) {
    Open(100);
    modals_.Expect("frmItemLookup", PickItem(102));
    script_.ExpectMessage("The item you want to add Add-Ons to must be serialzied.",
                          "Cancelled Add-On Add", kInformation);
    Click("cmdAddAddOn");
    FlexGrid& addOns = Find<FlexGrid>("fgAddOns");
    EXPECT_EQ(addOns.Rows(), 2);

    Check("chkSerialized").setChecked(true);
    const struct {
        int item;
        const char* message;
        const char* title;
    } refusals[] = {
        {104, "Sorry but you can not add a serialzied item as an add on", "Invalid Item"},
        {105, "Item is already associated as an add-on", "Invalid Add-On"},
        {500, "Sorry but only Ticket or Ski School item types can be used as add-on items",
         "Invalid Item"},
    };
    for (const auto& refusal : refusals) {
        modals_.Expect("frmItemLookup", PickItem(refusal.item));
        script_.ExpectMessage(refusal.message, refusal.title, kInformation);
        Click("cmdAddAddOn");
    }
    EXPECT_EQ(addOns.Rows(), 2);
    modals_.Expect("frmItemLookup", PickItem(200));
    Click("cmdAddAddOn");
    ASSERT_EQ(addOns.Rows(), 3);
    EXPECT_EQ(test::CellTexts(addOns, 2, {0, 1}), "*|200");

    // The old add-on goes after its confirmation; the new one gets a price.
    addOns.SetCurrentCell(1, 1);
    for (const MsgResult answer : {MsgResult::Cancel, MsgResult::Yes}) {
        script_.ExpectMessage(
            "Are you sure you want to remove Lift Ticket Insurance from the add on list?", "",
            {MsgButtons::YesNoCancel, MsgIcon::Question, 2}, answer);
        Click("cmdDeleteAddOn");
        EXPECT_EQ(addOns.IsRowHidden(1), answer == MsgResult::Yes);
    }
    TypeNoNumber(addOns, 2, 3, "12,5x");
    ASSERT_TRUE(TypeIntoCell(addOns, 2, 3, "12.5"));
    ASSERT_TRUE(ChooseInCell(addOns, 2, 4, "Beginner Area Only"));
    EXPECT_FALSE(TypeIntoCell(addOns, 2, 2, "Renamed")) << "the description is not edited";

    ASSERT_TRUE(OkWithoutHost());
    EXPECT_EQ(Scalar("SELECT group_concat(child_item_no || ':' || price || ':' || access_rule_no) "
                     "FROM vym_item_add_on WHERE parent_item_no = 100"),
              "200:12.5:2");
}

TEST_F(ItemWindow, ExtensionsAreAddedDeletedAndTheirMaximaChecked) {
    Open(101);
    FlexGrid& extensions = Find<FlexGrid>("fgExtensions");
    ASSERT_EQ(extensions.Rows(), 2);  // 103

    modals_.Expect("frmItemLookup", PickItem(106));
    Click("cmdAddExtension");
    ASSERT_EQ(extensions.Rows(), 3);
    EXPECT_EQ(extensions.TextMatrix(2, 1), "Night Skiing Upgrade");
    EXPECT_FALSE(extensions.CellChecked(2, 2));

    // The same item again is refused with its reason.
    modals_.Expect("frmItemLookup", PickItem(106));
    script_.ExpectMessage("Item is already associated as an extension", "Invalid Extension",
                          kInformation);
    Click("cmdAddExtension");
    script_.Verify();
    EXPECT_EQ(extensions.Rows(), 3);

    TypeNoNumber(extensions, 2, 4, "two");
    ASSERT_TRUE(TypeIntoCell(extensions, 2, 4, "2"));
    EXPECT_EQ(extensions.TextMatrix(2, 4), "2");
    EXPECT_FALSE(TypeIntoCell(extensions, 2, 1, "Renamed")) << "the description is not edited";

    extensions.clearSelection();
    extensions.SelectRow(1);
    Click("cmdDeleteExtension");
    EXPECT_TRUE(extensions.IsRowHidden(1));

    ASSERT_TRUE(OkWithoutHost());
    EXPECT_EQ(Scalar("SELECT group_concat(child_item_no || ':' || max_qty_per_season) FROM "
                     "vym_extension WHERE parent_item_no = 101"),
              "106:2");
}

TEST_F(ItemWindow, RedemptionSerializedAndNegativeFormatFollowTheUser) {
    Open(107);
    EXPECT_EQ(Shown({"lblRedemption"}), "Adult Day Ticket (100)");
    modals_.Expect("frmItemLookup", PickItem(107));  // itself: no change
    Click("cmdPickRedemption");
    EXPECT_EQ(Shown({"lblRedemption"}), "Adult Day Ticket (100)");
    modals_.Expect("frmItemLookup", PickItem(101));
    Click("cmdPickRedemption");
    EXPECT_EQ(Shown({"lblRedemption"}), "Child Day Ticket (6-12) (101)");
    Click("cmdClearRedemption");
    EXPECT_EQ(Shown({"lblRedemption"}), "");

    Check("chkUseNegativeFormat").setChecked(true);
    EXPECT_TRUE(Check("chkSerialized").isChecked());
    Check("chkSerialized").setChecked(false);
    EXPECT_FALSE(Check("chkUseNegativeFormat").isChecked());
    Combo("cmbAccessRule").SetKey("3");
    ASSERT_TRUE(OkWithoutHost());
    EXPECT_EQ(Scalar("SELECT IFNULL(redeem_item, 'none') FROM vym_item WHERE item_no = 107"),
              "none");
}

// The manager opens on the product formats only; a format added there is
// offered when it closes, and the item keeps its own.
TEST_F(ItemWindow, TheFormatsButtonManagesProductFormatsAndRefillsTheList) {
    Open(100);
    ASSERT_EQ(Combo("cmbFormat").Key(), "1");
    modals_.Expect("frmTemplates", [](QDialog& manager) {
        auto& tree = *manager.findChild<ui::KeyTree*>("tvwTemplates");
        ASSERT_EQ(tree.topLevelItemCount(), 1);
        EXPECT_EQ(tree.topLevelItem(0)->text(0), "Products");
        const QPoint at = tree.visualItemRect(tree.Node("ITEM")).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(tree.viewport(), &event);
        manager.findChild<QAction*>("mnuAddFormat")->trigger();
        auto* name = tree.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(name, nullptr);
        name->selectAll();
        QTest::keyClicks(name, "Night Ticket");
        QTest::keyClick(name, Qt::Key_Return);
        QCoreApplication::processEvents();
        manager.findChild<QPushButton*>("cmdOk")->click();
    });
    Click("cmdFormats");
    EXPECT_EQ(Combo("cmbFormat").Key(), "1");
    EXPECT_GE(Combo("cmbFormat").findText("Night Ticket"), 0);
}

TEST_F(ItemWindow, AFunctionIdWithAQuoteListsItsCategories) {
    office_.Sql("INSERT INTO vym_function (function_id, description) VALUES ('O''NE', 'One')");
    office_.Sql(
        "INSERT INTO vym_catagory (function_id, catagory_id, description) VALUES ('O''NE', "
        "'FIRST', 'First')");
    Open(100);
    Combo("cmbFunction").SetKey("O'NE");
    EXPECT_EQ(Combo("cmbCatagory").Key(), "");
    EXPECT_TRUE(Combo("cmbCatagory").SetKey("FIRST"));
}

// Another station saves the item while it is open here: the save is refused
// with who and when, the typing stays, and Reload shows the other save, after
// which the user's save goes through.
TEST_F(ItemWindow, ASaveAfterAnotherStationsSaveKeepsTheTypingUntilTheUserReloads) {
    Open(100);
    auto station = office_.OpenAgain("JSMITH");
    CItem theirs;
    ASSERT_TRUE(theirs.OpenItem(station->DBConnection().get(), &station->ErrorObject(), 100));
    theirs.ShortDescription = "Adult Day Pass";
    ASSERT_TRUE(theirs.Update(station->DBConnection().get(), &station->ErrorObject()));
    const std::string refused = office_.ChangedBy("JSMITH", "item", "vym_item WHERE item_no = 100");
    const auto saved = [&] {
        return Scalar("SELECT short_description FROM vym_item WHERE item_no = 100");
    };

    Type("txtShortDesc", "Adult Full Day");
    EXPECT_FALSE(OkWithoutHost(refused, MsgResult::No));
    EXPECT_EQ(Shown({"txtShortDesc"}), "Adult Full Day");
    EXPECT_EQ(saved(), "Adult Day Pass");

    EXPECT_FALSE(OkWithoutHost(refused, MsgResult::Yes));
    EXPECT_EQ(Shown({"txtShortDesc"}), "Adult Day Pass");
    EXPECT_EQ(Find<ui::CheckList>("lstRegisterGroups").count(), 4);
    EXPECT_EQ(Find<FlexGrid>("fgExtensions").Rows(), 3);

    Type("txtShortDesc", "Adult Full Day");
    EXPECT_TRUE(OkWithoutHost());
    EXPECT_EQ(saved(), "Adult Full Day");
}

}  // namespace
}  // namespace vym
