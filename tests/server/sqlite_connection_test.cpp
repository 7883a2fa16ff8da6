#include "server/sqlite_connection.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "gateway/sql_quote.h"
#include "gateway/transaction.h"
#include "support/server/postgres_database.h"
#include "support/server/procedure_answer.h"
#include "support/server/temp_database.h"

#include "server_checks.h"

namespace vym::server {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using vym::test::TempDatabase;
using vym::test::Thrown;

// The procedure's name is found whatever its case.
std::unique_ptr<Command> AddItem(Connection& db, const Value& number, const Value& description) {
    return test::Prepared(db, "VyM_sp_test_additem",
                          {{"@item_no", number},
                           {"@description", description},
                           {"@unit_price", Currency::FromRaw(123456)},
                           {"@created", Date::FromParts(2024, 12, 21, 8, 30, 0)},
                           {"@is_active", true}});
}

// Each test's own database with the test procedures.
class SqliteConnection : public ::testing::Test {
  protected:
    TempDatabase t;
};

TEST_F(SqliteConnection, RefreshDeclaresReturnValueFirstThenTheProcedureParameters) {
    auto cmd = test::Prepared(t.Db(), "vym_sp_test_additem");
    ASSERT_EQ(cmd->Parameters.Count(), 8u);
    EXPECT_EQ(cmd->Parameters.Item(0).Name, "@RETURN_VALUE");
    EXPECT_EQ(cmd->Parameters.Item(0).Direction, ParameterDirection::ReturnValue);
    EXPECT_EQ(cmd->Parameters["@item_no"].Direction, ParameterDirection::InputOutput);
    EXPECT_EQ(cmd->Parameters["@MESSAGE"].Direction, ParameterDirection::Output);
    EXPECT_EQ(cmd->Parameters["@description"].Size, 30);
    EXPECT_EQ(cmd->Parameters["@unit_price"].Type, DataType::Currency);
}

TEST_F(SqliteConnection, OutputsAndReturnValueAreWrittenBack) {
    auto first = AddItem(t.Db(), Value::Null(), "Adult Full Day Lift Ticket");
    ASSERT_TRUE(t.Db().Execute(*first));
    EXPECT_EQ(first->Parameters["@item_no"].Value.ToLong(), 1);
    EXPECT_EQ(first->Parameters["@RETURN_VALUE"].Value.ToLong(), 0);
    EXPECT_EQ(first->Parameters["@message"].Value.ToString(), "");
    // True as the callers send it is stored as 1 in a bit column.
    EXPECT_EQ(t.Db()
                  .OpenRecordset("SELECT count(*) FROM test_item WHERE is_active = 1")
                  ->Fields(0)
                  .Value()
                  .ToLong(),
              1);

    auto refused = AddItem(t.Db(), Value::Null(), "");
    ASSERT_TRUE(t.Db().Execute(*refused));  // a business refusal is not a failure
    EXPECT_EQ(refused->Parameters["@return_value"].Value.ToLong(), -1);
    EXPECT_EQ(refused->Parameters["@message"].Value.ToString(), "Description is required.");
    EXPECT_EQ(t.ItemCount(), 1);
}

TEST_F(SqliteConnection, AppendedParametersInAnyOrderAndCaseReachTheProcedure) {
    auto cmd = t.Db().NewCommand();
    cmd->CommandText = "VYM_SP_TEST_AddItem";
    cmd->Parameters.Append(Command::CreateParameter(
        "@DESCRIPTION", DataType::VarChar, ParameterDirection::Input, 30, "Snowboard Wax"));
    cmd->Parameters.Append(Command::CreateParameter(
        "@item_no", DataType::Integer, ParameterDirection::InputOutput, 0, std::int32_t{77}));
    ASSERT_TRUE(t.Db().Execute(*cmd));
    EXPECT_EQ(cmd->Parameters["@item_no"].Value.ToLong(), 77);
    auto rs = t.Db().OpenRecordset("SELECT description, vym_user FROM test_item");
    EXPECT_EQ(rs->Fields("DESCRIPTION").Value().ToString(), "Snowboard Wax");
    EXPECT_EQ(rs->Fields("vym_user").Value().ToString(), "ADMIN");
}

// A body reading its parameters in another order than on its last call
// still gets each its own value.
TEST_F(SqliteConnection, ParametersReadInAnotherOrderThanLastCallAreTheirOwn) {
    for (const bool bFirst : {true, false, true, false}) {
        auto cmd = test::Prepared(t.Db(), "VYM_SP_TEST_ReadInTurn",
                                  {{"@b_first", bFirst}, {"@a", 1}, {"@b", 2}});
        ASSERT_TRUE(t.Db().Execute(*cmd));
        EXPECT_EQ(cmd->Parameters["@RETURN_VALUE"].Value.ToLong(), 12) << bFirst;
    }
}

TEST_F(SqliteConnection, UnknownProcedureOrParameterIsAnErrorNamingIt) {
    auto cmd = t.Db().NewCommand();
    cmd->CommandText = "VYM_SP_TEST_Nothing";
    EXPECT_THAT(Thrown([&] { cmd->Parameters.Refresh(); }).Description(),
                HasSubstr("VYM_SP_TEST_Nothing"));
    EXPECT_THROW(t.Db().ExecuteRecordset(*cmd), Error);

    cmd->CommandText = "VYM_SP_TEST_GetItems";
    cmd->Parameters.Append(Command::CreateParameter("@colour", DataType::VarChar));
    const Error undeclared = Thrown([&] { t.Db().ExecuteRecordset(*cmd); });
    EXPECT_EQ(undeclared.Number(), errc::kDatabase);
    EXPECT_THAT(undeclared.Description(),
                AllOf(HasSubstr("@colour"), HasSubstr("VYM_SP_TEST_GetItems")));
}

TEST_F(SqliteConnection, FailingProcedureLeavesNoPartialWriteAndIsReported) {
    auto cmd = test::Prepared(t.Db(), "VYM_SP_TEST_AddThenFail", {{"@description", "Demo Skis"}});
    EXPECT_FALSE(t.Db().Execute(*cmd));
    EXPECT_EQ(t.ItemCount(), 0);
    ASSERT_EQ(t.Server().Reports().size(), 1u);
    const ErrorReport& report = t.Server().Reports()[0];
    EXPECT_EQ(report.Source, "VYMAppServer.Connection Execute VYM_SP_TEST_AddThenFail");
    EXPECT_EQ(report.Number, 50000);
    EXPECT_THAT(report.Description, HasSubstr("Stock is posted."));
    EXPECT_EQ(report.NativeConnection, &t.Db().Native());
    // The same call through ExecuteRecordset throws instead.
    EXPECT_THROW(t.Db().ExecuteRecordset(*cmd), Error);
    EXPECT_EQ(t.ItemCount(), 0);
}

// A procedure registered as a read runs in a read-only transaction: its write
// fails and nothing stays.
TEST_F(SqliteConnection, AReadProcedureThatWritesFailsAndWritesNothing) {
    auto cmd = test::Prepared(t.Db(), "VYM_SP_TEST_ReadThenWrite");
    EXPECT_FALSE(t.Db().Execute(*cmd));
    ASSERT_EQ(t.Server().Reports().size(), 1u);
    EXPECT_THAT(t.Server().Reports()[0].Description, HasSubstr("read-only transaction"));
    EXPECT_EQ(t.ItemCount(), 0);
}

TEST_F(SqliteConnection, TransactionSpansCallsAndSurvivesAFailedOneInside) {
    {
        Transaction tx(t.Db());
        ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), 1, "Demo Skis")));
        // The failed call undoes only itself: the caller's transaction goes on.
        auto failing =
            test::Prepared(t.Db(), "VYM_SP_TEST_AddThenFail", {{"@description", "Goggles"}});
        EXPECT_FALSE(t.Db().Execute(*failing));
        EXPECT_EQ(t.ItemCount(), 1);
        {
            Transaction inner(t.Db());
            t.Db().ExecuteSQL("DELETE FROM test_item");
            EXPECT_EQ(t.ItemCount(), 0);
        }  // not committed: the inner one alone is undone
        EXPECT_EQ(t.ItemCount(), 1);
        ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), 2, "Poles")));
    }  // not committed: nothing of it stays
    EXPECT_EQ(t.ItemCount(), 0);

    Transaction tx(t.Db());
    ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), 3, "Boots")));
    {
        Transaction inner(t.Db());
        ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), 4, "Helmet")));
        inner.Commit();
    }
    tx.Commit();
    EXPECT_EQ(t.ItemCount(), 2);
    // Back in autocommit: a plain call commits on its own.
    ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), 5, "Gloves")));
    EXPECT_EQ(t.ItemCount(), 3);
}

