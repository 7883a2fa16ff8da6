// What the price history costs a price save: 10,000 stock prices changed in
// one transaction, as a bulk change applies them, each through
// VYM_SP_ITEM_UpdatePrice, on a back office that records them and on one
// whose history triggers are dropped; and raw sqlite3 running the statements
// the procedure runs (checked against a trace of one save) on both. The four
// run in turn in every round, so that each pair sees the same machine.
// Targets: the history adds at most a quarter to a save; 10,000 saves with
// history take at most 1 s.

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "base/currency.h"
#include "bench_support.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/transaction.h"

namespace {

constexpr int kPrices = 10000;
constexpr int kItem = 510;      // the demo ski gloves, priced by the pair
constexpr int kFirstQty = 100;  // the prices' quantities, one price each

// The statements of one save of a stock price by its number (its checks, the
// stored amounts read back, the row claimed and written), as the trace shows.
const char* const kSaveStatements[] = {
    "SAVEPOINT vym_nested_1",
    "SELECT 1 FROM vym_price WHERE price_no = ? LIMIT 1",
    "SELECT unit_price FROM vym_price WHERE price_no = ?",
    "SELECT total_price FROM vym_price WHERE price_no = ?",
    "SELECT gross_unit_price FROM vym_price WHERE price_no = ?",
    "SELECT unit_qty FROM vym_price WHERE price_no = ?",
    "UPDATE vym_price SET row_version = row_version + 1, row_saved_by = ?, row_saved_at = "
    "strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime') WHERE price_no = ?",
    "SELECT row_version FROM vym_price WHERE price_no = ?",
    "UPDATE vym_price SET unit_id = COALESCE(?, unit_id), unit_qty = ?, total_price = ?, "
    "unit_price = ?, gross_unit_price = ?, line_discount = COALESCE(?, line_discount), "
    "seller_pricing = COALESCE(?, seller_pricing), acct_units = COALESCE(?, acct_units), "
    "print_qty = COALESCE(?, print_qty), access_rule_no = CASE WHEN ? THEN ? ELSE "
    "access_rule_no END, vym_user = ? WHERE price_no = ?",
    "RELEASE vym_nested_1",
};

vym::server::OpenOptions DemoOptions() {
    vym::server::OpenOptions options;
    options.demoData = true;
    return options;
}

struct Office {
    explicit Office(const char* tag, bool history) : db(tag, DemoOptions()) {
        std::string sql =
            "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < " +
            std::to_string(kPrices - 1) +
            ") INSERT INTO vym_price (item_no, uom_id, unit_qty, total_price, unit_price, "
            "gross_unit_price) SELECT " +
            std::to_string(kItem) + ", 'PR', " + std::to_string(kFirstQty) +
            " + x, 10, 10, 10 FROM n";
        // The page cache and memory-mapping of the server's own sessions: the
        // history outgrows the raw handle's default cache.
        sqlite3_exec(db.Raw(), "PRAGMA cache_size = -65536; PRAGMA mmap_size = 268435456", nullptr,
                     nullptr, nullptr);
        if (!history) {
            sql =
                "DROP TRIGGER vym_price_history_insert; DROP TRIGGER vym_price_history_update; "
                "DROP TRIGGER vym_price_history_delete; " +
                sql;
        }
        sqlite3_exec(db.Raw(), sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_stmt* numbers = nullptr;
        sqlite3_prepare_v2(db.Raw(),
                           "SELECT price_no, unit_qty FROM vym_price WHERE item_no = 510 AND "
                           "unit_qty >= 100 ORDER BY unit_qty",
                           -1, &numbers, nullptr);
        while (sqlite3_step(numbers) == SQLITE_ROW) {
            prices.push_back({sqlite3_column_int(numbers, 0), sqlite3_column_int(numbers, 1)});
        }
        sqlite3_finalize(numbers);
    }

    struct Price {
        int number;
        int qty;
    };
    vym::bench::BenchDatabase db;
    std::vector<Price> prices;
};

// Every price gets a new unit price each round, so that every save changes it.
vym::Currency UnitPrice(int round, int position) {
    return vym::Currency::FromRaw(100000 + round * 100 + position % 100);
}

bool SaveOurs(vym::Connection& db, const std::vector<Office::Price>& prices, int round) {
    vym::Transaction transaction(db);
    for (std::size_t i = 0; i < prices.size(); ++i) {
        const auto& [number, qty] = prices[i];
        const vym::Currency unit = UnitPrice(round, static_cast<int>(i));
        auto cmd = vym::NewProcedure(db, "VYM_SP_ITEM_UpdatePrice",
                                     {{"@price_no", number},
                                      {"@item_no", kItem},
                                      {"@uom_id", "PR"},
                                      {"@unit_qty", qty},
                                      {"@unit_price", unit},
                                      {"@price", unit * qty}});
        if (!db.Execute(*cmd) || vym::NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong()) {
            return false;
        }
    }
    transaction.Commit();
    return true;
}

class RawSave {
  public:
    explicit RawSave(sqlite3* db) : db_(db) {
        for (const char* sql : kSaveStatements) {
            statements_.push_back(nullptr);
            sqlite3_prepare_v2(db, sql, -1, &statements_.back(), nullptr);
        }
    }
    ~RawSave() {
        for (sqlite3_stmt* statement : statements_) {
            sqlite3_finalize(statement);
        }
    }
    RawSave(const RawSave&) = delete;
    RawSave& operator=(const RawSave&) = delete;

