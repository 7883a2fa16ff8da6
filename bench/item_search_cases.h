// The item console's searches that the search benches time on a large
// catalogue, on either engine: each one's count and the first rows shown.

#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gateway/connection.h"
#include "server/sql_engine.h"

namespace vym::bench {

// The rows of a search that the console waits for before it shows them.
constexpr int kSearchRows = 200;
// Count and first rows of a search within this, on either engine.
constexpr double kSearchTargetMs = 50.0;

struct SearchCase {
    std::string name;
    std::string procedure;
    // Parameter and value, in the order the procedure binds them.
    std::vector<std::pair<std::string, std::string>> criteria;
};

bool IsStock(const SearchCase& c);

// The value a criterion binds on `engine`, as the procedure makes it.
std::string Bound(const server::SqlEngine& engine, const std::string& parameter,
                  const std::string& value);

// The searches for a catalogue of `items` generated items whose names hold
// `filter` (all when it is empty), each also for active items only.
std::vector<SearchCase> SearchCases(std::int32_t items, const std::string& filter);

// Runs the search through its procedure, as the console does: the count,
// then the first rows shown, every field read. Returns the count.
std::int32_t RunSearch(Connection& db, const SearchCase& c);

}  // namespace vym::bench
