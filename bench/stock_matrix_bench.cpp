// Generating a stock matrix of 40 attributes by 25 sizes (1,000 items) in one
// call of VYM_SP_ITEM_UpdateItemStockMatrix, on order on a purchase order,
// against raw sqlite3 writing the same rows with the same inserts (item,
// stock row, map id, order line per item) in one transaction with prepared
// statements. Both run in the same program on the same database file, and
// the times are wall-clock. Targets: 1 s for the call, twice the raw time.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "server/local_app_server.h"

namespace {

constexpr int kAttributes = 40;
constexpr int kSizes = 25;
constexpr int kPurchaseOrder = 1005;

vym::bench::BenchDatabase* bench = nullptr;

std::string Attribute(int a) {
    return "Colour " + std::to_string(a);
}
std::string Size(int s) {
    return std::to_string(100 + s);
}

// A size type of 25 sizes for the matrix's columns.
void AddBenchSizes(vym::Connection& db) {
    db.ExecuteSQL(
        "INSERT INTO vym_item_stock_size_type (stock_size_type_id, description) "
        "VALUES ('BENCH', 'Bench Sizes')");
    for (int s = 0; s < kSizes; ++s) {
        db.ExecuteSQL(
            "INSERT INTO vym_item_stock_size (stock_size_type_id, stock_size, display_order) "
            "VALUES ('BENCH', '" +
            Size(s) + "', " + std::to_string(s) + ")");
    }
}

std::string MatrixDocument() {
    std::string rows;
    for (int a = 0; a < kAttributes; ++a) {
        for (int s = 0; s < kSizes; ++s) {
            rows += "<stock_matrix attribute=\"" + Attribute(a) + "\" stock_size=\"" + Size(s) +
                    "\" qty=\"" + std::to_string(1 + s % 5) + "\"/>\r\n";
        }
    }
    return "<ROOT>\r\n" + rows + "</ROOT>\r\n";
}

void BM_StockMatrixOurs(benchmark::State& state) {
    const std::string document = MatrixDocument();
    for (auto _ : state) {
        auto cmd = vym::NewProcedure(bench->DB(), "VYM_SP_ITEM_UpdateItemStockMatrix",
                                     {{"@po_no", kPurchaseOrder},
                                      {"@vym_user", "ADMIN"},
                                      {"@item_type", "STOCK"},
                                      {"@short_description", "Bench Fleece"},
                                      {"@department_id", "RETAIL"},
                                      {"@taxable", std::int16_t{1}},
                                      {"@status_id", "ACTIVE"},
                                      {"@maintain_inventory", std::int16_t{1}},
                                      {"@stock_type_id", "APPAREL"},
                                      {"@model_id", "SHELL"},
                                      {"@unit_price", 20.0},
                                      {"@min_price", 15.0},
                                      {"@discount_rate", 0.05},
                                      {"@current_cost", vym::Currency::FromRaw(100000)},
                                      {"@vendor_id", "ALPINEGEAR"},
                                      {"@stock_size_type_id", "BENCH"},
                                      {"@stock_matrix_xml", document}});
        auto rs = bench->DB().ExecuteRecordset(*cmd);
        int items = 0;
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            ++items;
        }
        if (items != kAttributes * kSizes) {
            state.SkipWithError("the matrix was not generated");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kAttributes * kSizes);
}

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return statement_; }
    void Run() {
        sqlite3_step(statement_);
        sqlite3_reset(statement_);
    }
    void Text(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.c_str(), -1, SQLITE_TRANSIENT);
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

void BM_StockMatrixRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    Statement begin(raw, "BEGIN IMMEDIATE"), commit(raw, "COMMIT");
    Statement item(raw,
                   "INSERT INTO vym_item (item_type, function_id, catagory_id, "
                   "short_description, long_description, department_id, taxable, status_id, "
                   "maintain_inventory, vym_user, create_date, update_date) VALUES ('STOCK', "
                   "'STOCK', 'STOCK', 'Bench Fleece', ?1, 'RETAIL', 1, 'ACTIVE', 1, 'ADMIN', "
                   "'2024-12-02 10:00:00', '2024-12-02 10:00:00')");
    Statement stock(raw,
                    "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, "
                    "stock_size, attribute, model_id, min_price, unit_price, "
                    "allow_line_discount, allow_seller_pricing, current_cost, vendor_id, "
                    "rental_type, stock_size_type_id, boot_length) VALUES (?1, ?2, 'APPAREL', "
                    "0, ?3, ?4, 'SHELL', 15, 20, 1, 1, 10, 'ALPINEGEAR', 'RETAIL', 'BENCH', 0)");
    Statement map(raw,
                  "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) VALUES (?1, ?2, "
                  "'ADMIN') ON CONFLICT (map_id) DO NOTHING");
    Statement line(raw,
                   "INSERT INTO vym_po_line (po_no, line_no, item_no, qty_ord, qty_received, "
                   "unit_cost, discount_rate) VALUES (1005, ?1, ?2, ?3, 0, 10, 0.05)");
    sqlite3_stmt* lastLine = nullptr;
    sqlite3_prepare_v2(raw, "SELECT COALESCE(MAX(line_no), 0) FROM vym_po_line WHERE po_no = 1005",
                       -1, &lastLine, nullptr);
    for (auto _ : state) {
        begin.Run();
        sqlite3_step(lastLine);
        int lineNo = sqlite3_column_int(lastLine, 0);
        sqlite3_reset(lastLine);
        for (int a = 0; a < kAttributes; ++a) {
            for (int s = 0; s < kSizes; ++s) {
                item.Text(1, "Bench Fleece,SHELL," + Attribute(a) + "," + Size(s));
                item.Run();
                const sqlite3_int64 itemNo = sqlite3_last_insert_rowid(raw);
                sqlite3_bind_int64(stock.get(), 1, itemNo);
                stock.Text(2, std::to_string(itemNo));
                stock.Text(3, Size(s));
                stock.Text(4, Attribute(a));
                stock.Run();
                map.Text(1, std::to_string(itemNo));
                sqlite3_bind_int64(map.get(), 2, itemNo);
                map.Run();
                sqlite3_bind_int(line.get(), 1, ++lineNo);
                sqlite3_bind_int64(line.get(), 2, itemNo);
                sqlite3_bind_int(line.get(), 3, 1 + s % 5);
                line.Run();
            }
        }
        commit.Run();
    }
    sqlite3_finalize(lastLine);
    state.SetItemsProcessed(state.iterations() * kAttributes * kSizes);
}

BENCHMARK(BM_StockMatrixOurs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StockMatrixRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("stock-matrix-bench", options);
    bench = &database;
    AddBenchSizes(database.DB());
    vym::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    // Wall time: the runs are named with "/real_time".
    const std::string ours = "BM_StockMatrixOurs/real_time";
    vym::bench::PrintTimeRatio(reporter, "Generate a 40 x 25 stock matrix", ours,
                               "BM_StockMatrixRaw/real_time", 2.0);
    if (const auto time = reporter.Time(ours)) {
        std::printf("One call for 1,000 items: %.1f ms (target 1000 ms)\n", *time);
    }
    return 0;
}
