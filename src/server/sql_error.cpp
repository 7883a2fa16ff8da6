#include "server/sql_error.h"

#include <sqlite3.h>

#include <string>

namespace vym::server {

vym::Error SqlError(int code, std::string_view message, std::string_view context) {
    std::string description(message);
    description += " (SQLite error ";
    description += std::to_string(code);
    description += ") in: ";
    description += context;
    return vym::Error(errc::kDatabase, std::string(kConnectionSource), std::move(description));
}

std::string_view SqlErrorText(int code) {
    return sqlite3_errstr(code);
}

}  // namespace vym::server
