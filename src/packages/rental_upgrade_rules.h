#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/currency.h"
#include "base/refusal.h"

namespace vym {

// An upgrade price as typed ("$12.50", ".5"); nothing unless it is an amount
// of 0 or more.
std::optional<Currency> ParseUpgradePrice(std::string_view text);

// Why a new upgrade pair may not be saved: the two rental package items (0
// when none is chosen) and the price as typed.
Verdict CheckNewUpgrade(std::int32_t payFirst, std::int32_t rental, std::string_view price);

// The refusal of an upgrade price that is no amount of 0 or more.
Refusal InvalidUpgradePrice();

}  // namespace vym
