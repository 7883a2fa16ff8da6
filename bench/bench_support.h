// What the benchmark programs share: a database opened both through the
// server and as a raw sqlite3 handle, and the reporter that keeps each
// benchmark's result for the "ours against raw" lines printed at the end.

#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/date.h"
#include "server/local_app_server.h"

namespace vym::bench {

// The server, its connection and a raw handle on the same file, closed (and a
// temporary database removed) when this goes.
class BenchDatabase {
  public:
    // A new database in a temporary directory of its own named after `tag`;
    // the raw handle is opened as the gateway opens its own handle.
    BenchDatabase(const std::string& tag, const server::OpenOptions& options);
    // An existing database file, left in place; the raw handle only reads it.
    explicit BenchDatabase(const std::string& path);
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    Connection& DB() const { return *db_; }
    server::LocalAppServer& Server() const { return *server_; }
    sqlite3* Raw() const { return raw_; }

  private:
    std::filesystem::path tempDir_;  // empty for an existing file
    std::unique_ptr<server::LocalAppServer> server_;
    std::shared_ptr<Connection> db_;
    sqlite3* raw_ = nullptr;
};

// The keyed-call benches: VYM_SP_BENCH_GetItem reads one row of bench_item
// (item_no, description, unit_price, created, is_active) by @item_no.
constexpr const char* kKeyedSelect =
    "SELECT item_no, description, unit_price, created, is_active FROM bench_item "
    "WHERE item_no = ?";
// What a caller keeps of one such row, built the same way on every side.
struct BenchRow {
    std::int64_t number;
    std::string description;
    double price;
    Date created;
    bool active;
};
// A server whose catalog holds only VYM_SP_BENCH_GetItem.
server::OpenOptions KeyedCallOptions();
// Calls VYM_SP_BENCH_GetItem once per key, reading each row into a BenchRow.
void CallForEachKey(Connection& db, const std::vector<std::int32_t>& keys);
// `count` keys from 1 to `highest`, the same ones on every run.
std::vector<std::int32_t> RandomKeys(int count, std::int32_t highest);

// An environment setting, or `fallback` when it is unset or empty.
std::string Env(const char* name, const std::string& fallback);

// The large catalogue the search and load benches read: VYM_BENCH_ITEMS items
// (default 1,000,000) in VYM_BENCH_DB (default /tmp/<stem>_<items>.db),
// generated with progress on stderr when the file does not exist yet. A bench
// that needs rows an older generator did not write names a stem of its own.
struct Catalogue {
    std::int32_t items = 0;
    std::string path;
};
Catalogue LargeCatalogueFile(const std::string& stem = "vym_bench");

// The statements that the connections opened after Install() run while a
// capture is on: each one's text and its text with the values bound.
class StatementTrace {
  public:
    using Statement = std::pair<std::string, std::string>;
    // Before the first connection is opened.
    static void Install();
    static std::vector<Statement> Capture(const std::function<void()>& run);
};
// A prepared statement's text with the values bound to it.
std::string Expanded(sqlite3_stmt* statement);

// The statements of a traced run of ours, run again on a raw handle: each
// distinct text prepared once, bound with the values it was traced with (read
// back from its expanded text), every row stepped and every cell read as a
// caller keeps it (text and blobs copied out).
class RawReplay {
  public:
    RawReplay(sqlite3* db, const std::vector<StatementTrace::Statement>& trace);
    ~RawReplay();
    RawReplay(const RawReplay&) = delete;
    RawReplay& operator=(const RawReplay&) = delete;

    // False when a traced statement did not prepare or its values could not
    // be read back: the replay would not run what ours ran.
    bool Complete() const { return complete_; }
    // Runs every statement once, in the traced order; the cells read.
    std::int64_t Run();

  private:
    struct Literal {
        int index = 0;  // the parameter's number
        int type = 0;   // SQLITE_NULL, SQLITE_INTEGER ...
        std::int64_t integer = 0;
        double real = 0;
        std::string bytes;  // text or blob
    };
    struct Step {
        sqlite3_stmt* statement = nullptr;
        std::vector<Literal> values;
    };
    static bool ReadValues(const std::string& sql, const std::string& expanded,
                           std::vector<Literal>& values);

    std::map<std::string, sqlite3_stmt*> prepared_;
    std::vector<Step> steps_;
    bool complete_ = true;
};
// "same" when two traces ran the same texts with the same values, else the
// first difference.
std::string CompareTraces(const std::vector<StatementTrace::Statement>& ours,
                          const std::vector<StatementTrace::Statement>& raw);
// Prints the query plan of a prepared statement, one step a line.
void PrintPlan(sqlite3* db, sqlite3_stmt* statement);

// The median milliseconds (wall time) of `runs` paired runs, ours then raw
// in each pair, so that both see the same state of the machine. `before`,
// when given, runs untimed before each side: it puts back the rows a run
// changed, so that both sides start alike.
struct PairedMs {
    double ours = 0;
    double raw = 0;
};
PairedMs TimePaired(int runs, const std::function<void()>& ours, const std::function<void()>& raw,
                    const std::function<void()>& before = {});

// Keeps each benchmark's time per iteration and items per second.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Nothing for a benchmark that did not run (filtered out) or counted no items.
    std::optional<double> Time(const std::string& name) const;
    std::optional<double> ItemsPerSecond(const std::string& name) const;

  private:
    std::map<std::string, double> times_;
    std::map<std::string, double> rates_;
};

// One "ours / raw / ratio (target)" line from the times per iteration, in
// milliseconds; nothing when either benchmark did not run.
void PrintTimeRatio(const RatioReporter& reporter, const char* what, const std::string& ours,
                    const std::string& raw, double target);
// The same from the items per second; the ratio is still of the times.
void PrintRateRatio(const RatioReporter& reporter, const char* what, const std::string& ours,
                    const std::string& raw);

}  // namespace vym::bench
