#include "templates/frm_templates.h"

#include <QAction>
#include <QMenu>
#include <QSaveFile>
#include <QStyle>
#include <utility>

#include "base/error.h"
#include "base/print_format_fields.h"
#include "base/prompter.h"
#include "gateway/app_server.h"
#include "gateway/procedure_call.h"
#include "gateway/transaction.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "model/ctemplate.h"
#include "model/work_file.h"
#include "preview/designer.h"
#include "preview/label_template.h"
#include "preview/template_preview.h"
#include "templates/frm_new_template.h"
#include "templates/template_lists.h"
#include "templates/template_rules.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_templates.h"

namespace vym {

using ui::FieldText;
using ui::Q;
using ui::S;

namespace {

// Levels of the tree, each node's tag and image.
const QString kType = "Type";
const QString kFormat = "Format";
const QString kPrinter = "Printer";
const QString kPage = "Page";
const QString kLevel = "Level";
const QString kTemplate = "Template";

const QString kSeparator = "\\";

constexpr const char* kCustomImportFilter =
    "Text (*.txt)|*.txt|Templates (*.tpl)|*.tpl|All (*.*)|*.*";
constexpr const char* kGraphicalImportFilter =
    "Templates (*.tpl)|*.tpl|Text (*.txt)|*.txt|All (*.*)|*.*";
constexpr const char* kCustomExportFilter = "Text (*.txt)|*.txt|Templates (*.tpl)|*.tpl";
constexpr const char* kGraphicalExportFilter = "Templates (*.tpl)|*.tpl";

QString Child(const QString& parentKey, const QString& id) {
    return parentKey + kSeparator + id;
}

// A node key's ids: type, format number, printer, page, level, template.
QStringList Parts(const QString& key) {
    return key.split(kSeparator);
}

QByteArray ContentBytes(const std::string& content) {
    return QByteArray(content.data(), static_cast<qsizetype>(content.size()));
}

std::int32_t FormatNoOf(const QString& key) {
    return Parts(key).value(1).toInt();
}

}  // namespace

frmTemplates::frmTemplates(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmTemplates>()) {
    ui_->setupUi(this);
    ui::KeyTree& tree = *ui_->tvwTemplates;
    const QStyle& look = *style();
    tree.SetImage(kType, look.standardIcon(QStyle::SP_DirIcon));
    tree.SetImage(kFormat, look.standardIcon(QStyle::SP_FileDialogListView));
    tree.SetImage(kPrinter, look.standardIcon(QStyle::SP_ComputerIcon));
    tree.SetImage(kPage, look.standardIcon(QStyle::SP_FileIcon));
    tree.SetImage(kLevel, look.standardIcon(QStyle::SP_DirHomeIcon));
    tree.SetImage(kTemplate, look.standardIcon(QStyle::SP_FileDialogDetailedView));
    preview_ = new preview::TemplatePreview(ui_->fraPreview);
    preview_->setObjectName("ctlPreview");
    ui_->layoutPreview->addWidget(preview_);
    BuildNodeMenu();
    connect(&tree, &ui::KeyTree::NodeSelected, this, &frmTemplates::tvwTemplates_NodeSelected);
    connect(&tree, &QWidget::customContextMenuRequested, this, &frmTemplates::ShowNodeMenu);
    connect(&tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node) {
        const QString key = ui_->tvwTemplates->KeyOf(node);
        if (!loading_ && Level(key) == kFormat && !RenameFormat(key, node->text(0).trimmed())) {
            const QSignalBlocker quiet(ui_->tvwTemplates);
            node->setText(0, formatDescriptions_.value(key));
        }
    });
    connect(ui_->txtDescription, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (template_) {
            template_->SetDescription(S(text));
        }
    });
    connect(ui_->txtTemplate, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_ && template_) {
            textChanged_ = true;
            UpdateCommands();
        }
    });
    connect(ui_->cmdInsert, &QPushButton::clicked, this, &frmTemplates::InsertField);
    connect(ui_->cmdEdit, &QPushButton::clicked, this, [this] {
        if (Level(currentKey_) == kFormat) {
            EditFormat(currentKey_);
        } else {
            EditTemplate();
        }
    });
    connect(ui_->cmdImport, &QPushButton::clicked, this, &frmTemplates::ImportTemplate);
    connect(ui_->cmdExport, &QPushButton::clicked, this, &frmTemplates::ExportTemplate);
    connect(ui_->cmdApply, &QPushButton::clicked, this, &frmTemplates::SaveData);
    connect(ui_->cmdOk, &QPushButton::clicked, this, [this] {
        if (!Dirty() || SaveData()) {
            accept();
        }
    });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateCommands();
}

