#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/currency.h"
#include "base/date.h"
#include "base/refusal.h"

// The arithmetic and the save checks of the sale pricing screens, apart from
// widgets. Every amount is exact: a discount is a Currency holding the
// percent as a user reads it (15 for 15 %), so 15 % of 20.00 is 3 exactly.
namespace vym::sale_price {

inline constexpr Currency kHundred = Currency::FromRaw(100 * Currency::kScale);

// A sale keeps a percentage as a fraction (0.15); the screens show 15.
Currency PercentOf(double fraction);
double FractionOf(Currency percent);

// A row's sale price and its discount off the regular price, in percent.
struct Line {
    Currency sale;
    Currency disc;

    bool operator==(const Line&) const = default;
};

// The discount that `sale` gives off `original`, in percent; 0 when the
// original is 0.
Currency DiscountOf(Currency original, Currency sale);
// The three ways of pricing a selected row.
Line ApplyPercent(Currency original, Currency percent);
Line ApplyFlat(Currency original, Currency amount);  // never below 0
Line ApplyPrice(Currency original, Currency price);  // never below 0
// An added item takes the header's percentage, else its flat amount, and
// may come out below 0 (the save then refuses it).
Line AddedItem(Currency original, Currency percent, Currency amount);

// What the user typed into a header box: empty is 0, "$20", "1,250" and
// ".50" are numbers; nullopt for anything else ("-", "12A").
std::optional<Currency> ReadAmount(std::string_view text);

// The header as typed, checked before an Apply, an Add or a save. `field`
// and `title` name the box and the kind of value, for the refusal.
struct Box {
    std::string_view text;
    const char* field;
    const char* title;
    bool percent;  // a percentage must also stay below 100
};
Verdict CheckBox(const Box& box);
Verdict CheckDates(Date start, Date end, const char* endField);
// A department line's percentage and flat discount cells: each a discount
// CheckBox accepts, and not both set.
Verdict CheckDeptLine(int row, std::string_view percent, std::string_view discount,
                      const char* gridField, int percentColumn, int discountColumn);
// A sale price below 0 in grid row `row` (1 for the first item row).
Verdict CheckSalePrice(int row, Currency sale, const char* gridField, int column);

}  // namespace vym::sale_price
