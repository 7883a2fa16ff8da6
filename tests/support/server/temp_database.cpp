#include "support/server/temp_database.h"

#include <atomic>
#include <random>

#include "base/error.h"

namespace vym::test {

using server::In;
using server::InOut;
using server::Out;

std::shared_ptr<const server::ProcedureCatalog> TestCatalog() {
    static const std::shared_ptr<const server::ProcedureCatalog> catalog = [] {
        auto c = std::make_shared<server::ProcedureCatalog>();
        c->Add("VYM_SP_TEST_AddItem",
               {InOut("@item_no", DataType::Integer), In("@description", DataType::VarChar, 30),
                In("@unit_price", DataType::Currency), In("@created", DataType::DBTimeStamp),
                In("@is_active", DataType::Boolean), In("@notes", DataType::LongVarChar),
                Out("@message", DataType::VarChar, 255)},
               [](server::ProcedureContext& call) {
                   const auto description = call.GetString("@description");
                   if (!description || description->empty()) {
                       call.SetOutput("@message", "Description is required.");
                       call.SetReturnValue(-1);
                       return;
                   }
                   auto& db = call.Session();
                   vym::Value number = call.Get("@item_no");
                   if (number.IsNull()) {
                       number =
                           db.QueryValue("SELECT COALESCE(MAX(item_no), 0) + 1 FROM test_item");
                   }
                   db.Run(
                       "INSERT INTO test_item (item_no, description, unit_price, created, "
                       "is_active, notes, vym_user) VALUES (?, ?, ?, ?, ?, ?, ?)",
                       {number, *description, call.Get("@unit_price"), call.Get("@created"),
                        call.Get("@is_active"), call.Get("@notes"), call.UserId()});
                   call.SetOutput("@item_no", number);
                   call.SetOutput("@message", "");
               });
        c->AddRead("VYM_SP_TEST_GetItems", {In("@is_active", DataType::Boolean)},
                   [](server::ProcedureContext& call) {
                       call.EmitResultSet(
                           "SELECT item_no, description, unit_price, created, is_active FROM "
                           "test_item WHERE ?1 IS NULL OR is_active = ?1 ORDER BY item_no",
                           {call.Get("@is_active")});
                       call.EmitResultSet("SELECT count(*) AS items FROM test_item");
                   });
        c->Add("VYM_SP_TEST_AddThenFail", {In("@description", DataType::VarChar, 30)},
               [](server::ProcedureContext& call) {
                   call.Session().Run(
                       "INSERT INTO test_item (item_no, description) VALUES (900, ?)",
                       {call.Get("@description")});
                   throw vym::Error(50000, "VYM_SP_TEST_AddThenFail", "Stock is posted.");
               });
        // Reads its numbers in the order @b_first says: 10 * @a + @b.
        c->AddRead("VYM_SP_TEST_ReadInTurn",
                   {In("@b_first", DataType::Boolean), In("@a", DataType::Integer),
                    In("@b", DataType::Integer)},
                   [](server::ProcedureContext& call) {
                       std::int32_t a = 0;
                       std::int32_t b = 0;
                       if (*call.GetBool("@b_first")) {
                           b = *call.GetLong("@b");
                           a = *call.GetLong("@a");
                       } else {
                           a = *call.GetLong("@a");
                           b = *call.GetLong("@b");
                       }
                       call.SetReturnValue(10 * a + b);
                   });
        // A read that writes after all: a fault the server must refuse.
        c->AddRead("VYM_SP_TEST_ReadThenWrite", {}, [](server::ProcedureContext& call) {
            call.Session().QueryValue("SELECT count(*) FROM test_item");
            call.Session().Run("INSERT INTO test_item (item_no, description) VALUES (901, 'x')");
        });
        return std::shared_ptr<const server::ProcedureCatalog>(std::move(c));
    }();
    return catalog;
}

std::filesystem::path MakeTempDir() {
    static std::atomic<int> counter{0};
    std::random_device random;
    for (;;) {
        auto dir = std::filesystem::temp_directory_path() /
                   ("vym-test-" + std::to_string(random()) + "-" + std::to_string(++counter));
        if (std::filesystem::create_directory(dir)) {
            return dir;
        }
    }
}

TempDatabase::TempDatabase(bool demoData) {
    if (!PostgresServer().empty()) {
        postgres_ = std::make_unique<PostgresDatabase>(demoData);
    }
    server::OpenOptions options;
    options.demoData = demoData;
    options.catalog = TestCatalog();
    server_ = server::LocalAppServer::Open(Path(), options);
    connection_ = server_->DBConnection();
    connection_->ExecuteSQL(
        "CREATE TABLE test_item (item_no int PRIMARY KEY, description varchar(30), "
        "unit_price money, created datetime, start_date date, is_active bit, qty smallint, "
        "weight float, notes long text, photo blob, vym_user varchar(20))");
}

std::string TempDatabase::Path() const {
    return postgres_ ? postgres_->Uri() : (dir_.path / "backoffice.db").string();
}

std::unique_ptr<server::LocalAppServer> TempDatabase::OpenAgain(const std::string& user) const {
    server::OpenOptions options;
    options.userId = user;
    options.catalog = TestCatalog();
    return server::LocalAppServer::Open(Path(), options);
}

std::int32_t TempDatabase::ItemCount() {
    auto rs = connection_->OpenRecordset("SELECT count(*) FROM test_item");
    return rs->Fields(0).Value().ToLong();
}

}  // namespace vym::test