frmTemplates::~frmTemplates() = default;

void frmTemplates::BuildNodeMenu() {
    mnuNode_ = new QMenu(this);
    mnuNode_->setObjectName("mnuNode");
    auto add = [this](const char* name, const char* caption, auto act) {
        QAction* action = mnuNode_->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, act] { (this->*act)(menuKey_); });
        return action;
    };
    mnuAddFormat_ = add("mnuAddFormat", "&Add Format", &frmTemplates::AddFormat);
    mnuAddTemplate_ = add("mnuAddTemplate", "&Add Template...", &frmTemplates::AddTemplate);
    mnuDelete_ = add("mnuDelete", "&Delete", &frmTemplates::DeleteNode);
    mnuEdit_ = add("mnuEdit", "&Edit...", &frmTemplates::EditFormat);
}

bool frmTemplates::Setup(ScreenContext* itemMaint, const QString& sFormatType) {
    context_ = itemMaint;
    formatType_ = sFormatType;
    db_ = itemMaint->DBConnection().get();
    errors_ = itemMaint->ErrorObject();
    if (db_ == nullptr) {
        return false;
    }
    return trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        FillTemplateLists(*db_, *ui_->cmbPrinterPage, *ui_->cmbCustomerLevel,
                          *ui_->cmbTemplateType);
        SetupTree();
    });
}

void frmTemplates::SetupTree() {
    const QSignalBlocker quiet(ui_->tvwTemplates);
    ui_->tvwTemplates->ClearNodes();
    formatDescriptions_.clear();
    const std::pair<QString, QString> types[] = {
        {"ITEM", "Products"}, {"STOCK", "Stock Labels"}, {"CLUB", "Membership Cards"}};
    for (const auto& [key, text] : types) {
        if (formatType_.isEmpty() || formatType_ == key) {
            ui_->tvwTemplates->AddNode({}, key, text, kType, kType);
            SetupBranch(key);
        }
    }
}

void frmTemplates::SetupBranch(const QString& type) {
    ui::KeyTree& tree = *ui_->tvwTemplates;
    auto cmd = NewProcedure(*db_, "VYM_SP_ITEM_GetPrintFormatPrinterPage",
                            {{"@print_format_type", S(type)}});
    auto rows = db_->ExecuteRecordset(*cmd);
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
        const QString formatKey = Child(type, FieldText(*rows, "format_no"));
        if (tree.Node(formatKey) == nullptr) {
            const QString description = FieldText(*rows, "Description");
            QTreeWidgetItem* node = tree.AddNode(type, formatKey, description, kFormat, kFormat);
            node->setFlags(node->flags() | Qt::ItemIsEditable);
            formatDescriptions_.insert(formatKey, description);
        }
        AddTemplateRow(formatKey, FieldText(*rows, "printer_type_id"),
                       FieldText(*rows, "page_size_id"), FieldText(*rows, "customer_level_id"),
                       FieldText(*rows, "temp_desc"));
    }
}

// The printer, page, level and template nodes of one template below its
// format, each added when missing. "-1" marks a format without templates.
void frmTemplates::AddTemplateRow(const QString& formatKey, const QString& printer,
                                  const QString& page, const QString& level,
                                  const QString& description) {
    if (printer == "-1" || page == "-1") {
        return;
    }
    ui::KeyTree& tree = *ui_->tvwTemplates;
    const QString printerKey = Child(formatKey, printer);
    if (tree.Node(printerKey) == nullptr) {
        tree.AddNode(formatKey, printerKey, printer, kPrinter, kPrinter);
    }
    const QString pageKey = Child(printerKey, page);
    if (tree.Node(pageKey) == nullptr &&
        tree.AddNode(printerKey, pageKey, page, kPage, kPage) == nullptr) {
        MsgBox(S("Can not create page branch with invalid key " + pageKey), kInformation,
               "Page Branch Error");
        return;
    }
    const QString levelId = level.isEmpty() ? "None" : level;
    const QString levelKey = Child(pageKey, levelId);
    if (tree.Node(levelKey) == nullptr) {
        tree.AddNode(pageKey, levelKey, levelId, kLevel, kLevel);
    }
    const QString templateKey = Child(levelKey, kTemplate);
    if (QTreeWidgetItem* node = tree.Node(templateKey)) {
        node->setText(0, description);
    } else {
        tree.AddNode(levelKey, templateKey, description, kTemplate, kTemplate);
    }
}

