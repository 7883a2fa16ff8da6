#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/sql_quote.h"
#include "server/local_app_server.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

// The demo database: profile LIFTID asks on the ticket windows for a photo ID
// (1), a return reason (2) and a manager's authorization (3), and is the
// return profile of two day tickets; RENTWAIVER is used by no item.
class ReferenceProcedures : public test::ProcedureTest {
  protected:
    // Runs the procedure; its return value, or -99 when it failed to execute.
    std::int32_t Call(const char* procedure, Args args, std::unique_ptr<Command>* out = nullptr) {
        auto cmd = test::Prepared(*db_, procedure, args);
        const std::int32_t result =
            db_->Execute(*cmd) ? NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() : -99;
        if (out != nullptr) {
            *out = std::move(cmd);
        }
        return result;
    }
    static std::string Message(Command& cmd) {
        return NullToEmpty(cmd.Parameters["@message"].Value);
    }
    // "seq:prompt" of a module's prompts in order, joined by blanks.
    std::string Prompts(const char* profile, const char* module) {
        std::string sql = "SELECT seq_no, prompt_id FROM vym_profile_prompt WHERE profile_id = ";
        sql += SqlQuote(profile);
        sql += " AND module_id = ";
        sql += SqlQuote(module);
        sql += " ORDER BY seq_no";
        auto rs = db_->OpenRecordset(sql);
        std::string list;
        for (; !rs->Eof(); rs->MoveNext()) {
            list += (list.empty() ? "" : " ") + NullToEmpty(rs->Fields(0).Value()) + ":" +
                    NullToEmpty(rs->Fields(1).Value());
        }
        return list;
    }
};

TEST_F(ReferenceProcedures, ProfileDeleteRefusesAProfileInUseAndValidateOnlyChecks) {
    std::unique_ptr<Command> cmd;
    EXPECT_EQ(
        Call("VYM_SP_ITEM_PROFILE_Delete", {{"@validate", true}, {"@profile_id", "LIFTID"}}, &cmd),
        -1);
    EXPECT_EQ(Message(*cmd), "Profile LIFTID is used by 2 items.");
    // The real delete checks again rather than trusting the screen.
    EXPECT_EQ(Call("VYM_SP_ITEM_PROFILE_Delete", {{"@validate", false}, {"@profile_id", "LIFTID"}}),
              -1);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_profile WHERE profile_id = 'LIFTID'"), 1);

    EXPECT_EQ(
        Call("VYM_SP_ITEM_PROFILE_Delete", {{"@validate", true}, {"@profile_id", "RENTWAIVER"}}),
        0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_profile WHERE profile_id = 'RENTWAIVER'"),
              1);
    EXPECT_EQ(
        Call("VYM_SP_ITEM_PROFILE_Delete", {{"@validate", false}, {"@profile_id", "rentwaiver"}}),
        0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_profile WHERE profile_id = 'RENTWAIVER'"),
              0);
    EXPECT_EQ(
        office_.Scalar("SELECT count(*) FROM vym_profile_prompt WHERE profile_id = 'RENTWAIVER'"),
        0)
        << "a profile's prompts go with it";

    EXPECT_EQ(
        Call("VYM_SP_ITEM_PROFILE_Delete", {{"@validate", true}, {"@profile_id", "NONE"}}, &cmd),
        -1);
    EXPECT_EQ(Message(*cmd), "Profile NONE does not exist.");
}

TEST_F(ReferenceProcedures, ProfileUpdateAddsInUpperCaseRenamesAndRefusesMissingFields) {
    EXPECT_EQ(Call("VYM_SP_ITEM_PROFILE_Update",
                   {{"@profile_id", " golf "}, {"@description", "Golf Waiver"}}),
              0);
    EXPECT_EQ(Call("VYM_SP_ITEM_PROFILE_Update",
                   {{"@profile_id", "GOLF"}, {"@description", "Golf Course Waiver"}}),
              0);
    auto rs = db_->OpenRecordset(
        "SELECT profile_id, description FROM vym_profile "
        "WHERE profile_id = 'GOLF'");
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(NullToEmpty(rs->Fields(0).Value()), "GOLF");
    EXPECT_EQ(NullToEmpty(rs->Fields(1).Value()), "Golf Course Waiver");

    std::unique_ptr<Command> cmd;
    EXPECT_EQ(
        Call("VYM_SP_ITEM_PROFILE_Update", {{"@profile_id", "X"}, {"@description", " "}}, &cmd),
        -1);
    EXPECT_EQ(Message(*cmd), "Description is a required field");
    // Longer than its parameter: the call itself fails.
    EXPECT_EQ(Call("VYM_SP_ITEM_PROFILE_Update",
                   {{"@profile_id", "ELEVENCHARS"}, {"@description", "Too long"}}, &cmd),
              -99);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_profile WHERE profile_id IN ('X', "
                             "'ELEVENCHARS')"),
              0);
}

