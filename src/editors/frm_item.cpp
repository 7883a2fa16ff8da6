#include "editors/frm_item.h"

#include <strings.h>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <cmath>
#include <limits>
#include <optional>

#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/app_server.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "gateway/transaction.h"
#include "host/frm_symbol.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/citem_photo.h"
#include "model/citem_ship.h"
#include "model/citem_ss.h"
#include "model/citem_ticket.h"
#include "ui/check_list.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/key_tab_bar.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui/symbol_font.h"
#include "ui_frm_item.h"

namespace vym {

using ui::DataCombo;
using ui::FieldText;
using ui::FlexGrid;
using ui::Q;

namespace {

// Extension grid columns.
constexpr int kExtChild = 0;
constexpr int kExtDescription = 1;
constexpr int kExtCreateNew = 2;
constexpr int kExtActivating = 3;
constexpr int kExtMaxSeason = 4;
constexpr int kExtMaxTrans = 5;
// Add-on grid columns.
constexpr int kAddOnState = 0;
constexpr int kAddOnItem = 1;
constexpr int kAddOnDescription = 2;
constexpr int kAddOnPrice = 3;
constexpr int kAddOnRule = 4;
constexpr int kAddOnFormat = 5;
// Category list columns.
constexpr int kCatId = 1;
constexpr int kCatDescription = 2;
constexpr int kCatRequireRule = 3;

// The "none" entry of the profile and code lists saves as no value.
std::string NoneAsEmpty(const QString& key) {
    return key == "NONE" ? std::string() : key.toStdString();
}

bool HasKey(const DataCombo& list, const QString& key) {
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.CellAt(row, list.BoundColumn()) == key) {
            return true;
        }
    }
    return false;
}

void SetKeyOr(DataCombo& list, const std::string& key, const QString& fallback) {
    if (key.empty() || !list.SetKey(Q(key))) {
        list.SetKey(fallback);
    }
}

// A whole number as the grid cells hold it; nothing for text that is not one
// or does not fit a Long.
std::optional<std::int32_t> CellLong(const QString& text) {
    if (text.trimmed().isEmpty()) {
        return 0;
    }
    const std::optional<double> number = ParseNumber(text.toStdString());
    if (!number || std::fabs(*number) > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return Value(*number).ToLong();
}

double CellDouble(const QString& text) {
    return ParseNumber(text.toStdString()).value_or(0.0);
}

QString CheckText(bool checked) {
    return checked ? QStringLiteral("-1") : QStringLiteral("0");
}

void PrepareList(DataCombo& list) {
    list.SetColumns({"Id", "Description"});
    list.SetBoundColumn(0);
    list.SetListColumn(1);
    list.SetListColumnHidden(0, true);
}

}  // namespace

frmItem::frmItem(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmItem>()) {
    ui_->setupUi(this);
    static constexpr const char* kTabs[][2] = {
        {"Definition", "Definition"},
        {"Sales", "Sales"},
        {"Accounting", "Accounting"},
        {"Relation", "Relation"},
        {"Register", "Register"},
        {"Instructions", "Instructions"},
        {"SS", "SS"},
        {"Photo", "Photo"},
        {"Ship", "Ship"},
    };
    for (const auto& tab : kTabs) {
        ui_->tabMain->AddTab(tab[0], tab[1]);
    }
    connect(ui_->tabMain, &ui::KeyTabBar::CurrentKeyChanged, this, &frmItem::SelectPage);
    SetUpLists();
    SetUpGrids();
    connect(ui_->lstRegisterGroups, &ui::CheckList::CheckChanged, this,
            [this] { registerGroupsChanged_ = true; });
    connect(ui_->cmdSelectAll, &QPushButton::clicked, ui_->lstRegisterGroups,
            [this] { ui_->lstRegisterGroups->SetAllChecked(true); });
    connect(ui_->cmdAddExtension, &QPushButton::clicked, this, &frmItem::cmdAddExtension_Click);
    connect(ui_->cmdDeleteExtension, &QPushButton::clicked, this,
            &frmItem::cmdDeleteExtension_Click);
    connect(ui_->cmdPickRedemption, &QPushButton::clicked, this, &frmItem::cmdPickRedemption_Click);
    connect(ui_->cmdClearRedemption, &QPushButton::clicked, this,
            [this] { ShowRedemption(0, {}); });
    connect(ui_->cmdAddAddOn, &QPushButton::clicked, this, &frmItem::cmdAddAddOn_Click);
    connect(ui_->cmdDeleteAddOn, &QPushButton::clicked, this, &frmItem::DeleteAddOn);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmItem::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    SelectPage(ui_->tabMain->CurrentKey());
}

