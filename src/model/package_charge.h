#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "base/currency.h"

namespace vym {

// An amount as a user types it ("$20", "1,250", ".50"), exact to four
// places; nothing for anything else ("", "-", "abc").
std::optional<Currency> ParseAmount(std::string_view text);

// One line of a package price: the price of one unit, the line's package
// quantity and units per quantity.
struct PackagePriceLine {
    Currency unitPrice;
    int pkgQty = 0;
    int unitQty = 0;
};

// What the line adds to the package price: package quantity x units (0
// counting as 1) x unit price.
Currency SubTotal(const PackagePriceLine& line);
// What the register charges for the line: the price of its units rounded to
// cents (halves away from zero), once for each package quantity (0 counting
// as 1, as the register sells the line at least once).
Currency Charge(const PackagePriceLine& line);

struct PackageTotals {
    Currency total;    // the package price, the sum of the sub totals
    Currency charged;  // what the customer pays, line by line
};
PackageTotals TotalsOf(std::span<const PackagePriceLine> lines);
// True when the package price shown (to cents) is not what the customer is
// charged.
bool ChargeDiffers(const PackageTotals& totals);

}  // namespace vym