// Text is counted in characters, not bytes.
TEST_F(SqliteConnection, AValueThatDoesNotFitItsParameterFailsTheCallWithoutWriting) {
    const std::string e = "\xC3\xA9";  // one character, two bytes
    std::string thirtyOneE;
    for (int i = 0; i < 31; ++i) {
        thirtyOneE += e;
    }
    struct Case {
        const char* what;
        const char* parameter;
        std::string value;
        const char* says;  // nullptr when accepted
    };
    for (const Case& c : {
             Case{"30 characters", "@description", std::string(30, 'x'), nullptr},
             Case{"31 characters", "@description", std::string(31, 'x'), "at most 30 characters"},
             Case{"30 characters of 60 bytes", "@description", thirtyOneE.substr(2), nullptr},
             Case{"31 characters of 62 bytes", "@description", thirtyOneE, "at most 30 characters"},
             Case{"long text has no size", "@notes", std::string(100000, 'x'), nullptr},
             Case{"not an amount", "@unit_price", "twelve dollars", ""},
         }) {
        SCOPED_TRACE(c.what);
        const std::int32_t items = t.ItemCount();
        const std::size_t reports = t.Server().Reports().size();
        auto cmd = AddItem(t.Db(), Value::Null(), "Demo Skis");
        cmd->Parameters[c.parameter].Value = c.value;
        EXPECT_EQ(t.Db().Execute(*cmd), c.says == nullptr);
        EXPECT_EQ(t.ItemCount(), items + (c.says == nullptr ? 1 : 0));
        ASSERT_EQ(t.Server().Reports().size(), reports + (c.says == nullptr ? 0 : 1));
        if (c.says != nullptr) {
            EXPECT_THAT(t.Server().Reports().back().Description,
                        AllOf(HasSubstr(c.parameter), HasSubstr(c.says)));
        }
    }
}

