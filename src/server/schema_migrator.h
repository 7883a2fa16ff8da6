#pragma once

#include <string>
#include <vector>

#include "server/migration.h"
#include "server/sql_session.h"

namespace vym::server {

// The newest schema version among the migrations (0 when there are none).
int NewestSchemaVersion(const std::vector<Migration>& migrations);

// Brings the database up to the newest migration in one immediate
// transaction, recording each version reached; a database already current is
// only read, without the write lock; a database created here also
// gets the demo rows when `demoData` is set. Refuses, unchanged, a database
// newer than the migrations and a database of another program. An update
// stopped through `progress` is rolled back and refused with a message that
// says so. Returns the version found before migrating (0 for a new database).
int MigrateSchema(SqlSession& session, const std::vector<Migration>& migrations, bool demoData,
                  const std::string& path, const MigrationProgress& progress = {});

}  // namespace vym::server
