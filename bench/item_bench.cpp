// Opening and saving catalogue items through the record classes against raw
// sqlite3 doing the same reads and writes:
//   - opening every demo item with its detail record (CItem::OpenItem: two
//     procedure calls per item; the raw side runs the same two queries, each
//     in its own transaction, with prepared statements);
//   - saving a stock item (CItem::Update: one procedure call that checks its
//     references and writes the item and stock rows; the raw side runs the
//     same lookups and writes in one transaction).
// Prints items per second on both sides and the ratio ours / raw.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
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

constexpr const char* kGetItem =
    "SELECT i.item_no, i.item_type, i.function_id, f.description AS fun_desc, i.catagory_id, "
    "c.description AS cat_desc, i.short_description, i.long_description, i.tree_icon, "
    "i.department_id, i.host_required, i.redeem_item, r.long_description, r.item_type, "
    "i.taxable, i.status_id, i.instruction_no, n.instruction_body, i.comment_note, "
    "i.report_note, i.unit_based_return, i.return_charge_rate, i.maintain_inventory, "
    "i.show_on_tree, i.sale_profile_id, i.return_profile_id, i.format_no FROM vym_item i "
    "LEFT JOIN vym_function f ON f.function_id = i.function_id "
    "LEFT JOIN vym_catagory c ON c.function_id = i.function_id AND c.catagory_id = i.catagory_id "
    "LEFT JOIN vym_item r ON r.item_no = i.redeem_item "
    "LEFT JOIN vym_item_instruction n ON n.instruction_no = i.instruction_no WHERE i.item_no = ?";

const std::map<std::string, std::string> kDetail = {
    {"TICKET",
     "SELECT t.item_no, t.access_rule_no, t.access_trans_type_id, i.format_no, "
     "t.use_negative_format, t.serialized FROM vym_item_ticket t JOIN vym_item i "
     "ON i.item_no = t.item_no WHERE t.item_no = ?"},
    {"SS",
     "SELECT s.*, i.format_no FROM vym_item_ss s JOIN vym_item i ON i.item_no = s.item_no "
     "WHERE s.item_no = ?"},
    {"PHOTO", "SELECT * FROM vym_item_photo WHERE item_no = ?"},
    {"SHIP", "SELECT * FROM vym_item_ship WHERE item_no = ?"},
    {"RENTAL", "SELECT * FROM vym_item_rental WHERE item_no = ?"},
    {"STOCK",
     "SELECT s.*, st.description, m.description, m.model_serial_prefix, u.description, "
     "v.vendor_name, i.status_id, sz.description, se.description, b.description, "
     "(SELECT IFNULL(SUM(l.qty_on_hand), 0) FROM vym_item_stock_location l "
     "WHERE l.item_no = s.item_no) FROM vym_item_stock s JOIN vym_item i ON i.item_no = s.item_no "
     "LEFT JOIN vym_item_stock_type st ON st.stock_type_id = s.stock_type_id "
     "LEFT JOIN vym_item_stock_model m ON m.model_id = s.model_id "
     "LEFT JOIN vym_uom u ON u.uom_id = s.base_uom_id "
     "LEFT JOIN vym_vendor v ON v.vendor_id = s.vendor_id "
     "LEFT JOIN vym_item_stock_size_type sz ON sz.stock_size_type_id = s.stock_size_type_id "
     "LEFT JOIN vym_item_stock_serial_type se ON se.serial_type_id = s.serial_type_id "
     "LEFT JOIN vym_item_stock_binding_type b ON b.binding_type_id = s.binding_type_id "
     "WHERE s.item_no = ?"},
};

const std::vector<std::string> kSaveLookups = {
    "SELECT item_type FROM vym_item WHERE item_no = ?1",
    "SELECT 1 FROM vym_function WHERE function_id = 'RETAIL' AND ?1 > 0",
    "SELECT 1 FROM vym_catagory WHERE function_id = 'RETAIL' AND catagory_id = 'OUTERWEAR' "
    "AND ?1 > 0",
    "SELECT 1 FROM vym_department WHERE department_id = 'RETAIL' AND ?1 > 0",
    "SELECT 1 FROM vym_item_stock_type WHERE stock_type_id = 'APPAREL' AND ?1 > 0",
    "SELECT 1 FROM vym_item_stock_model WHERE model_id = 'SHELL' AND ?1 > 0",
    "SELECT 1 FROM vym_vendor WHERE vendor_id = 'ALPINEGEAR' AND ?1 > 0",
    "SELECT instruction_no FROM vym_item WHERE item_no = ?1",
};
constexpr const char* kSaveItem =
    "UPDATE vym_item SET short_description = 'Shell Jacket', status_id = 'ACTIVE', "
    "taxable = 1, update_date = strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime') "
    "WHERE item_no = ?1";
