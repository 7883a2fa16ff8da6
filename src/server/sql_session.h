#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "base/value.h"
#include "server/sql_engine.h"
#include "server/sql_statement.h"

namespace vym::server {

// Whom the changes made through a session are recorded as in the price
// history: the signed-in user and the station they work at. The store's own
// triggers read them through vym_actor('user') and vym_actor('station');
// empty is recorded as Null.
struct Actor {
    std::string user;
    std::string station;
};

// A text prepared call after call, with the hash that the sessions' caches of
// statements find it by worked out once: a procedure's long SELECT is then
// not read through on every call.
// The text is shared and never changed: a cache keeps it rather than a copy,
// and then knows it again by its address without reading it through.
struct HashedSql {
    HashedSql() = default;
    explicit HashedSql(std::string sql)
        : shared(std::make_shared<const std::string>(std::move(sql))), hash(Hash(*shared)) {}
    // The hash the caches find a text by.
    static std::size_t Hash(std::string_view text);

    bool Empty() const { return !shared; }
    std::string_view Text() const {
        return shared ? std::string_view(*shared) : std::string_view();
    }

    std::shared_ptr<const std::string> shared;
    std::size_t hash = 0;
};

// The one way the server reaches its store: prepare, bind, step. Procedures,
// recordsets, settings and migrations all go through a session, so a second
// engine only needs a second implementation of this interface.
class SqlSession {
  public:
    virtual ~SqlSession() = default;

    // A prepared statement for `sql`, taken from the session's cache when a
    // free one exists. It goes back to the cache, rewound, when its last
    // holder lets go, so a statement kept alive keeps its rows readable.
    StatementRef Prepare(std::string_view sql) {
        return Prepare(sql, HashedSql::Hash(sql), nullptr);
    }
    StatementRef Prepare(const HashedSql& sql) {
        return Prepare(sql.Text(), sql.hash, &sql.shared);
    }
    // The same for a text whose HashedSql::Hash is `hash`; `shared`, when
    // given, holds the text unchanged (HashedSql).
    virtual StatementRef Prepare(std::string_view sql, std::size_t hash,
                                 const std::shared_ptr<const std::string>* shared) = 0;
    // Runs a script of statements that return no rows (a migration).
    virtual void ExecuteScript(std::string_view sql) = 0;
    // The same for a script that may run for minutes: `keepGoing` is asked
    // before it starts and every few milliseconds while it runs. A false
    // answer stops the script with an error; what it wrote goes with the
    // transaction's rollback. `keepGoing` must not throw.
    void ExecuteLongScript(std::string_view sql, const std::function<bool()>& keepGoing);

    // Write transactions take the write lock up front, so two connections
    // wait for each other instead of failing half way. They nest: an inner
    // one is a savepoint, so a procedure called inside a caller's transaction
    // still commits or rolls back whole without ending the caller's.
    virtual void BeginImmediate() = 0;
    // A read-only transaction takes no lock up front, so a reader never waits
    // for a writer, and any statement that would write in it fails. Nested
    // in another transaction it is a plain savepoint of it.
    virtual void BeginRead() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;

    virtual std::int64_t Changes() const = 0;
    // The key the last INSERT gave its row (an INTEGER PRIMARY KEY's number).
    virtual std::int64_t LastInsertId() const = 0;

    // The SQL that differs between engines.
    virtual const SqlEngine& Engine() const = 0;
    // Who the changes from now on are made by. Called outside a transaction
    // (a rolled-back transaction may take the setting with it).
    virtual void SetActor(const Actor& actor) = 0;

    // The schema version the migrations recorded (0 for a new database).
    virtual int SchemaVersion() = 0;
    virtual void SetSchemaVersion(int version) = 0;

    // Runs one statement to its end with the values bound in order; returns
    // the rows it changed.
    std::int64_t Run(std::string_view sql, std::initializer_list<vym::Value> args = {});
    // The first column of the first row, or Null when there is no row.
    vym::Value QueryValue(std::string_view sql, std::initializer_list<vym::Value> args = {});
    // Whether the database has the table (later migrations add tables).
    bool TableExists(std::string_view table);

  protected:
    // ExecuteLongScript once `keepGoing` has said to start.
    virtual void RunScriptAsking(std::string_view sql, const std::function<bool()>& keepGoing) = 0;
};

}  // namespace vym::server
