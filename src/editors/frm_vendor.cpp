#include "editors/frm_vendor.h"

#include <QToolButton>

#include "base/prompter.h"
#include "base/value.h"
#include "editors/editor_rules.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "gateway/transaction.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_vendor.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;

namespace {

constexpr int kAllButton = 26;

}  // namespace

frmVendor::frmVendor(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmVendor>()) {
    ui_->setupUi(this);
    for (int i = 0; i <= kAllButton; ++i) {
        auto* button = new QToolButton(ui_->fraIndex);
        button->setObjectName(QString("cmdIndex%1").arg(i));
        button->setText(i == kAllButton ? QString("All") : QString(QChar('A' + i)));
        ui_->layoutIndex->addWidget(button);
        connect(button, &QToolButton::clicked, this,
                [this, i, button] { FilterVendor(i == kAllButton ? QString() : button->text()); });
    }
    ui_->layoutIndex->addStretch(1);

    FlexGrid& grid = *ui_->fgVendors;
    grid.SetFormatString("<VendorID|<Name");
    connect(&grid, &FlexGrid::RowColChange, this, [this](int row, int) {
        if (row != shownRow_ && !SelectVendor(row) && shownRow_ > 0) {
            ui_->fgVendors->SetCurrentCell(shownRow_, 0);
        }
    });
    connect(ui_->txtVendorId, &QLineEdit::textEdited, this, &frmVendor::txtVendorId_Edited);
    // The contact is part of the vendor too: its edits must not be lost.
    for (QLineEdit* box : {ui_->txtVendorName, ui_->txtContact}) {
        connect(box, &QLineEdit::textEdited, this, [this] { changed_ = true; });
    }
    connect(ui_->tabAddress, &ui::KeyTabBar::CurrentKeyChanged, ui_->ctlAddress,
            &ui::AddressControl::ShowType);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmVendor::cmdAdd_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmVendor::DeleteVendor);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmVendor::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    AllowTyping();
}

frmVendor::~frmVendor() = default;

void frmVendor::Setup(ScreenContext* itemMaint, const QString& vendorId) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    ui_->ctlAddress->SetConnection(db_, errors_);
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_VENDOR_ADDRESS_TYPE_get");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            ui_->tabAddress->AddTab(FieldText(*rows, "vendor_address_type"),
                                    FieldText(*rows, "Description"));
        }
    });
    ui_->ctlAddress->ShowType(ui_->tabAddress->CurrentKey());
    if (!vendorId.isEmpty()) {
        FilterVendor(QString());
        const int row = ui_->fgVendors->FindRow(vendorId.toUpper(), 0);
        if (row > 0) {
            ui_->fgVendors->SetCurrentCell(row, 0);
        }
    }
}

void frmVendor::FilterVendor(const QString& filter) {
    if (db_ == nullptr || (HasChanges() && !SaveData())) {
        return;
    }
    FlexGrid& grid = *ui_->fgVendors;
    trap_.Run(errors_, "FilterVendor", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_VENDOR_search",
                                    {{"@filter", filter.toUpper().toStdString()}});
        auto rows = db_->ExecuteRecordset(*command);
        shownRow_ = 0;
        grid.Clear();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            grid.AddItem(FieldText(*rows, "vendor_id") + '\t' + FieldText(*rows, "vendor_name"));
        }
        grid.AutoSizeColumns();
    });
    ClearFields();
    if (grid.Rows() > 1) {
        grid.SetCurrentCell(1, 0);
        if (shownRow_ != 1) {
            SelectVendor(1);
        }
    }
}

bool frmVendor::HasChanges() const {
    return changed_ || ui_->ctlAddress->Changed();
}

void frmVendor::ClearFields() {
    for (QLineEdit* box : {ui_->txtVendorId, ui_->txtVendorName, ui_->txtContact}) {
        box->clear();
    }
    ui_->ctlAddress->Clear();
    new_ = false;
    changed_ = false;
    selectedId_.clear();
    selectedName_.clear();
    primaryAddress_ = 0;
    rowVersion_ = 0;
    AllowTyping();
}