constexpr const char* kSaveStock =
    "UPDATE vym_item_stock SET unit_price = ?2, min_price = 120, stock_type_id = 'APPAREL', "
    "model_id = 'SHELL', vendor_id = 'ALPINEGEAR' WHERE item_no = ?1";

vym::bench::BenchDatabase* bench = nullptr;

// A prepared statement that lives for one benchmark.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) {
        sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return statement_; }
    // Runs to the end; the number of columns read on the rows.
    int Run() {
        int cells = 0;
        while (sqlite3_step(statement_) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(statement_); ++c) {
                cells += sqlite3_column_type(statement_, c) == SQLITE_TEXT
                             ? sqlite3_column_bytes(statement_, c) > 0
                             : sqlite3_column_int(statement_, c) != 0;
            }
        }
        sqlite3_reset(statement_);
        return cells;
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

void BM_OpenItemsOurs(benchmark::State& state) {
    for (auto _ : state) {
        for (std::int32_t no : kItems) {
            vym::CItem item;
            benchmark::DoNotOptimize(item.OpenItem(&bench->DB(), nullptr, no));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kItems.size()));
}

void BM_OpenItemsRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    Statement begin(raw, "BEGIN IMMEDIATE"), commit(raw, "COMMIT"), item(raw, kGetItem);
    std::map<std::string, std::unique_ptr<Statement>> details;
    for (const auto& [type, sql] : kDetail) {
        details[type] = std::make_unique<Statement>(raw, sql);
    }
    for (auto _ : state) {
        for (std::int32_t no : kItems) {
            begin.Run();
            sqlite3_bind_int(item.get(), 1, no);
            std::string type;
            if (sqlite3_step(item.get()) == SQLITE_ROW) {
                type = reinterpret_cast<const char*>(sqlite3_column_text(item.get(), 1));
            }
            benchmark::DoNotOptimize(item.Run());
            commit.Run();
            begin.Run();
            Statement& detail = *details[type];
            sqlite3_bind_int(detail.get(), 1, no);
            benchmark::DoNotOptimize(detail.Run());
            commit.Run();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kItems.size()));
}

void BM_SaveStockItemOurs(benchmark::State& state) {
    vym::CItem item;
    item.OpenItem(&bench->DB(), nullptr, 500);
    double price = 159;
    for (auto _ : state) {
        item.StockItem()->UnitPrice = (price += 0.01);
        if (!item.Update(&bench->DB(), nullptr)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SaveStockItemRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    Statement begin(raw, "BEGIN IMMEDIATE"), commit(raw, "COMMIT");
    Statement saveItem(raw, kSaveItem), saveStock(raw, kSaveStock);
    std::vector<std::unique_ptr<Statement>> lookups;
    for (const std::string& sql : kSaveLookups) {
        lookups.push_back(std::make_unique<Statement>(raw, sql));
        sqlite3_bind_int(lookups.back()->get(), 1, 500);
    }
    sqlite3_bind_int(saveItem.get(), 1, 500);
    sqlite3_bind_int(saveStock.get(), 1, 500);
    double price = 159;
    for (auto _ : state) {
        begin.Run();
        for (auto& lookup : lookups) {
            benchmark::DoNotOptimize(lookup->Run());
        }
        saveItem.Run();
        sqlite3_bind_double(saveStock.get(), 2, price += 0.01);
        saveStock.Run();
        commit.Run();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_OpenItemsOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenItemsRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveStockItemOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveStockItemRaw)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("item-bench", options);
    bench = &database;
    vym::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    vym::bench::PrintRateRatio(reporter, "Open item with its detail", "BM_OpenItemsOurs",
                               "BM_OpenItemsRaw");
    vym::bench::PrintRateRatio(reporter, "Save a stock item", "BM_SaveStockItemOurs",
                               "BM_SaveStockItemRaw");
    return 0;
}
