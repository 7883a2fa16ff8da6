#pragma once

#include <memory>
#include <string>

#include "server/sql_session.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vym::server {

// The SQLite engine behind the session interface: one database handle, WAL
// journal, foreign keys on, a busy timeout, and a cache of prepared
// statements keyed by their SQL text.
class SqliteSession : public SqlSession {
  public:
    struct Options {
        bool createIfMissing = true;
        // The newest schema this program knows; a file written by a newer
        // program is refused before anything is written to it.
        int newestSchemaVersion = 0;
        // How long a statement waits for another program's lock before it
        // fails as locked.
        int busyTimeoutMs = 10000;
    };

    // The page cache and memory map of every session. A search of a large
    // catalogue reads its indexes from a page cache of its own, kept whatever
    // else the machine reads, rather than from pages the operating system may
    // have dropped: 64 MB. No memory map: its pages are the operating system's
    // cache again, and they count towards the program's memory as it reads
    // them (a console loading a million rows would touch all of its 256 MB),
    // while the page cache stays within its size. A raw handle given the same
    // statements reads the file as a session does.
    static constexpr const char* kCacheSize = "PRAGMA cache_size = -65536";
    static constexpr const char* kMmapSize = "PRAGMA mmap_size = 0";

    // Throws vym::Error with a message fit for the user that names the file
    // and the cause when it cannot be opened, created or read (locked by
    // another program, disk full, input/output error, no access, not a
    // database or damaged), or is newer than the program.
    static std::shared_ptr<SqliteSession> Open(const std::string& path, const Options& options);
    ~SqliteSession() override;

    std::shared_ptr<SqlStatement> Prepare(std::string_view sql) override;
    void ExecuteScript(std::string_view sql) override;
    void BeginImmediate() override;
    void BeginRead() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;
    std::int64_t Changes() const override;
    std::int64_t LastInsertId() const override;
    const SqlEngine& Engine() const override;
    void SetActor(const Actor& actor) override;

    // PRAGMA user_version: the schema version the migrations recorded.
    int SchemaVersion() override;
    void SetSchemaVersion(int version) override;

  private:
    struct Impl;
    explicit SqliteSession(std::unique_ptr<Impl> impl);
    void RefuseWriteWhenReadOnly(sqlite3_stmt* statement, std::string_view sql) const;
    std::unique_ptr<Impl> impl_;
};

// Defines vym_actor(what) on a handle, as every session's handle has it: the
// price history's triggers cannot run without it. The handle owns the actor
// it returns, which says whom the handle's changes are recorded as.
Actor& DefineActorFunction(sqlite3* db);

}  // namespace vym::server
