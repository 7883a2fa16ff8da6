// Item console searches on PostgreSQL at a large catalogue: each search's
// count and first 200 rows through the procedure (what the console waits
// for), against raw libpq sending the very statements the procedure sent, as
// the server's statement log shows them (log_statement = all for the
// gateway's session during one call): the same texts with the same values,
// the prepared ones prepared once with the types the session gave them. The
// runs are paired, ours then raw, and the medians compared; each line shows
// the target beside the measurement.
//
//   postgres_search_bench   VYM_BENCH_ITEMS (default 1000000)
//                           VYM_BENCH_FILTER (default "description") runs only
//                           the searches naming it ("" for all of them)
//                           VYM_BENCH_PLANS=1 prints EXPLAIN ANALYZE of each
//                           query sent with values (a cursor's as declared)
//                           VYM_BENCH_RUNS pairs of runs (default 9)
//
// The server: VYM_BENCH_POSTGRESQL (with VYM_BENCH_PG_LOG, its log file) or a
// throwaway cluster on VYM_BENCH_PG_PORT (default 54343), see
// postgres_bench_support.h. The catalogue goes into the database
// vym_bench_<items>, generated (and the time it took printed) unless it holds
// the items already; a throwaway cluster always generates it.

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "gateway/recordset.h"
#include "item_search_cases.h"
#include "postgres_bench_support.h"
#include "server/large_catalogue.h"
#include "server/local_app_server.h"
#include "server/procedures/item_search_procedures.h"
#include "server/sql_engine.h"

namespace {

using vym::bench::Check;
using vym::bench::kSearchRows;
using vym::bench::kSearchTargetMs;
using vym::bench::SearchCase;

// One statement the gateway's session sent, as the server logged it: the
// text, and for one sent with parameters the name it was prepared under (""
// when unnamed), the values (Null as none) and the parameter types.
struct Sent {
    std::string text;
    bool extended = false;
    std::string name;
    std::vector<std::optional<std::string>> values;
    std::vector<Oid> types;
};

// "$1 = 'a''b', $2 = NULL" -> {"a'b", Null}.
std::vector<std::optional<std::string>> Parameters(std::string_view detail) {
    std::vector<std::optional<std::string>> values;
    for (std::size_t at = detail.find(" = "); at != std::string_view::npos;
         at = detail.find(" = ", at)) {
        at += 3;
        if (detail.substr(at, 4) == "NULL") {
            values.emplace_back();
            continue;
        }
        std::string value;
        for (++at; at < detail.size(); ++at) {
            if (detail[at] == '\'' && at + 1 < detail.size() && detail[at + 1] == '\'') {
                value += '\'';
                ++at;
            } else if (detail[at] == '\'') {
                break;
            } else {
                value += detail[at];
            }
        }
        values.push_back(std::move(value));
    }
    return values;
}

// The statements the gateway's session sent while `run` ran, read from the
// server's log (its lines carry the session's process number).
std::vector<Sent> Logged(vym::Connection& db, const std::string& log,
                         const std::function<void()>& run) {
    const std::string pid =
        "[" + db.OpenRecordset("SELECT pg_backend_pid()")->Fields(0).Value().ToString() + "] ";
    std::ifstream file(log);
    file.seekg(0, std::ios::end);
    const std::streamoff from = file.tellg();
    // Set by a read, which sends nothing around it.
    const auto logging = [&db](const char* what) {
        db.OpenRecordset(std::string("SELECT set_config('log_statement', '") + what + "', false)");
    };
    logging("all");
    run();
    logging("none");
    file.clear();
    file.seekg(from);
    std::vector<Sent> sent;
    for (std::string line; std::getline(file, line);) {
        const auto at = line.find(pid);
        if (at == std::string::npos) {
            continue;
        }
        const std::string_view rest = std::string_view(line).substr(at + pid.size());
        if (rest.starts_with("LOG:  statement: ")) {
            sent.emplace_back().text = rest.substr(17);
        } else if (rest.starts_with("LOG:  execute ")) {
            const auto colon = rest.find(": ", 14);
            Sent& s = sent.emplace_back();
            s.text = rest.substr(colon + 2);
            s.extended = true;
            s.name = rest.substr(14, colon - 14);
            if (s.name == "<unnamed>") {
                s.name.clear();
            }
        } else if (rest.starts_with("DETAIL:  parameters: ") && !sent.empty()) {
            sent.back().values = Parameters(rest.substr(21));
        }
    }
    std::erase_if(sent, [](const Sent& s) {
        return s.text.find("set_config('log_statement'") != std::string::npos;
    });
    return sent;
}

// The procedure's statements replayed on a raw connection: the prepared ones
// prepared once, as the session did, the rest sent as they were.
class RawSearch {
  public:
    RawSearch(PGconn* raw, vym::Connection& db, const std::string& log, const SearchCase& c)
        : raw_(raw) {
        sent_ = Logged(db, log, [&db, &c] { vym::bench::RunSearch(db, c); });
        const auto types = PreparedTypes(db);
        for (Sent& s : sent_) {
            if (!s.extended) {
                continue;
            }
            // A cursor's query is sent with the types of its prepared statement.
            const auto cursor = s.text.find(" CURSOR FOR ");
            const std::string query =
                s.name.empty() && cursor != std::string::npos ? s.text.substr(cursor + 12) : s.text;
            if (const auto found = types.find(query); found != types.end()) {
                s.types = found->second;
            }
            if (!s.name.empty() && prepared_.insert(s.name).second) {
                Check(PQprepare(raw_, s.name.c_str(), s.text.c_str(),
                                static_cast<int>(s.types.size()), s.types.data()),
                      "prepare");
            }
        }
    }
    ~RawSearch() {
        for (const std::string& name : prepared_) {
            PQclear(PQexec(raw_, ("DEALLOCATE " + name).c_str()));
        }
    }
    RawSearch(const RawSearch&) = delete;
    RawSearch& operator=(const RawSearch&) = delete;

