// An import of 100,000 new stock items from a CSV file: the dry run (read,
// check and classify every row against the catalogue) and the commit (every
// row saved through VYM_SP_IMPORT_SaveStockItem in one transaction). Raw
// sqlite3 runs the same statements on the same file: for the dry run the
// reads the import makes, for the commit the statements the procedure runs
// for each row (caught with a trace of a one-row import and compared text by
// text), prepared once, in one transaction. Each run pairs ours then raw with
// rows of their own, wall time; the medians are compared.
// Targets: dry run 5 s, commit 10 s.
//
//   catalogue_import_bench     VYM_BENCH_IMPORT_ROWS (default 100000)

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "model/catalogue_import.h"

namespace {

constexpr int kRuns = 3;
constexpr double kDryRunTargetMs = 5000;
constexpr double kCommitTargetMs = 10000;

// What one row of the bench file holds, alike on both sides.
struct BenchItem {
    std::string stockId;
    std::string description;
    std::string price;
    std::string upc;
};

BenchItem Item(const std::string& prefix, int i) {
    return {prefix + std::to_string(i), "Bench Item " + std::to_string(i),
            std::to_string(10 + i % 90) + "." + std::to_string(10 + i % 89),
            "UPC" + std::to_string(1000000 + i)};
}

std::string File(const std::string& prefix, int rows) {
    std::string csv =
        "Stock Id,Short Description,Department,Stock Type,Vendor,Model,Unit Price,UPC\r\n";
    for (int i = 0; i < rows; ++i) {
        const BenchItem item = Item(prefix, i);
        csv += item.stockId + "," + item.description + ",RETAIL,APPAREL,ALPINEGEAR,SHELL," +
               item.price + "," + item.upc + "\r\n";
    }
    return csv;
}

// This process's processor time, to tell a busy machine from slow code.
double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

double cpuOfLastRun = 0;

double Ms(const std::function<void()>& run) {
    const double cpu = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    run();
    cpuOfLastRun = CpuMs() - cpu;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

constexpr const char* kNow = "strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')";

// The statements the save procedure runs for a new item of the bench file,
// in its order.
std::vector<std::string> RowStatements() {
    const std::string now = kNow;
    return {
        "SAVEPOINT vym_nested_1",
        "SELECT 1 FROM vym_item_stock_type WHERE stock_type_id = ? LIMIT 1",
        "SELECT 1 FROM vym_item_stock_model WHERE model_id = ? LIMIT 1",
        "SELECT 1 FROM vym_vendor WHERE vendor_id = ? LIMIT 1",
        "SELECT 1 FROM vym_department WHERE department_id = ? LIMIT 1",
        "INSERT INTO vym_item (item_type, function_id, catagory_id, vym_user, create_date, "
        "update_date, row_saved_by, row_saved_at, short_description, department_id, "
        "long_description) VALUES ('STOCK', 'STOCK', 'STOCK', ?, " +
            now + ", " + now + ", ?, " + now + ", ?, ?, ?)",
        "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) VALUES (?, ?, ?) "
        "ON CONFLICT DO NOTHING",
        "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, vendor_id, model_id, "
        "upc_code, unit_price) VALUES (?, ?, ?, ?, ?, ?, ?)",
        "RELEASE vym_nested_1",
    };
}

// The reads of the dry run, as the read procedures run them.
std::vector<std::string> ReadStatements(
    const std::vector<vym::bench::StatementTrace::Statement>& dry) {
    std::vector<std::string> reads;
    for (const auto& [text, expanded] : dry) {
        if (text.starts_with("SELECT")) {
            reads.push_back(text);
        }
    }
    return reads;
}

class RawImport {
  public:
    RawImport(sqlite3* db, const std::vector<std::string>& rows, std::vector<std::string> reads)
        : db_(db), reads_(std::move(reads)) {
        for (const std::string& sql : rows) {
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
            row_.push_back(statement);
        }
    }
    ~RawImport() {
        for (sqlite3_stmt* statement : row_) {
            sqlite3_finalize(statement);
        }
    }
    RawImport(const RawImport&) = delete;
    RawImport& operator=(const RawImport&) = delete;

    // The catalogue read as the dry run reads it, and the file parsed.
    void Read() const {
        for (const std::string& sql : reads_) {
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                    sqlite3_column_text(statement, c);
                }
            }
            sqlite3_finalize(statement);
        }
    }

