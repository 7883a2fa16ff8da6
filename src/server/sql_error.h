#pragma once

#include <string_view>

#include "base/error.h"

namespace vym::server {

class SqlEngine;

// The source the connection's errors carry.
inline constexpr std::string_view kConnectionSource = "VYMAppServer.Connection";

// A database failure as the connection raises it: the engine's message and
// code, and the statement or procedure it happened in. Fault injection builds
// its failures here too, so they read exactly like real ones.
vym::Error SqlError(int code, std::string_view message, std::string_view context);
// The same for another engine, whose code is a text (PostgreSQL's SQLSTATE).
vym::Error SqlError(const SqlEngine& engine, std::string_view code, std::string_view message,
                    std::string_view context);
// The engine's own text for an error code ("database is locked").
std::string_view SqlErrorText(int code);

}  // namespace vym::server
