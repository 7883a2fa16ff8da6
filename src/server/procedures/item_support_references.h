#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "server/sql_session.h"

// Helpers of the support-table procedures (not part of the catalog's
// interface): a delete is refused while other rows still refer to the row,
// and the refusal says which.
namespace vym::server::item_support {

// The first column of the query's first row as a count (0 for no row).
std::int64_t Count(SqlSession& session, std::string_view sql,
                   std::initializer_list<vym::Value> args);

// Rows of one kind that refer to the row being deleted.
struct Reference {
    std::int64_t count;
    const char* singular;  // "item"
    const char* plural;    // "items"
};

// "<subject> is used by 12 items, 1 unit and 3 seasons." for the references
// that count; nullopt when none does.
std::optional<std::string> UsedBy(std::string_view subject, const std::vector<Reference>& refs);

}  // namespace vym::server::item_support
