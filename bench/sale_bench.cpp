// Stock sales over 10,000 stock items, through the procedures against raw
// sqlite3 running the same statements in the same run:
//   - saving a sale at 25 % off all of them, as the pricing screen's Ok does:
//     one transaction, one VYM_SP_ITEM_STOCK_SALE_update call per item (its
//     checks and its price write); target 1 s;
//   - listing the sale's 10,000 prices for the pricing screen
//     (VYM_SP_ITEM_GetItemStockSalePrice read to the last row, which bounds
//     the time to the first rows); target 0.5 s.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/currency.h"
#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/transaction.h"
#include "server/local_app_server.h"

namespace {

constexpr int kItems = 10000;
constexpr int kFirstItem = 100000;
constexpr int kSale = 1;

vym::bench::BenchDatabase* bench = nullptr;
std::vector<vym::Currency> regular;  // each item's regular price, by position

// 10,000 stock items of the retail department with a base price each, and
// the demo item sale 1 emptied of its own prices.
void AddStock(sqlite3* raw) {
    const std::string n =
        "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n "
        "WHERE x < " +
        std::to_string(kItems - 1) + ") ";
    const std::string item = std::to_string(kFirstItem) + " + x";
    const std::string statements[] = {
        "BEGIN",
        n +
            "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
            "short_description, long_description, department_id, taxable, status_id, "
            "maintain_inventory) SELECT " +
            item +
            ", 'STOCK', 'RETAIL', 'OUTERWEAR', 'Bench ' || x, 'Bench Jacket ' || x, "
            "'RETAIL', 1, 'ACTIVE', 1 FROM n",
        n +
            "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, unit_price, "
            "base_uom_id) SELECT " +
            item + ", 'B' || x, 'APPAREL', 20 + x % 180 + 0.99, 'EA' FROM n",
        n +
            "INSERT INTO vym_price (item_no, unit_qty, uom_id, total_price, unit_price, "
            "gross_unit_price) SELECT " +
            item +
            ", 1, 'EA', 20 + x % 180 + 0.99, 20 + x % 180 + 0.99, 20 + x % 180 + 0.99 FROM n",
        "DELETE FROM vym_price WHERE sale_no = 1",
        "COMMIT"};
    for (const std::string& sql : statements) {
        sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr);
    }
    for (int x = 0; x < kItems; ++x) {
        regular.push_back(vym::Currency::FromRaw((20 + x % 180) * 10000 + 9900));
    }
}

vym::Currency QuarterOff(vym::Currency price) {
    return price - price.MulDiv(vym::Currency::FromRaw(250000), vym::Currency::FromRaw(1000000));
}

