#include "pricing/frm_stock_pricing.h"

#include <QFocusEvent>
#include <QMenu>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/citem_stock.h"
#include "model/record_fields.h"
#include "pricing/frm_price_history.h"
#include "pricing/frm_prompt_uom.h"
#include "pricing/frm_stock_price_prop.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_stock_pricing.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::NullIfEmpty;
using ui::Q;
using ui::S;

namespace {

constexpr int kUom = 0;
constexpr int kQty = 1;
constexpr int kAnyLocation = 2;

QString Money(const Currency& amount) {
    return Q(Format(amount, "$0.0000"));
}

}  // namespace

frmStockPricing::frmStockPricing(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockPricing>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgPrices;
    mnuPrice_ = new QMenu("&Price", this);
    mnuPrice_->setObjectName("mnuPrice");
    QAction* properties = mnuPrice_->addAction("&Properties");
    properties->setObjectName("mnuProperties");
    connect(properties, &QAction::triggered, this,
            [this] { PriceProperties(ui_->fgPrices->Row(), ui_->fgPrices->Col()); });
    grid.SetContextMenu(mnuPrice_);
    connect(&grid, &FlexGrid::AfterEdit, this, &frmStockPricing::UpdatePrice);
    connect(ui_->cmdAddRow, &QPushButton::clicked, this, &frmStockPricing::AddPriceRow);
    connect(ui_->cmdHistory, &QPushButton::clicked, this, [this] {
        frmPriceHistory history(this);
        if (history.Setup(maint_, item_->ItemNo, 0, Q(item_->LongDescription))) {
            ui::RunModal(history);
        }
    });
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    ui_->txtMinPrice->installEventFilter(this);
}

frmStockPricing::~frmStockPricing() = default;

bool frmStockPricing::Setup(ScreenContext* itemMaint, CItem* oItem) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    item_ = oItem;
    if (db_ == nullptr || item_ == nullptr) {
        return false;
    }
    const bool prepared = trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetPrice", {{"@item_no", item_->ItemNo}});
        auto rows = db_->ExecuteRecordset(*command);
        if (rows->IsOpen() && !rows->Eof()) {
            baseUom_ = FieldText(*rows, "uom_id");
            baseQty_ = rows->Fields("unit_qty").Long();
            basePriceNo_ = rows->Fields("price_no").Long();
        }
        const QString heading =
            " (" + QString::number(item_->ItemNo) + ") " + Q(item_->LongDescription);
        CItemStock* stock = item_->ItemType() == "STOCK" ? item_->StockItem() : nullptr;
        ui_->txtMinPrice->setEnabled(stock != nullptr);
        if (stock != nullptr) {
            ui_->txtMinPrice->setText(Q(Format(stock->MinPrice, "0.0000")));
            setWindowTitle("Pricing for Stock Item" + heading);
        } else {
            setWindowTitle("Pricing for Rental Item" + heading);
        }
    });
    return prepared && FillUnitandLocation();
}

bool frmStockPricing::FillUnitandLocation() {
    FlexGrid& grid = *ui_->fgPrices;
    return trap_.Run(errors_, "FillUnitandLocation", &db_->Native(), [&] {
        QString format = "^UOM|^Qty|<<ANY>";
        locations_.clear();
        auto places = db_->OpenRecordset("SELECT * FROM vym_location ORDER BY description");
        for (; places->IsOpen() && !places->Eof(); places->MoveNext()) {
            format += "|>" + FieldText(*places, "Description");
            locations_ << FieldText(*places, "location_id");
        }
        grid.SetFormatString(format);
        grid.SetEditable(true);
        for (int col = kAnyLocation; col < grid.Cols(); ++col) {
            grid.SetColumnEditable(col, true);
        }
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetPrice",
                                    {{"@item_no", item_->ItemNo},
                                     {"@package_no", Value::Null()},
                                     {"@location_id", Value::Null()}});
        auto rows = db_->ExecuteRecordset(*command);
        int row = 0;
        QString uom;
        QString qty;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            if (row == 0 || FieldText(*rows, "uom_id") != uom ||
                FieldText(*rows, "unit_qty") != qty) {
                uom = FieldText(*rows, "uom_id");
                qty = FieldText(*rows, "unit_qty");
                grid.AddItem(uom + "\t" + qty);
                row = grid.Rows() - 1;
            }
            const QString location = FieldText(*rows, "location_id");
            const int col =
                location.isEmpty() ? kAnyLocation : kAnyLocation + 1 + locations_.indexOf(location);
            grid.SetTextMatrix(row, col, Money(rows->Fields("unit_price").Value().ToCurrency()));
            const std::int32_t priceNo = rows->Fields("price_no").Value().ToLong();
            grid.SetCellData(row, col, priceNo);
            versions_[priceNo] = ReadRowVersion(*rows);
        }
        grid.AutoSizeColumns();
    });
}

