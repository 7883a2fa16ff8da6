#pragma once

#include <cstddef>
#include <string>

#include "base/price_change.h"
#include "base/refusal.h"

namespace vym {

// What the bulk price change looks at before it previews, as the user left
// the screen.
struct BulkPriceEntry {
    enum class Scope { SearchResult, Department, Vendor, StockType };

    Scope scope = Scope::SearchResult;
    std::size_t resultItems = 0;  // items of the console's search result
    std::string scopeId;          // the department, vendor or stock type chosen
    PriceRule::Kind kind = PriceRule::Kind::Percent;
    std::string change;  // as typed
};

// The first rule the entry breaks, in the order the user is told of them.
Verdict CheckBulkPrice(const BulkPriceEntry& entry);

}  // namespace vym
