#include "serials/frm_serial_properties.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/citem_stock.h"
#include "serials/serial_rules.h"
#include "ui/any_combo.h"
#include "ui/data_combo.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_serial_properties.h"

namespace vym {

using ui::FieldText;
using ui::NullIfEmpty;
using ui::Q;
using ui::S;

namespace {

QString Stamp(const std::string& user, const vym::Date& when) {
    if (when.Serial() == 0) {
        return {};
    }
    return Q(user) + " on " + Q(Format(vym::Value(when), "mm/dd/yy hh:nn ampm"));
}

QString Money(vym::Currency amount) {
    return amount == vym::Currency{} ? QString() : Q(Format(vym::Value(amount), "Currency"));
}

// The item number typed into `edit` when it is not the one assigned
// (`current`); nothing when it is, or, after the message, when it is no
// whole number.
std::optional<std::int32_t> TypedItemNo(QLineEdit& edit, std::int32_t current, const char* message,
                                        const char* title) {
    const QString text = edit.text().trimmed();
    if (text == (current == 0 ? QString() : QString::number(current))) {
        return std::nullopt;
    }
    bool number = false;
    const std::int32_t typed = text.toInt(&number);
    if (!text.isEmpty() && !number) {
        MsgBox(message, kInformation, title);
        edit.setFocus();
        edit.selectAll();
        return std::nullopt;
    }
    return typed;
}

std::int32_t ReturnValue(Command& cmd) {
    return NullToZero(cmd.Parameters["@RETURN_VALUE"].Value).ToLong();
}

}  // namespace

frmSerialProperties::frmSerialProperties(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSerialProperties>()) {
    ui_->setupUi(this);
    ui_->cmbMountingLocation->Reset("<None>");
    ui_->cmbPrintFormat->Reset("<None>");
    ui_->cmbLocation->SetColumns({"location_id", "Description", "serial_prefix"});
    ui_->cmbLocation->SetListColumn(1);
    ui_->cmbStatus->SetColumns({"status_id", "Description"});
    ui_->cmbStatus->SetListColumn(1);
    for (QLineEdit* edit : {ui_->txtItemNo, ui_->txtBindingItemNo, ui_->txtMapId}) {
        edit->installEventFilter(this);
    }
    ui_->lstMapIds->installEventFilter(this);
    // Enter assigns items and adds map ids here; it never saves or closes.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    connect(ui_->txtItemNo, &QLineEdit::editingFinished, this,
            &frmSerialProperties::txtItemNo_Validate);
    connect(ui_->txtBindingItemNo, &QLineEdit::editingFinished, this,
            &frmSerialProperties::txtBindingItemNo_Validate);
    connect(ui_->txtSerialId, &QLineEdit::textEdited, this, [this] { serialOrigin_ = "USER"; });
    connect(ui_->txtSerialId, &QLineEdit::editingFinished, this,
            &frmSerialProperties::txtSerialId_Validate);
    connect(ui_->txtMfgSerial, &QLineEdit::editingFinished, this,
            &frmSerialProperties::txtMfgSerial_Validate);
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit != ui_->txtMapId) {
            connect(edit, &QLineEdit::textEdited, this, &frmSerialProperties::SetChanged);
        }
    }
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        connect(combo, &QComboBox::activated, this, &frmSerialProperties::SetChanged);
    }
    connect(ui_->chkActive, &QCheckBox::toggled, this, &frmSerialProperties::SetChanged);
    connect(ui_->cmdItemLookup, &QToolButton::clicked, this,
            &frmSerialProperties::cmdItemLookup_Click);
    connect(ui_->cmdBindingLookup, &QToolButton::clicked, this,
            &frmSerialProperties::cmdBindingLookup_Click);
    connect(ui_->cmdGenerate, &QPushButton::clicked, this, &frmSerialProperties::cmdGenerate_Click);
    connect(ui_->cmdCreateLike, &QPushButton::clicked, this,
            &frmSerialProperties::cmdCreateLike_Click);
    connect(ui_->cmdPrintLabel, &QPushButton::clicked, this,
            &frmSerialProperties::cmdPrintLabel_Click);
    connect(ui_->cmdApply, &QPushButton::clicked, this, &frmSerialProperties::cmdApply_Click);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmSerialProperties::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &frmSerialProperties::cmdCancel_Click);
}

