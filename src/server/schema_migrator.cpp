#include "server/schema_migrator.h"

#include "base/error.h"
#include "server/demo_data.h"
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

int MigrateSchema(SqliteSession& session, const std::vector<Migration>& migrations, bool demoData,
                  const std::string& path) {
    const int newest = NewestSchemaVersion(migrations);
    WriteTransaction transaction(session);
    const int found = session.SchemaVersion();
    if (found > newest) {
        throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                         "The database \"" + path +
                             "\" was written by a newer version of this program (schema "
                             "version " +
                             std::to_string(found) + "; this program knows up to version " +
                             std::to_string(newest) + "). It has not been opened or changed.");
    }
    if (found == 0 && session.QueryValue("SELECT count(*) FROM sqlite_master").ToLong() > 0) {
        throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                         "The file \"" + path + "\" is a database of another program.");
    }
    if (found == newest) {
        return found;  // the transaction ends without a write
    }
    for (const Migration& migration : migrations) {
        if (migration.version <= found) {
            continue;
        }
        try {
            session.ExecuteScript(migration.sql);
        } catch (const vym::Error& e) {
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
