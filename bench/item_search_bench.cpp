// Item console searches on a large catalogue: each search's count and first
// 200 rows through the procedure (what the console waits for), against raw
// sqlite3 running the very statements the procedure ran (caught as it runs
// them, prepared once, bound alike: the expanded texts are compared) on the
// same file. The runs are paired, ours then raw, and the medians compared.
//
//   item_search_bench            VYM_BENCH_ITEMS (default 1000000)
//                                VYM_BENCH_DB (default /tmp/vym_bench_<items>.db)
//                                VYM_BENCH_PLANS=1 prints each statement's query plan
//                                VYM_BENCH_FILTER=text runs only the searches naming it
// The catalogue is generated once when the file does not exist.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "item_search_cases.h"
#include "server/procedures/item_search_procedures.h"
#include "server/sql_engine.h"

namespace {

using vym::bench::kSearchRows;
using vym::bench::kSearchTargetMs;
using vym::bench::SearchCase;

constexpr int kRuns = 9;

vym::bench::BenchDatabase* g = nullptr;

std::int32_t RunOurs(const SearchCase& c) {
    return vym::bench::RunSearch(g->DB(), c);
}

// The procedure's two statements on the raw handle, prepared and bound once.
class RawSearch {
  public:
    RawSearch(const SearchCase& c) {
        const auto captured = vym::bench::StatementTrace::Capture([&c] { RunOurs(c); });
        const auto count = std::find_if(captured.rbegin(), captured.rend(), [](const auto& s) {
            return s.first.starts_with("SELECT count(*) FROM vym_");
        });
        // Every search's rows begin with the item number (the full-text
        // index runs statements of its own meanwhile).
        const auto rows = std::find_if(captured.rbegin(), captured.rend(), [](const auto& s) {
            return s.first.starts_with("SELECT i.item_no,");
        });
        std::vector<std::string> values;
        for (const auto& [name, value] : c.criteria) {
            values.push_back(vym::bench::Bound(vym::server::SqlEngine::Sqlite(), name, value));
        }
        count_ = Prepare(count->first, values, std::nullopt);
        const auto location = std::find_if(c.criteria.begin(), c.criteria.end(),
                                           [](const auto& p) { return p.first == "@location_id"; });
        rows_ = Prepare(
            rows->first, values,
            vym::bench::IsStock(c)
                ? std::optional<std::string>(location == c.criteria.end() ? "" : location->second)
                : std::nullopt);
        same_ = vym::bench::Expanded(count_) == count->second &&
                vym::bench::Expanded(rows_) == rows->second;
        if (!vym::bench::Env("VYM_BENCH_PLANS", "").empty()) {
            std::printf("\n%s\n", c.name.c_str());
            for (sqlite3_stmt* statement : {count_, rows_}) {
                vym::bench::PrintPlan(g->Raw(), statement);
            }
        }
    }
    ~RawSearch() {
        sqlite3_finalize(count_);
        sqlite3_finalize(rows_);
    }
    RawSearch(const RawSearch&) = delete;
    RawSearch& operator=(const RawSearch&) = delete;

    bool SameAsOurs() const { return same_; }

    std::int32_t Run() const {
        sqlite3_reset(count_);
        sqlite3_step(count_);
        const std::int32_t matches = sqlite3_column_int(count_, 0);
        sqlite3_reset(rows_);
        for (int read = 0; read < kSearchRows && sqlite3_step(rows_) == SQLITE_ROW; ++read) {
            for (int col = 0; col < sqlite3_column_count(rows_); ++col) {
                benchmark::DoNotOptimize(sqlite3_column_text(rows_, col));
            }
        }
        return matches;
    }

  private:
    // A stock search's rows first bind the location the quantities are of
    // ("" for Null).
    static sqlite3_stmt* Prepare(const std::string& sql, const std::vector<std::string>& values,
                                 const std::optional<std::string>& location) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(g->Raw(), sql.c_str(), -1, &statement, nullptr);
        int n = 1;
        if (location) {
            if (location->empty()) {
                sqlite3_bind_null(statement, n++);
            } else {
                sqlite3_bind_text(statement, n++, location->c_str(), -1, SQLITE_TRANSIENT);
            }
        }
        for (const std::string& value : values) {
            sqlite3_bind_text(statement, n++, value.c_str(), -1, SQLITE_TRANSIENT);
        }
        return statement;
    }

    sqlite3_stmt* count_ = nullptr;
    sqlite3_stmt* rows_ = nullptr;
    bool same_ = false;
};

}  // namespace

int main() {
    vym::bench::StatementTrace::Install();
    const auto [items, path] = vym::bench::LargeCatalogueFile();
    vym::bench::BenchDatabase database(path);
    g = &database;

    std::printf("%-40s %9s %9s %9s %7s %7s\n", "search (count + 200 rows)", "matches", "ours ms",
                "raw ms", "ratio", "target");
    int missed = 0;
    const std::vector<SearchCase> cases =
        vym::bench::SearchCases(items, vym::bench::Env("VYM_BENCH_FILTER", ""));
    for (const SearchCase& c : cases) {
        const RawSearch raw(c);
        const std::int32_t matches = RunOurs(c);
        const bool sameCount = raw.Run() == matches;
        const auto [oursMs, rawMs] = vym::bench::TimePaired(
            kRuns, [&c] { RunOurs(c); }, [&raw] { raw.Run(); });
        missed += oursMs > kSearchTargetMs ? 1 : 0;
        std::printf("%-40s %9d %9.2f %9.2f %7.2f %7s%s%s\n", c.name.c_str(), matches, oursMs, rawMs,
                    oursMs / rawMs, oursMs <= kSearchTargetMs ? "met" : "MISSED",
                    raw.SameAsOurs() ? "" : "  (raw statements differ!)",
                    sameCount ? "" : "  (raw count differs!)");
    }
    std::printf("%d of %zu searches over %.0f ms\n", missed, cases.size(), kSearchTargetMs);

    // The same searches on ten million items need that catalogue on disk.
    const double scale = 10'000'000.0 / items;
    std::printf(
        "\nTen million items: VYM_BENCH_ITEMS=10000000 generates them once (about %.1f GB, "
        "ten times the generation of this catalogue) and runs these searches on them.\n",
        static_cast<double>(std::filesystem::file_size(path)) * scale / 1e9);
    return 0;
}
