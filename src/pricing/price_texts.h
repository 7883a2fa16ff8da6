#pragma once

#include <QString>

#include "gateway/recordset.h"
#include "ui/qt_text.h"

// How the price lists name a price's season and discount.
namespace vym::price_texts {

// "Regular Season (3)", or "" for a price of any season.
inline QString Season(Recordset& rows) {
    const QString number = ui::FieldText(rows, "season_no");
    return number.isEmpty() || number == "0"
               ? QString()
               : ui::FieldText(rows, "season_desc") + " (" + number + ")";
}

// "MILITARY:Active Military", or "" for the base price.
inline QString Discount(Recordset& rows) {
    const QString id = ui::FieldText(rows, "discount_id").trimmed();
    return id.isEmpty() ? QString() : id + ":" + ui::FieldText(rows, "discount_desc");
}

}  // namespace vym::price_texts
