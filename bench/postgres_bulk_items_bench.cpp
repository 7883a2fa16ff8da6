// Writing many items in one transaction on PostgreSQL, as an import does:
// VYM_BENCH_ITEMS (default 5,000) tickets, each an item row and its ticket
// row, then a commit, while the item triggers keep the search counts. Paired
// in turns in one run with the same statements while those triggers are off
// (the counts unkept: the floor of the writes themselves), over libpq on the
// server's local socket, wall time, median of the turns.
//
// Runs on VYM_BENCH_POSTGRESQL or a throwaway cluster on VYM_BENCH_PG_PORT
// (default 54341); see postgres_bench_support.h.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "bench_support.h"
#include "postgres_bench_support.h"
#include "server/local_app_server.h"

namespace {

constexpr int kTurns = 3;
constexpr double kTargetRatio = 2.0;
// The PostgreSQL triggers that keep the search counts of the items written.
constexpr const char* kCountTriggers[][2] = {
    {"vym_item", "vym_item_grams_insert"},      {"vym_item", "vym_item_words_insert"},
    {"vym_item", "vym_item_tabs_insert"},       {"vym_item", "vym_item_tabs_delete"},
    {"vym_item_ticket", "vym_item_ticket_tab"},
};

void Exec(PGconn* db, const std::string& sql) {
    vym::bench::Check(PQexec(db, sql.c_str()), sql.c_str());
}

void SetTriggers(PGconn* db, const char* how) {
    for (const auto& [table, trigger] : kCountTriggers) {
        Exec(db, std::string("ALTER TABLE ") + table + " " + how + " TRIGGER " + trigger);
    }
}

// Writes `items` tickets from item number `first` in one transaction, with
// the count triggers on or off; the seconds it took.
double WriteItems(PGconn* db, int first, int items, bool counted) {
    const auto start = std::chrono::steady_clock::now();
    Exec(db, "BEGIN");
    if (!counted) {
        SetTriggers(db, "DISABLE");
    }
    for (int no = first; no < first + items; ++no) {
        const std::string number = std::to_string(no);
        // Descriptions share most of their texts, as a real catalogue's do.
        const std::string description = "Adult Day Pass " + std::to_string(no % 97);
        const char* values[] = {number.c_str(), description.c_str()};
        vym::bench::Check(PQexecPrepared(db, "item", 2, values, nullptr, nullptr, 0), "item");
        vym::bench::Check(PQexecPrepared(db, "ticket", 1, values, nullptr, nullptr, 0), "ticket");
    }
    if (!counted) {
        SetTriggers(db, "ENABLE");
    }
    Exec(db, "COMMIT");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const int items = std::stoi(vym::bench::Env("VYM_BENCH_ITEMS", "5000"));
    try {
        const vym::bench::PostgresServer server(vym::bench::Env("VYM_BENCH_PG_PORT", "54341"));
        const std::string uri = server.CreateDatabase("vym_bench_bulk_items");
        vym::server::OpenOptions options;
        options.createIfMissing = true;
        options.demoData = true;
        vym::server::LocalAppServer::Open(uri, options);
        PGconn* db = vym::bench::Connect(uri);
        vym::bench::Check(
            PQprepare(db, "item",
                      "INSERT INTO vym_item (item_no, item_type, function_id, long_description, "
                      "status_id) VALUES ($1::int, 'TICKET', (SELECT min(function_id) FROM "
                      "vym_function), $2, 'ACTIVE')",
                      2, nullptr),
            "prepare item");
        vym::bench::Check(
            PQprepare(db, "ticket", "INSERT INTO vym_item_ticket (item_no) VALUES ($1::int)", 1,
                      nullptr),
            "prepare ticket");
        std::vector<double> counted;
        std::vector<double> unkept;
        int first = 1000000;
        for (int turn = 0; turn < kTurns; ++turn) {
            counted.push_back(WriteItems(db, first, items, true));
            first += items;
            unkept.push_back(WriteItems(db, first, items, false));
            first += items;
        }
        PQfinish(db);
        const double kept = Median(counted);
        const double floor = Median(unkept);
        std::printf("%d items in one transaction on PostgreSQL, median of %d turns (wall)\n", items,
                    kTurns);
        std::printf("  counts kept      %8.3f s  %6.3f ms an item\n", kept, kept * 1000 / items);
        std::printf("  counts not kept  %8.3f s  %6.3f ms an item\n", floor, floor * 1000 / items);
        std::printf("  ratio %.2fx (target <= %.1fx)\n", kept / floor, kTargetRatio);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
