#pragma once

namespace vym {

class ScreenRegistry;

// The stock sale screens --screenshot can show, on the demo sales:
// "stock-sales", "new-sale", "stock-sale-pricing" (sale 1),
// "department-sale-pricing" (sale 3), "sale-item-nos" (sale 2) and
// "sale-customer-groups" (sale 1); and on the demo special offer WINTER10,
// "special-offers", "special-offer-detail" and
// "special-offer-package-breakdown" (its package line 5).
void RegisterSalesScreens(ScreenRegistry& screens);

}  // namespace vym
