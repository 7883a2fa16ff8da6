#include "server/sqlite_session.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "base/error.h"
#include "support/server/failing_reads.h"
#include "support/server/temp_database.h"

#include "server_checks.h"

namespace vym::server {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using vym::test::TempDir;

constexpr std::string_view kDamaged = "is not a database or is damaged";

// A healthy database file, closed again.
std::string HealthyFile(const TempDir& dir) {
    const std::string path = (dir.path / "backoffice.db").string();
    SqliteSession::Open(path, {true, 0})->ExecuteScript("CREATE TABLE t (x int)");
    return path;
}

// The description of the error Open throws, or "" when it opens.
std::string OpenFailure(const std::string& path) {
    SqliteSession::Options options;
    options.createIfMissing = false;
    options.busyTimeoutMs = 50;
    return test::Thrown([&] { SqliteSession::Open(path, options); }).Description();
}

TEST(SqliteSessionOpen, AFailedFirstReadNamesItsCauseAndTheFile) {
    struct Case {
        const char* cause;
        int code;
        const char* says;
    };
    for (const Case& c : {
             Case{"locked", SQLITE_BUSY, "is locked by another program"},
             Case{"table locked", SQLITE_LOCKED, "is locked by another program"},
             Case{"disk full", SQLITE_FULL, "is full"},
             Case{"I/O error", SQLITE_IOERR_READ, "input/output error"},
             Case{"cannot open", SQLITE_CANTOPEN, "cannot be opened"},
             Case{"permission", SQLITE_PERM, "not permitted"},
             Case{"read-only", SQLITE_READONLY, "is read-only"},
             Case{"not a database", SQLITE_NOTADB, kDamaged.data()},
             Case{"corrupt", SQLITE_CORRUPT, kDamaged.data()},
         }) {
        TempDir dir;
        const std::string path = HealthyFile(dir);
        std::string message;
        {
            vym::test::FailingReads failing(c.code);
            message = OpenFailure(path);
        }
        EXPECT_THAT(message, HasSubstr(c.says)) << c.cause;
        EXPECT_THAT(message, HasSubstr("\"" + path + "\"")) << c.cause;
        if (std::string_view(c.says) != kDamaged) {
            EXPECT_THAT(message, Not(HasSubstr("damaged"))) << c.cause;
        }
        // Nothing was done to the file.
        EXPECT_EQ(OpenFailure(path), "") << c.cause;
    }
}

TEST(SqliteSessionOpen, AFileAnotherProgramHoldsExclusivelyIsLockedNotDamaged) {
    TempDir dir;
    const std::string path = HealthyFile(dir);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> other(raw, sqlite3_close);
    ASSERT_EQ(sqlite3_exec(raw,
                           "PRAGMA locking_mode = EXCLUSIVE; BEGIN IMMEDIATE; "
                           "INSERT INTO t VALUES (1)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::string message = OpenFailure(path);
    EXPECT_THAT(message, HasSubstr("is locked by another program"));
    EXPECT_THAT(message, Not(HasSubstr("damaged")));
}

// A reader does not queue behind a station that holds the write lock: it reads
// the last committed rows at once, where a write transaction would wait.
TEST(SqliteSessionTransactions, AReaderDoesNotWaitForAWriter) {
    const TempDir dir;
    const std::string path = HealthyFile(dir);
    SqliteSession::Options options;
    options.busyTimeoutMs = 50;
    const auto writer = SqliteSession::Open(path, options);
    const auto reader = SqliteSession::Open(path, options);
    writer->BeginImmediate();
    writer->Run("INSERT INTO t VALUES (1)");

    reader->BeginRead();
    EXPECT_EQ(reader->QueryValue("SELECT count(*) FROM t").ToLong(), 0);
    reader->Commit();
    EXPECT_THROW(reader->BeginImmediate(), Error);
    writer->Commit();
}

}  // namespace
}  // namespace vym::server