TEST_F(SqliteConnection, SeveralResultSetsAreReadInTurn) {
    for (const char* name : {"Season Pass", "Half Day Lesson", "Helmet Rental"}) {
        ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), Value::Null(), name)));
    }
    t.Db().ExecuteSQL("UPDATE test_item SET is_active = 0 WHERE item_no = 2");
    // True as the callers send it.
    auto cmd = test::Prepared(t.Db(), "VYM_SP_TEST_GetItems", {{"@is_active", std::int32_t{-1}}});
    auto rs = t.Db().ExecuteRecordset(*cmd);
    EXPECT_EQ(test::RowTexts(*rs, {"description"}),
              (std::vector<std::string>{"Season Pass", "Helmet Rental"}));
    ASSERT_TRUE(rs->NextRecordset());
    EXPECT_EQ(rs->Fields("items").Value().ToLong(), 3);
    EXPECT_FALSE(rs->NextRecordset());
    EXPECT_FALSE(rs->IsOpen());
}

TEST_F(SqliteConnection, FieldsTakeTheirTypesFromTheDeclaredColumns) {
    t.Db().ExecuteSQL(
        "INSERT INTO test_item (item_no, description, unit_price, created, start_date, "
        "is_active, qty, weight, notes, photo) VALUES (5, 'Ski Tune', 0.1 + 0.2, "
        "'2024-02-29 13:05:00', '2024-03-01', 1, 7, 1.5, 'long', x'0102')");
    auto rs =
        t.Db().OpenRecordset("SELECT t.*, qty * 2 AS doubled, 'x' AS letter FROM test_item t");
    const std::tuple<const char*, DataType, Value> fields[] = {
        {"item_no", DataType::Integer, std::int32_t{5}},
        {"description", DataType::VarChar, "Ski Tune"},
        {"unit_price", DataType::Currency, Currency::FromRaw(3000)},  // exact 0.3
        {"created", DataType::DBTimeStamp, Date::FromParts(2024, 2, 29, 13, 5, 0)},
        {"start_date", DataType::DBDate, Date::FromParts(2024, 3, 1)},
        {"is_active", DataType::Boolean, true},
        {"qty", DataType::SmallInt, std::int16_t{7}},
        {"weight", DataType::Double, 1.5},
        {"notes", DataType::LongVarChar, "long"},
        {"doubled", DataType::Integer, std::int32_t{14}},
        {"letter", DataType::VarChar, "x"},
    };
    for (const auto& [name, type, value] : fields) {
        EXPECT_EQ(rs->Fields(name).Type(), type) << name;
        EXPECT_EQ(rs->Fields(name).Value(), value) << name;
    }
    EXPECT_EQ(rs->Fields("description").DefinedSize(), 30);
    EXPECT_TRUE(rs->Fields("notes").Attributes() & kFieldLong);
    EXPECT_EQ(rs->Fields("photo").Type(), DataType::LongVarBinary);
    EXPECT_EQ(rs->Fields("photo").ActualSize(), 2);
    EXPECT_THROW(rs->Fields("colour"), Error);
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_THROW(rs->Fields(0).Value(), Error);
}

