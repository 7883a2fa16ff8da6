#include "packages/rental_upgrade_rules.h"

#include "packages/package_price_rules.h"

namespace vym {

std::optional<Currency> ParseUpgradePrice(std::string_view text) {
    const auto price = ParseAmount(text);
    return price && *price >= Currency() ? price : std::nullopt;
}

Refusal InvalidUpgradePrice() {
    return {"The upgrade price must be an amount of 0 or more.",
            "Invalid Upgrade Price",
            "",
            "txtUpgradePrice",
            -1,
            kInformation};
}

Verdict CheckNewUpgrade(std::int32_t payFirst, std::int32_t rental, std::string_view price) {
    const auto invalid = [](const char* message, const char* field) {
        return Refusal{message, "Invalid Packages", "", field, -1, kInformation};
    };
    if (payFirst == 0) {
        return invalid("Please select a pay first rental package item", "lstPayFirst");
    }
    if (rental == 0) {
        return invalid("Please select a rental package item.", "lstRental");
    }
    if (payFirst == rental) {
        return invalid("Please select a different pay first to rental package", "lstRental");
    }
    if (!ParseUpgradePrice(price)) {
        return InvalidUpgradePrice();
    }
    return std::nullopt;
}

}  // namespace vym
