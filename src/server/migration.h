#pragma once

#include <vector>

namespace vym::server {

// One schema step, compiled in from src/server/migrations/NNNN_name.sql.
// A released migration is never edited: schema changes are new files.
struct Migration {
    int version;
    const char* name;
    const char* sql;
};

// Every migration, in version order (generated at build time).
const std::vector<Migration>& CompiledMigrations();

}  // namespace vym::server
