// What the PostgreSQL benches share: the server they run on and the raw libpq
// calls of their baselines.

#pragma once

#include <libpq-fe.h>

#include <string>

namespace vym::bench {

// The server a bench runs on: VYM_BENCH_POSTGRESQL, the URI of a database
// there from which the bench may create its own, as a superuser; otherwise a
// throwaway cluster that scripts/pg-test-cluster starts on VYM_BENCH_PG_PORT
// (default `port`), reached over its local socket and stopped when this goes.
class PostgresServer {
  public:
    // Throws std::runtime_error when the cluster does not start.
    explicit PostgresServer(const std::string& port);
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool Throwaway() const { return throwaway_; }
    // The server's log: the throwaway cluster's, else VYM_BENCH_PG_LOG (empty
    // when unset).
    std::string LogFile() const;
    // The URI of database `name` on the server.
    std::string Database(const std::string& name) const;
    // Database `name` made empty (dropped first when it exists); its URI.
    std::string CreateDatabase(const std::string& name) const;
    // Whether database `name` exists.
    bool HasDatabase(const std::string& name) const;

  private:
    int Cluster(const char* action) const;

    std::string uri_;
    std::string port_;
    bool throwaway_ = false;
};

// A connection; throws std::runtime_error with the server's reason.
PGconn* Connect(const std::string& uri);
// Throws std::runtime_error naming `what` unless the result is a success;
// clears it either way.
void Check(PGresult* result, const char* what);

}  // namespace vym::bench
