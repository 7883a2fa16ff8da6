#pragma once

#include "base/currency.h"

namespace vym {

// Unit price and margin of stock from a cost, in exact fixed point. A margin
// is a fraction held to four decimal places in a Currency (0.35 for 35 %), the
// precision it is shown and kept with.
//
// All three throw Error(kOverflow) for a result Currency cannot hold.
//
// (unit price - cost) / unit price, halves to even; 0 when the unit price is 0.
Currency MarginFromCost(Currency cost, Currency unitPrice);
// A percentage as typed (35 for 35 %) as a margin, halves to even.
Currency MarginFromPercent(Currency percent);
// cost / (1 - margin) to the cent, halves to even; 0 when the margin is 1.
Currency UnitPriceFromMargin(Currency cost, Currency margin);

}  // namespace vym
