// The gateway against raw sqlite3 doing the same work:
//   - 10,000 procedure calls, each reading one row by key in its own
//     immediate transaction (the raw side runs BEGIN IMMEDIATE / SELECT /
//     COMMIT with prepared statements);
//   - reading a 100,000-row recordset field by field into typed values.
// Prints both times and the ratio ours / raw for each.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "gateway/command.h"
#include "server/local_app_server.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCalls = 10000;
constexpr const char* kSelectAll =
    "SELECT item_no, description, unit_price, created, is_active FROM bench_item";

vym::bench::BenchDatabase* bench = nullptr;
std::vector<std::int32_t> keys;

// The 100,000 rows the keyed calls read.
void FillItems(vym::Connection& db) {
    db.ExecuteSQL(
        "CREATE TABLE bench_item (item_no int PRIMARY KEY, description varchar(60), "
        "unit_price money, created datetime, is_active bit)");
    db.ExecuteSQL(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
        "INSERT INTO bench_item SELECT i, 'Rental ski package ' || i, 19.95 + (i % 40), "
        "'2024-12-' || printf('%02d', 1 + i % 28) || ' 09:15:00', i % 2 FROM n");
}

void BM_KeyedCallsGateway(benchmark::State& state) {
    for (auto _ : state) {
        vym::bench::CallForEachKey(bench->DB(), keys);
    }
}

void Step(sqlite3_stmt* statement) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    sqlite3_reset(statement);
}

vym::bench::BenchRow RawRow(sqlite3_stmt* s) {
    vym::Date created;
    vym::Date::ParseIso(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)), created);
    return vym::bench::BenchRow{
        sqlite3_column_int64(s, 0),
        std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)),
                    sqlite3_column_bytes(s, 1)),
        sqlite3_column_double(s, 2), created, sqlite3_column_int(s, 4) != 0};
}

void BM_KeyedCallsRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    sqlite3_stmt *begin = nullptr, *commit = nullptr, *select = nullptr;
    sqlite3_prepare_v2(raw, "BEGIN IMMEDIATE", -1, &begin, nullptr);
    sqlite3_prepare_v2(raw, "COMMIT", -1, &commit, nullptr);
    sqlite3_prepare_v2(raw, vym::bench::kKeyedSelect, -1, &select, nullptr);
    for (auto _ : state) {
        for (std::int32_t key : keys) {
            Step(begin);
            sqlite3_bind_int(select, 1, key);
            if (sqlite3_step(select) == SQLITE_ROW) {
                vym::bench::BenchRow row = RawRow(select);
                benchmark::DoNotOptimize(row);
            }
            sqlite3_reset(select);
            Step(commit);
        }
    }
    sqlite3_finalize(begin);
    sqlite3_finalize(commit);
    sqlite3_finalize(select);
}

void BM_RecordsetReadGateway(benchmark::State& state) {
    for (auto _ : state) {
        auto rs = bench->DB().OpenRecordset(kSelectAll);
        vym::Field& number = rs->Fields("item_no");
        vym::Field& description = rs->Fields("description");
        vym::Field& price = rs->Fields("unit_price");
        vym::Field& created = rs->Fields("created");
        vym::Field& active = rs->Fields("is_active");
        for (; !rs->Eof(); rs->MoveNext()) {
            vym::bench::BenchRow row{number.Value().ToLong(), description.Value().ToString(),
                                     price.Value().ToDouble(), created.Value().ToDate(),
                                     active.Value().ToBool()};
            benchmark::DoNotOptimize(row);
        }
    }
}

void BM_RecordsetReadRaw(benchmark::State& state) {
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(bench->Raw(), kSelectAll, -1, &select, nullptr);
    for (auto _ : state) {
        while (sqlite3_step(select) == SQLITE_ROW) {
            vym::bench::BenchRow row = RawRow(select);
            benchmark::DoNotOptimize(row);
        }
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);
}

BENCHMARK(BM_KeyedCallsGateway)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyedCallsRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsetReadGateway)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsetReadRaw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vym::bench::BenchDatabase database("gateway-bench", vym::bench::KeyedCallOptions());
    bench = &database;
    FillItems(database.DB());
    keys = vym::bench::RandomKeys(kCalls, kRows);
    vym::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    vym::bench::PrintTimeRatio(reporter, "10,000 keyed procedure calls", "BM_KeyedCallsGateway",
                               "BM_KeyedCallsRaw", 1.3);
    vym::bench::PrintTimeRatio(reporter, "100,000-row recordset read", "BM_RecordsetReadGateway",
                               "BM_RecordsetReadRaw", 1.2);
    return 0;
}
