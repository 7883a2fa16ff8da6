#pragma once

#include <functional>
#include <vector>

namespace vym::server {

// One schema step, compiled in from src/server/migrations/NNNN_name.sql.
// A released migration is never edited: schema changes are new files.
struct Migration {
    int version;
    const char* name;
    const char* sql;
};

// How far an update of the schema has come, for a progress display: asked
// with the migration about to run or running (from 1) of the `steps` to run,
// before each and every few milliseconds while a long one runs. False stops
// the update. It must not throw.
using MigrationProgress = std::function<bool(int step, int steps)>;

// Every migration, in version order (generated at build time).
const std::vector<Migration>& CompiledMigrations();

}  // namespace vym::server
