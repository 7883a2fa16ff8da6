// The gateway on PostgreSQL against raw libpq doing the same statements:
// 10,000 procedure calls, each reading one row by key in its own transaction.
// For each call the gateway sends "BEGIN; SELECT pg_advisory_xact_lock(...)"
// (the writers' lock every procedure takes), the prepared SELECT and COMMIT;
// the raw side sends exactly these (run the server with log_statement = all to
// compare). Prints both times and the ratio ours / raw (target 1.3).
//
// The server: VYM_BENCH_POSTGRESQL, the URI of a database there from which
// the bench may create one of its own, as a superuser; otherwise a throwaway
// cluster that scripts/pg-test-cluster starts on VYM_BENCH_PG_PORT (default
// 54339) and that the bench reaches over its local socket.

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "postgres_bench_support.h"
#include "server/local_app_server.h"

namespace {

using vym::bench::Check;

constexpr int kRows = 100000;
constexpr int kCalls = 10000;
constexpr const char* kDatabase = "vym_bench_keyed";
constexpr const char* kRawSelectOne =
    "SELECT item_no, description, unit_price, created, is_active FROM bench_item "
    "WHERE item_no = $1";
constexpr const char* kRawBegin = "BEGIN; SELECT pg_advisory_xact_lock(74797335)";

vym::Connection* gateway = nullptr;
PGconn* raw = nullptr;
std::vector<std::int32_t> keys;

void FillItems(PGconn* conn) {
    Check(PQexec(conn,
                 "CREATE TABLE bench_item (item_no int PRIMARY KEY, description varchar(60), "
                 "unit_price vym_money, created vym_datetime, is_active vym_bit)"),
          "create table");
    Check(PQexec(conn,
                 "INSERT INTO bench_item SELECT i, 'Rental ski package ' || i, 19.95 + (i % 40), "
                 "timestamp '2024-12-01 09:15:00' + (i % 28) * interval '1 day', i % 2 "
                 "FROM generate_series(1, 100000) i; ANALYZE bench_item"),
          "fill");
}

void BM_KeyedCallsGatewayPostgres(benchmark::State& state) {
    for (auto _ : state) {
        vym::bench::CallForEachKey(*gateway, keys);
    }
}

vym::bench::BenchRow RawRow(PGresult* r) {
    vym::Date created;
    vym::Date::ParseIso(PQgetvalue(r, 0, 3), created);
    return vym::bench::BenchRow{
        std::atoll(PQgetvalue(r, 0, 0)), std::string(PQgetvalue(r, 0, 1), PQgetlength(r, 0, 1)),
        std::strtod(PQgetvalue(r, 0, 2), nullptr), created, std::atoi(PQgetvalue(r, 0, 4)) != 0};
}

void BM_KeyedCallsRawPostgres(benchmark::State& state) {
    Check(PQprepare(raw, "bench_select", kRawSelectOne, 1, nullptr), "prepare");
    for (auto _ : state) {
        for (std::int32_t key : keys) {
            Check(PQexec(raw, kRawBegin), "begin");
            const std::string text = std::to_string(key);
            const char* values[] = {text.c_str()};
            PGresult* result = PQexecPrepared(raw, "bench_select", 1, values, nullptr, nullptr, 0);
            if (PQntuples(result) > 0) {
                vym::bench::BenchRow row = RawRow(result);
                benchmark::DoNotOptimize(row);
            }
            PQclear(result);
            Check(PQexec(raw, "COMMIT"), "commit");
        }
    }
    Check(PQexec(raw, "DEALLOCATE bench_select"), "deallocate");
}

BENCHMARK(BM_KeyedCallsGatewayPostgres)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyedCallsRawPostgres)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    try {
        const vym::bench::PostgresServer server("54339");
        const std::string uri = server.CreateDatabase(kDatabase);
        vym::server::OpenOptions options = vym::bench::KeyedCallOptions();
        options.createIfMissing = true;
        auto office = vym::server::LocalAppServer::Open(uri, options);
        raw = vym::bench::Connect(uri);
        FillItems(raw);
        gateway = office->DBConnection().get();
        keys = vym::bench::RandomKeys(kCalls, kRows);
        vym::bench::RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        std::printf("\n");
        vym::bench::PrintTimeRatio(reporter, "10,000 keyed procedure calls on PostgreSQL",
                                   "BM_KeyedCallsGatewayPostgres", "BM_KeyedCallsRawPostgres", 1.3);
        PQfinish(raw);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