std::int32_t frmTemplates::SelectedFormat() const {
    return Level(currentKey_) == kType ? 0 : FormatNoOf(currentKey_);
}

QStringList frmTemplates::Fields() const {
    QStringList fields;
    if (template_) {
        for (const std::string& field : PrintFormatFields(template_->PrintFormatType())) {
            fields.append(Q(field));
        }
    }
    return fields;
}

QString frmTemplates::Level(const QString& key) const {
    return ui_->tvwTemplates->Tag(key).toString();
}

bool frmTemplates::Dirty() const {
    return template_ && (template_->ChangesNotSaved || textChanged_);
}

void frmTemplates::tvwTemplates_NodeSelected(const QString& key) {
    if (loading_ || key == currentKey_) {
        return;
    }
    switching_ = true;
    const bool leave = ConfirmLeave();
    switching_ = false;
    if (!leave) {
        const QSignalBlocker quiet(ui_->tvwTemplates);
        ui_->tvwTemplates->SelectKey(currentKey_);
        return;
    }
    currentKey_ = key;
    SelectCurrentTemplate(key);
}

bool frmTemplates::ConfirmLeave() {
    if (!Dirty()) {
        return true;
    }
    switch (MsgBox("The Changes you have made have not been saved.  Save them now?",
                   {MsgButtons::YesNoCancel, MsgIcon::Question, 1}, "Save Changes")) {
        case MsgResult::Yes:
            return SaveData();
        case MsgResult::No:
            return true;
        default:
            return false;
    }
}

void frmTemplates::SelectCurrentTemplate(const QString& key) {
    template_.reset();
    textChanged_ = false;
    if (Level(key) == kTemplate) {
        const QStringList parts = Parts(key);
        auto opened = std::make_unique<CTemplate>();
        opened->SetPrintFormatType(S(parts[0]));
        if (opened->OpenTemplate(db_, errors_, parts[1].toInt(), S(parts[2]), S(parts[3]),
                                 S(parts[4]))) {
            template_ = std::move(opened);
            WatchTemplate();
        }
    }
    DisplayTemplate();
}

void frmTemplates::WatchTemplate() {
    template_->On.TemplateChanged = [this] { UpdateCommands(); };
    template_->On.TemplateCommitted = [this] { TemplateCommitted(); };
    template_->On.TemplateTemplateChanged = [this] { DisplayTemplate(); };
}

void frmTemplates::DisplayTemplate() {
    loading_ = true;
    const bool custom = !template_ || template_->TemplateType() != "TEMPLATE";
    const QString printerPage =
        template_ ? Q(template_->PrinterTypeID() + ":" + template_->PageSizeID()) : QString();
    ui_->txtDescription->setText(template_ ? Q(template_->Description()) : QString());
    ui_->cmbPrinterPage->SetKey(printerPage);
    ui_->cmbCustomerLevel->SetKey(template_ ? Q(template_->CustomerLevelID()) : QString());
    ui_->cmbTemplateType->SetKey(template_ ? Q(template_->TemplateType()) : QString());
    ui_->cmbField->clear();
    ui_->cmbField->addItems(Fields());
    if (!textChanged_) {
        ui_->txtTemplate->setPlainText(template_ && custom ? Q(template_->Content()) : QString());
    }
    if (template_ && !custom) {
        preview_->RegisterFields(Fields());
        preview_->ShowTemplate(ContentBytes(template_->Content()));
    } else {
        preview_->Clear();
    }
    ui_->stkContent->setCurrentWidget(custom ? static_cast<QWidget*>(ui_->txtTemplate)
                                             : ui_->fraPreview);
    loading_ = false;
    UpdateCommands();
}

void frmTemplates::UpdateCommands() {
    const bool shown = template_ != nullptr;
    const bool custom = shown && template_->TemplateType() != "TEMPLATE";
    ui_->txtDescription->setEnabled(shown);
    ui_->txtTemplate->setReadOnly(!custom);
    ui_->cmbField->setEnabled(custom);
    ui_->cmdInsert->setEnabled(custom);
    ui_->cmdImport->setEnabled(shown);
    ui_->cmdExport->setEnabled(shown);
    ui_->cmdEdit->setEnabled(shown || Level(currentKey_) == kFormat);
    ui_->cmdApply->setEnabled(Dirty());
}

