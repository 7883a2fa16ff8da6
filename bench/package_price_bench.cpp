// A twelve-line package price as the package detail pricing works it, against
// raw sqlite3 running the same statements:
//   - open, reprice and save: the lines with their prices
//     (VYM_SP_ITEM_GetPackageItems), the totals and the rounding check, then
//     the package price and its twelve line prices in one transaction
//     (VYM_SP_ITEM_UpdatePrice thirteen times); the raw side runs the
//     procedure's read and its lookups and writes, prepared, in one
//     transaction, and sums in integers;
//   - the rounding check over 10,000 generated packages (1-12 lines,
//     quantities 1-20, prices with up to four decimals), ours only.
// Prints the times and the ratio ours / raw.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/transaction.h"
#include "model/package_charge.h"
#include "server/local_app_server.h"

namespace {

constexpr int kLines = 12;
constexpr std::int32_t kPackage = 9;
std::int32_t packagePrice = 0;
vym::bench::BenchDatabase* bench = nullptr;

// Package 9: twelve lines of the demo items, priced for any season by day.
void AddTwelveLinePackage(vym::Connection& db) {
    auto sql = [&](const std::string& text) {
        auto command = db.NewCommand();
        command->CommandText = text;
        db.Execute(*command);
    };
    sql("INSERT INTO vym_package (package_no, description, function_id) VALUES (9, "
        "'Twelve Line Bench', 'LIFT')");
    sql("INSERT INTO vym_price (package_no, unit_id, unit_qty, total_price, unit_price, "
        "gross_unit_price) VALUES (9, 'DAY', 1, 0, 0, 0)");
    packagePrice =
        db.OpenRecordset("SELECT max(price_no) FROM vym_price")->Fields(0).Value().ToLong();
    const int items[kLines] = {100, 101, 102, 103, 104, 106, 200, 201, 202, 700, 701, 702};
    for (int seq = 1; seq <= kLines; ++seq) {
        const std::string item = std::to_string(items[seq - 1]);
        sql("INSERT INTO vym_package_item (package_no, seq_no, item_no, pkg_qty) VALUES (9, " +
            std::to_string(seq) + ", " + item + ", " + std::to_string(seq % 3 + 1) + ")");
        sql("INSERT INTO vym_price (item_no, package_no, package_price_no, unit_id, unit_qty, "
            "total_price, unit_price, gross_unit_price) VALUES (" +
            item + ", 9, " + std::to_string(packagePrice) + ", 'DAY', 1, 10, 10, 20)");
    }
}

void BM_PackagePriceOurs(benchmark::State& state) {
    vym::Connection& db = bench->DB();
    int cents = 1;
    for (auto _ : state) {
        auto read =
            vym::NewProcedure(db, "VYM_SP_ITEM_GetPackageItems",
                              {{"@package_no", kPackage}, {"@package_price_no", packagePrice}});
        auto rows = db.ExecuteRecordset(*read);
        std::vector<vym::PackagePriceLine> lines;
        std::vector<std::int32_t> prices;
        for (; !rows->Eof(); rows->MoveNext()) {
            prices.push_back(rows->Fields("price_no").Value().ToLong());
            lines.push_back({vym::Currency::FromRaw(100000 + cents++ % 97),
                             static_cast<int>(rows->Fields("pkg_qty").Value().ToLong()), 1});
        }
        const vym::PackageTotals totals = vym::TotalsOf(lines);
        benchmark::DoNotOptimize(vym::ChargeDiffers(totals));
        vym::Transaction transaction(db);
        auto package = vym::NewProcedure(
            db, "VYM_SP_ITEM_UpdatePrice",
            {{"@price_no", packagePrice}, {"@price", totals.total}, {"@unit_price", totals.total}});
        db.Execute(*package);
        for (std::size_t line = 0; line < lines.size(); ++line) {
            auto update = vym::NewProcedure(db, "VYM_SP_ITEM_UpdatePrice",
                                            {{"@price_no", prices[line]},
                                             {"@unit_qty", 1},
                                             {"@price", vym::SubTotal(lines[line])},
                                             {"@unit_price", lines[line].unitPrice},
                                             {"@access_rule_no", -1}});
            if (!db.Execute(*update) ||
                !vym::NullToEmpty(update->Parameters["@Message"].Value).empty()) {
                state.SkipWithError("a line price was not saved");
                return;
            }
        }
        transaction.Commit();
    }
    state.SetItemsProcessed(state.iterations());
}

// A prepared statement that lives for one benchmark.
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
        while (sqlite3_step(statement_) == SQLITE_ROW) {
        }
        sqlite3_reset(statement_);
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

void BM_PackagePriceRaw(benchmark::State& state) {
    sqlite3* raw = bench->Raw();
    Statement begin(raw, "BEGIN IMMEDIATE"), commit(raw, "COMMIT");
    Statement read(raw,
                   "SELECT pi.item_no, pi.pkg_qty, lp.price_no, lp.unit_price FROM "
                   "vym_package_item pi LEFT JOIN vym_item i ON i.item_no = pi.item_no "
                   "LEFT JOIN vym_item_ticket t ON t.item_no = pi.item_no "
                   "LEFT JOIN vym_item_ss ss ON ss.item_no = pi.item_no "
                   "LEFT JOIN vym_price lp ON lp.price_no = (SELECT min(p.price_no) FROM "
                   "vym_price p WHERE p.package_price_no = ?2 AND p.item_no = pi.item_no) "
                   "WHERE pi.package_no = ?1 ORDER BY pi.seq_no");
    Statement exists(raw, "SELECT 1 FROM vym_price WHERE price_no = ?1");
    Statement stored(raw,
                     "SELECT unit_price, total_price, gross_unit_price, unit_qty FROM vym_price "
                     "WHERE price_no = ?1");
    Statement write(raw,
                    "UPDATE vym_price SET total_price = ?2, unit_price = ?3, gross_unit_price = "
                    "max(gross_unit_price, ?3), access_rule_no = NULL WHERE price_no = ?1");
    sqlite3_bind_int(read.get(), 1, kPackage);
    sqlite3_bind_int(read.get(), 2, packagePrice);
    int cents = 1;
    for (auto _ : state) {
        std::vector<std::pair<int, std::int64_t>> lines;  // price number, sub total
        std::int64_t total = 0;
        std::int64_t charged = 0;
        while (sqlite3_step(read.get()) == SQLITE_ROW) {
            const std::int64_t unit = 100000 + cents++ % 97;
            const std::int64_t qty = sqlite3_column_int(read.get(), 1);
            lines.emplace_back(sqlite3_column_int(read.get(), 2), unit * qty);
            total += unit * qty;
            charged += qty * ((unit + 50) / 100) * 100;
        }
        sqlite3_reset(read.get());
        benchmark::DoNotOptimize(total != charged);
        begin.Run();
        lines.emplace_back(packagePrice, total);
        for (const auto& [price, sub] : lines) {
            for (Statement* lookup : {&exists, &stored}) {
                sqlite3_bind_int(lookup->get(), 1, price);
                lookup->Run();
            }
            sqlite3_bind_int(write.get(), 1, price);
            sqlite3_bind_double(write.get(), 2, static_cast<double>(sub) / 10000);
            sqlite3_bind_double(write.get(), 3, static_cast<double>(sub) / 10000);
            write.Run();
        }
        commit.Run();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RoundingCheckOf10000Packages(benchmark::State& state) {
    for (auto _ : state) {
        std::mt19937_64 random(20261206);
        std::uniform_int_distribution<int> lineCount(1, 12);
        std::uniform_int_distribution<int> qty(1, 20);
        std::uniform_int_distribution<std::int64_t> raw(0, 2'500'000);
        int warnings = 0;
        std::vector<vym::PackagePriceLine> lines;
        for (int package = 0; package < 10'000; ++package) {
            lines.resize(lineCount(random));
            for (vym::PackagePriceLine& line : lines) {
                line = {vym::Currency::FromRaw(raw(random)), qty(random), qty(random)};
            }
            warnings += vym::ChargeDiffers(vym::TotalsOf(lines)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(warnings);
    }
}

BENCHMARK(BM_PackagePriceOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackagePriceRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundingCheckOf10000Packages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("package-price-bench", options);
    bench = &database;
    AddTwelveLinePackage(database.DB());
    vym::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    const auto ours = reporter.Time("BM_PackagePriceOurs");
    const auto raw = reporter.Time("BM_PackagePriceRaw");
    if (ours && raw) {
        std::printf(
            "Open, reprice and save a 12-line package price: ours %.2f ms (target 20 ms), "
            "raw %.2f ms, ratio %.2f\n",
            *ours, *raw, *ours / *raw);
    }
    if (const auto rounding = reporter.Time("BM_RoundingCheckOf10000Packages")) {
        std::printf("Rounding check of 10,000 packages: %.1f ms (target 5000 ms)\n", *rounding);
    }
    return 0;
}
