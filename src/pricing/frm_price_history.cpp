#include "pricing/frm_price_history.h"

#include "base/format.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/screen_context.h"
#include "model/record_fields.h"
#include "pricing/price_texts.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_price_history.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;

namespace {

constexpr int kExtension = 4;
constexpr int kDiscount = 6;

QString ChangeText(const QString& changeType) {
    if (changeType == "Insert") {
        return "Added";
    }
    return changeType == "Delete" ? "Deleted" : "Changed";
}

QString When(const Value& changedAt) {
    return Q(Format(changedAt, "mm/dd/yyyy") + " " + Format(changedAt, "hh:mm:ss AMPM"));
}

// A stock price is priced, and shown in stock pricing, by its unit price;
// every other price by its price, as the price list shows it.
QStringList RowCells(Recordset& rows) {
    const QString uom = FieldText(rows, "uom_id");
    const bool stock = !uom.isEmpty();
    const auto amount = [&](const char* unit, const char* total) {
        return Q(Format(rows.Fields(stock ? unit : total).Value(), "0.0000"));
    };
    QString location = FieldText(rows, "location_description");
    if (location.isEmpty()) {
        location = stock && FieldText(rows, "location_id").isEmpty()
                       ? QString("<ANY>")
                       : FieldText(rows, "location_id");  // a location deleted since
    }
    const QString sale = FieldText(rows, "sale_no");
    if (!sale.isEmpty()) {
        location += " (Sale " + sale + ")";
    }
    const QString unit = FieldText(rows, "unit_id");
    return {When(rows.Fields("changed_at").Value()),
            FieldText(rows, "vym_user"),
            FieldText(rows, "station"),
            ChangeText(FieldText(rows, "change_type")),
            FieldText(rows, "extension_description"),
            price_texts::Season(rows),
            price_texts::Discount(rows),
            unit.isEmpty() ? uom : unit,
            FieldText(rows, "unit_qty"),
            location,
            amount("old_unit_price", "old_total_price"),
            amount("new_unit_price", "new_total_price")};
}

}  // namespace

frmPriceHistory::frmPriceHistory(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmPriceHistory>()) {
    ui_->setupUi(this);
    ui_->fgHistory->SetFormatString(
        "<When|<User|<Station|<Change|<Extension|<Season|<Discount|<Unit|^Qty|<Location|>Old|>"
        "New");
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

frmPriceHistory::~frmPriceHistory() = default;

bool frmPriceHistory::Setup(ScreenContext* itemMaint, std::int32_t lItemNo, std::int32_t lPackageNo,
                            const QString& description) {
    Connection* db = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    if (db == nullptr) {
        return false;
    }
    const std::int32_t number = lItemNo != 0 ? lItemNo : lPackageNo;
    setWindowTitle("Price History for: " + description + " (" + QString::number(number) + ")");
    FlexGrid& grid = *ui_->fgHistory;
    return trap_.Run(itemMaint->ErrorObject(), "Setup", &db->Native(), [&] {
        auto command = NewProcedure(*db, "VYM_SP_ITEM_PRICE_HISTORY_get",
                                    {{"@item_no", fields::NullIfZero(lItemNo)},
                                     {"@package_no", fields::NullIfZero(lPackageNo)}});
        auto rows = db->ExecuteRecordset(*command);
        bool extensions = false;
        bool discounts = false;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QStringList cells = RowCells(*rows);
            extensions = extensions || !cells[kExtension].isEmpty();
            discounts = discounts || !cells[kDiscount].isEmpty();
            grid.AddRow(cells);
        }
        // Only the columns the item's prices are keyed by.
        grid.SetColumnHidden(kExtension, !extensions);
        grid.SetColumnHidden(kDiscount, !discounts);
        grid.AutoSizeColumns();
    });
}

}  // namespace vym