bool frmTemplates::SaveData() {
    if (!template_) {
        return true;
    }
    if (const Verdict refusal =
            CheckTemplateDescription(template_->Description(), "txtDescription")) {
        return ui::ShowRefusal(*refusal, *this);
    }
    if (textChanged_ && template_->TemplateType() != "TEMPLATE") {
        const bool copied = trap_.Run(errors_, "SaveData", nullptr, [&] {
            template_->SetContent(S(ui_->txtTemplate->toPlainText()));
        });
        if (!copied) {
            return false;
        }
    }
    if (!template_->UpdateTemplate(db_, errors_)) {
        if (!template_->RowConflict().empty() && AskToReload(template_->RowConflict())) {
            SelectCurrentTemplate(currentKey_);
        }
        return false;
    }
    textChanged_ = false;
    UpdateCommands();
    return true;
}

// A template saved for the first time gets its branch; a saved one shows its
// new description.
void frmTemplates::TemplateCommitted() {
    ui::KeyTree& tree = *ui_->tvwTemplates;
    const QString formatKey =
        Child(Q(template_->PrintFormatType()), QString::number(template_->FormatNo()));
    if (tree.Node(formatKey) == nullptr) {
        MsgBox("Unable to open grandparent node.", kInformation, "Update Failed");
        return;
    }
    const QString levelKey =
        Child(Child(Child(formatKey, Q(template_->PrinterTypeID())), Q(template_->PageSizeID())),
              Q(template_->CustomerLevelID()));
    loading_ = true;
    AddTemplateRow(formatKey, Q(template_->PrinterTypeID()), Q(template_->PageSizeID()),
                   Q(template_->CustomerLevelID()), Q(template_->Description()));
    const QString templateKey = Child(levelKey, kTemplate);
    if (QTreeWidgetItem* node = tree.Node(templateKey)) {
        for (QTreeWidgetItem* parent = node->parent(); parent; parent = parent->parent()) {
            parent->setExpanded(true);
        }
        // Saved on the way to another node, it stays unselected.
        if (!switching_) {
            tree.SelectKey(templateKey);
            currentKey_ = templateKey;
        }
    } else {
        MsgBox("Unable to open parent node.", kInformation, "Update Failed");
    }
    loading_ = false;
}

void frmTemplates::InsertField() {
    if (ui_->cmbField->currentIndex() < 0) {
        return;
    }
    // The field replaces the selection, as typing would.
    ui_->txtTemplate->insertPlainText("{{" + ui_->cmbField->currentText() + "}}");
    ui_->txtTemplate->setFocus();
}

// A text template is edited in place; a graphical one in the designer, whose
// result replaces the content.
void frmTemplates::EditTemplate() {
    if (!template_) {
        return;
    }
    if (template_->TemplateType() != "TEMPLATE") {
        ui_->txtTemplate->setFocus();
        return;
    }
    const std::optional<QByteArray> edited = preview::EditTemplate(
        this, ui::CurrentModalRunner(), ContentBytes(template_->Content()), Fields());
    if (edited) {
        trap_.Run(errors_, "EditTemplate", nullptr, [&] {
            template_->SetContent(std::string_view(edited->constData(), edited->size()));
        });
    }
}

void frmTemplates::ImportTemplate() {
    if (!template_) {
        return;
    }
    const bool custom = template_->TemplateType() != "TEMPLATE";
    const auto path = CurrentPrompter().OpenFile(
        "Import Template File", custom ? kCustomImportFilter : kGraphicalImportFilter, {});
    if (!path) {
        return;
    }
    trap_.Run(errors_, "ImportTemplate", nullptr, [&] {
        const std::string content = ReadWholeFile(*path);
        QString problem;
        if (custom) {
            ui_->txtTemplate->setPlainText(Q(content));
        } else if (preview::ParseTemplate(ContentBytes(content), &problem)) {
            template_->SetContent(content);  // the file as it is, byte for byte
        } else {
            MsgBox(S(problem), kExclamation, "Invalid Template");
        }
    });
}

