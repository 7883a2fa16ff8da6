#pragma once

#include "base/currency.h"

namespace vym {

// Unit price and margin of stock from a cost, in exact fixed point. A margin
// is a fraction held to four decimal places in a Currency (0.35 for 35 %), the
// precision it is shown and kept with.
//
// (unit price - cost) / unit price, halves to even; 0 when the unit price is 0.
Currency MarginFromCost(Currency cost, Currency unitPrice);
// cost / (1 - margin) to the cent, halves to even; 0 when the margin is 1.
// A percentage as typed (35 for 35 %) as a margin, halves to even.
Currency MarginFromPercent(Currency percent);
// All three throw Error(kOverflow) for a result Currency cannot hold.
Currency UnitPriceFromMargin(Currency cost, Currency margin);

}  // namespace vym
