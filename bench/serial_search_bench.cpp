// Serial console searches on a large catalogue of serialized units: the first
// 200 rows through the search procedure (what the console waits for), against
// raw sqlite3 running the very statements the procedure ran, its read
// transaction's included (caught as it runs them, prepared once, bound alike
// for every run: the expanded texts are compared) on the same file. The runs
// are paired, ours then raw, and the medians compared.
//
//   serial_search_bench          VYM_BENCH_ITEMS (default 1000000, about as many units)
//                                VYM_BENCH_DB (default /tmp/vym_serial_bench_<items>.db)
//                                VYM_BENCH_PLANS=1 prints each statement's query plan
// The catalogue is generated once when the file does not exist.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"

namespace {

constexpr int kRows = 200;
constexpr int kRuns = 15;
constexpr double kTargetMs = 50.0;
constexpr double kTargetRatio = 1.2;

// The criteria in the order the procedure binds them.
struct Case {
    std::string name;
    std::vector<std::pair<std::string, vym::Value>> criteria;
};

std::vector<Case> Cases(std::int32_t items) {
    // Stock items are the 2nd, 8th, 14th ... generated, each with one to five units.
    const std::int32_t stockItem = items / 2 - (items / 2) % 6 + 2;
    const std::string serial = "SN" + std::to_string(stockItem);
    return {
        {"serial id", {{"@serial_id", serial + "-1"}}},
        {"serial id, first digits", {{"@serial_id", serial.substr(0, serial.size() - 1)}}},
        {"serial id SN1 (a ninth of all)", {{"@serial_id", "SN1"}}},
        {"item", {{"@item_no", stockItem}}},
        {"location GENL03 with status OUT", {{"@location_id", "GENL03"}, {"@status_id", "OUT"}}},
        {"location GENL03 (every status)", {{"@location_id", "GENL03"}}},
        {"model GENM04", {{"@model_id", "GENM04"}}},
        {"model GENM04, active", {{"@is_active", true}, {"@model_id", "GENM04"}}},
    };
}

vym::bench::BenchDatabase* g = nullptr;

// Through the procedure, as the console does: the rows it shows first.
int RunOurs(const Case& c) {
    auto command = g->DB().NewCommand();
    command->CommandText = "VYM_SP_SERIAL_SearchStockSerial";
    command->Parameters.Refresh();
    for (const auto& [name, value] : c.criteria) {
        command->Parameters[name].Value = value;
    }
    auto rows = g->DB().ExecuteRecordset(*command);
    int read = 0;
    for (; !rows->Eof() && read < kRows; rows->MoveNext(), ++read) {
        for (std::int32_t f = 0; f < rows->FieldCount(); ++f) {
            benchmark::DoNotOptimize(rows->Fields(f).Value());
        }
    }
    return read;
}

// The procedure's statements on the raw handle, prepared once: its read
// transaction's BEGIN and COMMIT, and inside them, for a search by the
// beginning of a serial id, the count of units that begin so (up to a
// bound), then every search's rows, the first read before the COMMIT as the
// procedure reads it.
class RawSearch {
  public:
    explicit RawSearch(const Case& c) : criteria_(c.criteria) {
        const auto captured = vym::bench::StatementTrace::Capture([&c] { RunOurs(c); });
        same_ = captured.size() >= 3 && captured.front().first == "BEGIN" &&
                captured.back().first == "COMMIT";
        for (const auto& [sql, expanded] : captured) {
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v2(g->Raw(), sql.c_str(), -1, &statement, nullptr);
            statements_.push_back(statement);
            Bind(statement);
            same_ = same_ && vym::bench::Expanded(statement) == expanded;
            if (!vym::bench::Env("VYM_BENCH_PLANS", "").empty() && sql.starts_with("SELECT")) {
                std::printf("\n%s\n", c.name.c_str());
                vym::bench::PrintPlan(g->Raw(), statement);
            }
        }
    }
    ~RawSearch() {
        for (sqlite3_stmt* statement : statements_) {
            sqlite3_finalize(statement);
        }
    }
    RawSearch(const RawSearch&) = delete;
    RawSearch& operator=(const RawSearch&) = delete;