void frmVendor::AllowTyping() {
    // A saved vendor is known by its id: a changed id names a vendor that does
    // not exist. With no vendor shown there is nothing to save typing to.
    const bool shown = new_ || !selectedId_.isEmpty();
    ui_->txtVendorId->setReadOnly(!new_);
    ui_->txtVendorName->setReadOnly(!shown);
    ui_->txtContact->setReadOnly(!shown);
    ui_->ctlAddress->setEnabled(shown);
}

bool frmVendor::SelectVendor(int row) {
    if (HasChanges() && !SaveData()) {
        return false;
    }
    ShowVendor(row);
    return true;
}

void frmVendor::ShowVendor(int row) {
    ClearFields();
    FlexGrid& grid = *ui_->fgVendors;
    shownRow_ = row;
    const QString id = row > 0 && row < grid.Rows() ? grid.TextMatrix(row, 0) : QString();
    if (id.isEmpty() || db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "SelectVendor", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_VENDOR_get", {{"@vendor_id", id.toStdString()}});
        auto rows = db_->ExecuteRecordset(*command);
        if (rows->IsOpen() && !rows->Eof()) {
            ui_->txtVendorId->setText(FieldText(*rows, "vendor_id"));
            ui_->txtVendorName->setText(FieldText(*rows, "vendor_name"));
            ui_->txtContact->setText(FieldText(*rows, "Contact_Name"));
            rowVersion_ = ReadRowVersion(*rows);
        }
        if (rows->NextRecordset()) {
            for (; !rows->Eof(); rows->MoveNext()) {
                ui_->ctlAddress->LoadAddress(FieldText(*rows, "vendor_address_type"),
                                             rows->Fields("address_no").Long());
            }
        }
    });
    selectedId_ = ui_->txtVendorId->text();
    selectedName_ = ui_->txtVendorName->text();
    primaryAddress_ = ui_->ctlAddress->AddressNo("PRIMARY");
    AllowTyping();
}

void frmVendor::txtVendorId_Edited(const QString& text) {
    const int cursor = ui_->txtVendorId->cursorPosition();
    ui_->txtVendorId->setText(text.toUpper());
    ui_->txtVendorId->setCursorPosition(cursor);
    changed_ = true;
}

bool frmVendor::SaveAddresses(const QString& id) {
    ui::AddressControl& addresses = *ui_->ctlAddress;
    if (!addresses.Changed()) {
        return true;
    }
    for (int tab = 0; tab < ui_->tabAddress->count(); ++tab) {
        const QString type = ui_->tabAddress->TabKey(tab);
        if (!addresses.IsNewOrChanged(type)) {
            continue;
        }
        const std::int32_t number = addresses.StoreAddress(type);
        if (number == 0) {
            return false;
        }
        auto link = NewProcedure(*db_, "VYM_SP_ITEM_UpdateVendorAddress",
                                 {{"@vendor_id", id.toStdString()},
                                  {"@vendor_address_no", number},
                                  {"@vendor_address_type", type.toStdString()}});
        if (!db_->Execute(*link)) {
            return false;
        }
        if (NullToZero(link->Parameters["@return_value"].Value).ToLong() != 0) {
            MsgBox(NullToEmpty(link->Parameters["@message"].Value), kInformation,
                   "Update Vendor Address Failed");
            return false;
        }
    }
    return true;
}

