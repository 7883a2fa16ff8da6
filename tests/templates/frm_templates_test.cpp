// The template manager on the demo back office with the rows of
// AddTemplateTestRows, format 90 "zz Tag" holding one text template (TP, P1,
// no level). Demo format 3 labels stock items,
// format 1 prints on products, 2 is a club card.
#include "templates/frm_templates.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <fstream>

#include "base/prompter.h"
#include "model/ctemplate.h"
#include "model/work_file.h"
#include "preview/label_template.h"
#include "preview/template_preview.h"
#include "support/qt/screen_test.h"
#include "support/server/template_rows.h"
#include "ui/data_combo.h"
#include "ui/key_tree.h"

namespace vym {
namespace {

constexpr MsgStyle kYesNoCancel{MsgButtons::YesNoCancel, MsgIcon::Question, 1};
const QString kTag = "STOCK\\90\\TP\\P1\\None\\Template";

class Templates : public test::ScreenOf<frmTemplates> {
  protected:
    void SetUp() override {
        test::AddTemplateTestRows(office_);
        CTemplate tag;
        tag.SetFormatNo(90);
        tag.SetPrinterTypeID("TP");
        tag.SetPageSizeID("P1");
        tag.SetDescription("Tag text");
        tag.SetContent("Item {{Stock.Item_No}}");
        ASSERT_TRUE(tag.UpdateTemplate(&office_.Db(), nullptr));
    }
    void Open(const QString& type = {}) {
        ASSERT_TRUE(window_.Setup(&maint_, type));
        window_.show();
        Tree().expandAll();
    }
    ui::KeyTree& Tree() { return *window_.findChild<ui::KeyTree*>("tvwTemplates"); }
    QPlainTextEdit& Text() { return *window_.findChild<QPlainTextEdit*>("txtTemplate"); }
    QPoint At(const QString& key) {
        QTreeWidgetItem* node = Tree().Node(key);
        EXPECT_NE(node, nullptr) << key.toStdString();
        Tree().scrollToItem(node);
        return Tree().visualItemRect(node).center();
    }
    void Click(const QString& key) {
        QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, At(key));
    }
    // Right-clicks the node and picks the command, which must be offered.
    void Menu(const QString& key, const char* command) {
        const QPoint at = At(key);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Tree().viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(Tree().viewport(), &event);
        auto* action = window_.findChild<QAction*>(command);
        ASSERT_TRUE(action->isVisible()) << command << " on " << key.toStdString();
        action->trigger();
        window_.findChild<QMenu*>("mnuNode")->hide();
    }
    void Press(const char* button) { window_.findChild<QPushButton*>(button)->click(); }
    std::string Stored(const char* page, const char* level) {
        CTemplate t;
        return t.OpenTemplate(&office_.Db(), nullptr, 90, "TP", page, level)
                   ? t.Description() + "|" + t.TemplateType() + "|" + t.Content()
                   : "<none>";
    }
    std::int32_t Count(const std::string& sql) { return office_.Scalar(sql); }
};

TEST_F(Templates, NewTemplateIsCheckedInOrderThenStoredWhereTheTreeShowsIt) {
    Open("STOCK");
    modals_.Expect("frmNewTemplate", [this](QDialog& d) {
        auto choose = [&d](const char* list, const QString& key) {
            ASSERT_TRUE(d.findChild<ui::DataCombo*>(list)->SetKey(key)) << list;
        };
        auto refused = [this, &d](const char* message, const char* title) {
            script_.ExpectMessage(message, title, kInformation);
            d.findChild<QPushButton*>("cmdOk")->click();
            EXPECT_TRUE(d.isVisible()) << title;
        };
        refused("You must select a printer and page size.", "Printer and Page Size Required");
        choose("cmbPrinterPage", "TP:P1");
        refused("You must select a template type.", "Template Type Required");
        choose("cmbTemplateType", "CUSTOM");
        QTest::keyClicks(d.findChild<QLineEdit*>("txtDescription"), "   ");
        refused("You must enter a template description.", "Description Required");
        QTest::keyClicks(d.findChild<QLineEdit*>("txtDescription"), "Gold tag");
        refused("You must enter a customer level or select NONE.", "Customer Level Required");
        choose("cmbCustomerLevel", "None");  // format 90 has that one
        refused(
            "The combination of format, printer, page, and customer level already exists.  "
            "There can be only one.\r\nPlease select a different combination or cancel.",
            "Unique Key Required");
        choose("cmbCustomerLevel", "TGOLD");
        d.findChild<QPushButton*>("cmdOk")->click();
    });
    Menu("STOCK\\90\\TP\\P1", "mnuAddTemplate");
    ASSERT_TRUE(modals_.AllMet());
    EXPECT_EQ(Stored("P1", "TGOLD"), "<none>");  // stored on the first save only

    QTest::keyClicks(&Text(), "No ");
    auto* fields = window_.findChild<QComboBox*>("cmbField");
    fields->setCurrentText("Stock.Item_No");
    Press("cmdInsert");
    QTest::keyClicks(&Text(), " $20");
    Press("cmdApply");
    EXPECT_EQ(Stored("P1", "TGOLD"), "   Gold tag|CUSTOM|No {{Stock.Item_No}} $20");
    const QString gold = "STOCK\\90\\TP\\P1\\TGOLD\\Template";
    ASSERT_NE(Tree().Node(gold), nullptr);
    EXPECT_EQ(Tree().Node(gold)->text(0), "   Gold tag");
    EXPECT_EQ(Tree().SelectedKey(), gold);
    EXPECT_FALSE(window_.findChild<QPushButton*>("cmdApply")->isEnabled());
}

TEST_F(Templates, SwitchingNodesAsksToSaveAndCancelStaysWithTheTypedText) {
    Open();
    Click(kTag);
    EXPECT_EQ(Text().toPlainText(), "Item {{Stock.Item_No}}");
    Text().moveCursor(QTextCursor::End);
    QTest::keyClicks(&Text(), " 1,250");
    const char* question = "The Changes you have made have not been saved.  Save them now?";

    script_.ExpectMessage(question, "Save Changes", kYesNoCancel, MsgResult::Cancel);
    Click("STOCK\\91");
    EXPECT_EQ(Tree().SelectedKey(), kTag);
    EXPECT_EQ(Text().toPlainText(), "Item {{Stock.Item_No}} 1,250");

    script_.ExpectMessage(question, "Save Changes", kYesNoCancel, MsgResult::No);
    Click("STOCK\\91");
    EXPECT_EQ(Tree().SelectedKey(), "STOCK\\91");
    EXPECT_EQ(Stored("P1", "None"), "Tag text|CUSTOM|Item {{Stock.Item_No}}");

    Click(kTag);
    auto* description = window_.findChild<QLineEdit*>("txtDescription");
    description->selectAll();
    QTest::keyClicks(description, "Price tag");
    script_.ExpectMessage(question, "Save Changes", kYesNoCancel, MsgResult::Yes);
    Click("STOCK\\91");
    EXPECT_EQ(Stored("P1", "None"), "Price tag|CUSTOM|Item {{Stock.Item_No}}");
    EXPECT_EQ(Tree().Node(kTag)->text(0), "Price tag");
}

TEST_F(Templates, DeletingAFormatChecksItsUseByTypeAndTakesItsTemplatesAlong) {
    office_.Sql("UPDATE vym_item SET format_no = 2 WHERE item_no = 100");  // a club format
    Open();
    struct Case {
        QString key;
        const char* message;  // "" when it may go
        const char* title;
    };
    const Case cases[] = {
        {"STOCK\\3",
         "This Format is used by at least one stock item and can not be deleted at this time",
         "Delete Aborted"},
        {"ITEM\\1",
         "This Format is used by at least one product item and can not be deleted at this time",
         "Delete Aborted"},
        {"CLUB\\2", "Are you sure you want to delete Season Pass Card and all it's Templates?",
         "Confirm Format Delete"},
    };
    for (const Case& c : cases) {
        const bool asks = c.key == "CLUB\\2";
        script_.ExpectMessage(c.message, c.title, asks ? kQuestionYesNoDefaultNo : kInformation,
                              asks ? MsgResult::Yes : MsgResult::OK);
        Menu(c.key, "mnuDelete");
        EXPECT_EQ(Tree().Node(c.key) == nullptr, c.key == "CLUB\\2") << c.key.toStdString();
    }
    EXPECT_EQ(Count("SELECT count(*) FROM vym_print_format WHERE format_no IN (1, 2, 3)"), 2);

    // The second delete fails: the templates are kept with their format.
    errorsExpected_ = true;
    script_.ExpectMessage("Are you sure you want to delete zz Tag and all it's Templates?",
                          "Confirm Format Delete", kQuestionYesNoDefaultNo, MsgResult::Yes);
    test::FaultInjectingConnection& faults = Faults();
    Open();  // now on the injector
    faults.FailOnCall(3, test::FaultInjectingConnection::Fault::Locked);
    Menu("STOCK\\90", "mnuDelete");
    EXPECT_NE(Tree().Node("STOCK\\90"), nullptr);
    EXPECT_EQ(Count("SELECT count(*) FROM vym_print_format_template WHERE format_no = 90"), 1);

    script_.ExpectMessage("Are you sure you want to delete zz Tag and all it's Templates?",
                          "Confirm Format Delete", kQuestionYesNoDefaultNo, MsgResult::Yes);
    Menu("STOCK\\90", "mnuDelete");
    EXPECT_EQ(Tree().Node("STOCK\\90"), nullptr);
    EXPECT_EQ(Count("SELECT count(*) FROM vym_print_format_template WHERE format_no = 90"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM vym_print_format WHERE format_no = 90"), 0);
}

TEST_F(Templates, TemplateDeleteAndFormatAddAndRename) {
    Open("STOCK");
    script_.ExpectMessage("Are you sure you want to delete Tag text?", "Confirm Template Delete",
                          kQuestionYesNoDefaultNo, MsgResult::No);
    Menu(kTag, "mnuDelete");
    EXPECT_EQ(Stored("P1", "None"), "Tag text|CUSTOM|Item {{Stock.Item_No}}");
    script_.ExpectMessage("Are you sure you want to delete Tag text?", "Confirm Template Delete",
                          kQuestionYesNoDefaultNo, MsgResult::Yes);
    Menu(kTag, "mnuDelete");
    EXPECT_EQ(Stored("P1", "None"), "<none>");
    EXPECT_EQ(Tree().Node("STOCK\\90\\TP"), nullptr);  // nothing left below the format
    ASSERT_NE(Tree().Node("STOCK\\90"), nullptr);

    // A new format is named in place; the demo's numbers are passed over.
    Menu("STOCK", "mnuAddFormat");
    auto* editor = Tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "O'Neil's bin");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits the edit queued
    const std::int32_t added = Count(
        "SELECT format_no FROM vym_print_format WHERE description = 'O''Neil''s bin' "
        "AND print_format_type = 'STOCK'");
    EXPECT_EQ(added, 8);  // the demo numbered its formats 1 to 7
    const QString key = "STOCK\\" + QString::number(added);

    script_.ExpectInput("Format Description", std::nullopt);
    Menu(key, "mnuEdit");
    script_.ExpectInput("Format Description", "Bins");
    Menu(key, "mnuEdit");
    EXPECT_EQ(Tree().Node(key)->text(0), "Bins");
    EXPECT_EQ(Count("SELECT count(*) FROM vym_print_format WHERE description = 'Bins'"), 1);
}

TEST_F(Templates, TextTemplatesImportAndExportAsPlainText) {
    Open("STOCK");
    Click(kTag);
    const WorkFile source("Lift \xe2\x80\x94 {{Stock.Description}}\n{{Stock.Unit_Price}}");
    script_.ExpectOpenFile(std::nullopt);  // cancelled: nothing changes
    Press("cmdImport");
    EXPECT_EQ(Text().toPlainText(), "Item {{Stock.Item_No}}");
    script_.ExpectOpenFile(source.Path().string());
    Press("cmdImport");
    Press("cmdApply");
    const std::string stored = Stored("P1", "None");
    EXPECT_EQ(stored, "Tag text|CUSTOM|" + ReadWholeFile(source.Path()));

    const std::filesystem::path exported = office_.Dir() / "tag.txt";
    script_.ExpectSaveFile(exported.string());
    Press("cmdExport");
    EXPECT_EQ(ReadWholeFile(exported), ReadWholeFile(source.Path()));
    const auto& shown = script_.Transcript();
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "open-file dialog \"Import Template File\" "
                        "Text (*.txt)|*.txt|Templates (*.tpl)|*.tpl|All (*.*)|*.*"),
              shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "save-file dialog \"Export Template To File\" "
                        "Text (*.txt)|*.txt|Templates (*.tpl)|*.tpl"),
              shown.end());
}

