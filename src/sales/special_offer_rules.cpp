#include "sales/special_offer_rules.h"

#include <cstdio>

#include "base/format.h"
#include "base/value.h"
#include "sales/sale_price_rules.h"

namespace vym::special_offer {
namespace {

std::size_t Characters(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text) {
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

Refusal Refuse(std::string message, std::string title, std::string field) {
    return Refusal{std::move(message), std::move(title), "", std::move(field), -1, kInformation};
}

std::string Without(std::string_view text, char sign) {
    std::string kept;
    for (const char c : text) {
        if (c != sign) {
            kept += c;
        }
    }
    return kept;
}

}  // namespace

Verdict CheckOfferText(std::string_view text, bool isCode) {
    if (text.find_first_of("&><%") != std::string_view::npos) {
        return Refuse("Please do not use special characters (%<>&) in the special offer code.",
                      "InValid Characters", "");
    }
    if (isCode && Characters(text) > kMaxText) {
        return Refuse("Maximum length of code is 50 characters.", "Special Offer Code Max of 50",
                      "");
    }
    return std::nullopt;
}

std::optional<std::string> CutDescription(std::string_view text) {
    if (Characters(text) <= kMaxText) {
        return std::nullopt;
    }
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool starts = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (starts && ++characters > kMaxText) {
            return std::string(text.substr(0, at));
        }
    }
    return std::string(text);
}

Date OneMonthOn(Date day) {
    const int year = day.Year() + (day.Month() == 12 ? 1 : 0);
    const int month = day.Month() % 12 + 1;
    for (int last = day.Day();; --last) {
        char iso[16];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", year, month, last);
        if (Date next; Date::ParseIso(iso, next)) {
            return next;
        }
    }
}

DetailCheck CheckDetail(const DetailEntry& entry) {
    DetailCheck check;
    if (entry.exclude) {
        return check;
    }
    const std::string percent = Without(entry.percent, '%');
    const std::string fixed = Without(entry.fixed, '$');
    const auto percentValue = ParseCurrency(percent);
    if (!entry.percent.empty() && !percentValue) {
        check.refusal = Refuse("You must enter a valid Percentage Discount.",
                               "Valid Discount Required", "txtPercentage");
        return check;
    }
    const auto fixedValue = ParseCurrency(fixed);
    if (!entry.fixed.empty() && !fixedValue) {
        check.refusal =
            Refuse("You must enter a valid Fixed Discount.", "Valid Discount Required", "txtFixed");
        return check;
    }
    if (entry.percent.empty() && entry.fixed.empty()) {
        check.refusal = Refuse("You must assign either a Percentage Discount or a Fixed Discount.",
                               "Discount Required", "txtPercentage");
        return check;
    }
    if (!entry.percent.empty() && !entry.fixed.empty()) {
        check.refusal = Refuse(
            "You can only define either a percentage discount or a fixed discount but not both.",
            "Invalid Discount Type", "txtPercentage");
        return check;
    }
    check.discount.percent = percentValue ? sale_price::FractionOf(*percentValue) : 0.0;
    check.discount.fixed = fixedValue.value_or(Currency{});
    if (check.discount.percent == 0.0 && check.discount.fixed == Currency{}) {
        check.refusal = Refuse("You must assign either a Percentage Discount or a Fixed Discount.",
                               "Discount Required", "txtPercentage");
        return check;
    }
    // Typed text is never dropped: a minimum that is no amount is refused.
    if (!entry.minimum.empty()) {
        check.discount.minimum = ParseCurrency(Without(entry.minimum, '$'));
        if (!check.discount.minimum) {
            check.refusal = Refuse("You must enter a valid Minimum Amount.",
                                   "Valid Amount Required", "txtMinAmount");
        }
    }
    return check;
}

std::optional<Currency> BreakdownAmount(std::string_view text) {
    const std::string amount = Without(text, '$');
    if (amount.find_first_not_of(' ') == std::string::npos) {
        return Currency{};
    }
    return ParseCurrency(amount);
}

std::optional<Currency> BreakdownTotal(const std::vector<BreakdownRow>& rows) {
    Currency total;
    for (const BreakdownRow& row : rows) {
        const auto each = BreakdownAmount(row.each);
        if (!each) {
            return std::nullopt;
        }
        total = total + *each * row.qty;
    }
    return total;
}

std::string BreakdownDocument(const std::vector<BreakdownRow>& rows) {
    std::string document = "<ROOT>\r\n";
    for (const BreakdownRow& row : rows) {
        document += "<vym_special_offer_detail_package item_no=\"" + std::to_string(row.itemNo) +
                    "\" fixed_discount=\"" +
                    Format(Value(BreakdownAmount(row.each).value_or(Currency{})), "0.00") +
                    "\"/>\r\n";
    }
    return document + "</ROOT>";
}

}  // namespace vym::special_offer