frmSerialProperties::~frmSerialProperties() = default;

Connection* frmSerialProperties::Db() const {
    return context_ ? context_->DBConnection().get() : nullptr;
}

void frmSerialProperties::SetChanged() {
    if (!loading_) {
        changed_ = true;
    }
}

bool frmSerialProperties::Setup(ScreenContext* context, std::int32_t lItemNo,
                                const QString& sSerialId, const QString& sLocation) {
    context_ = context;
    FillLists();
    isNew_ = sSerialId.isEmpty();
    if (isNew_) {
        unit_ = CStockSerial();
        unit_.IsActive = true;
        unit_.LocationId = S(sLocation);
        ShowUnit();
        if (lItemNo != 0) {
            AssignItem(lItemNo);
        }
        return true;
    }
    if (!unit_.OpenSerial(Db(), context_->ErrorObject(), lItemNo, S(sSerialId))) {
        return false;
    }
    ReadItemKind();
    ShowUnit();
    return true;
}

bool frmSerialProperties::SetupLike(ScreenContext* context, std::int32_t lItemNo,
                                    const QString& sSerialId) {
    if (!Setup(context, lItemNo, sSerialId)) {
        return false;
    }
    CStockSerial another = unit_;
    another.SerialId.clear();
    if (!QuantityAllows(another)) {
        return false;
    }
    unit_.ClearState();
    isNew_ = true;
    ShowUnit();
    return true;
}

void frmSerialProperties::FillLists() {
    Connection* db = Db();
    if (db == nullptr) {
        return;
    }
    trap_.Run(context_->ErrorObject(), "FillLists", db, [&] {
        auto locations = db->ExecuteRecordset(
            *NewProcedure(*db, "VYM_SP_SERIAL_GetLocation", {{"@stock_type_id", "RENTAL"}}));
        ui_->cmbLocation->ClearRows();
        ui_->cmbMountingLocation->Reset();
        for (; !locations->Eof(); locations->MoveNext()) {
            const QString id = FieldText(*locations, "location_id");
            const QString description = FieldText(*locations, "Description");
            ui_->cmbLocation->AddRow({id, description, FieldText(*locations, "serial_prefix")});
            ui_->cmbMountingLocation->AddEntry(id, description);
        }
        auto formats = db->ExecuteRecordset(
            *NewProcedure(*db, "VYM_SP_SERIAL_GetPrintFormat", {{"@print_format_type", "STOCK"}}));
        ui_->cmbPrintFormat->Reset();
        for (; !formats->Eof(); formats->MoveNext()) {
            ui_->cmbPrintFormat->AddEntry(FieldText(*formats, "format_no"),
                                          FieldText(*formats, "Description"));
        }
        auto statuses = db->ExecuteRecordset(*NewProcedure(*db, "VYM_SP_SERIAL_GetSerialStatus"));
        ui_->cmbStatus->ClearRows();
        for (; !statuses->Eof(); statuses->MoveNext()) {
            ui_->cmbStatus->AddRow(
                {FieldText(*statuses, "status_id"), FieldText(*statuses, "Description")});
        }
    });
}

// Whether the unit's item belongs to the rental fleet decides what a save
// requires.
void frmSerialProperties::ReadItemKind() {
    CItemStock stock;
    rentalType_.clear();
    if (unit_.ItemNo != 0 && stock.OpenStock(Db(), context_->ErrorObject(), unit_.ItemNo, {})) {
        rentalType_ = Q(stock.RentalType);
    }
}

void frmSerialProperties::ShowItemFields() {
    ui_->txtItemNo->setText(unit_.ItemNo == 0 ? QString() : QString::number(unit_.ItemNo));
    ui_->lblItemDesc->setText(Q(unit_.ItemDesc));
    ui_->lblSerialType->setText(Q(unit_.SerialTypeDesc));
    ui_->lblStockSize->setText(Q(unit_.StockSize));
    ui_->lblModel->setText(Q(unit_.ModelDesc));
    ui_->lblBindingType->setText(Q(unit_.BindingTypeDesc));
    ui_->lblRentalItem->setText(Q(unit_.RentalItemDesc));
    ui_->txtBootLength->setText(unit_.BootLength == 0 ? QString()
                                                      : QString::number(unit_.BootLength));
    ui_->txtBindingItemNo->setText(unit_.BindingItemNo == 0 ? QString()
                                                            : QString::number(unit_.BindingItemNo));
    ui_->lblBindingItemDesc->setText(Q(unit_.BindingItemDesc));
    ui_->lblBindingItemType->setText(Q(unit_.BindingItemTypeDesc));
}

