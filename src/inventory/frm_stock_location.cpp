#include "inventory/frm_stock_location.h"

#include <QPushButton>

#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "host/mod_db_filler.h"
#include "host/screen_context.h"
#include "inventory/inventory_search_fields.h"
#include "ui/flex_grid.h"
#include "ui_frm_stock_location.h"

namespace vym {

using ui::FlexGrid;

namespace {

constexpr int kLockedCol = 6;
constexpr int kFirstDateCol = 7;
constexpr int kLastDateCol = 9;

}  // namespace

frmStockLocation::frmStockLocation(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockLocation>()) {
    ui_->setupUi(this);
    AcceptItemNumbers(*ui_->txtItemNo);

    FlexGrid& grid = *ui_->fgLocation;
    grid.SetFormatString(
        "ItemNo|Location|Qty on Hand|Qty Serialized|Min Qty|Order Qty|Locked|Last "
        "Inventory|Last Sold|Last Used");
    const char* keys[] = {"ItemNo",         "LocationID",    "Qty_On_Hand", "Qty_Serialized",
                          "Min_Qty",        "Order_Qty",     "Locked",      "Last_Inventory_Date",
                          "Last_Date_Sold", "Last_Date_Used"};
    for (int col = 0; col < grid.Cols(); ++col) {
        grid.SetColumnKey(col, keys[col]);
    }
    grid.SetColumnKind(kLockedCol, FlexGrid::ColumnKind::CheckBox);
    for (int col = kFirstDateCol; col <= kLastDateCol; ++col) {
        grid.SetColumnFormat(col, "MM/dd/yyyy");
    }
    connect(ui_->cmdFind, &QPushButton::clicked, this, &frmStockLocation::SearchStockLocation);
    connect(ui_->cmdStop, &QPushButton::clicked, this, [] { StopFill(); });
    ui_->cmdFind->setDefault(true);
    SetFilling(false);
}

frmStockLocation::~frmStockLocation() = default;

void frmStockLocation::Setup(ScreenContext* itemMaint, std::int32_t itemNo,
                             const QString& locationId) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        FillLocationCombo(*ui_->cmbLocation, *db_,
                          "SELECT Location_ID, Description FROM vym_Location ORDER BY Description");
    });
    if (itemNo != 0) {
        ui_->txtItemNo->setText(QString::number(itemNo));
    }
    ChooseLocation(*ui_->cmbLocation, locationId);
}

void frmStockLocation::SearchStockLocation() {
    if (db_ == nullptr || filling_) {
        return;
    }
    FlexGrid& grid = *ui_->fgLocation;
    grid.Clear();
    trap_.Run(errors_, "SearchStockLocation", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetItemStockLocation",
                                    {{"@item_no", ItemNoOrNull(*ui_->txtItemNo)},
                                     {"@location_id", LocationOrNull(*ui_->cmbLocation)}});
        auto rows = db_->ExecuteRecordset(*command);
        // Every location of a large catalogue takes a while: Stop ends it.
        SetFilling(true);
        FillGridFromRecordset(errors_, grid, *rows, true);
    });
    SetFilling(false);
    grid.AutoSizeColumns();
}

void frmStockLocation::SetFilling(bool filling) {
    filling_ = filling;
    ui_->cmdFind->setEnabled(!filling);
    ui_->cmdStop->setEnabled(filling);
}

// Closing while rows still load ends the load first.
void frmStockLocation::reject() {
    if (filling_) {
        StopFill();
    }
    QDialog::reject();
}

}  // namespace vym
