#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vym::server {

class SqlEngine;

// Translates the module's ad-hoc SQL into the store's own:
//   {fn UCASE(x)} -> UPPER(x), {fn LCASE(x)} -> LOWER(x),
//   {fn CONCAT(a, b)} -> (a || b), other {fn f(...)} -> f(...),
//   ISNULL(a, b) -> COALESCE(a, b), "with(nolock)" and "with (nolock)" dropped,
//   DELETE table WHERE ... -> DELETE FROM table WHERE ...
// and, for PostgreSQL, LIKE -> ILIKE (the embedded store's LIKE ignores case)
// and the column types of CREATE and ALTER TABLE as TranslateDdl has them.
// Quoted literals, quoted names and comments pass through untouched. Throws
// vym::Error for an escape it cannot read (an unclosed "{fn").
std::string TranslateSql(std::string_view sql);
std::string TranslateSql(std::string_view sql, const SqlEngine& engine);

// Table definitions in the embedded store's terms made PostgreSQL's: money,
// bit, datetime, long text and blob become the domains of the same names
// (vym_money ...), text COLLATE NOCASE becomes vym_nocase, and an INTEGER
// PRIMARY KEY gets the trigger that numbers new rows.
std::string TranslateDdl(std::string_view sql);

// "?" and "?N" parameters as PostgreSQL's "$N", outside quoted text; "?"
// takes the number after the highest one so far. `count` receives the
// highest number.
std::string TranslatePlaceholders(std::string_view sql, int& count);

// The table of a single-table SELECT ("SELECT * FROM vym_sale WHERE ..."),
// or nothing for a join, a sub-select in the FROM clause or another statement.
std::optional<std::string> SingleTableOf(std::string_view select);

}  // namespace vym::server
