#include "sales/frm_stock_sales.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "model/csale.h"
#include "sales/frm_dept_sale_pricing.h"
#include "sales/frm_new_sale.h"
#include "sales/frm_sale_customer_groups.h"
#include "sales/frm_sale_items.h"
#include "sales/frm_stock_sale_pricing.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_stock_sales.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

constexpr const char* kDateFormat = "mm/dd/yyyy";

QString ShownType(const QString& type) {
    return type == "StockNo" ? QString("ItemNo") : type;
}

QString DateText(const Value& value) {
    return Q(Format(value, kDateFormat));
}

}  // namespace

frmStockSales::frmStockSales(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockSales>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgSales;
    grid.SetFormatString(
        ">Sale ID|<Type|<Description|<Location|<Start Date|<End Date|^Item Qualified|"
        "^Cust Qualified");
    const char* keys[] = {"SaleID",    "SaleType", "Description",   "LocationID",
                          "StartDate", "EndDate",  "ItemQualified", "CustomerQualified"};
    for (int col = kSaleId; col <= kCustomerQualified; ++col) {
        grid.SetColumnKey(col, keys[col]);
        grid.SetColumnEditable(col, col == kDescription);
    }
    grid.SetColumnKind(kItemQualified, FlexGrid::ColumnKind::CheckBox);
    grid.SetColumnKind(kCustomerQualified, FlexGrid::ColumnKind::CheckBox);
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SetEditable(true);

    mnuSale_ = new QMenu("&Sale", this);
    mnuSale_->setObjectName("mnuSale");
    auto add = [this](const char* name, const char* caption) {
        QAction* action = mnuSale_->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    connect(add("mnuSaleDetail", "Sale &Detail..."), &QAction::triggered, this,
            [this] { EditSale(CurrentSaleNo() > 0 ? CurrentSaleNo() : -1); });
    connect(add("mnuItemQualified", "&Item Qualified..."), &QAction::triggered, this,
            &frmStockSales::mnuItemQualified_Click);
    connect(add("mnuCustomerQualified", "Customer Qualified"), &QAction::triggered, this,
            &frmStockSales::mnuCustomerQualified_Click);
    connect(add("mnuDelete", "Delete"), &QAction::triggered, this, &frmStockSales::DeleteSale);
    add("mnuExit", "E&xit");  // shown, as it always was, with nothing to do

    grid.SetContextMenu(mnuSale_);
    connect(&grid, &FlexGrid::CellDoubleClicked, this,
            [this](int, int) { EditSale(CurrentSaleNo() > 0 ? CurrentSaleNo() : -1); });
    connect(&grid, &FlexGrid::ValidateEdit, this, &frmStockSales::fgSales_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this, &frmStockSales::UpdateSaleDescription);
    connect(&grid, &FlexGrid::DeleteKeyPressed, this, &frmStockSales::DeleteSale);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, [this] { EditSale(-1); });
    connect(ui_->cmdCopy, &QPushButton::clicked, this, [this] {
        if (CurrentSaleNo() > 0) {
            CopySale(CurrentSaleNo());
        }
    });
    connect(ui_->cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmStockSales::~frmStockSales() = default;

void frmStockSales::Setup(ScreenContext* itemMaint) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    FlexGrid& grid = *ui_->fgSales;
    grid.Clear();
    grid.DefineRowStyle("ItemQualified", QColor(255, 255, 192));
    grid.DefineRowStyle("CustomerQualified", QColor(192, 255, 255));
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetItemStockSale");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            AddSaleRow(*rows);
        }
        grid.AutoSizeColumns();
    });
}

void frmStockSales::AddSaleRow(Recordset& row) {
    FlexGrid& grid = *ui_->fgSales;
    grid.AddItem(QString());
    const int at = grid.Rows() - 1;
    grid.SetTextMatrix(at, kSaleId, FieldText(row, "sale_no"));
    grid.SetTextMatrix(at, kSaleType, ShownType(FieldText(row, "sale_type")));
    grid.SetTextMatrix(at, kDescription, FieldText(row, "Description"));
    grid.SetTextMatrix(at, kLocation, FieldText(row, "loc_desc"));
    grid.SetTextMatrix(at, kStartDate, DateText(row.Fields("sale_start_date").Value()));
    grid.SetTextMatrix(at, kEndDate, DateText(row.Fields("sale_end_date").Value()));
    grid.SetCellChecked(at, kItemQualified, row.Fields("item_qualified").Flag());
    grid.SetCellChecked(at, kCustomerQualified, row.Fields("customer_qualified").Flag());
    StyleRow(at);
}

