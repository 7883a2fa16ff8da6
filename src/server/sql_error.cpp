#include "server/sql_error.h"

#include <sqlite3.h>

#include <string>

#include "server/sql_engine.h"

namespace vym::server {

vym::Error SqlError(int code, std::string_view message, std::string_view context) {
    std::string description(message);
    description += " (SQLite error ";
    description += std::to_string(code);
    description += ") in: ";
    description += context;
    return vym::Error(errc::kDatabase, std::string(kConnectionSource), std::move(description));
}

vym::Error SqlError(const SqlEngine& engine, std::string_view code, std::string_view message,
                    std::string_view context) {
    std::string description(message);
    description.append(" (").append(engine.Name()).append(" error ").append(code).append(") in: ");
    description += context;
    return vym::Error(errc::kDatabase, std::string(kConnectionSource), std::move(description));
}

std::string_view SqlErrorText(int code) {
    return sqlite3_errstr(code);
}

}  // namespace vym::server
