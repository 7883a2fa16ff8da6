#include "support/server/fault_injecting_connection.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/server/procedure_answer.h"
#include "support/server/temp_database.h"

#include "server_checks.h"

namespace vym::test {
namespace {

using ::testing::HasSubstr;
using Fault = FaultInjectingConnection::Fault;
using vym::test::TempDatabase;

std::unique_ptr<Command> AddItem(Connection& db, const char* description) {
    return Prepared(db, "VYM_SP_TEST_AddItem", {{"@description", description}});
}

TEST(FaultInjectingConnection, NthCallFailsLikeARealFailureAndWritesNothing) {
    TempDatabase t;
    FaultInjectingConnection db(t.SharedDb(), t.Server().ErrorObject());
    db.FailOnCall(2, Fault::Locked);
    EXPECT_TRUE(db.Execute(*AddItem(db, "Lift Ticket")));
    EXPECT_FALSE(db.Execute(*AddItem(db, "Locked Out")));
    EXPECT_TRUE(db.Execute(*AddItem(db, "After The Lock")));
    EXPECT_EQ(db.Calls(), 3);
    EXPECT_EQ(t.ItemCount(), 2);

    // A real failure of the same procedure, for comparison.
    auto real = AddItem(t.Db(), "Duplicate");
    real->Parameters["@item_no"].Value = std::int32_t{1};
    EXPECT_FALSE(t.Db().Execute(*real));

    ASSERT_EQ(t.Server().Reports().size(), 2u);
    const ErrorReport& injected = t.Server().Reports()[0];
    const ErrorReport& actual = t.Server().Reports()[1];
    EXPECT_EQ(injected.Source, actual.Source);
    EXPECT_EQ(injected.Number, actual.Number);
    EXPECT_EQ(injected.NativeConnection, actual.NativeConnection);
    EXPECT_EQ(injected.Description,
              "VYM_SP_TEST_AddItem: database is locked (SQLite error 5) in: BEGIN IMMEDIATE");
}

TEST(FaultInjectingConnection, OtherCallsThrowAndLeaveTheDatabaseUnchanged) {
    TempDatabase t;
    t.Db().ExecuteSQL("INSERT INTO test_item (item_no) VALUES (1)");
    FaultInjectingConnection db(t.SharedDb(), t.Server().ErrorObject());
    db.FailEveryCall(Fault::DiskFull);
    const Error full = Thrown([&] { db.ExecuteSQL("DELETE test_item WHERE item_no = 1"); });
    EXPECT_EQ(full.Number(), errc::kDatabase);
    EXPECT_THAT(full.Description(), HasSubstr("database or disk is full"));
    EXPECT_THROW(db.OpenRecordset("SELECT * FROM test_item"), Error);
    EXPECT_THROW(db.OpenUpdatableRecordset("SELECT * FROM test_item"), Error);
    EXPECT_THROW(db.ExecuteRecordset(*AddItem(db, "Full")), Error);
    EXPECT_TRUE(t.Server().Reports().empty());
    EXPECT_EQ(t.ItemCount(), 1);

    db.Disarm();
    EXPECT_EQ(db.ExecuteSQL("DELETE test_item WHERE item_no = 1"), 1);
    EXPECT_EQ(&db.Native(), &t.Db());
}

}  // namespace
}  // namespace vym::test