void frmStockPricing::OfferReload() {
    if (conflict_.OfferReload()) {
        ui_->fgPrices->Clear();
        FillUnitandLocation();
    }
}

void frmStockPricing::AddPriceRow() {
    frmPromptUOM prompt(this);
    if (!prompt.LoadUOM(db_, errors_) || ui::RunModal(prompt) != QDialog::Accepted ||
        prompt.Cancelled()) {
        return;
    }
    FlexGrid& grid = *ui_->fgPrices;
    const QString qty = QString::number(prompt.Qty());
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, kUom) == prompt.UomId() && grid.TextMatrix(row, kQty) == qty) {
            grid.SetCurrentCell(row, kAnyLocation);  // that row is already there
            return;
        }
    }
    grid.AddItem(prompt.UomId() + "\t" + qty);
    grid.SetCurrentCell(grid.Rows() - 1, kAnyLocation);
}

QString frmStockPricing::LocationOf(int col) const {
    return col > kAnyLocation ? locations_.value(col - kAnyLocation - 1) : QString();
}

bool frmStockPricing::IsBasePrice(int row, int col) const {
    const std::int32_t priceNo = ui_->fgPrices->CellData(row, col).toInt();
    return (priceNo != 0 && priceNo == basePriceNo_) ||
           (ui_->fgPrices->TextMatrix(row, kUom) == baseUom_ &&
            ui_->fgPrices->TextMatrix(row, kQty).toInt() == baseQty_);
}

void frmStockPricing::UpdatePrice(int row, int col) {
    if (row < 1 || col < kAnyLocation) {
        return;
    }
    const bool base = IsBasePrice(row, col);
    const bool written = ui_->fgPrices->TextMatrix(row, col).trimmed().isEmpty()
                             ? DeleteCellPrice(row, col)
                             : SaveCellPrice(row, col);
    if (written && base) {
        UpdateBasePricing();
    }
}

bool frmStockPricing::DeleteCellPrice(int row, int col) {
    FlexGrid& grid = *ui_->fgPrices;
    const std::int32_t priceNo = grid.CellData(row, col).toInt();
    if (priceNo == 0) {
        return false;  // there was no price to clear
    }
    bool deleted = false;
    bool failed = false;  // the connection reported why
    const bool ran = trap_.Run(errors_, "UpdatePrice", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_DeletePrice", {{"@price_no", priceNo}});
        SendRowVersion(command->Parameters, versions_[priceNo]);
        if (!db_->Execute(*command)) {
            failed = true;
            return;
        }
        if (conflict_.Refused(command->Parameters)) {
            return;
        }
        if (NullToZero(command->Parameters["@return_value"].Value).ToLong() < 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Error Deleting Price");
            return;
        }
        grid.SetCellData(row, col, QVariant());
        deleted = true;
    });
    if (!ran || failed) {
        MsgBox("Unable to delete price.", kInformation, "Price Failed to Delete");
    }
    OfferReload();
    return deleted;
}

