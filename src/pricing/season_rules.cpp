#include "pricing/season_rules.h"

#include <utility>

namespace vym {

std::optional<Date> ParseSeasonDate(const std::string& text) {
    Date day;
    if (!Date::Parse(text, day)) {
        return std::nullopt;
    }
    return day;
}

Verdict CheckSeason(const SeasonEntry& entry) {
    using namespace season_column;
    const std::string suffix = entry.seasonNo + " Row " + std::to_string(entry.row + 1);
    const auto fail = [](int column, std::string message) {
        return Refusal{std::move(message), "", "", "", column, {}};
    };
    if (entry.type.empty()) {
        return Refusal{"You must specifiy a season type for season " + entry.seasonNo,
                       "Season Type Required",
                       "",
                       "",
                       kType,
                       kInformation};
    }
    if (entry.start.empty()) {
        return fail(kStart, "Start date is required for season " + suffix);
    }
    const auto start = ParseSeasonDate(entry.start);
    if (!start) {
        return fail(kStart, "Start date is invalid for season " + suffix);
    }
    if (entry.end.empty()) {
        return fail(kEnd, "End date is required for season " + suffix);
    }
    const auto end = ParseSeasonDate(entry.end);
    if (!end) {
        return fail(kEnd, "End date is invalid for season " + suffix);
    }
    if (*end < *start) {
        return fail(kEnd, "Start date must be less than end date for season " + suffix);
    }
    const auto storeStart = ParseSeasonDate(entry.storeStart);
    if (!entry.storeStart.empty() && !storeStart) {
        return fail(kStoreStart, "Store Start date is invalid for season " + suffix);
    }
    const auto storeEnd = ParseSeasonDate(entry.storeEnd);
    if (!entry.storeEnd.empty() && !storeEnd) {
        return fail(kStoreEnd, "Store End date is invalid for season " + suffix);
    }
    if (storeStart && storeEnd && *storeEnd < *storeStart) {
        return fail(kStoreEnd,
                    "Store Start date must be less than Store End date for season " + suffix);
    }
    return std::nullopt;
}

}  // namespace vym
