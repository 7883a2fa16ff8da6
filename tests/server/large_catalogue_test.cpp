#include "server/large_catalogue.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "base/error.h"
#include "server/local_app_server.h"
#include "support/server/temp_database.h"

namespace vym::server {
namespace {

// What a raw handle reads of the file: the first column of the first row.
std::string RawValue(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    std::string value;
    if (sqlite3_step(statement) == SQLITE_ROW) {
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

void RawRun(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A run that has the file to itself writes past a rollback journal, one
// beside another station through the log; either way it adds all its items
// or none (its indexes dropped and made again with them), and leaves the file
// sound and in the write-ahead log that every station expects.
TEST(LargeCatalogue, AddsAllItsItemsOrNoneAndLeavesTheFileInTheLog) {
    struct Case {
        const char* name;
        bool besideStation;
        bool failing;
        const char* items;
    };
    for (const Case& c :
         {Case{"alone", false, false, "18"}, Case{"alone, failing", false, true, "6"},
          Case{"beside a station", true, false, "18"},
          Case{"beside a station, failing", true, true, "6"}}) {
        SCOPED_TRACE(c.name);
        const test::TempDir dir;
        const std::string path = (dir.path / "large.db").string();
        LargeCatalogue::Generate(path, 6);
        // The statistics a run leaves behind are no part of the schema.
        const std::string schema =
            "SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite_stat%'";
        const std::string before = RawValue(path, schema);
        if (c.failing) {
            // The units are written after the items and their details.
            RawRun(path,
                   "CREATE TRIGGER test_full AFTER INSERT ON vym_item_stock_serial "
                   "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END");
        }
        std::unique_ptr<LocalAppServer> station =
            c.besideStation ? LocalAppServer::Open(path) : nullptr;
        if (c.failing) {
            EXPECT_THROW(LargeCatalogue::Generate(path, 12), vym::Error);
            RawRun(path, "DROP TRIGGER test_full");
        } else {
            LargeCatalogue::Generate(path, 12);
        }
        station.reset();

        EXPECT_EQ(RawValue(path, "PRAGMA journal_mode"), "wal");
        EXPECT_EQ(RawValue(path, "PRAGMA integrity_check"), "ok");
        EXPECT_EQ(RawValue(path, schema), before);
        EXPECT_EQ(RawValue(path, "SELECT count(*) FROM vym_item"), c.items);
        EXPECT_EQ(RawValue(path,
                           "SELECT count(*) FROM vym_item_fts WHERE vym_item_fts MATCH "
                           "'\"PREMIUM\" OR \"CLASSIC\"'"),
                  c.items);
    }
}

}  // namespace
}  // namespace vym::server