    // Every statement in turn, reading the rows each returns as the console
    // reads the first rows.
    void Run() const {
        for (const Sent& s : sent_) {
            const auto values = Pointers(s.values);
            PGresult* result =
                !s.extended ? PQexec(raw_, s.text.c_str())
                : s.name.empty()
                    ? PQexecParams(raw_, s.text.c_str(), static_cast<int>(values.size()),
                                   s.types.empty() ? nullptr : s.types.data(), values.data(),
                                   nullptr, nullptr, 0)
                    : PQexecPrepared(raw_, s.name.c_str(), static_cast<int>(values.size()),
                                     values.data(), nullptr, nullptr, 0);
            if (PQresultStatus(result) == PGRES_TUPLES_OK) {
                for (int row = 0; row < kSearchRows && row < PQntuples(result); ++row) {
                    for (int col = 0; col < PQnfields(result); ++col) {
                        benchmark::DoNotOptimize(PQgetvalue(result, row, col));
                    }
                }
            }
            Check(result, "replay");
        }
    }

    // EXPLAIN ANALYZE of each query sent with values; a cursor's as declared,
    // planned for its first rows.
    void PrintPlans() const {
        for (const Sent& s : sent_) {
            if (!s.extended) {
                continue;
            }
            const std::string& query = s.text;
            const auto values = Pointers(s.values);
            // A cursor is declared within a transaction.
            PQclear(PQexec(raw_, "BEGIN"));
            PGresult* plan = PQexecParams(raw_, ("EXPLAIN (ANALYZE, BUFFERS) " + query).c_str(),
                                          static_cast<int>(values.size()),
                                          s.types.empty() ? nullptr : s.types.data(), values.data(),
                                          nullptr, nullptr, 0);
            std::printf("  %s\n", query.substr(0, 160).c_str());
            for (int row = 0; row < PQntuples(plan); ++row) {
                std::printf("    %s\n", PQgetvalue(plan, row, 0));
            }
            if (PQresultStatus(plan) != PGRES_TUPLES_OK) {
                std::printf("    %s", PQresultErrorMessage(plan));
            }
            PQclear(plan);
            PQclear(PQexec(raw_, "ROLLBACK"));
        }
    }

  private:
    static std::vector<const char*> Pointers(
        const std::vector<std::optional<std::string>>& values) {
        std::vector<const char*> out;
        for (const auto& value : values) {
            out.push_back(value ? value->c_str() : nullptr);
        }
        return out;
    }

    // The texts the gateway's session holds prepared, with their parameter types.
    static std::map<std::string, std::vector<Oid>> PreparedTypes(vym::Connection& db) {
        std::map<std::string, std::vector<Oid>> out;
        auto rows = db.OpenRecordset(
            "SELECT statement, array_to_string(CAST(parameter_types AS oid[]), ',') "
            "FROM pg_prepared_statements");
        for (; !rows->Eof(); rows->MoveNext()) {
            std::vector<Oid> types;
            const std::string numbers = rows->Fields(1).Value().ToString();
            for (std::size_t at = 0; at < numbers.size();) {
                std::size_t end = numbers.find(',', at);
                end = end == std::string::npos ? numbers.size() : end;
                types.push_back(static_cast<Oid>(std::stoul(numbers.substr(at, end - at))));
                at = end + 1;
            }
            out[rows->Fields(0).Value().ToString()] = std::move(types);
        }
        return out;
    }