void frmItem::SetUpLists() {
    for (DataCombo* list :
         {ui_->cmbStatus, ui_->cmbFunction, ui_->cmbSaleProfile, ui_->cmbReturnProfile,
          ui_->cmbFormat, ui_->cmbDepartment, ui_->cmbAccessRule, ui_->cmbTransType,
          ui_->cmbResourceType, ui_->cmbEventType, ui_->cmbLaborCode, ui_->cmbLessonCode,
          ui_->cmbPhotoSize, ui_->cmbLabCode}) {
        PrepareList(*list);
    }
    DataCombo& catagories = *ui_->cmbCatagory;
    catagories.SetColumns({"Function", "Catagory", "Description", "Require Access Rule"});
    catagories.SetBoundColumn(kCatId);
    catagories.SetListColumn(kCatDescription);
    for (int col : {0, kCatId, kCatRequireRule}) {
        catagories.SetListColumnHidden(col, true);
    }
    ui_->cmbStatus->AddRow({"ACTIVE", "Active"});
    ui_->cmbStatus->AddRow({"INACTIVE", "InActive"});
    connect(ui_->cmbFunction, &DataCombo::KeyChanged, this, &frmItem::FillCatagoryComboBoxes);

    ui_->lblSymbol->setFont(ui::SymbolFont::Font());
    ui_->lblSymbol->setAlignment(Qt::AlignCenter);
    connect(ui_->cmdSymbol, &QPushButton::clicked, this, &frmItem::cmdSymbol_Click);
    connect(ui_->chkSerialized, &QCheckBox::toggled, this, &frmItem::chkSerialized_Toggled);
    connect(ui_->cmdFormats, &QPushButton::clicked, this, &frmItem::cmdFormats_Click);
    connect(ui_->chkUseNegativeFormat, &QCheckBox::toggled, this,
            &frmItem::chkUseNegativeFormat_Toggled);
    ui_->txtReturnCharge->setValidator(new QRegularExpressionValidator(
        QRegularExpression(R"(\d{0,6}(\.\d{0,4})?)"), ui_->txtReturnCharge));
}

void frmItem::SetUpGrids() {
    FlexGrid& extensions = *ui_->fgExtensions;
    extensions.SetFormatString(
        "Child ID|Child Description|^Create New Prdt|^Activating|^Max/Season|^Max/Trans");
    extensions.SetColumnKind(kExtCreateNew, FlexGrid::ColumnKind::CheckBox);
    extensions.SetColumnKind(kExtActivating, FlexGrid::ColumnKind::CheckBox);
    extensions.SetEditable(true);
    extensions.SetColumnEditable(kExtChild, false);
    extensions.SetColumnEditable(kExtDescription, false);
    extensions.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    connect(&extensions, &FlexGrid::CellClicked, this, [this](int row, int col) {
        if (row > 0 && (col == kExtMaxSeason || col == kExtMaxTrans)) {
            ui_->fgExtensions->EditCell(row, col);
        }
    });
    connect(&extensions, &FlexGrid::ValidateEdit, this, &frmItem::fgExtensions_ValidateEdit);
    connect(&extensions, &FlexGrid::AfterEdit, this, [this] { extensionsChanged_ = true; });

    FlexGrid& addOns = *ui_->fgAddOns;
    addOns.SetFormatString(
        "State|Item No|Description|>Price|<Override Access Rule|<Override Print Format");
    addOns.SetColumnFormat(kAddOnPrice, "0.0000");
    addOns.SetEditable(true);
    for (int col : {kAddOnState, kAddOnItem, kAddOnDescription}) {
        addOns.SetColumnEditable(col, false);
    }
    connect(&addOns, &FlexGrid::ValidateEdit, this, &frmItem::fgAddOns_ValidateEdit);
    connect(&addOns, &FlexGrid::AfterEdit, this, [this](int row, int) {
        ui_->fgAddOns->SetTextMatrix(row, kAddOnState, "*");
        addOnsChanged_ = true;
    });
}

frmItem::~frmItem() = default;

void frmItem::Setup(ScreenContext* itemMaint, CItem& item) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    item_ = &item;
    itemType_ = Q(item.ItemType());
    FillComboBoxes();
    LoadItem();
    LoadTypePage();
    LoadRegisterGroups();
    LoadExtensionsAndRedemption();
    LoadAddOns();
    registerGroupsChanged_ = false;
    extensionsChanged_ = false;
    addOnsChanged_ = false;
}

// Lists ----------------------------------------------------------------------

void frmItem::FillList(DataCombo& list, std::string_view sql, const char* keyField,
                       const char* textField) {
    auto rows = db_->OpenRecordset(sql);
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
        list.AddRow({FieldText(*rows, keyField), FieldText(*rows, textField)});
    }
}

void frmItem::FillListFromProcedure(DataCombo& list, const char* procedure, const char* keyField,
                                    const char* textField) {
    auto command = NewProcedure(*db_, procedure);
    auto rows = db_->ExecuteRecordset(*command);
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
        list.AddRow({FieldText(*rows, keyField), FieldText(*rows, textField)});
    }
}

// The product formats; the chosen one stays chosen while it exists.
void frmItem::FillFormats() {
    const QString chosen = ui_->cmbFormat->Key();
    ui_->cmbFormat->ClearRows();
    ui_->cmbFormat->AddRow({"", "<None>"});
    FillList(*ui_->cmbFormat,
             "SELECT format_no, description FROM vym_print_format WHERE "
             "print_format_type = 'ITEM' ORDER BY description",
             "format_no", "description");
    ui_->cmbFormat->SetKey(chosen);
}

