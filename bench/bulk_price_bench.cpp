// The bulk price change over 10,000 items.
//
//   bulk_price_bench    the preview (the prices of 10,000 items read with
//                       their cost and version, each new price worked out;
//                       target 0.5 s) and the apply (every price written in
//                       one transaction; target 1 s), against a raw sqlite3
//                       handle running the statements the server ran (taken
//                       from a trace), in paired runs, wall time; and the
//                       preview on the Bulk Price Change screen, its grid
//                       filled, on the offscreen platform.

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QApplication>
#include <QLineEdit>

#include "base/format.h"
#include "base/price_change.h"
#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "pricing/frm_bulk_price.h"
#include "service/citem_maint.h"

namespace {

constexpr int kItems = 10000;
constexpr int kFirstItem = 100001;
constexpr int kRuns = 5;

const vym::PriceRule kRule{vym::PriceRule::Kind::Percent, vym::Currency::FromRaw(10000),
                           vym::PriceRule::Ending::Cents99, vym::PriceRule::Rounding::Nearest};

// 10,000 stock items of one vendor, each priced for any location and for
// three at the base lodge.
void AddItems(sqlite3* raw) {
    const std::string last = std::to_string(kFirstItem + kItems - 1);
    const std::string numbers = "WITH RECURSIVE n(x) AS (SELECT " + std::to_string(kFirstItem) +
                                " UNION ALL SELECT x + 1 FROM n WHERE x < " + last + ") ";
    const std::string script =
        "BEGIN;" + numbers +
        "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, short_description, "
        "long_description, department_id) SELECT x, 'STOCK', 'RETAIL', 'ACCESS', 'Bench', "
        "'Bench Item ' || x, 'RETAIL' FROM n;" +
        numbers +
        "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, vendor_id, "
        "current_avg_cost, current_avg_freight) SELECT x, x, 'ACCESSORY', 'ALPINEGEAR', "
        "10 + x % 40, 1.25 FROM n;" +
        numbers +
        "INSERT INTO vym_price (item_no, unit_id, unit_qty, uom_id, total_price, unit_price, "
        "gross_unit_price) SELECT x, 'EA', 1, 'EA', 20 + x % 50, 20 + x % 50, 20 + x % 50 "
        "FROM n;" +
        numbers +
        "INSERT INTO vym_price (item_no, unit_id, unit_qty, uom_id, location_id, total_price, "
        "unit_price, gross_unit_price) SELECT x, 'EA', 3, 'EA', 'BASE', 3 * (18 + x % 50), "
        "18 + x % 50, 18 + x % 50 FROM n; COMMIT;";
    char* error = nullptr;
    if (sqlite3_exec(raw, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "could not add the items: %s\n", error);
        sqlite3_free(error);
        std::exit(1);
    }
}

std::string NewPriceLine(std::int64_t priceNo, std::int64_t version, vym::Currency price,
                         std::int32_t qty, std::optional<vym::Currency> cost) {
    const vym::PriceChange change = vym::ChangePrice(kRule, price, cost, qty);
    return std::to_string(priceNo) + "," + std::to_string(version) + "," +
           vym::Format(vym::Value(change.price), "0.0000") + "\n";
}

// What the screen does: the preview call, every row read and priced.
std::string PreviewOurs(vym::Connection& db, const std::string& items) {
    auto command = vym::NewProcedure(db, "VYM_SP_ITEM_BULK_PRICE_preview", {{"@item_list", items}});
    auto rows = db.ExecuteRecordset(*command);
    std::string lines;
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
        const vym::Value cost = rows->Fields("landed_cost").Value();
        lines += NewPriceLine(
            rows->Fields("price_no").Value().ToLong(), rows->Fields("row_version").Value().ToLong(),
            rows->Fields("Price").Value().ToCurrency(), rows->Fields("unit_qty").Value().ToLong(),
            cost.IsNull() ? std::nullopt : std::optional(cost.ToCurrency()));
    }
    return lines;
}

void ApplyOurs(vym::Connection& db, const std::string& lines) {
    auto command = vym::NewProcedure(db, "VYM_SP_ITEM_BULK_PRICE_apply", {{"@prices", lines}});
    if (!db.Execute(*command) || command->Parameters["@RETURN_VALUE"].Value.ToLong() != 0) {
        std::fprintf(stderr, "the apply was refused\n");
        std::exit(1);
    }
}

std::string Find(const std::vector<vym::bench::StatementTrace::Statement>& trace,
                 const char* start) {
    const auto found = std::find_if(trace.begin(), trace.end(),
                                    [&](const auto& s) { return s.first.starts_with(start); });
    return found == trace.end() ? std::string() : found->first;
}

// The server's statements on the raw handle.
class Raw {
  public:
    Raw(sqlite3* db, const std::vector<vym::bench::StatementTrace::Statement>& preview,
        const std::vector<vym::bench::StatementTrace::Statement>& apply)
        : db_(db),
          count_(Find(preview, "SELECT count(*)")),
          rows_(Find(preview, "SELECT p.item_no")),
          check_(Find(apply, "SELECT p.price_no, p.row_version")),
          update_(Find(apply, "UPDATE vym_price SET total_price")) {}

    bool Complete() const {
        return !count_.empty() && !rows_.empty() && !check_.empty() && !update_.empty();
    }