void frmSerialProperties::ShowUnit() {
    loading_ = true;
    ShowItemFields();
    ui_->txtSerialId->setText(Q(unit_.SerialId));
    ui_->txtSerialId->setReadOnly(!isNew_);
    ui_->cmdGenerate->setEnabled(isNew_);
    ui_->txtMfgSerial->setText(Q(unit_.MfgSerial));
    if (!ui_->cmbLocation->SetKey(Q(unit_.LocationId))) {
        ui_->cmbLocation->setCurrentIndex(-1);
    }
    ui_->cmbLocation->setEnabled(isNew_);
    ui_->cmbMountingLocation->SetKey(Q(unit_.MountingLocationId));
    ui_->cmbPrintFormat->SetKey(unit_.PrintFormatNo == 0 ? QString()
                                                         : QString::number(unit_.PrintFormatNo));
    ui_->txtComment->setText(Q(unit_.CommentNote));
    if (!ui_->cmbStatus->SetKey(Q(unit_.StatusId))) {
        ui_->cmbStatus->setCurrentIndex(-1);
    }
    ui_->chkActive->setChecked(unit_.IsActive);
    ui_->lblCurrentLocation->setText(Q(unit_.CurrentLocationDesc));
    ui_->lblCustomer->setText(Q(unit_.CustomerName()));
    const auto number = [](std::int32_t n) { return n == 0 ? QString() : QString::number(n); };
    ui_->lblContract->setText(number(unit_.ContractNo()));
    ui_->lblLine->setText(number(unit_.LineNo()));
    ui_->lblSeq->setText(number(unit_.SeqNo()));
    ui_->lblCreated->setText(Stamp(unit_.CreatedBy, unit_.CreatedOn));
    ui_->lblLastModified->setText(Stamp(unit_.LastModifiedBy, unit_.LastModifiedOn));
    ui_->txtOriginalCost->setText(Money(unit_.OriginalCost));
    ui_->txtRetailPrice->setText(Money(unit_.RetailPrice));
    ui_->txtDepreciatedValue->setText(Money(unit_.DepreciatedValue));
    QString title = "Serial Properties";
    if (!unit_.SerialId.empty()) {
        title += " of " + Q(unit_.SerialId);
    }
    if (!unit_.ItemDesc.empty()) {
        title += " for " + Q(unit_.ItemDesc);
    }
    setWindowTitle(title);
    serialOrigin_.clear();
    checkedSerial_ = Q(unit_.SerialId);
    checkedMfgSerial_ = Q(unit_.MfgSerial);
    LoadMapIds();
    loading_ = false;
}

// Item # ------------------------------------------------------------------------

void frmSerialProperties::txtItemNo_Validate() {
    if (const auto itemNo =
            TypedItemNo(*ui_->txtItemNo, unit_.ItemNo, "Must enter a valid item number",
                        "Invalid Purchase Item Number")) {
        AssignItem(*itemNo);
    }
}

void frmSerialProperties::cmdItemLookup_Click() {
    std::int32_t itemNo = 0;
    if (context_ && context_->SelectItem(ttoStock, false, &itemNo, nullptr, nullptr, {}, true, {},
                                         {}, {}, false, std::nullopt, true)) {
        AssignItem(itemNo);
    }
}