void frmItem::cmdFormats_Click() {
    if (itemMaint_ == nullptr) {
        return;
    }
    itemMaint_->EditTemplates("ITEM");
    trap_.Run(errors_, "cmdFormats_Click", &db_->Native(), [&] { FillFormats(); });
}

void frmItem::FillComboBoxes() {
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "FillComboBoxes", &db_->Native(), [&] {
        for (DataCombo* profiles : {ui_->cmbSaleProfile, ui_->cmbReturnProfile}) {
            profiles->AddRow({"NONE", "<NONE>"});
            FillList(*profiles, "SELECT * FROM vym_profile", "profile_id", "Description");
        }
        FillFormats();
        ui_->cmbAccessRule->AddRow({"0", "<None>"});
        FillList(*ui_->cmbAccessRule,
                 "SELECT access_rule_no, description FROM vym_access_rule ORDER BY description",
                 "access_rule_no", "description");
        ui_->cmbDepartment->AddRow({"", "<None>"});
        FillList(*ui_->cmbDepartment,
                 "SELECT department_id, description FROM vym_department"
                 " WHERE department_type_id = 'ITEM'"
                 " ORDER BY description",
                 "department_id", "description");
        FillList(*ui_->cmbTransType,
                 "SELECT trans_type_id, description FROM vym_trans_type ORDER BY description",
                 "trans_type_id", "description");

        DataCombo& functions = *ui_->cmbFunction;
        const QSignalBlocker quiet(functions);
        FillList(functions,
                 "SELECT function_id, description"
                 " FROM vym_function"
                 " WHERE ISNULL(is_active,-1) <> 0"
                 " ORDER BY description",
                 "function_id", "description");
        for (const char* builtIn : {"STOCK", "RENTAL", "PHOTO", "SS"}) {
            if (!HasKey(functions, builtIn)) {
                functions.AddRow({builtIn, builtIn});
            }
        }
        functions.setCurrentIndex(-1);
    });
}

void frmItem::FillCatagoryComboBoxes() {
    DataCombo& catagories = *ui_->cmbCatagory;
    catagories.ClearRows();
    catagories.AddRow({"", "", "", ""});
    if (db_ != nullptr) {
        trap_.Run(errors_, "FillCatagoryComboBoxes", &db_->Native(), [&] {
            auto rows = db_->OpenRecordset(
                "SELECT function_id, catagory_id, description, require_access_rule FROM "
                "vym_catagory"
                " WHERE function_id = " +
                SqlQuote(ui_->cmbFunction->Key().toStdString()) + " ORDER BY description");
            for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
                const Value require = rows->Fields("require_access_rule").Value();
                catagories.AddRow({FieldText(*rows, "function_id"), FieldText(*rows, "catagory_id"),
                                   FieldText(*rows, "description"),
                                   !require.IsNull() && require.ToBool() ? "1" : "0"});
            }
        });
    }
    static constexpr const char* kBuiltIn[][3] = {
        {"STOCK", "STOCK", "STOCK"}, {"PHOTO", "SHIP", "SHIP"}, {"RENTAL", "RENTAL", "RENTAL"}};
    for (const auto& row : kBuiltIn) {
        if (!HasKey(catagories, row[1])) {
            catagories.AddRow({row[0], row[1], row[2], "0"});
        }
    }
    catagories.setCurrentIndex(0);
}

void frmItem::FillSSCombos() {
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "FillSSCombos", &db_->Native(), [&] {
        const struct {
            DataCombo* list;
            const char* sql;
            const char* key;
        } lists[] = {
            {ui_->cmbResourceType, "SELECT * FROM vym_ss_resource_type", "resource_type_id"},
            {ui_->cmbEventType, "SELECT * FROM vym_ss_event ORDER BY description", "event_type_id"},
            {ui_->cmbLaborCode, "SELECT * FROM vym_ss_labor_code ORDER BY description",
             "labor_code_id"},
            {ui_->cmbLessonCode, "SELECT * FROM vym_ss_lesson_code ORDER BY description",
             "lesson_code_id"},
        };
        for (const auto& l : lists) {
            l.list->AddRow({"NONE", "<NONE>"});
            FillList(*l.list, l.sql, l.key, "description");
        }
    });
}

void frmItem::FillPhotoCombos() {
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "FillPhotoCombos", &db_->Native(), [&] {
        ui_->cmbPhotoSize->AddRow({"NONE", "<None>"});
        FillListFromProcedure(*ui_->cmbPhotoSize, "VYM_SP_ITEM_GetPhotoSize", "photo_size_id",
                              "Description");
        ui_->cmbLabCode->AddRow({"NONE", "<None>"});
        FillListFromProcedure(*ui_->cmbLabCode, "VYM_SP_ITEM_GetPhotoLabCode", "lab_code_id",
                              "Description");
    });
}

QString frmItem::GetFormatList() {
    QString list = "#0;[Use Item Format]";
    if (db_ == nullptr) {
        return list;
    }
    trap_.Run(errors_, "GetFormatList", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_GetPrintFormats", {{"@print_format_type", "ITEM"}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            list += "|#" + FieldText(*rows, "format_no") + ";" + FieldText(*rows, "Description");
        }
    });
    return list;
}

