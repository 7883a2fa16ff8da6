#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vym::server {

// Translates the module's ad-hoc SQL into the store's own:
//   {fn UCASE(x)} -> UPPER(x), {fn LCASE(x)} -> LOWER(x),
//   {fn CONCAT(a, b)} -> (a || b), other {fn f(...)} -> f(...),
//   ISNULL(a, b) -> IFNULL(a, b), "with(nolock)" and "with (nolock)" dropped,
//   DELETE table WHERE ... -> DELETE FROM table WHERE ...
// Quoted literals, quoted names and comments pass through untouched. Throws
// vym::Error for an escape it cannot read (an unclosed "{fn").
std::string TranslateSql(std::string_view sql);

// The table of a single-table SELECT ("SELECT * FROM vym_sale WHERE ..."),
// or nothing for a join, a sub-select in the FROM clause or another statement.
std::optional<std::string> SingleTableOf(std::string_view select);

}  // namespace vym::server
