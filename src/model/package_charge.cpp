#include "model/package_charge.h"

#include <cstdint>

#include "base/format.h"
#include "base/value.h"

namespace vym {

std::optional<Currency> ParseAmount(std::string_view text) {
    const auto number = ParseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    return Currency::FromDouble(*number);
}

namespace {

int AtLeastOne(int qty) {
    return qty == 0 ? 1 : qty;
}

// raw / 100 rounded to a whole number, halves away from zero: ten-thousandths
// to cents.
std::int64_t RawToCents(std::int64_t raw) {
    return raw >= 0 ? (raw + 50) / 100 : -((-raw + 50) / 100);
}

}  // namespace

Currency SubTotal(const PackagePriceLine& line) {
    return Currency::FromRaw(line.unitPrice.Raw() * AtLeastOne(line.unitQty) * line.pkgQty);
}

Currency Charge(const PackagePriceLine& line) {
    const std::int64_t cents = RawToCents(line.unitPrice.Raw() * AtLeastOne(line.unitQty));
    return Currency::FromRaw(cents * 100 * AtLeastOne(line.pkgQty));
}

PackageTotals TotalsOf(std::span<const PackagePriceLine> lines) {
    PackageTotals totals;
    for (const PackagePriceLine& line : lines) {
        totals.total = totals.total + SubTotal(line);
        totals.charged = totals.charged + Charge(line);
    }
    return totals;
}

bool ChargeDiffers(const PackageTotals& totals) {
    return Format(Value(totals.total), "0.00") != Format(Value(totals.charged), "0.00");
}

}  // namespace vym
