#pragma once

// The current local time as an SQL expression in the form the store keeps
// dates ("yyyy-mm-dd hh:mm:ss"). Procedures stamp rows with it rather than
// with the program's clock, so that every station's saves read one clock.
namespace vym::server {

inline constexpr const char* kSqlNow = "strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')";

}  // namespace vym::server
