// The gateway against raw sqlite3 running the same statements (the traces of
// both sides are compared, and the result printed beside the times):
//   - 10,000 procedure calls, each reading one row by key in its own
//     transaction, read into typed values;
//   - reading a 100,000-row recordset field by field into typed values, as
//     the records read them (the fields' typed reads).
// The raw side prepares its statements once and reads the same values the
// same way (dates parsed, text copied). Runs are paired, ours then raw, and
// the medians of the wall times compared.
//
//   gateway_bench    VYM_BENCH_RUNS pairs of runs (default 15; 1 for a profile)

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "gateway/command.h"
#include "server/local_app_server.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCalls = 10000;
const int kRuns = std::atoi(vym::bench::Env("VYM_BENCH_RUNS", "15").c_str());
constexpr const char* kSelectAll =
    "SELECT item_no, description, unit_price, created, is_active FROM bench_item";

vym::bench::BenchDatabase* bench = nullptr;

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

vym::bench::BenchRow RawRow(sqlite3_stmt* s) {
    vym::Date created;
    vym::Date::ParseIso(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)), created);
    return vym::bench::BenchRow{
        sqlite3_column_int64(s, 0),
        std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)),
                    sqlite3_column_bytes(s, 1)),
        sqlite3_column_double(s, 2), created, sqlite3_column_int(s, 4) != 0};
}

// A statement prepared once on the raw handle.
class Prepared {
  public:
    explicit Prepared(const char* sql) {
        sqlite3_prepare_v3(bench->Raw(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    }
    ~Prepared() { sqlite3_finalize(statement_); }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    sqlite3_stmt* get() const { return statement_; }
    void Run() const {
        while (sqlite3_step(statement_) == SQLITE_ROW) {
        }
        sqlite3_reset(statement_);
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

// What the procedure runs for each key: its transaction around the read.
class RawKeyedCalls {
  public:
    void Run(const std::vector<std::int32_t>& keys) const {
        for (std::int32_t key : keys) {
            begin_.Run();
            sqlite3_bind_int(select_.get(), 1, key);
            if (sqlite3_step(select_.get()) == SQLITE_ROW) {
                vym::bench::BenchRow row = RawRow(select_.get());
                benchmark::DoNotOptimize(row);
            }
            sqlite3_reset(select_.get());
            commit_.Run();
        }
    }

  private:
    Prepared begin_{"BEGIN IMMEDIATE"};
    Prepared commit_{"COMMIT"};
    Prepared select_{vym::bench::kKeyedSelect};
};

void ReadAllOurs() {
    auto rs = bench->DB().OpenRecordset(kSelectAll);
    vym::Field& number = rs->Fields("item_no");
    vym::Field& description = rs->Fields("description");
    vym::Field& price = rs->Fields("unit_price");
    vym::Field& created = rs->Fields("created");
    vym::Field& active = rs->Fields("is_active");
    for (; !rs->Eof(); rs->MoveNext()) {
        vym::bench::BenchRow row{number.Long(), description.Text(), price.Double(), created.Date(),
                                 active.Flag()};
        benchmark::DoNotOptimize(row);
    }
}

void ReadAllRaw(const Prepared& select) {
    while (sqlite3_step(select.get()) == SQLITE_ROW) {
        vym::bench::BenchRow row = RawRow(select.get());
        benchmark::DoNotOptimize(row);
    }
    sqlite3_reset(select.get());
}

void Report(const char* what, const vym::bench::PairedMs& ms, double target,
            const std::string& statements) {
    std::printf("%-30s ours %8.2f ms  raw %8.2f ms  ratio %.2f  target %.1f %s\n", what, ms.ours,
                ms.raw, ms.ours / ms.raw, target, ms.ours <= target * ms.raw ? "met" : "MISSED");
    std::printf("%-30s statements against raw: %s\n", "", statements.c_str());
}

}  // namespace

int main() {
    vym::bench::StatementTrace::Install();
    vym::bench::BenchDatabase database("gateway-bench", vym::bench::KeyedCallOptions());
    bench = &database;
    FillItems(database.DB());
    const std::vector<std::int32_t> keys = vym::bench::RandomKeys(kCalls, kRows);
    using vym::bench::StatementTrace;

    const RawKeyedCalls keyed;
    const std::vector<std::int32_t> few(keys.begin(), keys.begin() + 3);
    const std::string keyedSame = vym::bench::CompareTraces(
        StatementTrace::Capture([&] { vym::bench::CallForEachKey(database.DB(), few); }),
        StatementTrace::Capture([&] { keyed.Run(few); }));
    const auto keyedMs = vym::bench::TimePaired(
        kRuns, [&] { vym::bench::CallForEachKey(database.DB(), keys); }, [&] { keyed.Run(keys); });

    const Prepared selectAll(kSelectAll);
    const std::string readSame =
        vym::bench::CompareTraces(StatementTrace::Capture(ReadAllOurs),
                                  StatementTrace::Capture([&] { ReadAllRaw(selectAll); }));
    const auto readMs = vym::bench::TimePaired(kRuns, ReadAllOurs, [&] { ReadAllRaw(selectAll); });

    std::printf("Paired runs, median wall time of %d\n", kRuns);
    Report("10,000 keyed procedure calls", keyedMs, 1.3, keyedSame);
    Report("100,000-row recordset read", readMs, 1.2, readSame);
    return 0;
}