// What a read gave, or the error it raised, in a form two reads compare by.
template <class Read>
std::string Outcome(Read read) {
    try {
        return Value(read()).ToString();
    } catch (const Error& e) {
        return "error " + std::to_string(e.Number());
    }
}

// The typed reads skip the Value where the cell is plain; whatever the
// column and whatever it holds, they must read as the Value converts.
TEST_F(SqliteConnection, TypedReadsReadAsTheValueConverts) {
    const bool postgres = !test::PostgresServer().empty();
    t.Db().ExecuteSQL(
        "INSERT INTO test_item (item_no, description, unit_price, created, start_date, "
        "is_active, qty, weight, notes, photo) VALUES "
        "(1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
        "(2, 'Ski Tune', 0.1 + 0.2, '2024-02-29 13:05:00', '2024-03-01', 1, 7, 1.5, 'long', "
        "x'0102'), "
        "(3, '12', 19.99995, '2024-12-31 23:59:59', '1999-01-01', 0, -32768, 2.5, '', x''), "
        "(2147483647, '-0.5', -12.34565, NULL, NULL, 1, 32767, -3.5, 'x', NULL)");
    if (!postgres) {
        // Values of another class than the column's, as the embedded store keeps them.
        t.Db().ExecuteSQL(
            "INSERT INTO test_item (item_no, description, unit_price, created, is_active, qty, "
            "weight, notes) VALUES (5000000000, 42, 'free', 45000.5, 'yes', 'many', '2.5', 7), "
            "(2.5, x'41', 3, '13:05:00', 2.5, 2.5, 8, 1.25), (6, NULL, NULL, 'soon', NULL, NULL, "
            "NULL, NULL)");
    }
    auto rs = t.Db().OpenRecordset("SELECT * FROM test_item ORDER BY description, item_no");
    int rows = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++rows) {
        for (std::int32_t i = 0; i < rs->FieldCount(); ++i) {
            const Field& f = rs->Fields(i);
            SCOPED_TRACE(f.Name() + " = " + Outcome([&] { return f.Value(); }));
            EXPECT_EQ(Outcome([&] { return f.Text(); }),
                      Outcome([&] { return NullToEmpty(f.Value()); }));
            EXPECT_EQ(Outcome([&] { return f.Long(); }),
                      Outcome([&] { return NullToZero(f.Value()).ToLong(); }));
            EXPECT_EQ(Outcome([&] { return f.Double(); }),
                      Outcome([&] { return NullToZero(f.Value()).ToDouble(); }));
            EXPECT_EQ(Outcome([&] { return f.Flag(); }),
                      Outcome([&] { return NullToZero(f.Value()).ToBool(); }));
            EXPECT_EQ(Outcome([&] { return f.Date(); }),
                      Outcome([&] { return NullToZero(f.Value()).ToDate(); }));
        }
    }
    EXPECT_EQ(rows, postgres ? 4 : 7);
}

// A statement keeps the columns and fields worked out for its last
// recordset; each read below must still see the columns, types and values of
// its own statement, and read long data from the start.
// The embedded store prepares a statement again when the schema changed, and
// types an expression column from its first row; PostgreSQL does neither.
TEST_F(SqliteConnection, EachRecordsetSeesItsOwnStatementsColumns) {
    const bool postgres = !test::PostgresServer().empty();
    const char* kAll = "SELECT * FROM test_item";
    const char* kTyped =
        "SELECT CASE WHEN count(*) > 1 THEN 'many' ELSE 5 END AS Kind FROM test_item";
    struct Read {
        bool embeddedOnly;
        const char* before;  // run first, when set
        const char* query;
        const char* field;  // in another case than the query's
        DataType type;      // Empty: no such field
        std::string value;
    };
    const std::vector<Read> reads = {
        {false, "INSERT INTO test_item (item_no, description) VALUES (1, 'Boot Dryer')", kAll,
         "DESCRIPTION", DataType::VarChar, "Boot Dryer"},
        {true, "ALTER TABLE test_item ADD COLUMN deposit money DEFAULT 12.5", kAll, "Deposit",
         DataType::Currency, "12.5"},
        {false, nullptr, "SELECT description AS item_no, item_no AS description FROM test_item",
         "Item_No", DataType::VarChar, "Boot Dryer"},
        {false, nullptr, "SELECT item_no, description AS ITEM_NO FROM test_item", "Item_no",
         DataType::Integer, "1"},
        {true, nullptr, kTyped, "kind", DataType::Integer, "5"},
        {true, "INSERT INTO test_item (item_no) VALUES (2)", kTyped, "KIND", DataType::VarChar,
         "many"},
        {true, "ALTER TABLE test_item DROP COLUMN deposit", kAll, "deposit", DataType::Empty, ""},
    };
    for (const Read& read : reads) {
        if (read.embeddedOnly && postgres) {
            continue;
        }
        SCOPED_TRACE(std::string(read.query) + " / " + read.field);
        if (read.before) {
            t.Db().ExecuteSQL(read.before);
        }
        auto rs = t.Db().OpenRecordset(read.query);
        if (read.type == DataType::Empty) {
            EXPECT_FALSE(rs->HasField(read.field));
            EXPECT_THROW(rs->Fields(read.field), Error);
            continue;
        }
        ASSERT_TRUE(rs->HasField(read.field));
        EXPECT_EQ(rs->Fields(read.field).Type(), read.type);
        EXPECT_EQ(rs->Fields(read.field).Value().ToString(), read.value);
        EXPECT_EQ(rs->Fields(read.field).GetChunk(3).ToString(), read.value.substr(0, 3));
    }
}