void frmSerialProperties::AssignItem(std::int32_t itemNo) {
    const auto refuse = [this](const char* message) {
        MsgBox(message, kInformation, "Assign Item Cancelled");
        ShowItemFields();
    };
    CItem item;
    if (itemNo != 0 && !item.OpenItem(Db(), context_->ErrorObject(), itemNo)) {
        return refuse("Sorry the Item you selected is not valid can not be used.");
    }
    auto* stock = dynamic_cast<CItemStock*>(item.SubItem());
    if (itemNo != 0 && (item.ItemType() != "STOCK" || stock == nullptr)) {
        return refuse("Sorry the Item you selected is not a stock type and can not be used.");
    }
    if (itemNo != 0 && !stock->Serialized) {
        return refuse("Sorry the Item you selected is not serialized and can not be used.");
    }
    if (itemNo != 0 && stock->SerialTypeId.empty()) {
        return refuse(
            "Sorry the Item you selected does not have a serial type id and can not be used.");
    }
    CItemStock none;
    const CItemStock& s = stock ? *stock : none;
    unit_.ItemNo = itemNo;
    unit_.ItemDesc = item.LongDescription;
    unit_.StockTypeId = s.StockTypeId;
    unit_.SerialTypeId = s.SerialTypeId;
    unit_.SerialTypeDesc = s.SerialTypeDesc;
    unit_.StockSize = s.StockSize;
    unit_.ModelId = s.Model;
    unit_.ModelDesc = s.StockModelDesc;
    unit_.ModelSerialPrefixId = s.ModelSerialPrefix;
    unit_.BindingTypeId = s.BindingTypeId;
    unit_.BindingTypeDesc = s.BindingTypeDesc;
    unit_.VendorId = s.VendorId;
    unit_.VendorName = s.VendorName;
    unit_.BootLength = s.BootLength;
    unit_.Cost = vym::Currency::FromDouble(s.CurrentCost);
    unit_.ItemUnitPrice = vym::Currency::FromDouble(s.UnitPrice);
    rentalType_ = Q(s.RentalType);
    unit_.RentalItemDesc.clear();
    if (itemNo != 0) {
        trap_.Run(context_->ErrorObject(), "AssignItem", Db(), [&] {
            auto cmd =
                NewProcedure(*Db(), "VYM_SP_SERIAL_GetRentalItemDesc", {{"@item_no", itemNo}});
            if (!Db()->Execute(*cmd)) {
                return;
            }
            unit_.RentalItemDesc = NullToEmpty(cmd->Parameters["@rental_item_desc"].Value);
        });
    }
    loading_ = true;
    ShowItemFields();
    loading_ = false;
    SetChanged();
    if (itemNo != 0) {
        (unit_.SerialTypeId == "SKI" ? static_cast<QWidget*>(ui_->txtBindingItemNo)
                                     : ui_->cmbLocation)
            ->setFocus();
    }
}

// Binding item ------------------------------------------------------------------

void frmSerialProperties::txtBindingItemNo_Validate() {
    if (const auto itemNo =
            TypedItemNo(*ui_->txtBindingItemNo, unit_.BindingItemNo,
                        "Must enter a valid binding item number", "Invalid Binding Number")) {
        AssignBindingItem(*itemNo);
    }
}

void frmSerialProperties::cmdBindingLookup_Click() {
    std::int32_t itemNo = 0;
    if (context_ && context_->SelectItem(ttoStock, false, &itemNo, nullptr, nullptr, {}, true, {},
                                         "RENTAL", {}, true)) {
        AssignBindingItem(itemNo);
    }
}

void frmSerialProperties::AssignBindingItem(std::int32_t itemNo) {
    const auto refuse = [this](const char* message) {
        MsgBox(message, kInformation, "Assign Binding Item Cancelled");
        ShowItemFields();
    };
    CItem item;
    if (itemNo != 0 && !item.OpenItem(Db(), context_->ErrorObject(), itemNo)) {
        return refuse("Sorry the Item you selected is invalid and can not be used.");
    }
    auto* stock = dynamic_cast<CItemStock*>(item.SubItem());
    if (itemNo != 0 && (item.ItemType() != "STOCK" || stock == nullptr)) {
        return refuse("Sorry the Item you selected is not a stock type and can not be used.");
    }
    if (itemNo != 0 && stock->BindingTypeId.empty()) {
        return refuse(
            "Sorry the Item you selected does not have a binding type id and can not be used.");
    }
    unit_.BindingItemNo = itemNo;
    unit_.BindingItemDesc = itemNo != 0 ? item.LongDescription : std::string();
    unit_.BindingItemTypeId = stock ? stock->BindingTypeId : std::string();
    unit_.BindingItemTypeDesc = stock ? stock->BindingTypeDesc : std::string();
    unit_.BindingUnitPrice = vym::Currency::FromDouble(stock ? stock->UnitPrice : 0.0);
    loading_ = true;
    ShowItemFields();
    loading_ = false;
    SetChanged();
}

// Serial ids ----------------------------------------------------------------------

