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
    // catalogue reads its indexes from a page cache of its own, 64 MB, and
    // reads the file through a memory map as far as the library allows (2 GB
    // in the usual builds; a smaller file is mapped whole). Pages read through
    // the map are not copied into the page cache, and while they are mapped the
    // operating system drops other pages of its cache first, so a search of ten
    // million items does not wait for the disk each time the machine has read
    // something else: searches that read many pages took up to six times
    // longer without the map once the system had dropped the file. Mapped
    // pages are the file's, shared with the system, not the program's own
    // memory (a console loading a million rows maps the whole file). A raw
    // handle given the same statements reads the file as a session does.
    static constexpr const char* kCacheSize = "PRAGMA cache_size = -65536";
    static constexpr const char* kMmapSize = "PRAGMA mmap_size = 1099511627776";

    // Throws vym::Error with a message fit for the user that names the file
    // and the cause when it cannot be opened, created or read (locked by
    // another program, disk full, input/output error, no access, not a
    // database or damaged), or is newer than the program.
    static std::shared_ptr<SqliteSession> Open(const std::string& path, const Options& options);
    ~SqliteSession() override;

    using SqlSession::Prepare;
    StatementRef Prepare(std::string_view sql, std::size_t hash,
                         const std::shared_ptr<const std::string>* shared) override;
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

  protected:
    void RunScriptAsking(std::string_view sql, const std::function<bool()>& keepGoing) override;

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