// Fields by name are looked for first where the row before, or the last
// recordset over the same statement, was read at the same turn.
TEST_F(SqliteConnection, FieldsAskedInAnotherOrderThanBeforeAreTheirOwn) {
    t.Db().ExecuteSQL(
        "INSERT INTO test_item (item_no, description) VALUES (1, 'Wax'), (2, 'Skins')");
    const char* kRows = "SELECT item_no, description FROM test_item ORDER BY item_no";
    const auto read = [&](const std::vector<std::vector<std::string>>& turns) {
        std::vector<std::string> seen;
        auto rs = t.Db().OpenRecordset(kRows);
        for (const auto& names : turns) {
            for (const std::string& name : names) {
                if (name == "colour") {
                    EXPECT_THROW(rs->Fields(name), Error);
                } else {
                    seen.push_back(rs->Fields(name).Value().ToString());
                }
            }
            rs->MoveNext();
        }
        return seen;
    };
    EXPECT_EQ(read({{"description", "item_no"}, {"item_no", "description"}}),
              (std::vector<std::string>{"Wax", "1", "2", "Skins"}));
    EXPECT_EQ(read({{"item_no", "colour", "ITEM_NO", "description"}, {"description", "item_no"}}),
              (std::vector<std::string>{"1", "1", "Wax", "Skins", "2"}));
}

TEST_F(SqliteConnection, QuotedUserTextFindsNothingAndRaisesNothing) {
    ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), Value::Null(), "O'Neil Jacket")));
    for (const char* typed : {"x' OR '1'='1", "'; DELETE FROM test_item; --", "{fn UCASE('a')}"}) {
        auto rs =
            t.Db().OpenRecordset("SELECT * FROM test_item WHERE description = " + SqlQuote(typed));
        EXPECT_TRUE(rs->Eof()) << typed;
    }
    auto found = t.Db().OpenRecordset("SELECT item_no FROM test_item WHERE description = " +
                                      SqlQuote("O'Neil Jacket"));
    EXPECT_FALSE(found->Eof());
    EXPECT_EQ(t.ItemCount(), 1);
}

TEST_F(SqliteConnection, AdHocSqlErrorsNameTheStatementAndDeleteCountsRows) {
    const Error bad = Thrown([&] { t.Db().OpenRecordset("SELECT colour FROM vym_nowhere"); });
    EXPECT_EQ(bad.Number(), errc::kDatabase);
    EXPECT_THAT(bad.Description(), AllOf(HasSubstr("no such table: vym_nowhere"),
                                         HasSubstr("SELECT colour FROM vym_nowhere")));
    t.Db().ExecuteSQL("INSERT INTO test_item (item_no) VALUES (1), (2), (3)");
    EXPECT_EQ(t.Db().ExecuteSQL("DELETE test_item WHERE item_no > 1"), 2);
}

TEST_F(SqliteConnection, RecordsetReadsLazilyAndSeesTheCallsCommittedRows) {
    t.Db().ExecuteSQL(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO test_item (item_no, description) SELECT i, 'Item ' || i FROM n");
    auto cmd = test::Prepared(t.Db(), "VYM_SP_TEST_GetItems");
    auto rs = t.Db().ExecuteRecordset(*cmd);
    // Another call on the same connection while the first set is half read.
    ASSERT_TRUE(t.Db().Execute(*AddItem(t.Db(), Value::Null(), "Late Arrival")));
    std::int32_t read = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        ++read;
    }
    EXPECT_GE(read, 5000);
    EXPECT_EQ(t.ItemCount(), 5001);
}

}  // namespace
}  // namespace vym::server