void frmTemplates::ExportTemplate() {
    if (!template_) {
        return;
    }
    const bool custom = template_->TemplateType() != "TEMPLATE";
    const auto path = CurrentPrompter().SaveFile(
        "Export Template To File", custom ? kCustomExportFilter : kGraphicalExportFilter, {});
    if (!path) {
        return;
    }
    trap_.Run(errors_, "ExportTemplate", nullptr, [&] {
        const std::string content =
            custom ? S(ui_->txtTemplate->toPlainText()) : template_->Content();
        // The old file stays whole until the new one is complete.
        QSaveFile file(Q(*path));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(content.data(), static_cast<qint64>(content.size())) !=
                static_cast<qint64>(content.size()) ||
            !file.commit()) {
            throw Error(errc::kPathFileAccess, "frmTemplates", S(file.errorString()));
        }
    });
}

void frmTemplates::AddFormat(const QString& nodeKey) {
    const QString typeKey = Parts(nodeKey).value(0);
    std::int32_t formatNo = 0;
    trap_.Run(errors_, "AddFormat", &db_->Native(), [&] {
        // Numbers given to formats by hand (the demo's) are passed over.
        do {
            formatNo = context_->AppServer()->NextSequenceValue("seq_format_no");
        } while (formatNo > 0 &&
                 !db_->OpenRecordset("SELECT format_no FROM vym_print_format WHERE format_no = " +
                                     std::to_string(formatNo))
                      ->Eof());
    });
    if (formatNo <= 0) {
        MsgBox("Unable to create unique format id for new record", kInformation,
               "Add Format Failed");
        return;
    }
    const bool added = trap_.Run(errors_, "AddFormat", &db_->Native(), [&] {
        auto rows =
            db_->OpenUpdatableRecordset("SELECT * FROM vym_print_format WHERE format_no = -1");
        rows->AddNew();
        rows->Fields("format_no").SetValue(formatNo);
        rows->Fields("Description").SetValue(std::string("<New>"));
        rows->Fields("print_format_type").SetValue(S(typeKey));
        rows->Update();
    });
    if (!added) {
        return;
    }
    const QString key = Child(typeKey, QString::number(formatNo));
    loading_ = true;
    QTreeWidgetItem* node = ui_->tvwTemplates->AddNode(typeKey, key, "<New>", kFormat, kFormat);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    formatDescriptions_.insert(key, "<New>");
    node->parent()->setExpanded(true);
    loading_ = false;
    ui_->tvwTemplates->editItem(node);
}

void frmTemplates::EditFormat(const QString& key) {
    if (Level(key) == kTemplate) {
        if (key != currentKey_) {
            ui_->tvwTemplates->SelectKey(key);
        }
        if (key == currentKey_) {
            EditTemplate();
        }
        return;
    }
    const QString old = formatDescriptions_.value(key);
    const auto typed = InputBox("Format Description", "Edit Format", S(old));
    if (!typed || Q(*typed) == old) {
        return;
    }
    if (RenameFormat(key, Q(*typed))) {
        const QSignalBlocker quiet(ui_->tvwTemplates);
        ui_->tvwTemplates->Node(key)->setText(0, Q(*typed));
    }
}

// True when the format carries the description (also when it did already).
bool frmTemplates::RenameFormat(const QString& key, const QString& description) {
    if (description == formatDescriptions_.value(key)) {
        return true;
    }
    if (description.isEmpty()) {
        return false;
    }
    const bool renamed = trap_.Run(errors_, "EditFormat", &db_->Native(), [&] {
        auto rows = db_->OpenUpdatableRecordset(
            "SELECT * FROM vym_print_format WHERE format_no = " + std::to_string(FormatNoOf(key)));
        if (rows->Eof()) {
            throw Error(errc::kItemNotFound, "frmTemplates", "The format no longer exists.");
        }
        rows->Fields("Description").SetValue(S(description));
        rows->Update();
    });
    if (renamed) {
        formatDescriptions_.insert(key, description);
    }
    return renamed;
}

