#include "sales/sale_pricing_header.h"

#include <QLabel>
#include <QLineEdit>

#include "gateway/connection.h"
#include "gateway/error_trap.h"
#include "gateway/procedure_call.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "model/csale.h"
#include "sales/sale_price_rules.h"
#include "ui/data_combo.h"
#include "ui/nullable_date_edit.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"

namespace vym {

using ui::FieldText;
using ui::Q;
using ui::S;

QString AmountText(Currency amount, bool blankZero) {
    return blankZero && amount == Currency{} ? QString() : Q(Value(amount).ToString());
}

Currency AmountOf(const QString& text) {
    return sale_price::ReadAmount(S(text)).value_or(Currency{});
}

SalePricingHeader::SalePricingHeader(const Widgets& widgets) : w_(widgets) {
    w_.location->SetColumns({"LocationID", "Description"});
    w_.location->SetListColumn(1);
    if (w_.price == nullptr) {
        return;
    }
    // textEdited comes from typing only, so filling the boxes couples nothing.
    const QList<QLineEdit*> boxes = {w_.percent, w_.flat, w_.price};
    for (QLineEdit* box : boxes) {
        connect(box, &QLineEdit::textEdited, this, [boxes, box] {
            for (QLineEdit* other : boxes) {
                if (other != box) {
                    other->clear();
                }
            }
        });
    }
}

void SalePricingHeader::Load(Connection& db, ErrorTrap& trap, ErrorObject* errors,
                             const CSale& sale) {
    w_.sale->setText("Sale#: " + QString::number(sale.SaleNo));
    w_.location->ClearRows();
    w_.location->AddRow({QString(), "<All>"});
    trap.Run(errors, "Setup", &db.Native(), [&] {
        auto command = NewProcedure(db, "VYM_SP_ITEM_LOCATION_get");
        auto rows = db.ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            w_.location->AddRow({FieldText(*rows, "location_id"), FieldText(*rows, "Description")});
        }
    });
    w_.location->SetKey(Q(sale.LocationId()));
    w_.start->SetValue(sale.SaleStartDate);
    w_.end->SetValue(sale.SaleEndDate);
    w_.percent->setText(AmountText(sale_price::PercentOf(sale.SaleFixedPercentage), true));
    w_.flat->setText(AmountText(sale.SaleFixedAmount, true));
}

bool SalePricingHeader::ReadInto(CSale& sale, QWidget& form) {
    using sale_price::Box;
    // The texts outlive the boxes that view them.
    const std::string percent = S(w_.percent->text());
    const std::string flat = S(w_.flat->text());
    const std::string price = w_.price != nullptr ? S(w_.price->text()) : std::string();
    std::vector<Box> boxes = {{percent, "txtPercent", "Invalid Percentage Discount", true},
                              {flat, "txtFlat", "Invalid Flat Amount Discount", false}};
    if (w_.price != nullptr) {
        boxes.push_back({price, "txtSalePrice", "Invalid Sale Price", false});
    }
    for (const Box& box : boxes) {
        if (const Verdict refusal = sale_price::CheckBox(box)) {
            return ui::ShowRefusal(*refusal, form);
        }
    }
    // The pickers show days; a day left as it was keeps the sale's time.
    auto picked = [](const std::optional<Date>& day, Date held) {
        return day && *day != held.DateOnly() ? *day : held;
    };
    const Date start = picked(w_.start->Value(), sale.SaleStartDate);
    const Date end = picked(w_.end->Value(), sale.SaleEndDate);
    if (const Verdict refusal = sale_price::CheckDates(start, end, "dtpEnd")) {
        return ui::ShowRefusal(*refusal, form);
    }
    percent_ = *sale_price::ReadAmount(percent);
    flat_ = *sale_price::ReadAmount(flat);
    price_ = *sale_price::ReadAmount(price);
    // The percentage is kept as the fraction the sale stores (0.15).
    const double fraction = sale_price::FractionOf(percent_);
    const std::string location = S(w_.location->Key());
    sale.SaleFixedPercentage = fraction;
    sale.SaleFixedAmount = flat_;
    sale.SaleStartDate = start;
    sale.SaleEndDate = end;
    sale.SetLocationId(location);
    sale.SetLocationDescription(S(w_.location->Cell(1)));
    return true;
}

bool SaleScreen::Open(ScreenContext* screenContext, CSale* shown, SalePricingHeader& header,
                      ErrorTrap& trap) {
    context = screenContext;
    db = context != nullptr ? context->DBConnection().get() : nullptr;
    errors = context != nullptr ? context->ErrorObject() : nullptr;
    sale = shown;
    if (db == nullptr || sale == nullptr) {
        return false;
    }
    header.Load(*db, trap, errors, *sale);
    return true;
}

bool SaleScreen::ReloadAfterConflict(std::int32_t version, RowConflict& rows) {
    sale->RowVersion = version;
    // The sale is saved first: its refusal comes before any row's.
    rows.Refused(sale->RowConflict());
    return rows.OfferReload() && sale->OpenSale(db, errors, sale->SaleNo);
}

}  // namespace vym
