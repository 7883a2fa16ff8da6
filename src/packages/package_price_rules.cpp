#include "packages/package_price_rules.h"

#include <tuple>

namespace vym {

Verdict CheckPackageLine(const PackageLineEntry& entry) {
    using namespace package_price_column;
    const auto refuse = [](std::string message, const char* title, int column, MsgStyle style) {
        return Refusal{std::move(message), title, "", "", column, style};
    };
    if (entry.unitPrice.empty()) {
        return refuse("Children of a package can not have null prices.", "Invalid Price",
                      kUnitPrice, kCritical);
    }
    const auto unit = ParseAmount(entry.unitPrice);
    const auto gross = ParseAmount(entry.gross);
    for (const auto& [amount, text, column] :
         {std::tuple{unit, entry.unitPrice, kUnitPrice}, std::tuple{gross, entry.gross, kGross}}) {
        if (!text.empty() && (!amount || *amount < Currency())) {
            return refuse("Please enter a valid numeric value for price.", "InValid Price Value",
                          column, kInformation);
        }
    }
    if (gross && *gross < *unit) {
        return refuse("Unit price may not be greater than gross unit price, row " +
                          std::to_string(entry.row) + " " + entry.description,
                      "", kGross, kInformation);
    }
    if (entry.unit.empty()) {
        return refuse("Price must have a unit_id selected.", "Invalid Price", kUnit, kCritical);
    }
    return std::nullopt;
}

}  // namespace vym
