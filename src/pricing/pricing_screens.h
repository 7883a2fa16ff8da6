#pragma once

namespace vym {

class ScreenRegistry;

// The pricing screens --screenshot can show: "pricing" (the price list of the
// demo adult day ticket, with its season, discount and extension prices).
void RegisterPricingScreens(ScreenRegistry& screens);

}  // namespace vym
