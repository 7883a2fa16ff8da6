// Opening and saving catalogue items through the record classes against raw
// sqlite3 running the very statements the procedures ran: a run of ours is
// traced, and the raw side replays the trace (each text prepared once, bound
// with the traced values, every row read); the raw side's own trace is then
// compared with ours and the result printed beside the times.
//   - opening every demo item with its detail record (CItem::OpenItem: two
//     procedure calls per item, each in its own transaction);
//   - saving a stock item (CItem::Update: one procedure call that checks its
//     references, claims the row and writes the item and stock rows), 20
//     saves a run with a new price each. Before each run, untimed, the row's
//     version and price are put back and the item reopened, so that every
//     run, ours or raw, makes the same changes.
// Runs are paired, ours then raw, and the medians of the wall times compared.
//
//   item_bench    VYM_BENCH_RUNS pairs of runs (default 21; 1 for a profile)

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "model/citem.h"
#include "model/citem_stock.h"
#include "server/local_app_server.h"

namespace {

const std::vector<std::int32_t> kItems = {100, 101, 102, 103, 104, 105, 106, 107, 200, 201, 202,
                                          300, 301, 302, 400, 401, 402, 500, 501, 502, 503, 510,
                                          511, 600, 601, 610, 700, 701, 702, 703, 704};
constexpr std::int32_t kStockItem = 500;
constexpr int kSaves = 20;
const int kRuns = std::atoi(vym::bench::Env("VYM_BENCH_RUNS", "21").c_str());
constexpr double kTarget = 1.3;

vym::bench::BenchDatabase* bench = nullptr;

void OpenAll() {
    for (std::int32_t no : kItems) {
        vym::CItem item;
        if (!item.OpenItem(&bench->DB(), nullptr, no)) {
            std::fprintf(stderr, "item %d did not open\n", no);
            std::exit(1);
        }
    }
}

// The stock item as saved before every run: its rows' versions and price.
class SavedState {
  public:
    SavedState()
        : itemVersion_(Query("SELECT row_version FROM vym_item WHERE item_no = 500")),
          stockVersion_(Query("SELECT row_version FROM vym_item_stock WHERE item_no = 500")),
          price_(Query("SELECT unit_price FROM vym_item_stock WHERE item_no = 500")) {}

    // Puts the rows back and reopens the item as a clerk would.
    void Restore(std::optional<vym::CItem>& item) const {
        const std::string sql =
            "UPDATE vym_item SET row_version = " + itemVersion_ +
            " WHERE item_no = 500; UPDATE vym_item_stock SET row_version = " + stockVersion_ +
            ", unit_price = " + price_ + " WHERE item_no = 500";
        sqlite3_exec(bench->Raw(), sql.c_str(), nullptr, nullptr, nullptr);
        item.emplace().OpenItem(&bench->DB(), nullptr, kStockItem);
    }

  private:
    static std::string Query(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(bench->Raw(), sql, -1, &statement, nullptr);
        std::string value = "NULL";
        if (sqlite3_step(statement) == SQLITE_ROW &&
            sqlite3_column_type(statement, 0) != SQLITE_NULL) {
            value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        }
        sqlite3_finalize(statement);
        return value;
    }

    std::string itemVersion_;
    std::string stockVersion_;
    std::string price_;
};

void SaveRepeatedly(vym::CItem& item) {
    const double start = item.StockItem()->UnitPrice;
    for (int save = 1; save <= kSaves; ++save) {
        item.StockItem()->UnitPrice = start + 0.01 * save;
        if (!item.Update(&bench->DB(), nullptr)) {
            std::fprintf(stderr, "the save failed\n");
            std::exit(1);
        }
    }
}

void Compare(const char* what, double per, const char* unit, const std::function<void()>& ours,
             const std::function<void()>& before) {
    using vym::bench::StatementTrace;
    if (before) {
        before();
    }
    const auto trace = StatementTrace::Capture(ours);
    vym::bench::RawReplay raw(bench->Raw(), trace);
    if (before) {
        before();
    }
    const std::string same =
        vym::bench::CompareTraces(trace, StatementTrace::Capture([&raw] { raw.Run(); }));
    const auto ms = vym::bench::TimePaired(
        kRuns, ours, [&raw] { raw.Run(); }, before);
    std::printf("%-34s ours %8.1f %s  raw %8.1f %s  ratio %.2f  target %.1f %s\n", what,
                ms.ours * 1000 / per, unit, ms.raw * 1000 / per, unit, ms.ours / ms.raw, kTarget,
                ms.ours <= kTarget * ms.raw ? "met" : "MISSED");
    std::printf("%-34s %zu statements a run; against raw: %s%s\n", "", trace.size(), same.c_str(),
                raw.Complete() ? "" : " (the replay could not read every value back!)");
}

}  // namespace

int main() {
    vym::bench::StatementTrace::Install();
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("item-bench", options);
    bench = &database;

    std::printf("Paired runs, median wall time of %d\n", kRuns);
    Compare("Open an item with its detail", static_cast<double>(kItems.size()), "us/item", OpenAll,
            {});
    const SavedState saved;
    std::optional<vym::CItem> item;
    Compare(
        "Save a stock item", kSaves, "us/save", [&item] { SaveRepeatedly(*item); },
        [&] { saved.Restore(item); });
    return 0;
}
