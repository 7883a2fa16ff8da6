#include "pricing/bulk_price_rules.h"

#include <optional>
#include <utility>

#include "base/format.h"

namespace vym {
namespace {

constexpr const char* kTitle = "Bulk Price Change";

Refusal Refuse(std::string message, const char* field) {
    return {std::move(message), kTitle, {}, field, -1, kInformation};
}

Verdict CheckScope(const BulkPriceEntry& entry) {
    using Scope = BulkPriceEntry::Scope;
    switch (entry.scope) {
        case Scope::SearchResult:
            if (entry.resultItems == 0) {
                return Refuse(
                    "The item console's search result has no items. Find the items first, or "
                    "choose a department, a vendor or a stock type.",
                    "optSearchResult");
            }
            return std::nullopt;
        case Scope::Department:
            return entry.scopeId.empty() ? Verdict(Refuse("Choose a department.", "cmbDepartment"))
                                         : std::nullopt;
        case Scope::Vendor:
            return entry.scopeId.empty() ? Verdict(Refuse("Choose a vendor.", "cmbVendor"))
                                         : std::nullopt;
        case Scope::StockType:
            return entry.scopeId.empty() ? Verdict(Refuse("Choose a stock type.", "cmbStockType"))
                                         : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

Verdict CheckBulkPrice(const BulkPriceEntry& entry) {
    if (Verdict scope = CheckScope(entry)) {
        return scope;
    }
    if (entry.change.find_first_not_of(' ') == std::string::npos) {
        return Refuse("Enter the change: a percentage, an amount or a margin.", "txtChange");
    }
    const std::optional<Currency> change = ParseCurrency(entry.change);
    if (!change) {
        return Refuse("\"" + entry.change + "\" is not a number.", "txtChange");
    }
    constexpr Currency kHundred = Currency::FromRaw(100 * Currency::kScale);
    if (entry.kind == PriceRule::Kind::Percent && *change <= -kHundred) {
        return Refuse("Prices can not be lowered by 100 % or more.", "txtChange");
    }
    if (entry.kind == PriceRule::Kind::Margin && *change >= kHundred) {
        return Refuse("A margin must be less than 100 %.", "txtChange");
    }
    return std::nullopt;
}

}  // namespace vym