void BM_SaveSaleOurs(benchmark::State& state) {
    vym::Connection& db = bench->DB();
    for (auto _ : state) {
        vym::Transaction transaction(db);
        for (int x = 0; x < kItems; ++x) {
            auto cmd = vym::NewProcedure(db, "VyM_SP_ITEM_STOCK_SALE_update",
                                         {{"@sale_no", kSale},
                                          {"@item_no", kFirstItem + x},
                                          {"@unit_price", QuarterOff(regular[x])}});
            if (!db.Execute(*cmd) ||
                vym::NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
                state.SkipWithError("the save failed");
                return;
            }
        }
        transaction.Commit();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

// The statements the procedure runs for one item: the sale and stock checks,
// then the price written in place (or added the first time).
void BM_SaveSaleRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    const char* sql[] = {
        "SELECT 1 FROM vym_sale WHERE sale_no = ?1 AND ?2 > 0",
        "SELECT 1 FROM vym_item_stock WHERE item_no = ?2 AND ?1 > 0",
        "UPDATE vym_price SET unit_price = ?3, total_price = ?3, gross_unit_price = ?3, "
        "uom_id = COALESCE(NULL, uom_id), unit_qty = COALESCE(NULL, unit_qty), "
        "vym_user = 'ADMIN' WHERE sale_no = ?1 AND item_no = ?2",
    };
    std::vector<sqlite3_stmt*> statements;
    for (const char* text : sql) {
        statements.push_back(nullptr);
        sqlite3_prepare_v2(raw, text, -1, &statements.back(), nullptr);
    }
    for (auto _ : state) {
        sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int x = 0; x < kItems; ++x) {
            for (sqlite3_stmt* s : statements) {
                sqlite3_bind_int(s, 1, kSale);
                sqlite3_bind_int(s, 2, kFirstItem + x);
                sqlite3_bind_double(s, 3, QuarterOff(regular[x]).ToDouble());
                while (sqlite3_step(s) == SQLITE_ROW) {
                }
                sqlite3_reset(s);
            }
        }
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    for (sqlite3_stmt* s : statements) {
        sqlite3_finalize(s);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_ListSaleOurs(benchmark::State& state) {
    vym::Connection& db = bench->DB();
    for (auto _ : state) {
        auto cmd =
            vym::NewProcedure(db, "VYM_SP_ITEM_GetItemStockSalePrice", {{"@sale_no", kSale}});
        auto rows = db.ExecuteRecordset(*cmd);
        std::int64_t read = 0;
        for (; !rows->Eof(); rows->MoveNext()) {
            benchmark::DoNotOptimize(rows->Fields("long_description").Value());
            benchmark::DoNotOptimize(rows->Fields("OriginalPrice").Value());
            ++read;
        }
        if (read != kItems) {
            state.SkipWithError("the sale lists another number of items");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_ListSaleRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        raw,
        "SELECT q.*, CASE WHEN q.OriginalPrice <> 0 THEN (q.OriginalPrice - q.unit_price) * 100 "
        "/ q.OriginalPrice ELSE 0 END, CASE WHEN q.OriginalPrice <> 0 THEN (q.OriginalPrice - "
        "q.unit_price) / q.OriginalPrice END FROM (SELECT p.price_no, p.sale_no, p.item_no, "
        "p.unit_qty, p.uom_id, p.location_id, COALESCE(l.description, '<ALL>'), "
        "i.long_description, p.unit_price, COALESCE((SELECT MIN(r.unit_price) FROM vym_price r "
        "WHERE r.item_no = p.item_no AND r.location_id IS NULL AND r.sale_no IS NULL), "
        "st.unit_price, 0) AS OriginalPrice FROM vym_price p JOIN vym_item i ON i.item_no = "
        "p.item_no LEFT JOIN vym_item_stock st ON st.item_no = p.item_no LEFT JOIN vym_location "
        "l ON l.location_id = p.location_id WHERE p.sale_no IS NOT NULL AND p.sale_no = ?1) q "
        "ORDER BY q.long_description, q.item_no",
        -1, &s, nullptr);
    for (auto _ : state) {
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_bind_int(s, 1, kSale);
        while (sqlite3_step(s) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(s, 7));
            benchmark::DoNotOptimize(sqlite3_column_double(s, 9));
        }
        sqlite3_reset(s);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(s);
    state.SetItemsProcessed(state.iterations() * kItems);
}

// The first save adds the prices; the measured ones rewrite them.
BENCHMARK(BM_SaveSaleOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSaleRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSaleOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSaleRaw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("sale-bench", options);
    bench = &database;
    AddStock(database.Raw());
    vym::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    // The targets are wall times of ours; the ratios say what the server adds.
    struct Line {
        const char* what;
        const char* ours;
        const char* raw;
        double targetMs;
    };
    for (const Line& line :
         {Line{"Save a sale at 25 % off 10,000 items", "BM_SaveSaleOurs", "BM_SaveSaleRaw", 1000},
          Line{"List the 10,000 items of a sale", "BM_ListSaleOurs", "BM_ListSaleRaw", 500}}) {
        vym::bench::PrintRateRatio(reporter, line.what, line.ours, line.raw);
        if (const auto ms = reporter.Time(line.ours)) {
            std::printf("%-38s ours %9.2f ms, target %.0f ms: %s\n", "", *ms, line.targetMs,
                        *ms <= line.targetMs ? "met" : "missed");
        }
    }
    return 0;
}
