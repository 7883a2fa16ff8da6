#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "server/migration.h"
#include "server/schema_migrator.h"
#include "server/sqlite_session.h"
#include "support/server/temp_database.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Quote(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

class VymSql : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(dir_); }

    Outcome Exec(const std::vector<std::string>& args) {
        std::string line = Quote(VYM_SQL_PATH);
        for (const auto& arg : args) {
            line += " " + Quote(arg);
        }
        line += " >" + Quote((dir_ / "out").string()) + " 2>" + Quote((dir_ / "err").string());
        const int status = std::system(line.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir_ / "out"),
                Slurp(dir_ / "err")};
    }
    std::string Db() const { return (dir_ / "resort.db").string(); }

    fs::path dir_ = vym::test::MakeTempDir();
};

TEST_F(VymSql, DemoDatabaseIsQueriedInColumnsAndCsvAndItsProceduresCalled) {
    ASSERT_EQ(Exec({"--database", Db(), "--demo"}).exit, 0);
    ASSERT_EQ(
        Exec({"--database", Db(), "INSERT INTO vym_security_user VALUES ('QA', 'Lee, \"Ace\"', 1)"})
            .exit,
        0);
    const Outcome table = Exec({"--database", Db(),
                                "SELECT vym_user, name FROM vym_security_user with(nolock) "
                                "WHERE vym_user IN ('ADMIN', 'QA') ORDER BY vym_user"});
    ASSERT_EQ(table.exit, 0) << table.err;
    EXPECT_EQ(table.out,
              "vym_user  name\n"
              "--------  --------------------\n"
              "ADMIN     System Administrator\n"
              "QA        Lee, \"Ace\"\n"
              "(2 rows)\n");
    const Outcome csv =
        Exec({"--database", Db(), "--csv",
              "SELECT name, NULL AS none FROM vym_security_user WHERE vym_user = 'QA'"});
    ASSERT_EQ(csv.exit, 0) << csv.err;
    EXPECT_EQ(csv.out, "name,none\r\n\"Lee, \"\"Ace\"\"\",\r\n");

    // Rows are printed as they are read: the first thousand set the widths,
    // and a longer value after them is printed whole.
    const Outcome streamed = Exec({"--database", Db(),
                                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                   "WHERE i < 1001) SELECT i, CASE i WHEN 1001 THEN 'much longer' "
                                   "ELSE 'x' END AS t FROM n"});
    ASSERT_EQ(streamed.exit, 0) << streamed.err;
    const std::string end = "1000  x\n1001  much longer\n(1001 rows)\n";
    ASSERT_GE(streamed.out.size(), end.size());
    EXPECT_EQ(streamed.out.substr(streamed.out.size() - end.size()), end);

    // A procedure called prints its outputs.
    const Outcome parm = Exec({"--database", Db(), "--exec", "vym_sp_item_system_parm_get"});
    ASSERT_EQ(parm.exit, 0) << parm.err;
    EXPECT_NE(parm.out.find("@RETURN_VALUE = 0\n"), std::string::npos) << parm.out;
    EXPECT_NE(parm.out.find("@req_rpt_dept = "), std::string::npos) << parm.out;
}

// A database of the version before this one is brought up to date as it
// opens, with its step on stderr; a new one is made without a word.
TEST_F(VymSql, AnOlderDatabaseIsUpdatedShowingItsSteps) {
    const auto& migrations = vym::server::CompiledMigrations();
    const int newest = vym::server::NewestSchemaVersion(migrations);
    vym::server::MigrateSchema(*vym::server::SqliteSession::Open(Db(), {true, newest}),
                               {migrations.begin(), migrations.end() - 1}, false, Db());

    const Outcome updated = Exec({"--database", Db(), "PRAGMA user_version"});
    ASSERT_EQ(updated.exit, 0) << updated.err;
    EXPECT_EQ(updated.err, "\rUpdating the database for this version: step 1 of 1   \n");
    EXPECT_NE(updated.out.find(std::to_string(newest)), std::string::npos) << updated.out;

    const Outcome made = Exec({"--database", (dir_ / "new.db").string(), "--demo"});
    ASSERT_EQ(made.exit, 0) << made.err;
    EXPECT_EQ(made.err, "");
}

TEST_F(VymSql, HelpPrintsTheUsageAndSucceeds) {
    for (const char* help : {"--help", "-h"}) {
        const Outcome shown = Exec({help});
        EXPECT_EQ(shown.exit, 0) << help;
        EXPECT_TRUE(shown.out.starts_with("usage: vym-sql --database FILE")) << shown.out;
        EXPECT_NE(shown.out.find("--exec PROCEDURE"), std::string::npos) << shown.out;
        EXPECT_TRUE(shown.err.empty()) << shown.err;
    }
    // Asked for among other arguments, help is all that happens.
    const Outcome shown = Exec({"--database", Db(), "--help", "SELECT 1"});
    EXPECT_EQ(shown.exit, 0);
    EXPECT_FALSE(fs::exists(Db()));
}

TEST_F(VymSql, AMissingDatabaseSaysHowToCreateOne) {
    // None named at all is a wrong command line.
    const Outcome none = Exec({});
    EXPECT_EQ(none.exit, 2);
    EXPECT_NE(none.err.find("--database"), std::string::npos);
    const Outcome missing = Exec({"--database", Db(), "SELECT 1"});
    EXPECT_EQ(missing.exit, 1);
    EXPECT_NE(missing.err.find("\"" + Db() + "\" does not exist"), std::string::npos)
        << missing.err;
    EXPECT_NE(missing.err.find("vym-sql --database " + Db() + " --demo"), std::string::npos)
        << missing.err;
    EXPECT_FALSE(fs::exists(Db()));
}

