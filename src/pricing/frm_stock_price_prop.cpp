#include "pricing/frm_stock_price_prop.h"

#include <QKeyEvent>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "model/record_fields.h"
#include "ui/qt_text.h"
#include "ui_frm_stock_price_prop.h"

namespace vym {

using ui::FieldText;
using ui::NullIfEmpty;
using ui::Q;
using ui::S;

frmStockPriceProp::frmStockPriceProp(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockPriceProp>()) {
    ui_->setupUi(this);
    ui_->txtUnitPrice->installEventFilter(this);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmStockPriceProp::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmStockPriceProp::~frmStockPriceProp() = default;

bool frmStockPriceProp::Setup(ScreenContext* itemMaint) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return false;
    }
    setWindowTitle("Stock Price Properties (" + QString::number(PriceNo) + ")");
    ui_->lblStock->setText("Stock: " + StockDescription + " (" + QString::number(ItemNo) + ")");
    ui_->lblLocation->setText("Location: " + LocationDescription);
    ui_->lblUnitQty->setText("Unit Qty: " + QString::number(UnitQty));
    return ReadPrice();
}

bool frmStockPriceProp::ReadPrice() {
    return trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetPrice",
                                    {{"@item_no", ItemNo},
                                     {"@location_id", NullIfEmpty(LocationId)},
                                     {"@sale_no", fields::NullIfZero(SaleNo)},
                                     {"@unit_qty", UnitQty},
                                     {"@uom_id", NullIfEmpty(UomId)},
                                     {"@price_no", fields::NullIfZero(PriceNo)}});
        auto rows = db_->ExecuteRecordset(*command);
        // Without a price number the filters match other locations too.
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            if (PriceNo != 0 || (FieldText(*rows, "location_id") == LocationId &&
                                 FieldText(*rows, "uom_id") == UomId)) {
                PriceNo = rows->Fields("price_no").Value().ToLong();
                unitPrice_ = rows->Fields("unit_price").Value().ToCurrency();
                rowVersion_ = ReadRowVersion(*rows);
                ui_->txtUnitPrice->setText(Q(Format(unitPrice_, "$0.0000")));
                ui_->chkAllowLineDiscount->setChecked(rows->Fields("allow_line_discount").Flag());
                ui_->chkAllowSellerPricing->setChecked(rows->Fields("seller_pricing").Flag());
                return;
            }
        }
    });
}

void frmStockPriceProp::ReformatPrice() {
    if (const auto price = ParseCurrency(S(ui_->txtUnitPrice->text()))) {
        ui_->txtUnitPrice->setText(Q(Format(*price, "0.0000")));
    }
}

bool frmStockPriceProp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtUnitPrice) {
        if (event->type() == QEvent::FocusOut) {
            ReformatPrice();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ReformatPrice();
                return true;  // Enter tidies the price; Ok saves it
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool frmStockPriceProp::SaveData() {
    const auto price = ParseCurrency(S(ui_->txtUnitPrice->text()));
    if (!price) {
        MsgBox("Please enter a valid numeric value for price.", kInformation,
               "InValid Price Value");
        ui_->txtUnitPrice->setFocus();
        return false;
    }
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_UpdatePrice",
                         {{"@vym_user", db_->CurrentUserId()},
                          {"@price_no", fields::NullIfZero(PriceNo)},
                          {"@item_no", ItemNo},
                          {"@location_id", NullIfEmpty(LocationId)},
                          {"@unit_qty", UnitQty},
                          {"@uom_id", NullIfEmpty(UomId)},
                          {"@sale_no", fields::NullIfZero(SaleNo)},
                          {"@unit_price", *price},
                          {"@seller_pricing", ui_->chkAllowSellerPricing->isChecked()},
                          {"@allow_line_discount", ui_->chkAllowLineDiscount->isChecked()}});
        SendRowVersion(command->Parameters, PriceNo == 0 ? 0 : rowVersion_);
        if (!db_->Execute(*command)) {
            MsgBox("Unable to update price.", kInformation, "Price Failed to Update");
            return;
        }
        if (conflict_.Refused(command->Parameters)) {
            return;
        }
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
            MsgBox(NullToEmpty(command->Parameters["@Message"].Value), kInformation,
                   "Price Failed to Update");
            return;
        }
        PriceNo = command->Parameters["@price_no"].Value.ToLong();
        rowVersion_ = SavedRowVersion(command->Parameters);
        unitPrice_ = *price;
        saved = true;
    });
    if (conflict_.OfferReload()) {
        ReadPrice();
    }
    return saved;
}

void frmStockPriceProp::cmdOk_Click() {
    if (SaveData()) {
        saved_ = true;
        accept();
    }
}

}  // namespace vym