    void Save(const std::string& prefix, int rows) const {
        sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 0; i < rows; ++i) {
            SaveRow(Item(prefix, i));
        }
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }

  private:
    void Step(std::size_t index, std::initializer_list<std::string> texts) const {
        sqlite3_stmt* statement = row_[index];
        int at = 0;
        for (const std::string& text : texts) {
            ++at;
            if (text == "\x01") {
                sqlite3_bind_null(statement, at);
            } else if (text == "\x02") {
                sqlite3_bind_int64(statement, at, itemNo_);
            } else if (text == "\x03") {
                sqlite3_bind_double(statement, at, price_);
            } else {
                sqlite3_bind_text(statement, at, text.c_str(), -1, SQLITE_TRANSIENT);
            }
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
        }
        sqlite3_reset(statement);
    }

    void SaveRow(const BenchItem& item) const {
        const std::string number = "\x02";
        Step(0, {});
        Step(1, {"APPAREL"});
        Step(2, {"SHELL"});
        Step(3, {"ALPINEGEAR"});
        Step(4, {"RETAIL"});
        Step(5, {"ADMIN", "ADMIN", item.description, "RETAIL", item.description});
        itemNo_ = sqlite3_last_insert_rowid(db_);
        Step(6, {std::to_string(itemNo_), number, "ADMIN"});
        price_ = std::stod(item.price);
        Step(7, {number, item.stockId, "APPAREL", "ALPINEGEAR", "SHELL", item.upc, "\x03"});
        Step(8, {});
    }

    sqlite3* db_;
    std::vector<std::string> reads_;
    std::vector<sqlite3_stmt*> row_;
    mutable sqlite3_int64 itemNo_ = 0;
    mutable double price_ = 0;
};

}  // namespace

int main() {
    vym::bench::StatementTrace::Install();
    const int rows = std::stoi(vym::bench::Env("VYM_BENCH_IMPORT_ROWS", "100000"));
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("catalogue-import-bench", options);
    // As the server opens its own handle.
    sqlite3_exec(database.Raw(), "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);

    // The statements of a one-row import, to run the same ones raw.
    std::istringstream one(File("TRACE-", 1));
    vym::CatalogueImport trace(database.DB(), vym::ImportKind::StockItems);
    const auto dry = vym::bench::StatementTrace::Capture([&] { trace.DryRun(one); });
    const auto saved = vym::bench::StatementTrace::Capture([&] { trace.Commit(); });
    std::set<std::string> ours;
    for (const auto& [text, expanded] : saved) {
        ours.insert(text);
    }
    const std::vector<std::string> statements = RowStatements();
    const bool same = std::all_of(statements.begin(), statements.end(),
                                  [&](const std::string& s) { return ours.contains(s); });
    std::printf("Statements per row: %zu raw, %s among the %zu texts the import ran\n",
                statements.size(), same ? "every one" : "NOT ALL", ours.size());
    const RawImport raw(database.Raw(), statements, ReadStatements(dry));

    std::vector<double> dryOurs, dryRaw, saveOurs, saveRaw, dryCpu, saveCpu;
    for (int run = 0; run < kRuns; ++run) {
        const std::string prefix = "R" + std::to_string(run) + "-";
        std::istringstream file(File(prefix, rows));
        vym::CatalogueImport import(database.DB(), vym::ImportKind::StockItems);
        vym::ImportOutcome outcome = vym::ImportOutcome::Failed;
        dryOurs.push_back(Ms([&] { outcome = import.DryRun(file); }));
        dryCpu.push_back(cpuOfLastRun);
        dryRaw.push_back(Ms([&] { raw.Read(); }));
        if (outcome != vym::ImportOutcome::Done || import.Count(vym::RowFate::New) != rows) {
            std::printf("The dry run failed: %s\n", import.Message().c_str());
            return 1;
        }
        saveOurs.push_back(Ms([&] { outcome = import.Commit(); }));
        saveCpu.push_back(cpuOfLastRun);
        saveRaw.push_back(Ms([&] { raw.Save("W" + std::to_string(run) + "-", rows); }));
        if (outcome != vym::ImportOutcome::Done) {
            std::printf("The commit failed: %s\n", import.Message().c_str());
            return 1;
        }
    }
    const auto line = [](const char* what, double oursMs, double rawMs, double target,
                         double cpuMs) {
        std::printf(
            "%-34s ours %8.1f ms (processor %8.1f ms)  raw %8.1f ms  ratio %5.2f  "
            "(target %.0f ms)\n",
            what, oursMs, cpuMs, rawMs, oursMs / rawMs, target);
    };
    std::printf("%d stock items, median of %d paired runs (wall time)\n", rows, kRuns);
    line("Dry run (raw: the same reads)", Median(dryOurs), Median(dryRaw), kDryRunTargetMs,
         Median(dryCpu));
    line("Commit (raw: the same statements)", Median(saveOurs), Median(saveRaw), kCommitTargetMs,
         Median(saveCpu));
    return 0;
}