void frmStockSales::AddSaleRow(const CSale& sale) {
    FlexGrid& grid = *ui_->fgSales;
    grid.AddItem(QString());
    const int at = grid.Rows() - 1;
    grid.SetTextMatrix(at, kSaleId, QString::number(sale.SaleNo));
    grid.SetTextMatrix(at, kSaleType, ShownType(Q(sale.SaleType)));
    grid.SetTextMatrix(at, kDescription, Q(sale.Description));
    grid.SetTextMatrix(at, kLocation,
                       sale.LocationId().empty() ? "<ALL>" : Q(sale.LocationDescription()));
    grid.SetTextMatrix(at, kStartDate, DateText(sale.SaleStartDate));
    grid.SetTextMatrix(at, kEndDate, DateText(sale.SaleEndDate));
    grid.SetCellChecked(at, kItemQualified, sale.ItemQualified);
    StyleRow(at);
    grid.SetCurrentCell(at, kDescription);
}

// Stored data may hold both flags; the item colour wins.
void frmStockSales::StyleRow(int row) {
    FlexGrid& grid = *ui_->fgSales;
    grid.SetRowStyle(row, IsSet(row, kItemQualified)       ? "ItemQualified"
                          : IsSet(row, kCustomerQualified) ? "CustomerQualified"
                                                           : QString());
}

std::int32_t frmStockSales::CurrentSaleNo() const {
    const int row = ui_->fgSales->Row();
    return row > 0 ? ui_->fgSales->TextMatrix(row, kSaleId).toInt() : 0;
}

bool frmStockSales::IsSet(int row, int col) const {
    return ui_->fgSales->CellChecked(row, col);
}

bool frmStockSales::EditSale(std::int32_t saleNo) {
    if (db_ == nullptr) {
        return false;
    }
    CSale sale;
    const bool isNew = saleNo < 1;
    if (isNew) {
        sale.SaleStartDate = Date::Now();
        sale.SaleEndDate = Date(sale.SaleStartDate.Serial() + 7);
    }
    if (!sale.OpenSale(db_, errors_, saleNo) || isNew) {
        sale.SaleNo = 0;  // OpenSale kept the number asked for; the save numbers the sale
        frmNewSale dialog(this);
        dialog.Setup(db_, errors_, &sale);
        ui::RunModal(dialog);
        if (dialog.UserCanceled()) {
            return false;
        }
    }
    if (isNew) {
        sale.SaleStartDate = Date::Now();
        sale.SaleEndDate = sale.SaleStartDate;
    }
    bool canceled = true;
    if (sale.SaleType == "Dept") {
        frmDeptSalePricing pricing(this);
        pricing.Setup(itemMaint_, &sale);
        ui::RunModal(pricing);
        canceled = pricing.UserCanceled();
    } else {
        frmStockSalePricing pricing(this);
        pricing.Setup(itemMaint_, &sale);
        ui::RunModal(pricing);
        canceled = pricing.UserCanceled();
    }
    if (canceled) {
        return false;
    }
    if (isNew) {
        AddSaleRow(sale);
        return true;
    }
    FlexGrid& grid = *ui_->fgSales;
    const int row = grid.Row();
    grid.SetTextMatrix(row, kLocation,
                       sale.LocationId().empty() ? "<ALL>" : Q(sale.LocationDescription()));
    grid.SetTextMatrix(row, kStartDate, DateText(sale.SaleStartDate));
    grid.SetTextMatrix(row, kEndDate, DateText(sale.SaleEndDate));
    return true;
}

bool frmStockSales::CopySale(std::int32_t saleNo) {
    if (db_ == nullptr || itemMaint_ == nullptr) {
        return false;
    }
    QString id, description;
    std::int32_t address = 0, shipTo = 0, invoiceTo = 0, confirmTo = 0;
    if (!itemMaint_->SelectLocation(this, id, description, address, shipTo, invoiceTo, confirmTo)) {
        return false;
    }
    bool copied = false;
    trap_.Run(errors_, "CopySale", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_SALE_Copy",
                                    {{"@sale_no", saleNo}, {"@location_id", S(id)}});
        auto rows = db_->ExecuteRecordset(*command);
        if (!rows->IsOpen() || rows->Eof()) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Unable to Copy Sale");
            return;
        }
        AddSaleRow(*rows);
        ui_->fgSales->SetCurrentCell(ui_->fgSales->Rows() - 1, kSaleId);
        copied = true;
    });
    return copied;
}