// The demo's roll shelf label: shown in the preview, opened in the designer
// with the stock fields, and replaced only by a file that is a template.
TEST_F(Templates, GraphicalTemplatesArePreviewedAndTheirFilesKeptByteForByte) {
    const QString roll = "STOCK\\4\\THERMAL\\2.25X1.25\\None\\Template";
    Open("STOCK");
    Click(roll);
    auto* shown = window_.findChild<preview::TemplatePreview*>("ctlPreview");
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->Problem(), "");

    modals_.Expect("frmDesigner", [](QDialog& d) {
        EXPECT_EQ(d.findChild<QListWidget*>("lstFields")->count(), 42);
        d.findChild<QPushButton*>("cmdOK")->click();
    });
    Press("cmdEdit");
    EXPECT_FALSE(window_.findChild<QPushButton*>("cmdApply")->isEnabled());  // nothing changed

    const WorkFile hostile("<!DOCTYPE t [<!ENTITY a \"aaaa\">]><label-template/>");
    script_.ExpectOpenFile(hostile.Path().string());
    script_.ExpectMessage("Template files may not declare a document type.", "Invalid Template",
                          kExclamation);
    Press("cmdImport");
    EXPECT_FALSE(window_.findChild<QPushButton*>("cmdApply")->isEnabled());

    const QByteArray blank = preview::SaveTemplate(preview::NewTemplate());
    const WorkFile label(std::string_view(blank.constData(), blank.size()));
    script_.ExpectOpenFile(label.Path().string());
    Press("cmdImport");
    Press("cmdApply");
    CTemplate stored;
    ASSERT_TRUE(stored.OpenTemplate(&office_.Db(), nullptr, 4, "THERMAL", "2.25X1.25", "None"));
    EXPECT_EQ(stored.Content(), ReadWholeFile(label.Path()));

    const std::filesystem::path exported = office_.Dir() / "roll.tpl";
    script_.ExpectSaveFile(exported.string());
    Press("cmdExport");
    EXPECT_EQ(ReadWholeFile(exported), ReadWholeFile(label.Path()));
    EXPECT_EQ(script_.Transcript().back(),
              "save-file dialog \"Export Template To File\" Templates (*.tpl)|*.tpl");
}

}  // namespace
}  // namespace vym