    void Run(const Office& office, int round) {
        sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (std::size_t i = 0; i < office.prices.size(); ++i) {
            const auto& [number, qty] = office.prices[i];
            const vym::Currency unit = UnitPrice(round, static_cast<int>(i));
            for (std::size_t s = 0; s < statements_.size(); ++s) {
                Bind(statements_[s], s, number, qty, unit);
                while (sqlite3_step(statements_[s]) == SQLITE_ROW) {
                }
                sqlite3_reset(statements_[s]);
            }
        }
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }

  private:
    // The values the procedure binds: the price's number last in every
    // statement, the claim's user first, the write's amounts and Nulls.
    static void Bind(sqlite3_stmt* statement, std::size_t index, int number, int qty,
                     vym::Currency unit) {
        const int count = sqlite3_bind_parameter_count(statement);
        if (count == 0) {
            return;
        }
        sqlite3_bind_int(statement, count, number);
        if (index == 6) {
            sqlite3_bind_text(statement, 1, "ADMIN", -1, SQLITE_STATIC);
        } else if (index == 8) {
            sqlite3_bind_null(statement, 1);
            sqlite3_bind_int(statement, 2, qty);
            sqlite3_bind_double(statement, 3, (unit * qty).ToDouble());
            sqlite3_bind_double(statement, 4, unit.ToDouble());
            sqlite3_bind_double(statement, 5, unit.ToDouble());
            for (int n = 6; n <= 9; ++n) {
                sqlite3_bind_null(statement, n);
            }
            sqlite3_bind_int(statement, 10, 0);
            sqlite3_bind_null(statement, 11);
            sqlite3_bind_text(statement, 12, "ADMIN", -1, SQLITE_STATIC);
        }
    }

    sqlite3* db_;
    std::vector<sqlite3_stmt*> statements_;
};

// Prints the statements of one save through the server as the trace shows
// them (the transaction's own and the triggers' left out: a trigger's run
// shows as its statement again), each marked "=" when raw runs the same.
void PrintTracedSave(Office& office) {
    std::size_t same = 0;
    std::size_t traced = 0;
    const auto statements = vym::bench::StatementTrace::Capture(
        [&] { SaveOurs(office.db.DB(), {office.prices.front()}, 0); });
    std::printf("The statements of one save:\n");
    std::string previous;
    for (const auto& [sql, expanded] : statements) {
        if (sql == "BEGIN IMMEDIATE" || sql == "COMMIT" || sql == previous) {
            continue;
        }
        previous = sql;
        const bool raw = std::find(std::begin(kSaveStatements), std::end(kSaveStatements), sql) !=
                         std::end(kSaveStatements);
        same += raw ? 1 : 0;
        ++traced;
        std::printf("  %s %s\n", raw ? "=" : "!", sql.c_str());
    }
    std::printf("%zu traced, %zu of them run by raw, which runs %zu\n\n", traced, same,
                std::size(kSaveStatements));
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

template <class Run>
double TimedMs(Run&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main() {
    vym::bench::StatementTrace::Install();
    const int rounds = std::max(1, std::atoi(vym::bench::Env("VYM_BENCH_ROUNDS", "5").c_str()));
    Office with("price-history-bench", true);
    Office without("price-history-bench-off", false);
    PrintTracedSave(with);

    RawSave savesWith(with.db.Raw());
    RawSave savesWithout(without.db.Raw());
    std::vector<double> ms[4];
    bool saved = true;
    for (int round = 1; round <= rounds; ++round) {
        ms[0].push_back(TimedMs([&] { saved &= SaveOurs(with.db.DB(), with.prices, 2 * round); }));
        ms[1].push_back(
            TimedMs([&] { saved &= SaveOurs(without.db.DB(), without.prices, 2 * round); }));
        ms[2].push_back(TimedMs([&] { savesWith.Run(with, 2 * round + 1); }));
        ms[3].push_back(TimedMs([&] { savesWithout.Run(without, 2 * round + 1); }));
    }
    if (!saved) {
        std::printf("a save failed\n");
        return 1;
    }
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(with.db.Raw(), "SELECT count(*) FROM vym_price_history", -1, &count,
                       nullptr);
    sqlite3_step(count);
    std::printf("History rows recorded: %d (%d prices, %d rounds of ours and raw)\n",
                sqlite3_column_int(count, 0), kPrices, rounds);
    sqlite3_finalize(count);

    const double oursWith = Median(ms[0]);
    const double oursWithout = Median(ms[1]);
    const double rawWith = Median(ms[2]);
    const double rawWithout = Median(ms[3]);
    std::printf("10,000 price saves in one transaction, median of %d rounds:\n", rounds);
    std::printf(
        "  ours with history %.0f ms (target 1000 ms), without %.0f ms, "
        "history adds x%.2f (target x1.25)\n",
        oursWith, oursWithout, oursWith / oursWithout);
    std::printf("  raw with history %.0f ms, without %.0f ms, history adds x%.2f\n", rawWith,
                rawWithout, rawWith / rawWithout);
    std::printf("  ours against raw: with history %.2f, without %.2f\n", oursWith / rawWith,
                oursWithout / rawWithout);
    return 0;
}