QString frmItem::GetAccessRule() {
    QString list = "#0;[Use Item Rule]";
    if (db_ == nullptr) {
        return list;
    }
    trap_.Run(errors_, "GetAccessRule", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetAccessRules");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            list +=
                "|#" + FieldText(*rows, "access_rule_no") + ";" + FieldText(*rows, "description");
        }
    });
    return list;
}

// Loading --------------------------------------------------------------------

void frmItem::LoadItem() {
    const CItem& item = *item_;
    ui_->lblItemNo->setText(item.ItemNo > 0 ? QString::number(item.ItemNo) : QString("NEW"));
    ui_->txtShortDesc->setText(Q(item.ShortDescription));
    ui_->txtLongDesc->setText(Q(item.LongDescription));
    SetKeyOr(*ui_->cmbStatus, item.StatusId, "ACTIVE");

    // An item of a function since made inactive keeps its function.
    DataCombo& functions = *ui_->cmbFunction;
    const QString function = Q(item.FunctionID);
    if (!function.isEmpty() && !HasKey(functions, function)) {
        functions.AddRow(
            {function, item.FunctionDescription.empty() ? function : Q(item.FunctionDescription)});
    }
    {
        const QSignalBlocker quiet(functions);
        functions.SetKey(function);
    }
    FillCatagoryComboBoxes();
    DataCombo& catagories = *ui_->cmbCatagory;
    const QString catagory = Q(item.CatagoryID);
    if (!catagory.isEmpty() && !HasKey(catagories, catagory)) {
        catagories.AddRow(
            {function, catagory,
             item.CatagoryDescription.empty() ? catagory : Q(item.CatagoryDescription), "0"});
    }
    catagories.SetKey(catagory);

    ui_->chkShowOnTree->setChecked(item.ShowOnTree);
    treeIcon_ = Q(item.TreeIcon);
    ShowSymbol();
    ui_->txtCommentNote->setText(Q(item.CommentNote));
    ui_->chkHostRequired->setChecked(item.HostRequired);
    SetKeyOr(*ui_->cmbSaleProfile, item.SaleProfileId, "NONE");
    ui_->chkUnitBasedReturn->setChecked(item.UnitBasedReturn);
    SetKeyOr(*ui_->cmbReturnProfile, item.ReturnProfileId, "NONE");
    ui_->cmbDepartment->SetKey(Q(item.DepartmentId));
    ui_->chkTaxable->setChecked(item.Taxable);
    ui_->txtReturnCharge->setText(QString::number(item.ReturnChargeRate));
    ui_->txtReportNote->setText(Q(item.ReportNotes));
    ui_->rtfInstructions->SetText(Q(item.Instruction));
}

void frmItem::LoadTypePage() {
    const QString number = item_->ItemNo > 0 ? QString::number(item_->ItemNo) : QString("NEW");
    ui::KeyTabBar& tabs = *ui_->tabMain;
    if (itemType_ == "SS") {
        setWindowTitle("Item Ski School Properties (" + number + ")");
        FillSSCombos();
        // Lessons keep no negative format: the flag would not be saved.
        ui_->chkUseNegativeFormat->hide();
        tabs.SetTabCaption("SS", "Ski School");
        for (const char* key : {"Photo", "Ship"}) {
            tabs.RemoveTabByKey(key);
        }
    } else if (itemType_ == "PHOTO") {
        setWindowTitle("Item Photo Properties (" + number + ")");
        FillPhotoCombos();
        ui_->fraPrinting->hide();
        ui_->fraAccessRule->hide();
        for (const char* key : {"SS", "Ship"}) {
            tabs.RemoveTabByKey(key);
        }
    } else if (itemType_ == "SHIP") {
        setWindowTitle("Item Ship Properties (" + number + ")");
        ui_->fraPrinting->hide();
        ui_->fraAccessRule->hide();
        for (const char* key : {"SS", "Photo"}) {
            tabs.RemoveTabByKey(key);
        }
    } else {
        setWindowTitle("Item Ticket Properties (" + number + ")");
        for (const char* key : {"SS", "Photo", "Ship"}) {
            tabs.RemoveTabByKey(key);
        }
    }
    LoadTypeValues();
}