// A failure of the work exits 1, a wrong command line 2; either way stderr
// says what went wrong in one line.
TEST_F(VymSql, EveryErrorIsOneLineSayingWhatWentWrong) {
    ASSERT_EQ(Exec({"--database", Db(), "--demo"}).exit, 0);
    const std::string junk = (dir_ / "junk.db").string();
    std::ofstream(junk) << "lift line notes";
    const std::string nowhere = (dir_ / "nowhere" / "resort.db").string();
    const std::string group = "VYM_SP_STORE_UpdateStoreGroup";
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string says;
    };
    for (const Case& c : {
             Case{{"--database", junk, "SELECT 1"}, 1, "not a database"},
             Case{{"--database", Db(), "SELECT * FROM vym_nowhere"},
                  1,
                  "no such table: vym_nowhere"},
             Case{{"--database", Db(), "--exec", "VYM_SP_ITEM_Nothing"}, 1, "VYM_SP_ITEM_Nothing"},
             Case{{"--database", Db(), "--exec", "VYM_SP_ITEM_Nothing", "@a=1"},
                  1,
                  "VYM_SP_ITEM_Nothing"},
             // A refusal raised by the procedure is a failure of the call.
             Case{{"--database", Db(), "--exec", group, "@store_no=9999", "@description=NULL"},
                  1,
                  "9999"},
             Case{{"--database", Db(), "--exec", group, "@colour=red"},
                  2,
                  "has no parameter @colour"},
             Case{{"--database", Db(), "--exec", group, "@store_no=ten"},
                  2,
                  "bad value \"ten\" for @store_no"},
             Case{{"--database", nowhere, "--demo"}, 1, ""},
             Case{{"--database", nowhere, "--generate", "5"}, 1, ""},
         }) {
        SCOPED_TRACE(c.args.back());
        const Outcome failed = Exec(c.args);
        EXPECT_EQ(failed.exit, c.exit);
        EXPECT_TRUE(failed.out.empty()) << failed.out;
        EXPECT_TRUE(failed.err.starts_with("vym-sql: ")) << failed.err;
        EXPECT_TRUE(failed.err.ends_with("\n")) << failed.err;
        EXPECT_EQ(std::count(failed.err.begin(), failed.err.end(), '\n'), 1) << failed.err;
        EXPECT_NE(failed.err.find(c.says), std::string::npos) << failed.err;
    }
    // A stray argument gets the usage besides.
    const Outcome stray = Exec({"--database", Db(), "--exec", "VYM_SP_ITEM_Nothing", "a=1"});
    EXPECT_EQ(stray.exit, 2);
    EXPECT_TRUE(stray.out.empty());
}

// An import from the command line: the rows with their fates on stdout,
// progress and the counts on stderr, the refused rows to a file; a dry run
// saves nothing and an import saves the accepted rows.
TEST_F(VymSql, ImportListsEveryRowAndSavesTheAcceptedOnesUnlessADryRun) {
    ASSERT_EQ(Exec({"--database", Db(), "--demo"}).exit, 0);
    const fs::path csv = dir_ / "catalogue.csv";
    std::ofstream(csv, std::ios::binary)
        << "Stock Id,Short Description,Department,Stock Type,Vendor,Model,Unit Price\r\n"
           "NEW-1,New Fleece,RETAIL,APPAREL,ALPINEGEAR,SHELL,$49.50\r\n"
           "NEW-2,No Vendor,RETAIL,APPAREL,,SHELL,10\r\n";
    const std::string refused = (dir_ / "refused.csv").string();
    const auto count = [&] {
        return Exec({"--database", Db(), "--csv",
                     "SELECT count(*) AS n FROM vym_item_stock WHERE stock_id = 'NEW-1'"})
            .out;
    };
    const std::string listing =
        "Line,Fate,Key,Details\r\n2,New,NEW-1,New Fleece\r\n3,Refused,NEW-2,Vendor is Required\r\n";

    const Outcome dry =
        Exec({"--database", Db(), "--import", csv.string(), "--dry-run", "--refused", refused});
    ASSERT_EQ(dry.exit, 0) << dry.err;
    EXPECT_EQ(dry.out, listing);
    EXPECT_NE(dry.err.find("1 new, 0 changed, 0 unchanged, 1 refused\n"), std::string::npos)
        << dry.err;
    EXPECT_EQ(Slurp(refused),
              "Stock Id,Short Description,Department,Stock Type,Vendor,Model,Unit Price,"
              "Refused Because\r\nNEW-2,No Vendor,RETAIL,APPAREL,,SHELL,10,Vendor is Required\r\n");
    EXPECT_EQ(count(), "n\r\n0\r\n");

    const Outcome saved = Exec({"--database", Db(), "--import", csv.string(), "--kind", "stock"});
    ASSERT_EQ(saved.exit, 0) << saved.err;
    EXPECT_EQ(saved.out, listing);
    EXPECT_NE(saved.err.find("Imported 1 rows.\n"), std::string::npos) << saved.err;
    EXPECT_EQ(count(), "n\r\n1\r\n");

    std::ofstream(csv, std::ios::binary) << "Name,Price\r\n";
    const Outcome refusedWhole = Exec({"--database", Db(), "--import", csv.string()});
    EXPECT_EQ(refusedWhole.exit, 1);
    EXPECT_EQ(refusedWhole.err.substr(refusedWhole.err.rfind("vym-sql: ")),
              "vym-sql: The file has no \"Item No\" or \"Stock Id\" column. Its first line must "
              "name the columns, as the template's does.\n");
    const Outcome header = Exec({"--template", "--kind", "prices"});
    EXPECT_EQ(header.out, "Item No,Stock Id,Season,UOM,Qty,Location,Unit Price\r\n");
}

}  // namespace