void frmTemplates::AddTemplate(const QString& key) {
    if (!ConfirmLeave()) {
        return;
    }
    frmNewTemplate dialog(this);
    if (!dialog.Setup(context_, FormatNoOf(key)) || ui::RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    const NewTemplateEntry entry = dialog.Entry();
    const auto [printer, page] = SplitPrinterPage(entry.printerPage);
    auto added = std::make_unique<CTemplate>();
    added->SetPrintFormatType(S(Parts(key).value(0)));
    added->SetFormatNo(FormatNoOf(key));
    added->SetPrinterTypeID(printer);
    added->SetPageSizeID(page);
    added->SetCustomerLevelID(entry.customerLevel);
    added->SetDescription(entry.description);
    added->SetTemplateType(entry.templateType);
    added->TemplateNew = true;
    template_ = std::move(added);
    textChanged_ = false;
    WatchTemplate();
    DisplayTemplate();
}

void frmTemplates::DeleteNode(const QString& key) {
    if (Level(key) == kFormat) {
        DeleteFormat(key);
    } else if (Level(key) == kTemplate) {
        DeleteTemplate(key);
    }
}

void frmTemplates::DeleteFormat(const QString& key) {
    const std::string number = std::to_string(FormatNoOf(key));
    const QString type = Parts(key).value(0);
    std::string inUse;
    const bool checked = trap_.Run(errors_, "DeleteFormat", &db_->Native(), [&] {
        if (type == "STOCK" &&
            !db_->OpenRecordset("SELECT * FROM vym_item_stock WHERE format_no = " + number)
                 ->Eof()) {
            inUse =
                "This Format is used by at least one stock item and can not be deleted at "
                "this time";
        } else if (type == "ITEM" &&
                   !db_->OpenRecordset("SELECT * FROM vym_item WHERE format_no = " + number)
                        ->Eof()) {
            inUse =
                "This Format is used by at least one product item and can not be deleted at "
                "this time";
        }
    });
    if (!checked) {
        return;
    }
    if (!inUse.empty()) {
        MsgBox(inUse, kInformation, "Delete Aborted");
        return;
    }
    if (MsgBox("Are you sure you want to delete " + S(formatDescriptions_.value(key)) +
                   " and all it's Templates?",
               kQuestionYesNoDefaultNo, "Confirm Format Delete") != MsgResult::Yes) {
        return;
    }
    const bool deleted = trap_.Run(errors_, "DeleteFormat", &db_->Native(), [&] {
        Transaction transaction(*db_);
        db_->ExecuteSQL("DELETE vym_print_format_template WHERE format_no = " + number);
        db_->ExecuteSQL("DELETE vym_print_format WHERE format_no = " + number);
        transaction.Commit();
    });
    if (deleted) {
        ForgetTemplateUnder(key);
        formatDescriptions_.remove(key);
        ui_->tvwTemplates->RemoveNode(key);
    }
}

void frmTemplates::DeleteTemplate(const QString& key) {
    const QStringList parts = Parts(key);
    const QString description = ui_->tvwTemplates->Node(key)->text(0);
    if (MsgBox("Are you sure you want to delete " + S(description) + "?", kQuestionYesNoDefaultNo,
               "Confirm Template Delete") != MsgResult::Yes) {
        return;
    }
    bool deleted = false;
    trap_.Run(errors_, "DeleteTemplate", &db_->Native(), [&] {
        auto cmd = NewProcedure(*db_, "VYM_SP_ITEM_DeletePrintFormatTemplate",
                                {{"@format_no", parts[1].toInt()},
                                 {"@printer_type_id", S(parts[2])},
                                 {"@page_size_id", S(parts[3])},
                                 {"@customer_level_id", S(parts[4])}});
        deleted = db_->Execute(*cmd);  // a failure is reported by the connection
    });
    if (!deleted) {
        return;
    }
    ForgetTemplateUnder(key);
    // Branches left without a template go with it, as a reload would show.
    QString gone = key;
    for (QString parent = gone.section(kSeparator, 0, -2);
         Level(parent) != kFormat && ui_->tvwTemplates->Node(parent)->childCount() == 1;
         parent = parent.section(kSeparator, 0, -2)) {
        gone = parent;
    }
    ui_->tvwTemplates->RemoveNode(gone);
}

void frmTemplates::ForgetTemplateUnder(const QString& key) {
    if (currentKey_ == key || currentKey_.startsWith(key + kSeparator)) {
        template_.reset();
        textChanged_ = false;
        currentKey_.clear();
        DisplayTemplate();
    }
}

void frmTemplates::ShowNodeMenu(const QPoint& position) {
    QTreeWidgetItem* node = ui_->tvwTemplates->itemAt(position);
    if (node == nullptr) {
        return;
    }
    menuKey_ = ui_->tvwTemplates->KeyOf(node);
    const QString level = Level(menuKey_);
    mnuAddFormat_->setVisible(level == kType || level == kFormat);
    mnuAddTemplate_->setVisible(level != kType && level != kTemplate);
    mnuDelete_->setVisible(level == kFormat || level == kTemplate);
    mnuEdit_->setVisible(level == kFormat || level == kTemplate);
    mnuNode_->popup(ui_->tvwTemplates->viewport()->mapToGlobal(position));
}

}  // namespace vym
