#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/error.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "support/core/stub_connection.h"

namespace vym {
namespace {

class ParameterListTest : public ::testing::Test {
  protected:
    ParameterListTest() {
        db.procedures["VYM_SP_ITEM_DeleteFunction"] = {
            Command::CreateParameter("@RETURN_VALUE", DataType::Integer,
                                     ParameterDirection::ReturnValue),
            Command::CreateParameter("@function_id", DataType::VarChar, ParameterDirection::Input,
                                     10),
            Command::CreateParameter("@message", DataType::VarChar, ParameterDirection::Output,
                                     255),
        };
        command->CommandText = "VYM_SP_ITEM_DeleteFunction";
    }
    test::StubConnection db;
    std::unique_ptr<Command> command = db.NewCommand();
};

TEST_F(ParameterListTest, RefreshFromTheServerAndSetByNameInAnyCase) {
    command->Parameters.Append(Command::CreateParameter("@stale", DataType::Integer));
    command->Parameters.Refresh();
    ASSERT_EQ(command->Parameters.Count(), 3u);
    EXPECT_EQ(command->Parameters.Find("@stale"), nullptr);

    command->Parameters["@FUNCTION_ID"].Value = "SKI";
    EXPECT_EQ(command->Parameters.Item(1).Value, Value("SKI"));
    EXPECT_EQ(command->Parameters["@return_value"].Direction, ParameterDirection::ReturnValue);
    EXPECT_EQ(command->Parameters.Item("@Message").Size, 255);
}

// A refreshed list keeps only values until anything else is asked of it;
// then its own parameters hold them, and no other command sees them.
TEST_F(ParameterListTest, ValuesSetByNameOrPositionSurviveTheListsOwnCopy) {
    ParameterList& list = command->Parameters;
    list.Refresh();
    list.SetValue("@FUNCTION_ID", "SKI");
    list.SetValueAt(2, "Deleted.");
    ASSERT_NE(list.Declarations(), nullptr);
    EXPECT_EQ(list.ValueAt(1), Value("SKI"));
    EXPECT_EQ(list.ValueOf("@Message"), Value("Deleted."));
    EXPECT_NE(list.Declarations(), nullptr);

    auto other = db.NewCommand();
    other->CommandText = command->CommandText;
    other->Parameters.Refresh();
    EXPECT_TRUE(other->Parameters.ValueAt(1).IsEmpty());

    EXPECT_EQ(list.Item("@function_id").Value, Value("SKI"));
    EXPECT_EQ(list.Declarations(), nullptr);
    EXPECT_EQ(list.ValueAt(2), Value("Deleted."));
    EXPECT_EQ(list.Item(2).Value, Value("Deleted."));
    EXPECT_EQ(list.ValueOf("@function_ID"), Value("SKI"));
    EXPECT_TRUE(other->Parameters.Item(1).Value.IsEmpty());
    EXPECT_THROW(other->Parameters.SetValue("@catagory_id", "X"), Error);
    EXPECT_THROW(other->Parameters.ValueOf("@catagory_id"), Error);
}

TEST_F(ParameterListTest, ErrorsNameTheParameterAndTheProcedure) {
    command->Parameters.Refresh();
    try {
        command->Parameters["@catagory_id"].Value = "X";
        FAIL() << "unknown parameter accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::kItemNotFound);
        EXPECT_NE(e.Description().find("@catagory_id"), std::string::npos);
        EXPECT_NE(e.Description().find("VYM_SP_ITEM_DeleteFunction"), std::string::npos);
    }
    try {
        command->Parameters.Append(Command::CreateParameter("@Function_ID", DataType::VarChar));
        FAIL() << "duplicate parameter appended";
    } catch (const Error& e) {
        EXPECT_NE(e.Description().find("@Function_ID"), std::string::npos);
        EXPECT_NE(e.Description().find("VYM_SP_ITEM_DeleteFunction"), std::string::npos);
    }
    EXPECT_EQ(command->Parameters.Count(), 3u);
    EXPECT_THROW(command->Parameters.Item(3), Error);
}

TEST_F(ParameterListTest, AppendedClearedAndRenamedParametersAreFoundInAnyCase) {
    ParameterList& list = command->Parameters;
    for (int i = 0; i < 40; ++i) {
        list.Append(Command::CreateParameter("@p" + std::to_string(i), DataType::Integer));
    }
    EXPECT_EQ(list.Find("@P39"), &list.Item(39));
    EXPECT_EQ(list.Find("@p0"), &list.Item(0));

    list.Item(5).Name = "@renamed";
    EXPECT_EQ(list.Find("@RENAMED"), &list.Item(5));
    EXPECT_EQ(list.Find("@p5"), nullptr);
    list.Append(Command::CreateParameter("@P5", DataType::Integer));
    EXPECT_EQ(list.Find("@p5"), &list.Item(40));

    list.Clear();
    EXPECT_EQ(list.Find("@p1"), nullptr);
    list.Append(Command::CreateParameter("@p1", DataType::Integer));
    EXPECT_EQ(list.Find("@P1"), &list.Item(0));
}

TEST_F(ParameterListTest, RefreshOfAnUnknownProcedureFailsAndKeepsTheList) {
    command->CommandText = "VYM_SP_ITEM_NoSuch";
    command->Parameters.Append(Command::CreateParameter("@item_no", DataType::Integer));
    try {
        command->Parameters.Refresh();
        FAIL() << "unknown procedure refreshed";
    } catch (const Error& e) {
        EXPECT_NE(e.Description().find("VYM_SP_ITEM_NoSuch"), std::string::npos);
    }
    EXPECT_EQ(command->Parameters.Count(), 1u);
}

TEST_F(ParameterListTest, APreparedProcedureTakesItsValuesByNameOnTheRefreshedDeclarations) {
    command->CommandType = CommandTypeEnum::Text;
    command->Parameters.Append(Command::CreateParameter("@function_id", DataType::Integer));
    PrepareProcedure(*command, "VYM_SP_ITEM_DeleteFunction",
                     {{"@FUNCTION_ID", "SKI"}, {"@message", Value::Null()}});
    EXPECT_EQ(command->CommandType, CommandTypeEnum::StoredProc);
    ASSERT_EQ(command->Parameters.Count(), 3u);
    EXPECT_EQ(command->Parameters.Item(1).Type, DataType::VarChar);
    EXPECT_EQ(command->Parameters.Item(1).Value, Value("SKI"));
    EXPECT_TRUE(command->Parameters.Item(2).Value.IsNull());
    EXPECT_TRUE(command->Parameters.Item(0).Value.IsEmpty());

    auto fresh = NewProcedure(db, "VYM_SP_ITEM_DeleteFunction");
    EXPECT_EQ(fresh->CommandText, "VYM_SP_ITEM_DeleteFunction");
    EXPECT_EQ(fresh->Parameters.Count(), 3u);
    EXPECT_THROW(NewProcedure(db, "VYM_SP_ITEM_DeleteFunction", {{"@function_name", "x"}}), Error);
}

}  // namespace
}  // namespace vym