bool frmVendor::SaveData() {
    if (db_ == nullptr) {
        return false;
    }
    const QString id = ui_->txtVendorId->text().trimmed().toUpper();
    const QString name = ui_->txtVendorName->text().trimmed();
    if (const Verdict refusal = CheckVendor({new_, id.toStdString(), name.toStdString()})) {
        return ui::ShowRefusal(*refusal, *this);
    }
    ui::AddressControl& addresses = *ui_->ctlAddress;
    const auto stored = addresses.Addresses();
    const std::int32_t version = rowVersion_;
    bool saved = false;
    std::string conflict;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        Transaction transaction(*db_);
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_UpdateVendor",
                         {{"@new_vendor", new_},
                          {"@vendor_id", id.toStdString()},
                          {"@vendor_name", name.toStdString()},
                          {"@contact_name", ui_->txtContact->text().trimmed().toStdString()}});
        SendRowVersion(command->Parameters, new_ ? 0 : rowVersion_);
        if (!db_->Execute(*command)) {
            return;
        }
        if (RowChanged(command->Parameters)) {
            conflict = NullToEmpty(command->Parameters["@message"].Value);
            return;
        }
        rowVersion_ = SavedRowVersion(command->Parameters);
        if (NullToZero(command->Parameters["@return_value"].Value).ToLong() != 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Update Vendor Failed");
            return;
        }
        if (!SaveAddresses(id)) {
            return;
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved) {
        // Rolled back: the vendor and its addresses are as they were read.
        addresses.RestoreAddresses(stored);
        rowVersion_ = version;
        if (!conflict.empty() && AskToReload(conflict)) {
            ShowVendor(shownRow_);
        }
        return false;
    }
    // A new vendor joins the list; a renamed one shows its new name.
    FlexGrid& grid = *ui_->fgVendors;
    int row = grid.FindRow(id, 0);
    if (row < 0) {
        grid.AddItem(id + '\t' + name);
        row = grid.Rows() - 1;
    }
    grid.SetTextMatrix(row, 1, name);
    grid.AutoSizeColumns();
    shownRow_ = row;
    grid.SetCurrentCell(row, 0);
    new_ = false;
    changed_ = false;
    ui_->txtVendorId->setText(id);
    selectedId_ = id;
    selectedName_ = name;
    primaryAddress_ = ui_->ctlAddress->AddressNo("PRIMARY");
    AllowTyping();
    return true;
}

void frmVendor::DeleteVendor() {
    FlexGrid& grid = *ui_->fgVendors;
    const int row = shownRow_;
    if (db_ == nullptr || new_ || row < 1 || row >= grid.Rows()) {
        return;
    }
    const QString name = ui_->txtVendorName->text();
    if (MsgBox("Are you sure you want to delete " + name.toStdString() + "?",
               kQuestionYesNoDefaultNo, "Confirm Vendor Delete") != MsgResult::Yes) {
        return;
    }
    bool deleted = false;
    std::string conflict;
    trap_.Run(errors_, "DeleteVendor", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_VENDOR_delete",
                                    {{"@vendor_id", grid.TextMatrix(row, 0).toStdString()}});
        SendRowVersion(command->Parameters, rowVersion_);
        if (!db_->Execute(*command)) {
            return;
        }
        if (RowChanged(command->Parameters)) {
            conflict = NullToEmpty(command->Parameters["@message"].Value);
            return;
        }
        if (NullToZero(command->Parameters["@return_value"].Value).ToLong() != 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Error Deleting Vendor");
            return;
        }
        deleted = true;
    });
    if (!deleted) {
        if (!conflict.empty() && AskToReload(conflict)) {
            ShowVendor(shownRow_);
        }
        return;
    }
    shownRow_ = 0;
    grid.RemoveItem(row);
    ClearFields();
    const int next = std::min(row, grid.Rows() - 1);
    if (next > 0) {
        grid.SetCurrentCell(next, 0);
        if (shownRow_ != next) {
            SelectVendor(next);
        }
    }
}

void frmVendor::cmdAdd_Click() {
    if (HasChanges() && !SaveData()) {
        return;
    }
    ClearFields();
    shownRow_ = 0;
    new_ = true;
    AllowTyping();
    ui_->txtVendorId->setFocus();
}

void frmVendor::cmdOk_Click() {
    if (HasChanges() && !SaveData()) {
        return;
    }
    cancelled_ = false;
    accept();
}

}  // namespace vym
