#include "server/schema_migrator.h"
#include "server/sqlite_session.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "base/error.h"
#include "server/local_app_server.h"
#include "support/server/temp_database.h"

#include "server_checks.h"

namespace vym::server {
namespace {

using ::testing::HasSubstr;
using vym::test::Thrown;

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int Version(Connection& db) {
    return db.OpenRecordset("PRAGMA user_version")->Fields(0).Value().ToLong();
}

class Migrations : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(dir_); }
    std::string File(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_ = vym::test::MakeTempDir();
};

TEST_F(Migrations, NewDatabaseIsMigratedToTheNewestVersionAndReopensAsIs) {
    const int newest = NewestSchemaVersion(CompiledMigrations());
    ASSERT_GE(newest, 1);
    {
        OpenOptions options;
        std::pair<int, int> asked;
        options.updateProgress = [&asked](int step, int steps) {
            asked = {step, steps};
            return true;
        };
        auto server = LocalAppServer::Open(File("new.db"), options);
        EXPECT_EQ(asked, std::make_pair(newest, newest)) << "told of every step";
        EXPECT_EQ(Version(*server->DBConnection()), newest);
        server->SaveSetting("AppData", "Stock", "MatrixDefaults", "Color");
        // Without demo data there are no demo users.
        EXPECT_FALSE(server->ValidateUser());
    }
    auto again = LocalAppServer::Open(File("new.db"));
    EXPECT_EQ(Version(*again->DBConnection()), newest);
    EXPECT_EQ(again->GetSetting("AppData", "Stock", "MatrixDefaults", ""), "Color");
}

TEST_F(Migrations, MissingFileIsNotCreatedUnlessAsked) {
    OpenOptions options;
    options.createIfMissing = false;
    EXPECT_THROW(LocalAppServer::Open(File("absent.db"), options), Error);
    EXPECT_FALSE(fs::exists(File("absent.db")));
}

TEST_F(Migrations, NewerDatabaseIsRefusedAndLeftUntouched) {
    const int newest = NewestSchemaVersion(CompiledMigrations());
    {
        auto server = LocalAppServer::Open(File("newer.db"));
        server->DBConnection()->ExecuteSQL("PRAGMA user_version = " + std::to_string(newest + 3));
    }
    const std::string before = Bytes(File("newer.db"));
    EXPECT_THAT(Thrown([&] { LocalAppServer::Open(File("newer.db")); }).Description(),
                HasSubstr("newer version"));
    EXPECT_EQ(Bytes(File("newer.db")), before);
    EXPECT_FALSE(fs::exists(File("newer.db-wal")));
}

TEST_F(Migrations, CorruptFilesAndOtherProgramsDatabasesAreRefused) {
    std::ofstream(File("waiver.db"), std::ios::binary)
        << "Rental waiver signed by the guest; not a database at all.";
    const std::string waiver = Bytes(File("waiver.db"));
    EXPECT_THAT(Thrown([&] { LocalAppServer::Open(File("waiver.db")); }).Description(),
                HasSubstr("not a database"));
    EXPECT_EQ(Bytes(File("waiver.db")), waiver);

    // A real header followed by garbage pages.
    LocalAppServer::Open(File("good.db")).reset();
    std::ofstream(File("damaged.db"), std::ios::binary)
        << Bytes(File("good.db")).substr(0, 100) + std::string(8192, '\x5a');
    EXPECT_THROW(LocalAppServer::Open(File("damaged.db")), Error);

    {
        auto other = SqliteSession::Open(File("other.db"), {true, 0});
        other->ExecuteScript("CREATE TABLE guests (name text)");
    }
    EXPECT_THROW(LocalAppServer::Open(File("other.db")), Error);
}

TEST_F(Migrations, ACurrentDatabaseOpensAndReadsWhileAnotherProgramWrites) {
    LocalAppServer::Open(File("busy.db")).reset();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(File("busy.db").c_str(), &raw), SQLITE_OK);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> writer(raw, sqlite3_close);
    ASSERT_EQ(sqlite3_exec(raw,
                           "BEGIN IMMEDIATE; INSERT INTO vym_setting VALUES "
                           "('ADMIN', 'AppData', 'Stock', 'MatrixDefaults', 'Color')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);

    // Without the write lock the open neither waits for the writer nor fails.
    const auto server = LocalAppServer::Open(File("busy.db"));
    EXPECT_EQ(Version(*server->DBConnection()), NewestSchemaVersion(CompiledMigrations()));
    EXPECT_EQ(server->GetSetting("AppData", "Stock", "MatrixDefaults", "none"), "none");
    ASSERT_EQ(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(server->GetSetting("AppData", "Stock", "MatrixDefaults", "none"), "Color");
}

// An older database's update: the rows of its second step take the engine
// long enough to ask how it goes several times.
TEST_F(Migrations, ALongUpdateAsksHowItGoesAndAStopLeavesTheDatabaseAsItWas) {
    const std::vector<Migration> update = {
        {1, "0001_table", "CREATE TABLE t (x INTEGER);"},
        {2, "0002_rows",
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000) "
         "INSERT INTO t SELECT i FROM n;"},
    };
    const std::string path = File("older.db");
    MigrateSchema(*SqliteSession::Open(path, {true, 2}), {update.front()}, false, path);

    for (const int stopAt : {1, 3, 0}) {  // 0: never
        SCOPED_TRACE(stopAt);
        const auto session = SqliteSession::Open(path, {true, 2});
        std::vector<std::pair<int, int>> asked;
        const MigrationProgress progress = [&](int step, int steps) {
            asked.emplace_back(step, steps);
            return static_cast<int>(asked.size()) != stopAt;
        };
        if (stopAt == 0) {
            EXPECT_EQ(MigrateSchema(*session, update, false, path, progress), 1);
            EXPECT_GT(asked.size(), 3u) << "asked while the rows were written";
        } else {
            EXPECT_EQ(Thrown([&] {
                          MigrateSchema(*session, update, false, path, progress);
                      }).Description(),
                      "The update of the database \"" + path +
                          "\" was stopped. The database is as it was; this version of the "
                          "program can open it only once it is updated.");
            EXPECT_EQ(asked.size(), static_cast<std::size_t>(stopAt));
        }
        EXPECT_EQ(asked.front(), std::make_pair(1, 1)) << "one step left of two";
        EXPECT_EQ(session->SchemaVersion(), stopAt == 0 ? 2 : 1);
        EXPECT_EQ(session->QueryValue("SELECT count(*) FROM t").ToLong(), stopAt == 0 ? 300000 : 0);
    }
}

}  // namespace
}  // namespace vym::server
