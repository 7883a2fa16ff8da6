#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "server/sql_session.h"

namespace vym::server {

// The PostgreSQL engine behind the session interface, through libpq: one
// connection, statements prepared on the server and cached by their SQL
// text, parameters sent as text (long data hex-encoded), write transactions
// serialized by one transaction-level advisory lock so that writers wait for
// each other as on the embedded store, nested ones as savepoints.
//
// A lost connection fails the statement with a message that says so; the
// server has rolled the transaction back, and the next statement outside a
// transaction connects again.
class PostgresSession : public SqlSession {
  public:
    struct Options {
        // The newest schema this program knows (checked by the migrator).
        int newestSchemaVersion = 0;
    };

    // `uri` is a libpq connection URI; a password comes from libpq's own
    // sources (PGPASSWORD, ~/.pgpass). Throws vym::Error naming the database
    // (never its password) and the cause when it cannot connect.
    static std::shared_ptr<PostgresSession> Open(const std::string& uri, const Options& options);
    ~PostgresSession() override;

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
    int SchemaVersion() override;
    void SetSchemaVersion(int version) override;

    // The server's process serving this session (to end it in a test).
    int BackendPid() const;

  protected:
    void RunScriptAsking(std::string_view sql, const std::function<bool()>& keepGoing) override;

  private:
    struct Impl;
    explicit PostgresSession(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Whether `database` names a PostgreSQL database ("postgresql://..." or
// "postgres://...") rather than a file.
bool IsPostgresUri(std::string_view database);
// The URI with any password in it left out, fit for a message or a log.
std::string WithoutPassword(std::string_view uri);

}  // namespace vym::server
