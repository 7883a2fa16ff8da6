#pragma once

#include <optional>
#include <string>

#include "base/date.h"
#include "base/refusal.h"

namespace vym {

// The columns of the seasons grid.
namespace season_column {
inline constexpr int kChanged = 0;
inline constexpr int kSeasonNo = 1;
inline constexpr int kActive = 2;
inline constexpr int kType = 3;
inline constexpr int kFunction = 4;
inline constexpr int kGroup = 5;
inline constexpr int kDescription = 6;
inline constexpr int kStart = 7;
inline constexpr int kEnd = 8;
inline constexpr int kStoreStart = 9;
inline constexpr int kStoreEnd = 10;
}  // namespace season_column

// A changed season row as the user left it, texts trimmed.
struct SeasonEntry {
    std::string seasonNo;  // as the grid shows it
    int row = 0;           // the grid row
    std::string type;
    std::string start;
    std::string end;
    std::string storeStart;
    std::string storeEnd;
};

// A date as typed into a date cell (no surrounding blanks); nothing when it
// is no date.
std::optional<Date> ParseSeasonDate(const std::string& text);

// The first rule the row breaks; the refusal's column is the cell at fault.
Verdict CheckSeason(const SeasonEntry& entry);

}  // namespace vym
