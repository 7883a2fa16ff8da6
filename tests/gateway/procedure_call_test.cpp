#include "gateway/procedure_call.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "support/core/stub_connection.h"

namespace vym {
namespace {

class ProcedureCallTest : public ::testing::Test {
  protected:
    ProcedureCallTest() {
        db.procedures["VYM_SP_ITEM_UpdateVendorAddress"] = {
            Command::CreateParameter("@RETURN_VALUE", DataType::Integer,
                                     ParameterDirection::ReturnValue),
            Command::CreateParameter("@vendor_id", DataType::VarChar, ParameterDirection::Input,
                                     10),
            Command::CreateParameter("@vendor_address_no", DataType::Integer),
        };
    }
    test::StubConnection db;
};

TEST_F(ProcedureCallTest, ValuesAreSetByNameOnTheRefreshedDeclarations) {
    auto cmd = db.NewCommand();
    cmd->CommandType = CommandTypeEnum::Text;
    cmd->Parameters.Append(Command::CreateParameter("@vendor_id", DataType::Integer));
    PrepareProcedure(*cmd, "VYM_SP_ITEM_UpdateVendorAddress",
                     {{"@VENDOR_ID", "ACME"}, {"@vendor_address_no", Value::Null()}});
    EXPECT_EQ(cmd->CommandType, CommandTypeEnum::StoredProc);
    ASSERT_EQ(cmd->Parameters.Count(), 3u);
    EXPECT_EQ(cmd->Parameters.Item(1).Type, DataType::VarChar);
    EXPECT_EQ(cmd->Parameters.Item(1).Value, Value("ACME"));
    EXPECT_TRUE(cmd->Parameters.Item(2).Value.IsNull());
    EXPECT_TRUE(cmd->Parameters.Item(0).Value.IsEmpty());

    auto fresh = NewProcedure(db, "VYM_SP_ITEM_UpdateVendorAddress");
    EXPECT_EQ(fresh->CommandText, "VYM_SP_ITEM_UpdateVendorAddress");
    EXPECT_EQ(fresh->Parameters.Count(), 3u);
    // An undeclared name is the parameter list's error (its own tests).
    EXPECT_THROW(NewProcedure(db, "VYM_SP_ITEM_UpdateVendorAddress", {{"@vendor_name", "x"}}),
                 Error);
}

}  // namespace
}  // namespace vym