void frmItem::LoadTypeValues() {
    const CItem& item = *item_;
    auto showFormatAndRule = [this](std::int32_t format, std::int32_t rule,
                                    const std::string& transType) {
        ui_->cmbFormat->SetKey(format == 0 ? QString() : QString::number(format));
        ui_->cmbAccessRule->SetKey(QString::number(rule));
        ui_->cmbTransType->SetKey(Q(transType));
    };
    if (const CItemSS* ss = item.SSItem()) {
        ui_->chkSerialized->setChecked(ss->Serialized);
        showFormatAndRule(ss->FormatNo(), ss->AccessRuleNo, ss->AccessTransTypeId);
        SetKeyOr(*ui_->cmbResourceType, ss->ResourceTypeId, "NONE");
        SetKeyOr(*ui_->cmbLaborCode, ss->LaborCodeId, "NONE");
        SetKeyOr(*ui_->cmbEventType, ss->EventTypeId, "NONE");
        SetKeyOr(*ui_->cmbLessonCode, ss->LessonCodeId, "NONE");
        ui_->spnLaborHours->setValue(ss->LaborHours);
        ui_->spnScheduleHours->setValue(ss->ScheduledHours);
        ui_->txtConfirmationLetter->setText(Q(ss->ConfirmationLetter));
    } else if (const CItemPhoto* photo = item.ItemPhoto()) {
        ui_->chkMailNotAllowed->setChecked(photo->MailNotAllowed);
        ui_->chkRequireShipCharge->setChecked(photo->RequireShipCharge);
        ui_->chkPhotoRush->setChecked(photo->AutoRush);
        SetKeyOr(*ui_->cmbPhotoSize, photo->PhotoSize, "NONE");
        SetKeyOr(*ui_->cmbLabCode, photo->LabCode, "NONE");
    } else if (const CItemShip* ship = item.ItemShip()) {
        ui_->chkShipRush->setChecked(ship->Rush);
        ui_->chkPickup->setChecked(ship->Pickup);
    } else if (const CItemTicket* ticket = item.TicketItem()) {
        ui_->chkSerialized->setChecked(ticket->Serialized);
        showFormatAndRule(ticket->FormatNo(), ticket->AccessRuleNo, ticket->AccessTransTypeId);
        ui_->chkUseNegativeFormat->setChecked(ticket->UseNegativeFormat());
    }
}

void frmItem::LoadRegisterGroups() {
    if (db_ == nullptr) {
        return;
    }
    if (item_->ItemNo > 0) {
        item_->OpenRegisterGroups(db_, errors_);
    }
    trap_.Run(errors_, "LoadRegisterGroups", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetRegisterGroups");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "register_group_id");
            bool member = false;
            for (const CRegisterGroup& group : item_->RegisterGroups) {
                member = member || Q(group.RegisterGroupId).compare(id, Qt::CaseInsensitive) == 0;
            }
            ui_->lstRegisterGroups->AddEntry(id + "-" + FieldText(*rows, "Description"), id,
                                             member);
        }
    });
}

void frmItem::LoadExtensionsAndRedemption() {
    if (db_ != nullptr && item_->ItemNo > 0) {
        item_->OpenExtensions(db_, errors_);
    }
    FlexGrid& grid = *ui_->fgExtensions;
    for (const CItemExtension& e : item_->Extensions) {
        grid.AddRow({QString::number(e.ChildItemNo), Q(e.ChildLongDescription),
                     CheckText(e.CreateNewProduct), CheckText(e.Activating),
                     QString::number(e.MaxQtyPerSeason), QString::number(e.MaxQtyPerTrans)});
    }
    grid.AutoSizeColumns();
    ShowRedemption(item_->RedeemItem, Q(item_->RedeemItemDescription));
}

void frmItem::LoadAddOns() {
    FlexGrid& grid = *ui_->fgAddOns;
    grid.SetColumnComboList(kAddOnRule, GetAccessRule());
    grid.SetColumnComboList(kAddOnFormat, GetFormatList());
    if (db_ != nullptr && item_->ItemNo > 0) {
        item_->OpenAddOns(db_, errors_);
    }
    for (const CItemAddOn& a : item_->AddOns) {
        grid.AddRow({QString(), QString::number(a.ChildItemNo), Q(a.ChildItemDescription),
                     QString::number(a.Price), QString::number(a.AccessRuleNo),
                     QString::number(a.FormatNo)});
    }
    grid.AutoSizeColumns();
}

// Controls -------------------------------------------------------------------

void frmItem::SelectPage(const QString& key) {
    if (auto* page = ui_->stkPages->findChild<QWidget*>("pg" + key)) {
        ui_->stkPages->setCurrentWidget(page);
    }
}

void frmItem::ShowSymbol() {
    ui_->lblSymbol->setText(
        treeIcon_.isEmpty() ? QString() : ui::SymbolFont::DisplayText(treeIcon_.at(0).unicode()));
}

void frmItem::ShowRedemption(std::int32_t itemNo, const QString& description) {
    redeemItem_ = itemNo;
    ui_->lblRedemption->setText(itemNo == 0 ? QString()
                                            : description + " (" + QString::number(itemNo) + ")");
}

void frmItem::cmdSymbol_Click() {
    frmSymbol symbols(this);
    ui::RunModal(symbols);
    if (const std::optional<int> code = symbols.SymbolCode()) {
        treeIcon_ = QString(QChar(*code));
        ShowSymbol();
    }
}

void frmItem::chkSerialized_Toggled(bool checked) {
    if (!checked) {
        ui_->chkUseNegativeFormat->setChecked(false);
    }
}

void frmItem::chkUseNegativeFormat_Toggled(bool checked) {
    if (checked) {
        ui_->chkSerialized->setChecked(true);
    }
}

