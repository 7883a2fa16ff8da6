#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/currency.h"
#include "base/date.h"
#include "base/refusal.h"

// The checks and texts of the special offer screens, apart from widgets.
namespace vym::special_offer {

inline constexpr std::size_t kMaxText = 50;

// A code or description as committed into the offer grid: special
// characters refused anywhere, a code of more than 50 characters refused.
Verdict CheckOfferText(std::string_view text, bool isCode);
// A description longer than 50 characters, cut to its first 50; nothing
// when it fits.
std::optional<std::string> CutDescription(std::string_view text);

// The same day a month later, or that month's last day (Jan 31 -> Feb 28).
Date OneMonthOn(Date day);

// A detail line's boxes as typed.
struct DetailEntry {
    std::string percent;  // "10%", "10", ""
    std::string fixed;    // "$5", "5.00", ""
    std::string minimum;  // "$50", ""
    bool exclude = false;
};
// What the line takes off, as the procedure is sent it: 0 is "not set".
struct DetailDiscount {
    double percent = 0.0;  // a fraction: "10%" is 0.1
    Currency fixed;
    std::optional<Currency> minimum;
};
// The discounts, or the first check they fail. An exclusion takes no
// discount and no minimum, whatever its disabled boxes still hold.
struct DetailCheck {
    Verdict refusal;
    DetailDiscount discount;
};
DetailCheck CheckDetail(const DetailEntry& entry);

// A row of a package breakdown.
struct BreakdownRow {
    std::int32_t itemNo = 0;
    std::int32_t qty = 0;
    std::string each;  // the discount per unit as typed; "" is none
};
// An amount as typed into a breakdown cell ("$" ignored); nothing when it
// is no amount. Empty is 0.
std::optional<Currency> BreakdownAmount(std::string_view text);
// The sum over the rows of quantity x discount each; nothing when a cell
// holds no amount.
std::optional<Currency> BreakdownTotal(const std::vector<BreakdownRow>& rows);
// The "<ROOT>" document of the rows, each discount as "0.00".
std::string BreakdownDocument(const std::vector<BreakdownRow>& rows);

}  // namespace vym::special_offer
