#pragma once

namespace vym {

class ScreenRegistry;

// The pricing screens --screenshot can show: "pricing" (the price list of the
// demo adult day ticket, with its season, discount and extension prices),
// "stock-pricing" (the ski gloves by pair quantity and location) with its
// "stock-price-properties" (the pair at the base lodge), "price-history" (the
// gloves' price changes) and "prompt-uom",
// "edit-prices" (every price) and "select-price" (the adult day ticket's).
void RegisterPricingScreens(ScreenRegistry& screens);

}  // namespace vym