TEST_F(ReferenceProcedures, UpdateProfilePromptAppendsChecksTheDefinitionAndTidiesCodes) {
    std::unique_ptr<Command> cmd;
    EXPECT_EQ(Call("VYM_SP_ITEM_UpdateProfilePrompt",
                   {{"@profile_id", "LIFTID"},
                    {"@module_id", "TICKET"},
                    {"@seq_no", Value::Null()},
                    {"@prompt_id", "GUESTNAME"},
                    {"@validation_codes", "propercase, required,PROPERCASE"},
                    {"@reason_type_id", Value::Null()},
                    {"@list_code", Value::Null()}},
                   &cmd),
              0);
    EXPECT_EQ(NullToZero(cmd->Parameters["@seq_no"].Value).ToLong(), 4);
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:PHOTOID 2:REASON 3:AUTHORIZE 4:GUESTNAME");
    EXPECT_EQ(
        office_.Scalar("SELECT count(*) FROM vym_profile_prompt WHERE profile_id = 'LIFTID' AND "
                       "seq_no = 4 AND validation_codes = 'PROPERCASE,REQUIRED'"),
        1);

    // Refusals write nothing.
    struct Refusal {
        const char* prompt;
        const char* codes;
        const char* reason;
        const char* list;
        const char* message;
    };
    const Refusal refusals[] = {
        {"REASON", "REQUIRED", "", "", "Prompt REASON requires a reason type."},
        {"PHOTOID", "REQUIRED,AGE65", "", "",
         "Validation AGE65 is not allowed for prompt PHOTOID."},
        {"PHOTOID", "", "", "NOBODY", "Filter list code NOBODY does not exist."},
        {"PHOTOID", "", "LOST", "", "Reason type LOST does not exist."},
        {"NOSUCH", "", "", "", "Prompt NOSUCH does not exist."},
    };
    for (const Refusal& r : refusals) {
        EXPECT_EQ(Call("VYM_SP_ITEM_UpdateProfilePrompt",
                       {{"@profile_id", "LIFTID"},
                        {"@module_id", "TICKET"},
                        {"@seq_no", std::int16_t{1}},
                        {"@prompt_id", r.prompt},
                        {"@validation_codes", r.codes},
                        {"@reason_type_id", r.reason},
                        {"@list_code", r.list}},
                       &cmd),
                  -1)
            << r.message;
        EXPECT_EQ(Message(*cmd), r.message);
    }
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:PHOTOID 2:REASON 3:AUTHORIZE 4:GUESTNAME");

    // A change keeps the place; no validation codes clear the list.
    EXPECT_EQ(Call("VYM_SP_ITEM_UpdateProfilePrompt", {{"@profile_id", "LIFTID"},
                                                       {"@module_id", "TICKET"},
                                                       {"@seq_no", std::int16_t{2}},
                                                       {"@prompt_id", "REASON"},
                                                       {"@validation_codes", ""},
                                                       {"@reason_type_id", "INJURY"},
                                                       {"@list_code", ""}}),
              0);
    EXPECT_EQ(
        office_.Scalar("SELECT count(*) FROM vym_profile_prompt WHERE profile_id = 'LIFTID' AND "
                       "module_id = 'TICKET' AND seq_no = 2 AND reason_type_id = 'INJURY' AND "
                       "validation_codes IS NULL AND list_code IS NULL"),
        1);
}

TEST_F(ReferenceProcedures, DeleteAndSortKeepAModuleNumberedInOrder) {
    EXPECT_EQ(Call("VYM_SP_ITEM_DeleteProfilePrompt",
                   {{"@profile_id", "LIFTID"}, {"@module_id", "TICKET"}, {"@seq_no", 1}}),
              0);
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:REASON 2:AUTHORIZE");
    EXPECT_EQ(Prompts("LIFTID", "POS"), "1:PHOTOID 2:REASON") << "other modules keep theirs";

    std::unique_ptr<Command> cmd;
    EXPECT_EQ(Call("VYM_SP_ITEM_SortProfilePrompt",
                   {{"@profile_id", "LIFTID"},
                    {"@module_id", "TICKET"},
                    {"@seq_no", 2},
                    {"@direction", -1}},
                   &cmd),
              0);
    EXPECT_EQ(NullToZero(cmd->Parameters["@seq_no"].Value).ToLong(), 1);
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:AUTHORIZE 2:REASON");

    // At the top nothing moves.
    EXPECT_EQ(Call("VYM_SP_ITEM_SortProfilePrompt",
                   {{"@profile_id", "LIFTID"},
                    {"@module_id", "TICKET"},
                    {"@seq_no", 1},
                    {"@direction", -1}},
                   &cmd),
              0);
    EXPECT_EQ(NullToZero(cmd->Parameters["@seq_no"].Value).ToLong(), 1);
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:AUTHORIZE 2:REASON");

    EXPECT_EQ(Call("VYM_SP_ITEM_DeleteProfilePrompt",
                   {{"@profile_id", "LIFTID"}, {"@module_id", "TICKET"}, {"@seq_no", 9}}, &cmd),
              -1);
    EXPECT_EQ(Message(*cmd), "Prompt 9 of module TICKET does not exist.");
}

}  // namespace
}  // namespace vym