    std::string Preview(const std::string& numbers) {
        sqlite3_stmt* count = Prepare(count_);
        sqlite3_bind_text(count, 1, numbers.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(count);
        sqlite3_finalize(count);
        sqlite3_stmt* rows = Prepare(rows_);
        sqlite3_bind_text(rows, 1, numbers.c_str(), -1, SQLITE_TRANSIENT);
        std::string lines;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            const auto money = [&](int col) {
                return vym::Currency::FromDouble(sqlite3_column_double(rows, col));
            };
            lines += NewPriceLine(sqlite3_column_int64(rows, 2), sqlite3_column_int64(rows, 15),
                                  money(13), sqlite3_column_int(rows, 11),
                                  sqlite3_column_type(rows, 14) == SQLITE_NULL
                                      ? std::nullopt
                                      : std::optional(money(14)));
        }
        sqlite3_finalize(rows);
        return lines;
    }

    void Apply(const std::string& lines) {
        struct Line {
            std::int64_t priceNo, version;
            double price;
        };
        std::vector<Line> parsed;
        std::string numbers = "[";
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t end = lines.find('\n', at);
            Line line{};
            std::sscanf(lines.c_str() + at, "%ld,%ld,%lf", &line.priceNo, &line.version,
                        &line.price);
            parsed.push_back(line);
            numbers += (numbers.size() > 1 ? "," : "") + std::to_string(line.priceNo);
            at = end + 1;
        }
        sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* check = Prepare(check_);
        sqlite3_bind_text(check, 1, (numbers + "]").c_str(), -1, SQLITE_TRANSIENT);
        std::unordered_map<std::int64_t, int> qty;
        while (sqlite3_step(check) == SQLITE_ROW) {
            qty[sqlite3_column_int64(check, 0)] = sqlite3_column_int(check, 6);
        }
        sqlite3_finalize(check);
        sqlite3_stmt* update = Prepare(update_);
        for (const Line& line : parsed) {
            sqlite3_bind_double(update, 1, line.price);
            sqlite3_bind_double(update, 2, line.price / std::max(qty[line.priceNo], 1));
            sqlite3_bind_text(update, 3, "ADMIN", -1, SQLITE_STATIC);
            sqlite3_bind_int64(update, 4, line.priceNo);
            sqlite3_bind_int64(update, 5, line.version);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        sqlite3_finalize(update);
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }

  private:
    sqlite3_stmt* Prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr);
        return statement;
    }

    sqlite3* db_;
    std::string count_, rows_, check_, update_;
};

double Ms(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The screen as the console opens it on the 10,000 items, previewing them.
// (Its apply is the apply call above behind the user's confirmation.)
double OnTheScreen(vym::AppServer& server) {
    vym::CItemMaint maint;
    maint.SetAppServer(&server);
    std::vector<std::int32_t> items;
    for (int item = kFirstItem; item < kFirstItem + kItems; ++item) {
        items.push_back(item);
    }
    double preview = 0;
    {
        vym::frmBulkPrice screen;
        screen.Setup(&maint, items);
        screen.findChild<QLineEdit*>("txtChange")->setText("1");
        preview = Ms([&] { screen.Preview(); });
    }
    maint.SetAppServer(nullptr);
    return preview;
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    vym::bench::StatementTrace::Install();
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("bulk-price", options);
    AddItems(database.Raw());
    std::string items;
    std::string numbers = "[";
    for (int item = kFirstItem; item < kFirstItem + kItems; ++item) {
        items += std::to_string(item) + " ";
        numbers += (item > kFirstItem ? "," : "") + std::to_string(item);
    }
    numbers += "]";

    vym::Connection& db = database.DB();
    std::string lines;
    const auto previewTrace =
        vym::bench::StatementTrace::Capture([&] { lines = PreviewOurs(db, items); });
    const auto applyTrace = vym::bench::StatementTrace::Capture([&] { ApplyOurs(db, lines); });
    Raw raw(database.Raw(), previewTrace, applyTrace);
    if (!raw.Complete()) {
        std::fprintf(stderr, "the trace lacks a statement of the server's\n");
        return 1;
    }
    const std::size_t prices = std::count(lines.begin(), lines.end(), '\n');
    const bool same = raw.Preview(numbers) == PreviewOurs(db, items);

    std::vector<double> previewOurs, previewRaw, applyOurs, applyRaw;
    for (int run = 0; run < kRuns; ++run) {
        previewOurs.push_back(Ms([&] { lines = PreviewOurs(db, items); }));
        std::string rawLines;
        previewRaw.push_back(Ms([&] { rawLines = raw.Preview(numbers); }));
        applyOurs.push_back(Ms([&] { ApplyOurs(db, lines); }));
        rawLines = raw.Preview(numbers);
        applyRaw.push_back(Ms([&] { raw.Apply(rawLines); }));
    }
    std::printf(
        "\nbulk price change of %d items, %zu prices (median of %d paired runs, wall "
        "time)%s\n",
        kItems, prices, kRuns, same ? "" : "  (raw preview differs!)");
    std::printf("%-10s %10s %12s %8s %10s\n", "", "ours ms", "sqlite3 ms", "ratio", "target");
    const double po = Median(previewOurs), pr = Median(previewRaw);
    const double ao = Median(applyOurs), ar = Median(applyRaw);
    std::printf("%-10s %10.1f %12.1f %8.2f %10s %s\n", "preview", po, pr, po / pr, "<= 500",
                po <= 500 ? "met" : "MISSED");
    std::printf("%-10s %10.1f %12.1f %8.2f %10s %s\n", "apply", ao, ar, ao / ar, "<= 1000",
                ao <= 1000 ? "met" : "MISSED");
    std::vector<double> screen;
    for (int run = 0; run < kRuns; ++run) {
        screen.push_back(OnTheScreen(database.Server()));
    }
    const double sp = Median(screen);
    std::printf("%-10s %10.1f %12s %8s %10s %s  (on the screen, its grid filled)\n", "preview", sp,
                "-", "-", "<= 500", sp <= 500 ? "met" : "MISSED");
    return 0;
}
