#include "server/updatable_recordset.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/server/procedure_answer.h"
#include "support/server/temp_database.h"

#include "server_checks.h"

namespace vym::server {
namespace {

using vym::test::TempDatabase;

// 5,000 characters with a two-byte character now and then, so chunks of
// 1,000 bytes must not cut one in two.
std::string LongNotes() {
    std::string text;
    while (text.size() < 5000) {
        text += "Wax, edge and base grind; bindings DIN-checked \xC3\xA9t\xC3\xA9 ";
    }
    text.resize(4990);
    text.append("\xC3\xA9nd");
    return text;
}

TEST(UpdatableRecordset, AddNewWritesLongTextInChunksAndGetChunkReadsItBack) {
    TempDatabase t;
    const std::string notes = LongNotes();
    {
        auto rs = t.Db().OpenUpdatableRecordset("SELECT * FROM test_item WHERE item_no = -1");
        ASSERT_TRUE(rs->Eof());
        rs->AddNew();
        rs->Fields("item_no").SetValue(std::int32_t{12});
        rs->Fields("description").SetValue("Tuning Ticket");
        for (std::size_t at = 0; at < notes.size(); at += 700) {
            rs->Fields("notes").AppendChunk(std::string_view(notes).substr(at, 700));
        }
        EXPECT_EQ(rs->Fields("notes").ActualSize(), static_cast<std::int32_t>(notes.size()));
        rs->Update();
    }
    auto rs = t.Db().OpenRecordset("SELECT notes FROM test_item WHERE item_no = 12");
    Field& field = rs->Fields("notes");
    EXPECT_EQ(field.ActualSize(), static_cast<std::int32_t>(notes.size()));
    std::string back;
    int chunks = 0;
    for (Value chunk = field.GetChunk(1000); !chunk.IsNull(); chunk = field.GetChunk(1000)) {
        const std::string piece = chunk.ToString();
        EXPECT_LE(piece.size(), 1000u);
        EXPECT_NE(static_cast<unsigned char>(piece[0]) & 0xC0, 0x80) << "cut character";
        back += piece;
        ++chunks;
    }
    EXPECT_EQ(back, notes);
    EXPECT_GE(chunks, 5);
}

TEST(UpdatableRecordset, UpdateChangesOnlyTheSelectedRowAndConvertsValues) {
    TempDatabase t;
    t.Db().ExecuteSQL(
        "INSERT INTO test_item (item_no, description, notes) VALUES (1, 'Old', 'keep'), "
        "(2, 'Other', 'other')");
    {
        auto rs = t.Db().OpenUpdatableRecordset(
            "SELECT item_no, description, unit_price, is_active, notes FROM test_item "
            "WHERE item_no = 1");
        ASSERT_FALSE(rs->Eof());
        EXPECT_TRUE(rs->IsUpdatable());
        rs->Fields("Description").SetValue("New Name");
        rs->Fields("unit_price").SetValue("19.99");
        rs->Fields("is_active").SetValue(std::int32_t{-1});
        EXPECT_EQ(rs->Fields("unit_price").Value(), Value(Currency::FromRaw(199900)));
        EXPECT_EQ(rs->Fields("notes").GetChunk(2).ToString(), "ke");
        rs->Update();
    }
    EXPECT_EQ(test::RowTexts(*t.Db().OpenRecordset(
                  "SELECT description, unit_price, is_active, is_active = 1, notes FROM test_item "
                  "ORDER BY item_no")),
              (std::vector<std::string>{"New Name|19.99|True|1|keep", "Other||||other"}));
}

TEST(UpdatableRecordset, RefusesJoinsAndReadOnlyRecordsetsRefuseEdits) {
    TempDatabase t;
    EXPECT_THROW(
        t.Db().OpenUpdatableRecordset("SELECT * FROM test_item JOIN vym_security_user ON 1 = 1"),
        Error);
    t.Db().ExecuteSQL("INSERT INTO test_item (item_no) VALUES (1)");
    auto rs = t.Db().OpenRecordset("SELECT * FROM test_item");
    EXPECT_THROW(rs->Fields("description").SetValue("x"), Error);
    EXPECT_THROW(rs->AddNew(), Error);
}

TEST(UpdatableRecordset, FailedUpdateWritesNothing) {
    TempDatabase t;
    t.Db().ExecuteSQL("INSERT INTO test_item (item_no) VALUES (1)");
    auto rs = t.Db().OpenUpdatableRecordset("SELECT * FROM test_item WHERE item_no = 1");
    rs->AddNew();
    rs->Fields("item_no").SetValue(std::int32_t{1});  // the key is taken
    rs->Fields("description").SetValue("Duplicate");
    EXPECT_THROW(rs->Update(), Error);
    EXPECT_EQ(t.ItemCount(), 1);
}

// A row read without a row_version is written back only while it is still as
// it was read, whatever another station did to it in between: the write fails
// and says so instead of overwriting that change or quietly writing nothing.
// The recordset's own earlier write, of a row read or added, is no such change.
TEST(UpdatableRecordset, AWriteOfARowAnotherStationChangedSinceFailsAndSaysSo) {
    struct Case {
        const char* name;
        const char* theirs;       // between the two writes here
        const char* description;  // then held by item 1; empty when it is gone
    };
    const Case cases[] = {
        {"nobody else", "", "Here Twice"},
        {"renamed there", "UPDATE test_item SET description = 'There' WHERE item_no = 1", "There"},
        {"another column there", "UPDATE test_item SET weight = 2.5 WHERE item_no = 1",
         "Here Once"},
        {"deleted there", "DELETE FROM test_item WHERE item_no = 1", ""},
    };
    for (const Case& c : cases) {
        for (const bool added : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (added ? ", added here" : ", read here"));
            TempDatabase t;
            t.Db().ExecuteSQL(
                "INSERT INTO test_item (item_no, description, unit_price, created, start_date, "
                "is_active, qty, weight, notes) VALUES (1, 'Old', 19.99, '2024-12-01 09:15:00', "
                "'2024-12-01', 1, 3, 0.1, 'keep'), (2, 'Other', 0.1, '2024-12-01 09:15:00', "
                "'2024-12-01', 1, 3, 0.1, 'other')");
            if (added) {
                t.Db().ExecuteSQL("DELETE FROM test_item WHERE item_no = 1");
            }
            auto rs = t.Db().OpenUpdatableRecordset("SELECT * FROM test_item WHERE item_no = 1");
            if (added) {
                rs->AddNew();
                rs->Fields("item_no").SetValue(std::int32_t{1});
            }
            rs->Fields("description").SetValue("Here Once");
            rs->Fields("unit_price").SetValue("24.95");
            rs->Update();
            if (*c.theirs != '\0') {
                t.OpenAgain("JSMITH")->DBConnection()->ExecuteSQL(c.theirs);
            }
            rs->Fields("description").SetValue("Here Twice");
            EXPECT_EQ(test::Thrown([&] { rs->Update(); }).Description(),
                      *c.theirs == '\0' ? ""
                                        : "This row of test_item was changed or deleted by another "
                                          "user after it was read. The change was not saved.");
            auto now = t.Db().OpenRecordset("SELECT description FROM test_item WHERE item_no = 1");
            EXPECT_EQ(now->Eof() ? "" : now->Fields(0).Value().ToString(), c.description);
            EXPECT_EQ(t.ItemCount(), *c.description == '\0' ? 1 : 2);
        }
    }
}

}  // namespace
}  // namespace vym::server