bool frmStockPricing::SaveCellPrice(int row, int col) {
    FlexGrid& grid = *ui_->fgPrices;
    const auto price = ParseCurrency(S(grid.TextMatrix(row, col)));
    if (!price) {
        MsgBox("Please enter a valid numeric value for price.", kInformation,
               "InValid Price Value");
        return false;
    }
    const std::int32_t qty = grid.TextMatrix(row, kQty).toInt();
    QString refusal;
    bool saved = false;
    trap_.Run(errors_, "UpdatePrice", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_UpdatePrice",
                         {{"@vym_user", db_->CurrentUserId()},
                          {"@price_no", fields::NullIfZero(grid.CellData(row, col).toInt())},
                          {"@item_no", item_->ItemNo},
                          {"@unit_price", *price},
                          {"@price", *price * qty},
                          {"@unit_qty", qty},
                          {"@uom_id", NullIfEmpty(grid.TextMatrix(row, kUom))},
                          {"@location_id", NullIfEmpty(LocationOf(col))}});
        const std::int32_t priceNo = grid.CellData(row, col).toInt();
        SendRowVersion(command->Parameters, priceNo == 0 ? 0 : versions_[priceNo]);
        if (!db_->Execute(*command)) {
            return;  // reported by the connection
        }
        if (conflict_.Refused(command->Parameters)) {
            return;
        }
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
            refusal = Q(NullToEmpty(command->Parameters["@Message"].Value));
            return;
        }
        const std::int32_t savedNo = command->Parameters["@price_no"].Value.ToLong();
        grid.SetCellData(row, col, savedNo);
        versions_[savedNo] = SavedRowVersion(command->Parameters);
        grid.SetTextMatrix(row, col, Money(*price));
        saved = true;
    });
    if (conflict_.Pending()) {
        OfferReload();
    } else if (!saved) {
        MsgBox(refusal.isEmpty() ? std::string("Unable to update price.") : S(refusal),
               kInformation, "Price Failed to Update");
    }
    return saved;
}

// The minimum price is the item's own; the unit price saved with it is the
// base price for any location as the grid shows it.
void frmStockPricing::UpdateBasePricing() {
    CItemStock* stock = item_->ItemType() == "STOCK" ? item_->StockItem() : nullptr;
    const QString text = ui_->txtMinPrice->text().trimmed();
    if (stock == nullptr || text.isEmpty()) {
        return;
    }
    const auto minimum = ParseCurrency(S(text));
    if (!minimum) {
        MsgBox("Please enter a numeric value for the minimum price value.", kInformation,
               "InValid Minimum Price");
        return;
    }
    double unitPrice = stock->UnitPrice;
    FlexGrid& grid = *ui_->fgPrices;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, kUom) == baseUom_ &&
            grid.TextMatrix(row, kQty).toInt() == baseQty_) {
            if (const auto unit = ParseCurrency(S(grid.TextMatrix(row, kAnyLocation)))) {
                unitPrice = unit->ToDouble();
            }
        }
    }
    // Leaving the box unchanged saves nothing; a failed save keeps the stored
    // values in the record and the typed text in the box.
    if (Currency::FromDouble(stock->MinPrice) != *minimum || unitPrice != stock->UnitPrice) {
        const double storedMinimum = stock->MinPrice;
        const double storedUnitPrice = stock->UnitPrice;
        stock->MinPrice = minimum->ToDouble();
        stock->UnitPrice = unitPrice;
        bool saved = false;
        trap_.Run(errors_, "UpdateBasePricing", &db_->Native(),
                  [&] { saved = item_->Update(db_, errors_); });
        if (!saved) {
            stock->MinPrice = storedMinimum;
            stock->UnitPrice = storedUnitPrice;
            return;
        }
    }
    ui_->txtMinPrice->setText(Q(Format(stock->MinPrice, "0.0000")));
}

void frmStockPricing::PriceProperties(int row, int col) {
    FlexGrid& grid = *ui_->fgPrices;
    if (row < 1 || row >= grid.Rows() || col < kAnyLocation) {
        return;
    }
    trap_.Run(errors_, "PriceProperties", &db_->Native(), [&] {
        frmStockPriceProp properties(this);
        properties.ItemNo = item_->ItemNo;
        properties.StockDescription = Q(item_->LongDescription);
        properties.LocationId = LocationOf(col);
        properties.LocationDescription = grid.ColumnHeading(col);
        properties.UnitQty = grid.TextMatrix(row, kQty).toInt();
        properties.UomId = grid.TextMatrix(row, kUom);
        properties.PriceNo = grid.CellData(row, col).toInt();
        if (!properties.Setup(maint_) || ui::RunModal(properties) != QDialog::Accepted ||
            !properties.Saved()) {
            return;
        }
        grid.SetCellData(row, col, properties.PriceNo);
        versions_[properties.PriceNo] = properties.RowVersion();
        grid.SetTextMatrix(row, col, Money(properties.UnitPrice()));
    });
}

bool frmStockPricing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtMinPrice && event->type() == QEvent::FocusOut) {
        // A message box or menu taking the focus does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            UpdateBasePricing();
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vym