void frmItem::fgExtensions_ValidateEdit(int, int col, const QString& text, bool& cancel) {
    if ((col == kExtMaxSeason || col == kExtMaxTrans) && !CellLong(text)) {
        MsgBox("You must enter a valid numerical value.", kInformation, "Edit Cancelled");
        cancel = true;
    }
}

void frmItem::fgAddOns_ValidateEdit(int, int col, const QString& text, bool& cancel) {
    if (col == kAddOnPrice && !text.trimmed().isEmpty() && !IsNumeric(text.toStdString())) {
        MsgBox("You must enter a valid numerical value.", kInformation, "Edit Cancelled");
        cancel = true;
    }
}

void frmItem::cmdAddExtension_Click() {
    if (itemMaint_ == nullptr) {
        return;
    }
    std::int32_t itemNo = 0;
    QString description;
    if (!itemMaint_->SelectItem(ttoAll, false, &itemNo, &description)) {
        return;
    }
    FlexGrid& grid = *ui_->fgExtensions;
    // One extension row per child: the list is saved keyed by it.
    for (int row = 1; row < grid.Rows(); ++row) {
        if (!grid.IsRowHidden(row) && grid.TextMatrix(row, kExtChild).toInt() == itemNo) {
            grid.SetCurrentCell(row, kExtChild);
            MsgBox("Item is already associated as an extension", kInformation, "Invalid Extension");
            return;
        }
    }
    grid.AddItem(QString::number(itemNo) + '\t' + description + "\t0\t0\t0\t0");
    extensionsChanged_ = true;
}

void frmItem::cmdDeleteExtension_Click() {
    FlexGrid& grid = *ui_->fgExtensions;
    for (int row : grid.SelectedRows()) {
        grid.SetRowHidden(row, true);
        extensionsChanged_ = true;
    }
}

void frmItem::cmdPickRedemption_Click() {
    if (itemMaint_ == nullptr) {
        return;
    }
    std::int32_t itemNo = 0;
    QString description;
    if (itemMaint_->SelectItem(ttoAll, false, &itemNo, &description) && itemNo != item_->ItemNo) {
        ShowRedemption(itemNo, description);
    }
}

void frmItem::cmdAddAddOn_Click() {
    std::vector<std::int32_t> picked;
    if (itemMaint_ != nullptr && itemMaint_->SelectItem(ttoAll, true, nullptr, nullptr, &picked)) {
        AddItem(picked);
    }
}

void frmItem::AddItem(const std::vector<std::int32_t>& picked) {
    if (!ui_->chkSerialized->isChecked()) {
        MsgBox("The item you want to add Add-Ons to must be serialzied.", kInformation,
               "Cancelled Add-On Add");
        return;
    }
    FlexGrid& grid = *ui_->fgAddOns;
    for (const std::int32_t itemNo : picked) {
        bool listed = false;
        for (int row = 1; row < grid.Rows(); ++row) {
            listed = listed ||
                     (!grid.IsRowHidden(row) && grid.TextMatrix(row, kAddOnItem).toInt() == itemNo);
        }
        if (listed) {
            MsgBox("Item is already associated as an add-on", kInformation, "Invalid Add-On");
            continue;
        }
        CItem child;
        if (!child.OpenItem(db_, errors_, itemNo)) {
            continue;
        }
        bool serialized = false;
        if (const CItemTicket* ticket = child.TicketItem()) {
            serialized = ticket->Serialized;
        } else if (const CItemSS* ss = child.SSItem()) {
            serialized = ss->Serialized;
        } else {
            MsgBox("Sorry but only Ticket or Ski School item types can be used as add-on items",
                   kInformation, "Invalid Item");
            continue;
        }
        if (serialized) {
            MsgBox("Sorry but you can not add a serialzied item as an add on", kInformation,
                   "Invalid Item");
            continue;
        }
        grid.AddItem("*\t" + QString::number(itemNo) + '\t' + Q(child.LongDescription) +
                     "\t0\t0\t0");
        addOnsChanged_ = true;
    }
    grid.AutoSizeColumns();
}

void frmItem::DeleteAddOn() {
    FlexGrid& grid = *ui_->fgAddOns;
    const int row = grid.Row();
    if (row < 1 || grid.IsRowHidden(row) || grid.TextMatrix(row, kAddOnItem).isEmpty()) {
        return;
    }
    const MsgStyle yesNoCancel{MsgButtons::YesNoCancel, MsgIcon::Question, 2};
    if (MsgBox("Are you sure you want to remove " +
                   grid.TextMatrix(row, kAddOnDescription).toStdString() + " from the add on list?",
               yesNoCancel) == MsgResult::Yes) {
        grid.SetRowHidden(row, true);
        addOnsChanged_ = true;
    }
}

// Validation and save --------------------------------------------------------

