// Item console searches on a large catalogue: each search's count and first
// 200 rows through the procedures (what the console waits for), against raw
// sqlite3 running the same statements on the same file, and the time until a
// 500,000-match search can ask its question.
//
//   item_search_bench [--benchmark_...]     VYM_BENCH_ITEMS (default 1000000)
//                                           VYM_BENCH_DB (default /tmp/vym_bench_<items>.db)
// The catalogue is generated once when the file does not exist.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "server/local_app_server.h"
#include "server/sql_engine.h"

namespace {

constexpr int kRows = 200;

// The select lists and joins of the procedures, for the raw statements.
const std::string kItemColumns =
    "i.item_no, i.item_type, i.function_id, f.description AS fun_desc, i.catagory_id, "
    "c.description AS cat_desc, i.short_description, i.long_description, i.tree_icon AS "
    "Tree_ICON, f.tree_icon AS fun_tree_icon, i.item_color, i.department_id, i.host_required, "
    "i.redeem_item, r.long_description AS redeem_item_description, r.item_type AS "
    "redeem_item_type, i.taxable AS Taxable, i.status_id, i.instruction_no, n.instruction_body "
    "AS Instruction_Body, i.comment_note, i.report_note, i.unit_based_return, "
    "i.return_charge_rate, i.maintain_inventory, i.show_on_tree, i.sale_profile_id, "
    "i.return_profile_id, i.format_no";
const std::string kItemJoins =
    " LEFT JOIN vym_function f ON f.function_id = i.function_id LEFT JOIN vym_catagory c ON "
    "c.function_id = i.function_id AND c.catagory_id = i.catagory_id LEFT JOIN vym_item r ON "
    "r.item_no = i.redeem_item LEFT JOIN vym_item_instruction n ON n.instruction_no = "
    "i.instruction_no";
const std::string kStockColumns =
    "i.item_no, i.item_type, i.function_id, i.catagory_id, i.long_description, i.status_id, "
    "i.item_color, i.tree_icon AS Tree_ICON, f.tree_icon AS fun_tree_icon, s.stock_id, "
    "s.stock_type_id, st.description AS stock_type_desc, s.serialized AS Serialized, "
    "s.format_no, s.stock_size, s.attribute AS Attribute, s.style AS Style, s.manufacturer AS "
    "Manufacturer, s.model_id AS Model, m.description AS model_description, "
    "m.model_serial_prefix, s.min_price, s.unit_price, s.allow_line_discount, "
    "s.allow_seller_pricing, s.base_uom_id AS Base_UOM_Id, u.description AS uom_desc, "
    "s.current_avg_cost AS Current_Avg_Cost, s.current_avg_freight AS Current_Avg_Freight, "
    "s.current_avg_discount AS Current_Avg_Discount, s.current_cost AS Current_Cost, "
    "s.current_cost AS Cost, s.min_qty AS Min_Qty, s.vendor_id, v.vendor_name, s.rental_type, "
    "s.report_department_id, s.report_sub_department_id, s.group_no, s.stock_size_type_id, "
    "sz.description AS stock_size_type_desc, (SELECT IFNULL(SUM(l.qty_on_hand), 0) FROM "
    "vym_item_stock_location l WHERE l.item_no = s.item_no AND (?1 IS NULL OR l.location_id = "
    "?1)) AS qty_on_hand, (SELECT IFNULL(SUM(l.qty_on_hand), 0) FROM vym_item_stock_location l "
    "WHERE l.item_no = s.item_no AND (?1 IS NULL OR l.location_id = ?1)) AS qoh_column, 0 AS "
    "has_serial, s.serial_type_id, se.description AS serial_type_desc, s.binding_type_id, "
    "b.description AS binding_type_desc, s.boot_length, s.upc_code";
const std::string kStockJoins =
    " LEFT JOIN vym_function f ON f.function_id = i.function_id LEFT JOIN vym_item_stock_type "
    "st ON st.stock_type_id = s.stock_type_id LEFT JOIN vym_item_stock_model m ON m.model_id = "
    "s.model_id LEFT JOIN vym_uom u ON u.uom_id = s.base_uom_id LEFT JOIN vym_vendor v ON "
    "v.vendor_id = s.vendor_id LEFT JOIN vym_item_stock_size_type sz ON sz.stock_size_type_id "
    "= s.stock_size_type_id LEFT JOIN vym_item_stock_serial_type se ON se.serial_type_id = "
    "s.serial_type_id LEFT JOIN vym_item_stock_binding_type b ON b.binding_type_id = "
    "s.binding_type_id";
const std::string kOrder = " ORDER BY i.function_id, i.catagory_id, i.item_no";
const std::string kStockOrder = " ORDER BY s.item_no";

struct Case {
    std::string name;
    std::string procedure;
    std::string parameter;
    std::string value;
    // The statements the procedure runs: the count, then the rows (whose
    // first value, when stock, is the location: Null here).
    std::string countSql;
    std::string rowsSql;
    bool stock;
    int rowsToRead;  // 1: only until the question can be asked
};

std::vector<Case> Cases(std::int32_t items) {
    // Stock items are the numbers 2, 8, 14 ... of an empty database.
    const std::int32_t stockItem = items / 2 - (items / 2) % 6 + 2;
    const std::string mapId = "GEN" + std::to_string(stockItem);
    const std::string fts =
        "vym_item_fts fts CROSS JOIN vym_item i WHERE fts.vym_item_fts MATCH ?1 AND i.item_no = "
        "fts.rowid";
    const std::string stockFrom = "vym_item i JOIN vym_item_stock s ON s.item_no = i.item_no";
    return {
        {"description JACKET", "VYM_SP_ITEM_GetItem", "@description", "JACKET",
         "SELECT count(*) FROM " + fts,
         "SELECT " + kItemColumns + " FROM vym_item_fts fts CROSS JOIN vym_item i" + kItemJoins +
             " WHERE fts.vym_item_fts MATCH ?1 AND i.item_no = fts.rowid ORDER BY fts.rowid",
         false, kRows},
        {"function GEN05", "VYM_SP_ITEM_GetItem", "@function_id", "GEN05",
         "SELECT count(*) FROM vym_item i WHERE i.function_id = ?1",
         "SELECT " + kItemColumns + " FROM vym_item i" + kItemJoins + " WHERE i.function_id = ?1" +
             kOrder,
         false, kRows},
        {"map id", "VYM_SP_ITEM_GetItemStock", "@map_id", mapId,
         "SELECT count(*) FROM " + stockFrom +
             " WHERE i.item_no IN (SELECT item_no FROM vym_item_stock_map WHERE map_id = ?1)",
         "SELECT " + kStockColumns + " FROM " + stockFrom + kStockJoins +
             " WHERE i.item_no IN (SELECT item_no FROM vym_item_stock_map WHERE map_id = ?2)" +
             kStockOrder,
         true, kRows},
        {"stock vendor GENV07", "VYM_SP_ITEM_GetItemStock", "@vendor_id", "GENV07",
         "SELECT count(*) FROM " + stockFrom + " WHERE s.vendor_id = ?1",
         "SELECT " + kStockColumns + " FROM " + stockFrom + kStockJoins +
             " WHERE s.vendor_id = ?2" + kStockOrder,
         true, kRows},
        {"500k: description PREMIUM", "VYM_SP_ITEM_GetItem", "@description", "PREMIUM",
         "SELECT count(*) FROM " + fts,
         "SELECT " + kItemColumns + " FROM vym_item_fts fts CROSS JOIN vym_item i" + kItemJoins +
             " WHERE fts.vym_item_fts MATCH ?1 AND i.item_no = fts.rowid ORDER BY fts.rowid",
         false, 1},
        {"500k: function GEN00", "VYM_SP_ITEM_GetItem", "@function_id", "GEN00",
         "SELECT count(*) FROM vym_item i WHERE i.function_id = ?1",
         "SELECT " + kItemColumns + " FROM vym_item i" + kItemJoins + " WHERE i.function_id = ?1" +
             kOrder,
         false, 1},
    };
}

vym::bench::BenchDatabase* g = nullptr;

// Through the procedure, as the console does: count, then the rows it shows.
std::int32_t RunOurs(const Case& c) {
    auto command = g->DB().NewCommand();
    command->CommandText = c.procedure;
    command->Parameters.Refresh();
    command->Parameters[c.parameter].Value = c.value;
    auto rows = g->DB().ExecuteRecordset(*command);
    const std::int32_t count = command->Parameters["@RETURN_VALUE"].Value.ToLong();
    int read = 0;
    for (; !rows->Eof() && read < c.rowsToRead; rows->MoveNext(), ++read) {
        for (std::int32_t f = 0; f < rows->FieldCount(); ++f) {
            benchmark::DoNotOptimize(rows->Fields(f).Value());
        }
    }
    return count;
}

// The same statements straight through sqlite3.
std::int32_t RunRaw(const Case& c) {
    const std::string text =
        c.parameter == "@description" ? vym::server::SqlEngine::Sqlite().TrigramArgument(c.value) : c.value;
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(g->Raw(), c.countSql.c_str(), -1, &count, nullptr);
    sqlite3_bind_text(count, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(count);
    const std::int32_t matches = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(g->Raw(), c.rowsSql.c_str(), -1, &rows, nullptr);
    if (c.stock) {
        sqlite3_bind_null(rows, 1);
        sqlite3_bind_text(rows, 2, text.c_str(), -1, SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_text(rows, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    }
    for (int read = 0; read < c.rowsToRead && sqlite3_step(rows) == SQLITE_ROW; ++read) {
        for (int col = 0; col < sqlite3_column_count(rows); ++col) {
            benchmark::DoNotOptimize(sqlite3_column_text(rows, col));
        }
    }
    sqlite3_finalize(rows);
    return matches;
}

double MedianMs(const std::function<void()>& run, int times) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const auto [items, path] = vym::bench::LargeCatalogueFile();
    vym::bench::BenchDatabase database(path);
    g = &database;

    const std::vector<Case> cases = Cases(items);
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(("ours/" + c.name).c_str(), [&c](benchmark::State& state) {
            for (auto _ : state) {
                benchmark::DoNotOptimize(RunOurs(c));
            }
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("sqlite3/" + c.name).c_str(), [&c](benchmark::State& state) {
            for (auto _ : state) {
                benchmark::DoNotOptimize(RunRaw(c));
            }
        })->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\n%-28s %10s %10s %12s %8s %7s\n", "search (count + rows)", "matches", "ours ms",
                "sqlite3 ms", "ratio", "target");
    for (const Case& c : cases) {
        const std::int32_t ours = RunOurs(c);
        const std::int32_t raw = RunRaw(c);
        const double oursMs = MedianMs([&] { RunOurs(c); }, 9);
        const double rawMs = MedianMs([&] { RunRaw(c); }, 9);
        const double target = c.rowsToRead == 1 ? 500.0 : 50.0;
        std::printf("%-28s %10d %10.2f %12.2f %8.2f %7s%s\n", c.name.c_str(), ours, oursMs, rawMs,
                    oursMs / rawMs, oursMs < target ? "met" : "MISSED",
                    ours == raw ? "" : "  (raw count differs!)");
    }
    benchmark::Shutdown();
    return 0;
}
