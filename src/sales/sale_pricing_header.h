#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

#include "base/currency.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace vym {

class CSale;
class Connection;
class ErrorObject;
class ErrorTrap;
class RowConflict;
class ScreenContext;

namespace ui {
class DataCombo;
class NullableDateEdit;
}  // namespace ui

// An amount as the sale screens show it in a box or cell: the places it has,
// up to four ("17", "16.9915"); "" for 0 when blankZero.
QString AmountText(Currency amount, bool blankZero = false);
// A box or cell read as an amount; 0 when empty or unreadable (the checks
// refuse those before anything is saved).
Currency AmountOf(const QString& text);

// The header both sale pricing screens share: the sale number, location,
// dates and the discount boxes. It reads the boxes into the sale before
// every Apply, Add and save, refusing (with the box at fault focused) what
// can not be a discount.
class SalePricingHeader : public QObject {
    Q_OBJECT

  public:
    struct Widgets {
        QLabel* sale;
        ui::DataCombo* location;
        ui::NullableDateEdit* start;
        ui::NullableDateEdit* end;
        QLineEdit* percent;
        QLineEdit* flat;
        QLineEdit* price;  // nullptr on the department screen
    };

    // With a sale price box, typing into one box empties the other two, so
    // that at most one discount holds a value.
    explicit SalePricingHeader(const Widgets& widgets);

    // Fills the location list and shows the sale.
    void Load(Connection& db, ErrorTrap& trap, ErrorObject* errors, const CSale& sale);
    // Checks the boxes and dates and, when they may be used, writes them into
    // the sale and returns True; otherwise tells the user why (on `form`) and
    // returns False.
    bool ReadInto(CSale& sale, QWidget& form);

    // As read by the last successful ReadInto: the percentage (15 for 15 %),
    // the flat amount and the sale price.
    Currency Percent() const { return percent_; }
    Currency Flat() const { return flat_; }
    Currency Price() const { return price_; }

  private:
    Widgets w_;
    Currency percent_;
    Currency flat_;
    Currency price_;
};

// What a pricing screen shows and saves through: the screen context it was
// opened with, that context's connection and error object, and the sale
// (none owned).
struct SaleScreen {
    ScreenContext* context = nullptr;
    Connection* db = nullptr;
    ErrorObject* errors = nullptr;
    CSale* sale = nullptr;

    // Takes the context's connection and error object and the sale, and
    // shows the sale in `header`. False, showing nothing, without a
    // connection or a sale.
    bool Open(ScreenContext* screenContext, CSale* shown, SalePricingHeader& header,
              ErrorTrap& trap);
    // After a save rolled back: the sale goes back to `version`, the one it
    // was read at. When the save was refused because another station saved
    // the sale, or a row of it kept in `rows`, since, shows who and when and
    // asks to reload: True on Yes once the sale was read again, for the
    // screen to show it anew. On No what the user typed stays.
    bool ReloadAfterConflict(std::int32_t version, RowConflict& rows);
};

}  // namespace vym