bool frmItem::ValidateData() {
    if (item_ == nullptr) {
        return false;
    }
    if (ui_->cmbDepartment->Key().isEmpty()) {
        MsgBox("The accounting department is required", kInformation, "Department Required");
        ui_->tabMain->SetCurrentKey("Accounting");
        ui_->cmbDepartment->setFocus();
        return false;
    }
    // Photo and shipping items have no access rule to give: their categories
    // cannot demand one.
    if (!ui_->fraAccessRule->isHidden() && ui_->cmbCatagory->Cell(kCatRequireRule) == "1" &&
        ui_->cmbAccessRule->Key().toInt() == 0) {
        MsgBox("The Access Rule is required", kInformation, "Access Rule Required");
        ui_->tabMain->SetCurrentKey("Accounting");
        ui_->cmbAccessRule->setFocus();
        return false;
    }
    return item_->ItemNo <= 0 || HostValidates();
}

bool frmItem::HostValidates() {
    AppServer* server = itemMaint_ != nullptr ? itemMaint_->AppServer() : nullptr;
    const std::shared_ptr<Connection> host = server != nullptr ? server->HostConnection() : nullptr;
    if (!host) {
        MsgBox("Host not available to run lookup at this time.  Please try again later");
        return true;
    }
    bool passed = false;
    trap_.Run(errors_, "ValidateData", &host->Native(), [&] {
        auto command = NewProcedure(*host, "sp_item_validate");
        ParameterList& parameters = command->Parameters;
        std::size_t first = 0;
        while (first < parameters.Count() &&
               strcasecmp(parameters.Item(first).Name.c_str(), "@RETURN_VALUE") == 0) {
            ++first;
        }
        parameters.Item(first).Value = item_->ItemNo;
        if (!host->Execute(*command)) {
            return;
        }
        const QString code = Q(NullToEmpty(parameters.Item(first + 1).Value)).trimmed();
        const std::string message =
            Q(NullToEmpty(parameters.Item(first + 2).Value)).trimmed().toStdString();
        if (code == "E") {
            MsgBox(message, kInformation, "Item Validation Error");
            return;
        }
        if (code == "W" &&
            MsgBox(message + " Do you want to continue and save these changes?",
                   kQuestionYesNoDefaultNo, "Item Validation Warning") != MsgResult::Yes) {
            return;
        }
        passed = true;
    });
    return passed;
}

void frmItem::CopyControlsToItem() {
    CItem& item = *item_;
    item.FunctionID = ui_->cmbFunction->Key().toStdString();
    item.FunctionDescription = ui_->cmbFunction->Cell(1).toStdString();
    item.CatagoryID = ui_->cmbCatagory->Key().toStdString();
    item.CatagoryDescription = ui_->cmbCatagory->Cell(kCatDescription).toStdString();
    item.ShortDescription = ui_->txtShortDesc->text().toStdString();
    item.LongDescription = ui_->txtLongDesc->text().toStdString();
    item.TreeIcon = treeIcon_.toStdString();
    item.CommentNote = ui_->txtCommentNote->text().toStdString();
    item.ReportNotes = ui_->txtReportNote->text().toStdString();
    item.DepartmentId = ui_->cmbDepartment->Key().toStdString();
    item.ShowOnTree = ui_->chkShowOnTree->isChecked();
    item.SaleProfileId = NoneAsEmpty(ui_->cmbSaleProfile->Key());
    item.ReturnProfileId = NoneAsEmpty(ui_->cmbReturnProfile->Key());
    const QString status = ui_->cmbStatus->Key();
    item.StatusId = status.isEmpty() ? std::string("ACTIVE") : status.toStdString();
    item.ReturnChargeRate = ui_->txtReturnCharge->text().toDouble();
    item.HostRequired = ui_->chkHostRequired->isChecked();
    item.Taxable = ui_->chkTaxable->isChecked();
    item.UnitBasedReturn = ui_->chkUnitBasedReturn->isChecked();
    item.Instruction = ui_->rtfInstructions->Text().toStdString();
    item.RedeemItem = redeemItem_;
    item.RedeemItemDescription =
        redeemItem_ == 0 ? std::string() : ui_->lblRedemption->text().toStdString();

    const std::int32_t rule = ui_->cmbAccessRule->Key().toInt();
    const std::string transType = ui_->cmbTransType->Key().toStdString();
    const std::int32_t format = ui_->cmbFormat->Key().toInt();
    const bool serialized = ui_->chkSerialized->isChecked();
    if (CItemShip* ship = item.ItemShip()) {
        ship->Rush = ui_->chkShipRush->isChecked();
        ship->Pickup = ui_->chkPickup->isChecked();
    } else if (CItemPhoto* photo = item.ItemPhoto()) {
        photo->PhotoSize = NoneAsEmpty(ui_->cmbPhotoSize->Key());
        photo->LabCode = NoneAsEmpty(ui_->cmbLabCode->Key());
        photo->AutoRush = ui_->chkPhotoRush->isChecked();
        photo->MailNotAllowed = ui_->chkMailNotAllowed->isChecked();
        photo->RequireShipCharge = ui_->chkRequireShipCharge->isChecked();
    } else if (CItemSS* ss = item.SSItem()) {
        ss->AccessRuleNo = rule;
        ss->AccessTransTypeId = transType;
        ss->ResourceTypeId = NoneAsEmpty(ui_->cmbResourceType->Key());
        ss->EventTypeId = NoneAsEmpty(ui_->cmbEventType->Key());
        ss->LaborCodeId = NoneAsEmpty(ui_->cmbLaborCode->Key());
        ss->LessonCodeId = NoneAsEmpty(ui_->cmbLessonCode->Key());
        ss->LaborHours = static_cast<std::int16_t>(ui_->spnLaborHours->value());
        ss->ScheduledHours = static_cast<std::int16_t>(ui_->spnScheduleHours->value());
        ss->ConfirmationLetter = ui_->txtConfirmationLetter->text().toStdString();
        ss->SetFormatNo(format);
        ss->Serialized = serialized;
    } else if (CItemTicket* ticket = item.TicketItem()) {
        ticket->AccessRuleNo = rule;
        ticket->AccessTransTypeId = transType;
        ticket->SetFormatNo(format);
        ticket->SetUseNegativeFormat(ui_->chkUseNegativeFormat->isChecked());
        ticket->Serialized = serialized;
    }
}