void frmStockSales::DeleteSale() {
    FlexGrid& grid = *ui_->fgSales;
    const QList<int> rows = grid.SelectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (MsgBox("Are you sure you want to delete This Sale?", kQuestionYesNoDefaultNo,
                   "Confirm Delete Sale") != MsgResult::Yes) {
            continue;
        }
        const std::int32_t saleNo = grid.TextMatrix(*row, kSaleId).toInt();
        bool deleted = saleNo == 0;
        if (!deleted && db_ != nullptr) {
            trap_.Run(errors_, "DeleteSale", &db_->Native(), [&] {
                auto command =
                    NewProcedure(*db_, "VYM_SP_ITEM_SALE_Delete", {{"@sale_no", saleNo}});
                deleted = db_->Execute(*command) &&
                          NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() >= 0;
            });
        }
        if (deleted) {
            grid.RemoveItem(*row);
        }
    }
}

void frmStockSales::fgSales_ValidateEdit(int, int col, const QString& text, bool& cancel) {
    // The sale's description column holds 60 characters; a longer text is refused here, with
    // the text quoted back, rather than cut short or failing the write on a strict server.
    constexpr int kDescriptionWidth = 60;
    if (col != kDescription || text.size() <= kDescriptionWidth) {
        return;
    }
    cancel = true;
    MsgBox("Error Updating " + S(ui_->fgSales->ColumnKey(col)) + " with " + S(text) + "\r\n" +
           "The description can hold at most " + std::to_string(kDescriptionWidth) +
           " characters.");
}

void frmStockSales::UpdateSaleDescription(int row, int col) {
    FlexGrid& grid = *ui_->fgSales;
    if (col != kDescription || db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "UpdateSaleDescription", &db_->Native(), [&] {
        const std::string saleNo = std::to_string(grid.TextMatrix(row, kSaleId).toInt());
        auto rows = db_->OpenUpdatableRecordset("SELECT * FROM vym_sale WHERE sale_no = " + saleNo);
        if (!rows->IsOpen() || rows->Eof()) {
            return;
        }
        rows->Fields("Description").SetValue(S(grid.TextMatrix(row, kDescription)));
        rows->Update();
    });
}

void frmStockSales::mnuItemQualified_Click() {
    const int row = ui_->fgSales->Row();
    if (row < 1) {
        return;
    }
    if (IsSet(row, kCustomerQualified)) {
        MsgBox(
            "You can not apply item qualified to a sale with customer qualified.\r\n"
            "Clear the customer qualified groups before adding item numbers.",
            kInformation, "Already Customer Qualified");
        return;
    }
    EditSaleItems(CurrentSaleNo());
}

void frmStockSales::mnuCustomerQualified_Click() {
    const int row = ui_->fgSales->Row();
    if (row < 1) {
        return;
    }
    if (IsSet(row, kItemQualified)) {
        MsgBox(
            "You can not apply customer qualified to a sale with item qualified.\r\n"
            "Clear the item qualified items before adding customer groups.",
            kInformation);
        return;
    }
    EditSaleGroups(CurrentSaleNo());
}

bool frmStockSales::EditSaleItems(std::int32_t saleNo) {
    CSale sale;
    if (db_ == nullptr || !sale.OpenSale(db_, errors_, saleNo)) {
        MsgBox("Could not open the sale record", kInformation);
        return false;
    }
    frmSaleItems dialog(this);
    dialog.Setup(itemMaint_, sale.GetSaleItems(db_, errors_));
    ui::RunModal(dialog);
    if (dialog.UserCanceled()) {
        return false;
    }
    bool saved = false;
    trap_.Run(errors_, "EditSaleItems", &db_->Native(), [&] {
        Transaction transaction(*db_);
        if (dialog.ItemQualified() != sale.ItemQualified) {
            sale.ItemQualified = dialog.ItemQualified();
            if (!sale.Update(db_, errors_)) {
                return;
            }
        }
        sale.ItemNos = dialog.ItemNos();
        if (!sale.UpdateSaleItems(db_, errors_)) {
            return;
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved && !sale.RowConflict().empty()) {
        MsgBox(sale.RowConflict(), kInformation, "Changed by Another User");
    }
    if (saved) {
        const int row = ui_->fgSales->FindRow(QString::number(saleNo), kSaleId);
        ui_->fgSales->SetCellChecked(row, kItemQualified, sale.ItemQualified);
        StyleRow(row);
    }
    return saved;
}

bool frmStockSales::EditSaleGroups(std::int32_t saleNo) {
    frmSaleCustomerGroups dialog(this);
    dialog.Setup(db_, errors_, saleNo);
    ui::RunModal(dialog);
    if (dialog.UserCanceled()) {
        return false;
    }
    const int row = ui_->fgSales->FindRow(QString::number(saleNo), kSaleId);
    ui_->fgSales->SetCellChecked(row, kCustomerQualified, dialog.CustomerQualified());
    StyleRow(row);
    return true;
}

}  // namespace vym
