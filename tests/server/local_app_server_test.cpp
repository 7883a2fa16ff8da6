#include "server/local_app_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "base/error.h"
#include "server/postgres_session.h"
#include "server/sqlite_session.h"
#include "support/server/procedure_answer.h"
#include "support/server/temp_database.h"

namespace vym::server {
namespace {

using vym::test::TempDatabase;

TEST(LocalAppServer, ValidatesActiveUsersAndChecksTheirRights) {
    TempDatabase t;
    EXPECT_TRUE(t.Server().ValidateUser());  // ADMIN
    EXPECT_TRUE(t.Server().CheckPermission("", "Item Maintenance", "ITEM"));
    EXPECT_TRUE(t.Server().CheckPermission("", "StockMaint", "STOCKDELSERIAL"));

    auto manager = t.OpenAgain("jsmith");
    EXPECT_TRUE(manager->ValidateUser());
    EXPECT_TRUE(manager->CheckPermission("", "item maintenance", "Item"));
    EXPECT_FALSE(manager->CheckPermission("", "StockMaint", "STOCKEDITSERIAL"));
    EXPECT_FALSE(manager->CheckPermission("", "Item Maintenance", "SERIAL"));

    auto clerk = t.OpenAgain("KCHEN");
    EXPECT_TRUE(clerk->ValidateUser());
    EXPECT_FALSE(clerk->CheckPermission("", "Item Maintenance", "ITEM"));

    auto gone = t.OpenAgain("DBROOKS");  // inactive, though the right is still on file
    EXPECT_FALSE(gone->ValidateUser());
    EXPECT_FALSE(gone->CheckPermission("", "Item Maintenance", "ITEM"));
    EXPECT_FALSE(t.OpenAgain("NOBODY")->ValidateUser());
    EXPECT_EQ(manager->DBConnection()->CurrentUserId(), "jsmith");
}

TEST(LocalAppServer, SettingsAreKeptPerUser) {
    TempDatabase t;
    auto manager = t.OpenAgain("JSMITH");
    EXPECT_EQ(manager->GetSetting("AppData", "Stock", "MatrixDefaults", ""), "Color,Size");
    EXPECT_EQ(t.Server().GetSetting("AppData", "Stock", "MatrixDefaults", "none"), "none");

    t.Server().SaveSetting("AppData\\Item Maintenance", "Environment", "SearchTab", "3");
    t.Server().SaveSetting("AppData\\Item Maintenance", "Environment", "SearchTab", "4");
    manager->SaveSetting("AppData\\Item Maintenance", "Environment", "SearchTab", "O'Brien");
    EXPECT_EQ(t.Server().GetSetting("AppData\\Item Maintenance", "Environment", "SearchTab", ""),
              "4");
    EXPECT_EQ(t.OpenAgain("JSMITH")->GetSetting("AppData\\Item Maintenance", "Environment",
                                                "SearchTab", ""),
              "O'Brien");
}

TEST(LocalAppServer, SequencesStartAtOneAndNeverRepeatAcrossConnections) {
    TempDatabase t;
    EXPECT_EQ(t.Server().NextSequenceValue("seq_format_no"), 1);
    EXPECT_EQ(t.Server().NextSequenceValue("seq_format_no"), 2);
    auto other = t.OpenAgain();
    EXPECT_EQ(other->NextSequenceValue("seq_format_no"), 3);
    EXPECT_EQ(other->NextSequenceValue("seq_label_no"), 1);
    EXPECT_EQ(t.Server().NextSequenceValue("seq_format_no"), 4);
    EXPECT_THROW(t.Server().NextSequenceValue(""), Error);
}

TEST(LocalAppServer, ErrorReportsAreKeptAndAppendedToTheLogBesideTheDatabase) {
    TempDatabase t;
    // A shared database's log is the station's own, in its temporary folder.
    if (IsPostgresUri(t.Path())) {
        EXPECT_EQ(std::filesystem::path(t.Server().ErrorLogPath()).parent_path(),
                  std::filesystem::temp_directory_path());
    } else {
        EXPECT_EQ(t.Server().ErrorLogPath(), t.Path() + ".log");
    }
    ErrorReport report;
    report.Number = 3265;
    report.Source = "VYMItem.ItemMaint (1.0.0) CheckStock";
    report.Description = "Item cannot be found\r\nin the collection";
    t.Server().ErrorObject().Report(report);
    auto cmd = t.Db().NewCommand();
    cmd->CommandText = "VYM_SP_TEST_Missing";
    EXPECT_FALSE(t.Db().Execute(*cmd));

    ASSERT_EQ(t.Server().Reports().size(), 2u);
    EXPECT_EQ(t.Server().Reports()[0].Source, report.Source);
    std::ifstream log(t.Server().ErrorLogPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("3265\tVYMItem.ItemMaint (1.0.0) CheckStock\tItem cannot be found  in"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("VYMAppServer.Connection Execute VYM_SP_TEST_Missing"),
              std::string::npos);
}

TEST(LocalAppServer, StatusTextReachesItsListenersAndThereIsNoHost) {
    TempDatabase t;
    std::vector<std::string> shown;
    t.Server().OnStatusText([&](const std::string& text) { shown.push_back(text); });
    t.Server().SetStatusText("Ready...");
    EXPECT_EQ(t.Server().StatusText(), "Ready...");
    EXPECT_EQ(shown, std::vector<std::string>{"Ready..."});
    EXPECT_EQ(t.Server().HostConnection(), nullptr);
}

TEST(LocalAppServer, TwoConnectionsWriteOneDatabase) {
    TempDatabase t;
    auto other = t.OpenAgain("JSMITH");
    auto second = other->DBConnection();
    for (int i = 1; i <= 20; ++i) {
        Connection& db = i % 2 ? t.Db() : *second;
        db.ExecuteSQL("INSERT INTO test_item (item_no, vym_user) VALUES (" + std::to_string(i) +
                      ", '" + db.CurrentUserId() + "')");
    }
    // A writer holding the database makes the other wait, not fail.
    std::shared_ptr<SqlSession> holder;
    if (IsPostgresUri(t.Path())) {
        holder = PostgresSession::Open(t.Path(), {});
    } else {
        holder = SqliteSession::Open(t.Path(), {false, 99});
    }
    holder->BeginImmediate();
    holder->Run("INSERT INTO test_item (item_no) VALUES (100)");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        holder->Commit();
    });
    auto cmd =
        test::Prepared(*second, "VYM_SP_TEST_AddItem", {{"@description", "Waited for the lock"}});
    const bool ok = second->Execute(*cmd);
    release.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(cmd->Parameters["@item_no"].Value.ToLong(), 101);
    EXPECT_EQ(t.ItemCount(), 22);
    auto rs = t.Db().OpenRecordset("SELECT count(*) FROM test_item WHERE vym_user = 'JSMITH'");
    EXPECT_EQ(rs->Fields(0).Value().ToLong(), 11);
}

}  // namespace
}  // namespace vym::server