bool frmItem::UpdateRegisterGroups() {
    item_->RegisterGroups.clear();
    const ui::CheckList& groups = *ui_->lstRegisterGroups;
    for (int i = 0; i < groups.count(); ++i) {
        if (groups.IsChecked(i)) {
            const QString text = groups.item(i)->text();
            item_->RegisterGroups.push_back(
                {groups.EntryKey(i).toStdString(), text.mid(text.indexOf('-') + 1).toStdString()});
        }
    }
    return item_->UpdateRegisterGroups(db_, errors_);
}

bool frmItem::UpdateExtensions() {
    item_->Extensions.clear();
    const FlexGrid& grid = *ui_->fgExtensions;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.IsRowHidden(row)) {
            continue;
        }
        item_->Extensions.push_back({item_->ItemNo, grid.TextMatrix(row, kExtChild).toInt(),
                                     grid.TextMatrix(row, kExtDescription).toStdString(),
                                     grid.CellChecked(row, kExtCreateNew),
                                     CellLong(grid.TextMatrix(row, kExtMaxSeason)).value_or(0),
                                     CellLong(grid.TextMatrix(row, kExtMaxTrans)).value_or(0),
                                     grid.CellChecked(row, kExtActivating)});
    }
    return item_->UpdateExtensions(db_, errors_);
}

bool frmItem::UpdateAddOns() {
    item_->AddOns.clear();
    const FlexGrid& grid = *ui_->fgAddOns;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.IsRowHidden(row)) {
            continue;
        }
        CItemAddOn addOn;
        addOn.ParentItemNo = item_->ItemNo;
        addOn.ChildItemNo = grid.TextMatrix(row, kAddOnItem).toInt();
        addOn.ChildItemDescription = grid.TextMatrix(row, kAddOnDescription).toStdString();
        addOn.FormatNo = grid.TextMatrix(row, kAddOnFormat).toInt();
        addOn.AccessRuleNo = grid.TextMatrix(row, kAddOnRule).toInt();
        addOn.Price = CellDouble(grid.TextMatrix(row, kAddOnPrice));
        item_->AddOns.push_back(std::move(addOn));
    }
    return item_->UpdateAddOns(db_, errors_);
}

bool frmItem::SaveData() {
    if (db_ == nullptr || item_ == nullptr) {
        return false;
    }
    CopyControlsToItem();
    // A save that fails after the item got its numbers is rolled back: the
    // numbers must go with it, or a retry would update rows that are gone.
    const std::int32_t itemNo = item_->ItemNo;
    const std::int32_t instructionNo = item_->InstructionNo;
    const std::int32_t rowVersion = item_->RowVersion;
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        Transaction unit(*db_);
        if (!item_->Update(db_, errors_) || (registerGroupsChanged_ && !UpdateRegisterGroups()) ||
            (extensionsChanged_ && !UpdateExtensions()) || (addOnsChanged_ && !UpdateAddOns())) {
            return;
        }
        unit.Commit();
        saved = true;
    });
    if (!saved) {
        item_->ItemNo = itemNo;
        item_->InstructionNo = instructionNo;
        item_->RowVersion = rowVersion;
        if (CItemDetail* detail = item_->SubItem()) {
            detail->SetItemNo(itemNo);
        }
        if (!item_->RowConflict().empty() && AskToReload(item_->RowConflict())) {
            Reload();
        }
        return false;
    }
    registerGroupsChanged_ = false;
    extensionsChanged_ = false;
    addOnsChanged_ = false;
    return true;
}

// The item as another station saved it, in place of what the user typed.
void frmItem::Reload() {
    if (!item_->OpenItem(db_, errors_, item_->ItemNo)) {
        return;
    }
    LoadItem();
    LoadTypeValues();
    ui_->lstRegisterGroups->clear();
    LoadRegisterGroups();
    ui_->fgExtensions->Clear();
    LoadExtensionsAndRedemption();
    ui_->fgAddOns->Clear();
    LoadAddOns();
    registerGroupsChanged_ = false;
    extensionsChanged_ = false;
    addOnsChanged_ = false;
}

void frmItem::cmdOk_Click() {
    if (ValidateData() && SaveData()) {
        saved_ = true;
        accept();
    }
}

}  // namespace vym