    PGconn* raw_;
    std::vector<Sent> sent_;
    std::set<std::string> prepared_;
};

// The raw connection runs with the settings the gateway's session made.
void SameSettings(vym::Connection& db, PGconn* raw) {
    auto rows = db.OpenRecordset("SELECT name, setting FROM pg_settings WHERE source = 'session'");
    for (; !rows->Eof(); rows->MoveNext()) {
        const std::string name = rows->Fields(0).Value().ToString();
        const std::string value = rows->Fields(1).Value().ToString();
        const char* values[] = {name.c_str(), value.c_str()};
        Check(PQexecParams(raw, "SELECT set_config($1, $2, false)", 2, nullptr, values, nullptr,
                           nullptr, 0),
              "settings");
    }
}

// The matches of a search by description (and status) counted the plain way,
// every description read, to hold the procedure's count against; -1 for
// other searches.
std::int32_t PlainCount(PGconn* raw, const SearchCase& c) {
    static const std::map<std::string, std::string> kDetail = {
        {"VYM_SP_ITEM_GetItem", ""},
        {"VYM_SP_ITEM_GetItemTicket", " JOIN vym_item_ticket d ON d.item_no = i.item_no"},
        {"VYM_SP_ITEM_GetItemPhoto", " JOIN vym_item_photo d ON d.item_no = i.item_no"},
        {"VYM_SP_ITEM_GetItemStock", " JOIN vym_item_stock d ON d.item_no = i.item_no"}};
    const auto detail = kDetail.find(c.procedure);
    if (detail == kDetail.end()) {
        return -1;
    }
    std::string sql = "SELECT count(*) FROM vym_item i" + detail->second + " WHERE true";
    std::vector<std::string> values;
    for (const auto& [parameter, value] : c.criteria) {
        if (parameter == "@description") {
            values.push_back("%" + vym::server::StartsWithPattern(value));
            sql += " AND i.long_description ILIKE $" + std::to_string(values.size());
        } else if (parameter == "@status_id") {
            values.push_back(value);
            sql += " AND i.status_id = $" + std::to_string(values.size());
        } else {
            return -1;
        }
    }
    std::vector<const char*> pointers;
    for (const std::string& value : values) {
        pointers.push_back(value.c_str());
    }
    PGresult* result = PQexecParams(raw, sql.c_str(), static_cast<int>(pointers.size()), nullptr,
                                    pointers.data(), nullptr, nullptr, 0);
    const std::int32_t count =
        PQresultStatus(result) == PGRES_TUPLES_OK ? std::atoi(PQgetvalue(result, 0, 0)) : -1;
    PQclear(result);
    return count;
}

// The catalogue's database on the server, generated when it does not hold the
// items yet.
std::string CatalogueDatabase(const vym::bench::PostgresServer& server, std::int32_t items) {
    const std::string name = "vym_bench_" + std::to_string(items);
    if (server.HasDatabase(name)) {
        PGconn* conn = vym::bench::Connect(server.Database(name));
        PGresult* result = PQexec(conn, "SELECT count(*) FROM vym_item");
        const bool complete = PQresultStatus(result) == PGRES_TUPLES_OK &&
                              std::atoi(PQgetvalue(result, 0, 0)) >= items;
        PQclear(result);
        PQfinish(conn);
        if (complete) {
            return server.Database(name);
        }
    }
    const std::string uri = server.CreateDatabase(name);
    std::fprintf(stderr, "Generating %d items into %s\n", items, name.c_str());
    const auto start = std::chrono::steady_clock::now();
    vym::server::LargeCatalogue::Generate(
        uri, items, [](std::int32_t written) { std::fprintf(stderr, "%d items\r", written); });
    std::printf("Generated %d items on PostgreSQL in %.0f s\n\n", items,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return uri;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::int32_t items = std::atoi(vym::bench::Env("VYM_BENCH_ITEMS", "1000000").c_str());
    const bool plans = !vym::bench::Env("VYM_BENCH_PLANS", "").empty();
    const int runs = std::atoi(vym::bench::Env("VYM_BENCH_RUNS", "9").c_str());
    try {
        const vym::bench::PostgresServer server("54343");
        const std::string uri = CatalogueDatabase(server, items);
        vym::server::OpenOptions options;
        options.createIfMissing = false;
        auto office = vym::server::LocalAppServer::Open(uri, options);
        vym::Connection& db = *office->DBConnection();
        PGconn* raw = vym::bench::Connect(uri);
        SameSettings(db, raw);
        const char* filter = std::getenv("VYM_BENCH_FILTER");
        const auto cases =
            vym::bench::SearchCases(items, filter != nullptr ? filter : "description");
        std::printf("%-40s %9s %9s %9s %7s %7s\n", "PostgreSQL search (count + 200 rows)",
                    "matches", "ours ms", "raw ms", "ratio", "target");
        int missed = 0;
        for (const SearchCase& c : cases) {
            const RawSearch search(raw, db, server.LogFile(), c);
            const std::int32_t matches = vym::bench::RunSearch(db, c);
            const std::int32_t plain = PlainCount(raw, c);
            const auto [oursMs, rawMs] = vym::bench::TimePaired(
                runs, [&db, &c] { vym::bench::RunSearch(db, c); }, [&search] { search.Run(); });
            missed += oursMs > kSearchTargetMs ? 1 : 0;
            std::printf("%-40s %9d %9.2f %9.2f %7.2f %4.0f ms %s%s\n", c.name.c_str(), matches,
                        oursMs, rawMs, oursMs / rawMs, kSearchTargetMs,
                        oursMs <= kSearchTargetMs ? "met" : "MISSED",
                        plain < 0          ? ""
                        : plain == matches ? "  exact"
                                           : "  (count wrong!)");
            if (plans) {
                search.PrintPlans();
            }
        }
        std::printf("%d of %zu searches over %.0f ms\n", missed, cases.size(), kSearchTargetMs);
        PQfinish(raw);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
