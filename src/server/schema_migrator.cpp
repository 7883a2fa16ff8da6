#include "server/schema_migrator.h"

#include <algorithm>

#include "base/error.h"
#include "server/demo_data.h"
#include "server/sql_engine.h"
#include "server/sql_error.h"
#include "server/write_transaction.h"

namespace vym::server {

int NewestSchemaVersion(const std::vector<Migration>& migrations) {
    int newest = 0;
    for (const Migration& migration : migrations) {
        newest = std::max(newest, migration.version);
    }
    return newest;
}

namespace {

// The version the database records, refusing a newer database and one of
// another program.
int CheckedVersion(SqlSession& session, int newest, const std::string& path) {
    const int found = session.SchemaVersion();
    if (found > newest) {
        throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                         "The database \"" + path +
                             "\" was written by a newer version of this program (schema "
                             "version " +
                             std::to_string(found) + "; this program knows up to version " +
                             std::to_string(newest) + "). It has not been opened or changed.");
    }
    if (found == 0 && session.QueryValue(session.Engine().TableCountSql()).ToLong() > 0) {
        throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                         "The file \"" + path + "\" is a database of another program.");
    }
    return found;
}

}  // namespace

int MigrateSchema(SqlSession& session, const std::vector<Migration>& migrations, bool demoData,
                  const std::string& path, const MigrationProgress& progress) {
    const int newest = NewestSchemaVersion(migrations);
    // Nearly every open finds the schema current: a plain read tells, so a
    // station starting or a query never waits for another program's write.
    if (CheckedVersion(session, newest, path) == newest) {
        return newest;
    }
    WriteTransaction transaction(session);
    // Another program may have migrated it since the read.
    const int found = CheckedVersion(session, newest, path);
    if (found == newest) {
        return found;  // the transaction ends without a write
    }
    const SqlEngine& engine = session.Engine();
    if (found == 0 && !engine.Foundation().empty()) {
        session.ExecuteScript(engine.Foundation());
    }
    const auto steps = static_cast<int>(
        std::count_if(migrations.begin(), migrations.end(),
                      [found](const Migration& migration) { return migration.version > found; }));
    int step = 0;
    bool stopped = false;
    for (const Migration& migration : migrations) {
        if (migration.version <= found) {
            continue;
        }
        ++step;
        try {
            session.ExecuteLongScript(engine.MigrationScript(migration.sql), [&] {
                stopped = stopped || (progress && !progress(step, steps));
                return !stopped;
            });
        } catch (const vym::Error& e) {
            if (stopped) {
                throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                                 "The update of the database \"" + path +
                                     "\" was stopped. The database is as it was; this "
                                     "version of the program can open it only once it is "
                                     "updated.");
            }
            throw vym::Error(e.Number(), e.Source(),
                             "Migration " + std::string(migration.name) + ": " + e.Description());
        }
        session.SetSchemaVersion(migration.version);
    }
    if (found == 0 && demoData) {
        AddDemoData(session);
    }
    transaction.Commit();
    return found;
}

}  // namespace vym::server
