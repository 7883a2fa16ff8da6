#include "postgres_bench_support.h"

#include <cstdlib>
#include <stdexcept>

#include "bench_support.h"

namespace vym::bench {

PGconn* Connect(const std::string& uri) {
    PGconn* conn = PQconnectdb(uri.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("cannot connect: " + message);
    }
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    return conn;
}

void Check(PGresult* result, const char* what) {
    const ExecStatusType status = PQresultStatus(result);
    const bool good = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    const std::string message = good ? "" : PQresultErrorMessage(result);
    PQclear(result);
    if (!good) {
        throw std::runtime_error(std::string(what) + ": " + message);
    }
}

PostgresServer::PostgresServer(const std::string& port)
    : uri_(Env("VYM_BENCH_POSTGRESQL", "")),
      port_(Env("VYM_BENCH_PG_PORT", port)),
      throwaway_(uri_.empty()) {
    if (!throwaway_) {
        return;
    }
    if (Cluster("start") != 0) {
        throw std::runtime_error("could not start a PostgreSQL cluster; set VYM_BENCH_POSTGRESQL");
    }
    uri_ = "postgresql://vym@%2Ftmp%2Fvym-pg-test-" + port_ + ":" + port_ + "/postgres";
}

PostgresServer::~PostgresServer() {
    if (throwaway_) {
        Cluster("stop");
    }
}

int PostgresServer::Cluster(const char* action) const {
    return std::system(("'" VYM_PG_CLUSTER "' " + std::string(action) + " " + port_).c_str());
}

std::string PostgresServer::LogFile() const {
    return throwaway_ ? "/tmp/vym-pg-test-" + port_ + "/server.log" : Env("VYM_BENCH_PG_LOG", "");
}

std::string PostgresServer::Database(const std::string& name) const {
    const auto path = uri_.find('/', uri_.find("://") + 3);
    const auto query = uri_.find('?');
    return (path == std::string::npos ? uri_ : uri_.substr(0, path)) + "/" + name +
           (query == std::string::npos ? "" : uri_.substr(query));
}

std::string PostgresServer::CreateDatabase(const std::string& name) const {
    PGconn* admin = Connect(uri_);
    try {
        Check(PQexec(admin, ("DROP DATABASE IF EXISTS " + name).c_str()), "drop");
        Check(PQexec(admin, ("CREATE DATABASE " + name).c_str()), "create");
    } catch (...) {
        PQfinish(admin);
        throw;
    }
    PQfinish(admin);
    return Database(name);
}

bool PostgresServer::HasDatabase(const std::string& name) const {
    PGconn* admin = Connect(uri_);
    const char* values[] = {name.c_str()};
    PGresult* result = PQexecParams(admin, "SELECT 1 FROM pg_database WHERE datname = $1", 1,
                                    nullptr, values, nullptr, nullptr, 0);
    const bool found = PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1;
    PQclear(result);
    PQfinish(admin);
    return found;
}

}  // namespace vym::bench