void frmSerialProperties::txtSerialId_Validate() {
    const QString text = ui_->txtSerialId->text().trimmed();
    if (!isNew_ || text.isEmpty() || text == checkedSerial_ || unit_.ItemNo == 0) {
        return;
    }
    bool unique = true;
    trap_.Run(context_->ErrorObject(), "txtSerialId_Validate", Db(), [&] {
        auto cmd = NewProcedure(*Db(), "VYM_SP_SERIAL_IsSerialUnique",
                                {{"@item_no", unit_.ItemNo}, {"@serial_id", S(text)}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        unique = ReturnValue(*cmd) >= 0;
    });
    if (!unique) {
        MsgBox("The serial number you have provided is not unique.", kInformation,
               "Non-Unique Serial id");
        ui_->txtSerialId->setFocus();
        ui_->txtSerialId->selectAll();
        return;
    }
    checkedSerial_ = text;
}

void frmSerialProperties::txtMfgSerial_Validate() {
    const QString text = ui_->txtMfgSerial->text().trimmed();
    if (text.isEmpty() || text == checkedMfgSerial_ || unit_.ItemNo == 0) {
        return;
    }
    bool unique = true;
    trap_.Run(context_->ErrorObject(), "txtMfgSerial_Validate", Db(), [&] {
        auto cmd = NewProcedure(*Db(), "VYM_SP_SERIAL_IsMfgSerialUnique",
                                {{"@item_no", unit_.ItemNo},
                                 {"@serial_id", NullIfEmpty(ui_->txtSerialId->text().trimmed())},
                                 {"@mfg_serial", S(text)}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        unique = ReturnValue(*cmd) >= 0;
    });
    if (!unique &&
        MsgBox("The manufacturer serial number you have provided is not unique.  Are "
               "you sure you want to use this serial?",
               kQuestionYesNoDefaultNo, "Confirm Un-Unique Mfg Serial") != MsgResult::Yes) {
        ui_->txtMfgSerial->setFocus();
        ui_->txtMfgSerial->selectAll();
        return;
    }
    checkedMfgSerial_ = text;
}

void frmSerialProperties::cmdGenerate_Click() {
    if (unit_.ItemNo == 0) {
        MsgBox("You must define a purchase item before a serial number can be generated.",
               kInformation, "Purchase Item Required");
        return;
    }
    const QString location = ui_->cmbLocation->Key();
    if (location.isEmpty()) {
        MsgBox("You must assign a location before a serial number can be generated.", kInformation,
               "Location Required");
        return;
    }
    // What the user typed is theirs to keep.
    if (serialOrigin_ == "USER" && !ui_->txtSerialId->text().trimmed().isEmpty()) {
        return;
    }
    QString id;
    trap_.Run(context_->ErrorObject(), "cmdGenerate_Click", Db(), [&] {
        auto cmd = NewProcedure(*Db(), "VYM_SP_SERIAL_GenerateUniqueSerial",
                                {{"@item_no", unit_.ItemNo}, {"@location_id", S(location)}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        if (ReturnValue(*cmd) < 0) {
            MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation,
                   "Unable to Generate Serial");
            return;
        }
        id = Q(NullToEmpty(cmd->Parameters["@serial_id"].Value));
    });
    if (id.isEmpty()) {
        return;
    }
    unit_.SerialId = S(id);
    unit_.LocationId = S(location);
    unit_.LocationDesc = S(ui_->cmbLocation->Cell(1));
    if (!QuantityAllows(unit_)) {
        return;
    }
    ui_->txtSerialId->setText(id);
    serialOrigin_ = "CALC";
    checkedSerial_ = id;
    SetChanged();
}

bool frmSerialProperties::QuantityAllows(CStockSerial& unit) {
    if (unit.CheckQOH(Db(), context_->ErrorObject()) >= 1) {
        return true;
    }
    MsgBox(
        "Sorry there is not enough qty on hand available at the requested location " +
            (unit.LocationDesc.empty() ? unit.LocationId : unit.LocationDesc) +
            " inorder to create a new serial item.\r\nqty on hand = " + std::to_string(unit.QOH) +
            " and Qty Serialized = " + std::to_string(unit.QtySerialized) +
            "\r\nPlease transfer more to that location and try again.",
        kInformation, "Unable to Create Like");
    return false;
}

// Map ids -------------------------------------------------------------------------

void frmSerialProperties::LoadMapIds() {
    ui_->lstMapIds->clear();
    if (isNew_ || unit_.ItemNo == 0 || Db() == nullptr) {
        return;
    }
    trap_.Run(context_->ErrorObject(), "LoadMapIds", Db(), [&] {
        auto maps = Db()->ExecuteRecordset(
            *NewProcedure(*Db(), "VYM_SP_SERIAL_GetStockSerialMapIds",
                          {{"@item_no", unit_.ItemNo}, {"@serial_id", unit_.SerialId}}));
        for (; !maps->Eof(); maps->MoveNext()) {
            ui_->lstMapIds->addItem(FieldText(*maps, "map_id"));
        }
    });
}

void frmSerialProperties::AddMapId() {
    const std::string map = S(ui_->txtMapId->text().trimmed());
    const std::string serial = isNew_ ? std::string() : unit_.SerialId;
    if (const Verdict refusal = CheckMapId(unit_.ItemNo != 0, serial, map)) {
        ui::ShowRefusal(*refusal, *this);
        return;
    }
    if (map.empty()) {
        return;
    }
    trap_.Run(context_->ErrorObject(), "AddMapId", Db(), [&] {
        auto cmd = NewProcedure(
            *Db(), "VYM_SP_SERIAL_InsertStockSerialMapIds",
            {{"@item_no", unit_.ItemNo}, {"@serial_id", unit_.SerialId}, {"@map_id", map}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        if (ReturnValue(*cmd) < 0) {
            MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation,
                   "Failed to Insert Map");
            return;
        }
        ui_->txtMapId->clear();
    });
    LoadMapIds();
}

void frmSerialProperties::DeleteMapId() {
    QListWidgetItem* current = ui_->lstMapIds->currentItem();
    if (current == nullptr) {
        return;
    }
    const QString map = current->text();
    if (MsgBox("Are you sure you want to delete the serial map: " + S(map) + "?",
               kQuestionYesNoDefaultNo, "Confirm Serial Map Delete") != MsgResult::Yes) {
        return;
    }
    if (S(map) == unit_.MfgSerial || S(map) == unit_.SerialId) {
        MsgBox(S(map) == unit_.MfgSerial
                   ? "Sorry you can not delete the manufacterur's serial from the map table"
                   : "Sorry you can not delete the serial id from the map table",
               kInformation, "Can not Delete Map");
        return;
    }
    trap_.Run(context_->ErrorObject(), "DeleteMapId", Db(), [&] {
        auto cmd = NewProcedure(
            *Db(), "VYM_SP_SERIAL_DeleteStockSerialMapIds",
            {{"@item_no", unit_.ItemNo}, {"@serial_id", unit_.SerialId}, {"@map_id", S(map)}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        if (ReturnValue(*cmd) < 0) {
            MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation,
                   "Failed to Delete Map");
        }
    });
    LoadMapIds();
}

// Saving --------------------------------------------------------------------------

bool frmSerialProperties::SaveData() {
    const SerialEntry entry{unit_.ItemNo == 0 ? "" : std::to_string(unit_.ItemNo),
                            S(ui_->txtSerialId->text().trimmed()),
                            S(ui_->cmbStatus->Key()),
                            S(rentalType_),
                            unit_.SerialTypeId,
                            S(ui_->cmbLocation->Key()),
                            S(ui_->txtBootLength->text().trimmed())};
    if (const Verdict refusal = CheckSerialSave(entry)) {
        return ui::ShowRefusal(*refusal, *this);
    }
    // A price that is not an amount is refused rather than saved as nothing.
    for (QLineEdit* price : {ui_->txtOriginalCost, ui_->txtRetailPrice, ui_->txtDepreciatedValue}) {
        if (const Verdict refusal = CheckOptionalPrice(S(price->text().trimmed()))) {
            Refusal at = *refusal;
            at.field = S(price->objectName());
            return ui::ShowRefusal(at, *this);
        }
    }
    CStockSerial saving = unit_;
    saving.LocationId = entry.locationId;
    saving.LocationDesc = S(ui_->cmbLocation->Cell(1));
    if (rentalType_ == "RENTAL" && ui_->txtBindingItemNo->text().trimmed().isEmpty()) {
        saving.BindingItemNo = 0;
    }
    saving.BootLength = static_cast<std::int16_t>(ParseNumber(entry.bootLength).value_or(0.0));
    saving.MountingLocationId = S(ui_->cmbMountingLocation->Key());
    saving.MfgSerial = S(ui_->txtMfgSerial->text().trimmed());
    saving.SerialId = entry.serialId;
    if (isNew_ && !QuantityAllows(saving)) {
        return false;
    }
    saving.PrintFormatNo = ui_->cmbPrintFormat->Key().toInt();
    saving.CommentNote = S(ui_->txtComment->text());
    saving.StatusId = entry.statusId;
    saving.IsActive = ui_->chkActive->isChecked();
    const auto amount = [](QLineEdit* edit) {
        return ParseCurrency(S(edit->text().trimmed())).value_or(vym::Currency{});
    };
    saving.OriginalCost = amount(ui_->txtOriginalCost);
    saving.RetailPrice = amount(ui_->txtRetailPrice);
    saving.DepreciatedValue = amount(ui_->txtDepreciatedValue);
    if (!saving.Update(Db(), context_->ErrorObject(), isNew_)) {
        if (!saving.RowConflict().empty() && AskToReload(saving.RowConflict())) {
            ReloadUnit();
        }
        return false;
    }
    isNew_ = false;
    changed_ = false;
    saved_ = true;
    unit_ = saving;
    unit_.OpenSerial(Db(), context_->ErrorObject(), saving.ItemNo, saving.SerialId);
    ShowUnit();
    return true;
}

// The unit as another station left it; what was typed goes.
void frmSerialProperties::ReloadUnit() {
    if (unit_.OpenSerial(Db(), context_->ErrorObject(), unit_.ItemNo, unit_.SerialId)) {
        ReadItemKind();
        ShowUnit();
        changed_ = false;
    }
}

bool frmSerialProperties::OfferSave() {
    if (!changed_) {
        return true;
    }
    switch (MsgBox("Do you want to save the changes?",
                   {MsgButtons::YesNoCancel, MsgIcon::Question, 2}, "Save Changes")) {
        case MsgResult::Cancel:
            return false;
        case MsgResult::Yes:
            return SaveData();
        default:
            return true;
    }
}

void frmSerialProperties::cmdCreateLike_Click() {
    if (!OfferSave()) {
        return;
    }
    CStockSerial another = unit_;
    another.SerialId.clear();
    another.LocationId = S(ui_->cmbLocation->Key());
    another.LocationDesc = S(ui_->cmbLocation->Cell(1));
    if (!QuantityAllows(another)) {
        return;
    }
    unit_.ClearState();
    isNew_ = true;
    changed_ = false;
    ShowUnit();
    ui_->txtSerialId->setFocus();
}

void frmSerialProperties::cmdPrintLabel_Click() {
    if (ui_->cmbPrintFormat->IsAny()) {
        MsgBox("Please select a print format before printing labels.", kInformation,
               "Print Format Required");
        return;
    }
    if (!OfferSave()) {
        return;
    }
    context_->PrintStockLabels({{unit_.ItemNo, Q(unit_.SerialId)}}, true);
}

void frmSerialProperties::cmdOk_Click() {
    if (SaveData()) {
        accept();
    }
}

void frmSerialProperties::cmdCancel_Click() {
    if (changed_) {
        switch (MsgBox("Do you want to save your changes to this serial number?",
                       {MsgButtons::YesNoCancel, MsgIcon::Question, 1}, "Save Changes?")) {
            case MsgResult::Cancel:
                return;
            case MsgResult::Yes:
                if (!SaveData()) {
                    return;
                }
                break;
            default:
                break;
        }
    }
    changed_ = false;
    reject();
}

void frmSerialProperties::closeEvent(QCloseEvent* event) {
    if (changed_ &&
        MsgBox("Do you want to save the changes?", kQuestionYesNoDefaultNo, "Save Changes") ==
            MsgResult::Yes &&
        !SaveData()) {
        event->ignore();  // the refusal said why; what was typed stays
        return;
    }
    changed_ = false;
    QDialog::closeEvent(event);
}

bool frmSerialProperties::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && watched == ui_->txtMapId) {
        AddMapId();
        return true;
    }
    if (enter && watched == ui_->txtItemNo) {
        txtItemNo_Validate();
        return true;
    }
    if (enter && watched == ui_->txtBindingItemNo) {
        txtBindingItemNo_Validate();
        return true;
    }
    if (key == Qt::Key_Delete && watched == ui_->lstMapIds) {
        DeleteMapId();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vym
