#include "pricing/frm_edit_prices.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/screen_context.h"
#include "pricing/frm_stock_price_prop.h"
#include "pricing/price_texts.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_edit_prices.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;

namespace {

constexpr int kItemNo = 1;
constexpr int kDescription = 2;
constexpr int kPriceNo = 3;
constexpr int kLocation = 4;
constexpr int kUom = 7;
constexpr int kUnitQty = 8;
constexpr int kUnitPrice = 9;
constexpr int kPrice = 10;
constexpr int kAllowSeller = 11;
constexpr int kAllowDiscount = 12;

// The first rows show as soon as they are read; after that the load yields
// to the user every few milliseconds rather than after every row, which
// would spend the load announcing rows one by one.
constexpr int kFirstRows = 40;
constexpr int kYieldMs = 30;

QStringList RowCells(Recordset& rows) {
    return {FieldText(rows, "item_type"),
            FieldText(rows, "item_no"),
            FieldText(rows, "item_description"),
            FieldText(rows, "price_no"),
            FieldText(rows, "location_id"),
            price_texts::Season(rows),
            price_texts::Discount(rows),
            FieldText(rows, "uom_id"),
            FieldText(rows, "unit_qty"),
            FieldText(rows, "unit_price"),
            FieldText(rows, "Price"),
            FieldText(rows, "seller_pricing"),
            FieldText(rows, "allow_line_discount")};
}

}  // namespace

frmEditPrices::frmEditPrices(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmEditPrices>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgPrices;
    grid.SetFormatString(
        "ItemType|Item#|Description|Price #|Location|Season|Discount|Unit|UnitQty|Unit "
        "Price|Price|AllowSeller|AllowDiscount");
    grid.SetColumnFormat(kUnitPrice, "0.0000");
    grid.SetColumnFormat(kPrice, "0.0000");
    grid.SetColumnKind(kAllowSeller, FlexGrid::ColumnKind::CheckBox);
    grid.SetColumnKind(kAllowDiscount, FlexGrid::ColumnKind::CheckBox);
    ui_->prgLoad->setTextVisible(true);
    ui_->cmdStop->setEnabled(false);
    connect(&grid, &FlexGrid::CellDoubleClicked, this,
            [this](int row, int) { PriceProperties(row); });
    connect(ui_->cmdStop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    connect(ui_->cmdClose, &QPushButton::clicked, this, [this] {
        stopRequested_ = true;
        accept();
    });
}

frmEditPrices::~frmEditPrices() = default;

bool frmEditPrices::Setup(ScreenContext* itemMaint) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    setWindowTitle("Edit Prices");
    return db_ != nullptr;
}

void frmEditPrices::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loadStarted_ && db_ != nullptr) {
        QTimer::singleShot(0, this, [this] { LoadPrices(); });
    }
}

bool frmEditPrices::LoadPrices() {
    if (loadStarted_ || db_ == nullptr) {
        return false;
    }
    loadStarted_ = true;
    stopRequested_ = false;
    QPointer<frmEditPrices> self(this);
    FlexGrid& grid = *ui_->fgPrices;
    ui_->cmdStop->setEnabled(true);
    const bool loaded = trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetPrices");
        auto rows = db_->ExecuteRecordset(*command);
        ui_->prgLoad->setRange(0, NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong());
        ui_->prgLoad->setValue(0);
        QElapsedTimer sinceYield;
        sinceYield.start();
        for (int read = 1; rows->IsOpen() && !rows->Eof(); rows->MoveNext(), ++read) {
            grid.AddRow(RowCells(*rows));
            if (read == kFirstRows) {
                grid.AutoSizeColumns();  // the first rows show in full at once
            }
            if (read == kFirstRows || sinceYield.elapsed() >= kYieldMs) {
                ui_->prgLoad->setValue(read);
                DoEvents();
                if (!self || stopRequested_) {
                    return;
                }
                sinceYield.restart();
            }
        }
    });
    if (!self) {
        return false;
    }
    grid.AutoSizeColumns();
    ui_->prgLoad->setValue(grid.Rows() - 1);
    ui_->cmdStop->setEnabled(false);
    return loaded;
}

void frmEditPrices::PriceProperties(int row) {
    FlexGrid& grid = *ui_->fgPrices;
    if (row < 1 || row >= grid.Rows()) {
        return;
    }
    trap_.Run(errors_, "PriceProperties", &db_->Native(), [&] {
        frmStockPriceProp properties(this);
        properties.ItemNo = grid.TextMatrix(row, kItemNo).toInt();
        properties.StockDescription = grid.TextMatrix(row, kDescription);
        properties.LocationId = grid.TextMatrix(row, kLocation);
        properties.LocationDescription = grid.TextMatrix(row, kLocation);
        properties.UnitQty = grid.TextMatrix(row, kUnitQty).toInt();
        properties.UomId = grid.TextMatrix(row, kUom);
        properties.PriceNo = grid.TextMatrix(row, kPriceNo).toInt();
        if (!properties.Setup(maint_) || ui::RunModal(properties) != QDialog::Accepted ||
            !properties.Saved()) {
            return;
        }
        grid.SetTextMatrix(row, kUnitPrice, Q(Format(properties.UnitPrice(), "$0.0000")));
        grid.SetTextMatrix(row, kPrice,
                           Q(Format(properties.UnitPrice() * properties.UnitQty, "0.0000")));
    });
}

}  // namespace vym
