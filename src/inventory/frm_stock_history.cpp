#include "inventory/frm_stock_history.h"

#include <QPushButton>

#include "base/date.h"
#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "host/mod_db_filler.h"
#include "host/screen_context.h"
#include "inventory/inventory_search_fields.h"
#include "ui/flex_grid.h"
#include "ui/nullable_date_edit.h"
#include "ui_frm_stock_history.h"

namespace vym {

using ui::FlexGrid;
using ui::NullableDateEdit;

namespace {

constexpr int kTransNoCol = 10;
constexpr int kBookDateCol = 12;
constexpr int kFirstAmountCol = 13;
constexpr int kLastAmountCol = 17;

// A "To" box left empty takes the "From" date.
void CopyFromDate(const NullableDateEdit& from, NullableDateEdit& to) {
    if (!from.IsNull() && to.IsNull()) {
        to.SetValue(from.Value());
    }
}

}  // namespace

frmStockHistory::frmStockHistory(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockHistory>()) {
    ui_->setupUi(this);
    AcceptItemNumbers(*ui_->txtItemNo);

    FlexGrid& grid = *ui_->fgHistory;
    grid.SetFormatString(
        "Location|Trans|Trans Type|^Batch#|To Location|User|^Qty|^Before Qty|^After Qty|Stock "
        "No|^Trans#|^Receiving#|Book Date|>Value|>Current Avg Cost|>Current Avg Freight|>Current "
        "Avg Disc|>Current Cost|Reg-Ctrl-Inv");
    grid.SetColumnFormat(kBookDateCol, "MM/dd/yyyy");
    for (int col = kFirstAmountCol; col <= kLastAmountCol; ++col) {
        grid.SetColumnFormat(col, "($#,###.00)");
    }
    grid.SetEditable(true);
    for (int col = 0; col < grid.Cols(); ++col) {
        grid.SetColumnEditable(col, col == kBookDateCol);
    }
    connect(&grid, &FlexGrid::BeforeEdit, this, [this](int row, int col, bool& cancel) {
        cancel = col != kBookDateCol;
        if (!cancel) {
            bookDateBeforeEdit_ = ui_->fgHistory->TextMatrix(row, col);
        }
    });
    connect(&grid, &FlexGrid::AfterEdit, this, [this](int row, int col) {
        if (col == kBookDateCol) {
            UpdateBookDate(row);
        }
    });

    const std::pair<NullableDateEdit*, NullableDateEdit*> ranges[] = {
        {ui_->dtpTransFrom, ui_->dtpTransTo}, {ui_->dtpBookFrom, ui_->dtpBookTo}};
    for (const auto& [from, to] : ranges) {
        connect(from, &QDateEdit::editingFinished, this, [from, to] { CopyFromDate(*from, *to); });
    }
    connect(ui_->cmdFind, &QPushButton::clicked, this, &frmStockHistory::SearchStockHistory);
    connect(ui_->cmdStop, &QPushButton::clicked, this, [] { StopFill(); });
    connect(ui_->cmdNewSearch, &QPushButton::clicked, this, &frmStockHistory::NewSearch);
    ui_->cmdFind->setDefault(true);
    SetFilling(false);
}

frmStockHistory::~frmStockHistory() = default;

void frmStockHistory::Setup(ScreenContext* itemMaint, std::int32_t itemNo,
                            const QString& locationId, const QString& serialId) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        FillLocationCombo(*ui_->cmbLocation, *db_,
                          "SELECT Location_ID, Description FROM vym_location ORDER BY description");
    });
    if (itemNo != 0) {
        ui_->txtItemNo->setText(QString::number(itemNo));
    }
    ChooseLocation(*ui_->cmbLocation, locationId);
    ui_->txtSerialId->setText(serialId);
}

void frmStockHistory::SearchStockHistory() {
    if (db_ == nullptr || filling_) {
        return;
    }
    CopyFromDate(*ui_->dtpTransFrom, *ui_->dtpTransTo);
    CopyFromDate(*ui_->dtpBookFrom, *ui_->dtpBookTo);
    FlexGrid& grid = *ui_->fgHistory;
    grid.Clear();
    trap_.Run(errors_, "SearchStockHistory", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetItemStockHistory",
                                    {{"@item_no", ItemNoOrNull(*ui_->txtItemNo)},
                                     {"@location_id", LocationOrNull(*ui_->cmbLocation)}});
        const std::pair<const char*, NullableDateEdit*> dates[] = {
            {"@trans_date_start", ui_->dtpTransFrom},
            {"@trans_date_end", ui_->dtpTransTo},
            {"@book_date_start", ui_->dtpBookFrom},
            {"@book_date_end", ui_->dtpBookTo}};
        for (const auto& [name, box] : dates) {
            if (const auto date = box->Value()) {
                command->Parameters[name].Value = *date;
            }
        }
        const QString serial = ui_->txtSerialId->text().trimmed();
        if (!serial.isEmpty()) {
            command->Parameters["@serial_id"].Value = serial.toStdString();
        }
        auto rows = db_->ExecuteRecordset(*command);
        // While rows load only Stop is offered: another search would clear
        // the grid under the fill.
        SetFilling(true);
        FillGridFromRecordset(errors_, grid, *rows, true);
    });
    SetFilling(false);
    grid.AutoSizeColumns();
}

void frmStockHistory::NewSearch() {
    ui_->txtItemNo->clear();
    ui_->txtSerialId->clear();
    ChooseLocation(*ui_->cmbLocation, {});
    for (NullableDateEdit* box :
         {ui_->dtpTransFrom, ui_->dtpTransTo, ui_->dtpBookFrom, ui_->dtpBookTo}) {
        box->SetNull();
    }
    ui_->fgHistory->Clear();
    ui_->txtItemNo->setFocus();
}

void frmStockHistory::UpdateBookDate(int row) {
    FlexGrid& grid = *ui_->fgHistory;
    const QString typed = grid.TextMatrix(row, kBookDateCol).trimmed();
    if (typed == bookDateBeforeEdit_) {
        return;
    }
    bool saved = false;
    vym::Date date;
    trap_.Run(errors_, "UpdateBookDate", db_ != nullptr ? &db_->Native() : nullptr, [&] {
        // A time alone is no book date.
        if (!vym::Date::Parse(typed.toStdString(), date) || date.DateOnly().Serial() == 0) {
            MsgBox("Invalid date, could not save date change", kInformation, "InValid Date");
            return;
        }
        date = date.DateOnly();
        saved = itemMaint_ != nullptr &&
                itemMaint_->UpdateBookDate(grid.TextMatrix(row, kTransNoCol).toInt(), date);
    });
    grid.SetTextMatrix(
        row, kBookDateCol,
        saved ? QString::fromStdString(Format(date, "mm/dd/yyyy")) : bookDateBeforeEdit_);
}

void frmStockHistory::SetFilling(bool filling) {
    filling_ = filling;
    ui_->cmdFind->setEnabled(!filling);
    ui_->cmdNewSearch->setEnabled(!filling);
    ui_->cmdStop->setEnabled(filling);
}

// Closing while rows still load ends the load first.
void frmStockHistory::reject() {
    if (filling_) {
        StopFill();
    }
    QDialog::reject();
}

}  // namespace vym