    // Whether raw runs every statement the procedure ran, its transaction's
    // included, as the procedure bound them.
    bool SameAsOurs() const { return same_; }

    // Binds the criteria again, as every search does: SQLite plans a LIKE
    // afresh for its new pattern then, which a statement stepped again with
    // the values of the last run would skip. The rows read.
    int Run() const {
        if (statements_.size() < 3) {
            return -1;  // not the procedure's transaction: SameAsOurs() says so
        }
        sqlite3_stmt* rows = statements_[statements_.size() - 2];
        for (auto it = statements_.begin(); *it != rows; ++it) {  // BEGIN and the count
            sqlite3_reset(*it);
            Bind(*it);
            Read(*it, kRows);
            sqlite3_reset(*it);
        }
        sqlite3_reset(rows);
        Bind(rows);
        const int first = Read(rows, 1);
        sqlite3_step(statements_.back());
        sqlite3_reset(statements_.back());
        return first == 0 ? 0 : first + Read(rows, kRows - 1);
    }

  private:
    static int Read(sqlite3_stmt* statement, int most) {
        int read = 0;
        for (; read < most && sqlite3_step(statement) == SQLITE_ROW; ++read) {
            for (int col = 0; col < sqlite3_column_count(statement); ++col) {
                benchmark::DoNotOptimize(sqlite3_column_text(statement, col));
            }
        }
        return read;
    }

    // The criteria in order, as many as the statement takes.
    void Bind(sqlite3_stmt* statement) const {
        const int count = sqlite3_bind_parameter_count(statement);
        for (int n = 1; n <= count; ++n) {
            const auto& [name, value] = criteria_[n - 1];
            if (name == "@serial_id") {
                sqlite3_bind_text(statement, n, (value.ToString() + "%").c_str(), -1,
                                  SQLITE_TRANSIENT);
            } else if (value.Type() == vym::VarType::String) {
                sqlite3_bind_text(statement, n, value.ToString().c_str(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int(statement, n,
                                 name == "@is_active" ? value.ToBool() : value.ToLong());
            }
        }
    }

    std::vector<std::pair<std::string, vym::Value>> criteria_;
    std::vector<sqlite3_stmt*> statements_;  // BEGIN ... COMMIT
    bool same_ = false;
};

}  // namespace

int main() {
    vym::bench::StatementTrace::Install();
    const auto [items, path] = vym::bench::LargeCatalogueFile("vym_serial_bench");
    vym::bench::BenchDatabase database(path);
    g = &database;
    std::printf("%d units\n\n", static_cast<int>(database.DB()
                                                     .OpenRecordset("SELECT count(*) FROM "
                                                                    "vym_item_stock_serial")
                                                     ->Fields(0)
                                                     .Value()
                                                     .ToLong()));

    std::printf("%-34s %6s %9s %9s %7s %7s\n", "search (first 200 rows)", "rows", "ours ms",
                "raw ms", "ratio", "target");
    int missed = 0;
    const std::vector<Case> cases = Cases(items);
    for (const Case& c : cases) {
        const RawSearch raw(c);
        const int rows = RunOurs(c);
        const bool sameRows = raw.Run() == rows;
        const auto [oursMs, rawMs] = vym::bench::TimePaired(
            kRuns, [&c] { RunOurs(c); }, [&raw] { raw.Run(); });
        const bool met = oursMs <= kTargetMs && oursMs <= kTargetRatio * rawMs;
        missed += met ? 0 : 1;
        std::printf("%-34s %6d %9.3f %9.3f %7.2f %7s%s%s\n", c.name.c_str(), rows, oursMs, rawMs,
                    oursMs / rawMs, met ? "met" : "MISSED",
                    raw.SameAsOurs() ? "" : "  (raw statement differs!)",
                    sameRows ? "" : "  (raw rows differ!)");
    }
    std::printf("%d of %zu searches over %.0f ms or %.1fx raw\n", missed, cases.size(), kTargetMs,
                kTargetRatio);
    return 0;
}
