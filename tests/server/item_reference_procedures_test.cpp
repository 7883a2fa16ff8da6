#include <gtest/gtest.h>

#include <string>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/sql_quote.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

#include "server_checks.h"

namespace vym {
namespace {

using test::Told;

// The demo database: profile LIFTID asks on the ticket windows for a photo ID
// (1), a return reason (2) and a manager's authorization (3), and is the
// return profile of two day tickets; RENTWAIVER is used by no item.
class ReferenceProcedures : public test::ProcedureTest {
  protected:
    // "seq:prompt" of a module's prompts in order, joined by blanks.
    std::string Prompts(const char* profile, const char* module) {
        std::string list;
        for (const std::string& prompt : test::RowTexts(*db_->OpenRecordset(
                 "SELECT seq_no || ':' || prompt_id FROM vym_profile_prompt WHERE profile_id = " +
                 SqlQuote(profile) + " AND module_id = " + SqlQuote(module) +
                 " ORDER BY seq_no"))) {
            list += (list.empty() ? "" : " ") + prompt;
        }
        return list;
    }
    std::int32_t Profiles(const char* table, const char* profile) {
        return office_.Scalar(std::string("SELECT count(*) FROM ") + table +
                              " WHERE profile_id = " + SqlQuote(profile));
    }
};

TEST_F(ReferenceProcedures, ProfileDeleteRefusesAProfileInUseAndValidateOnlyChecks) {
    const auto remove = [&](bool validate, const char* profile) {
        return Told(Call("VYM_SP_ITEM_PROFILE_Delete",
                         {{"@validate", validate}, {"@profile_id", profile}}));
    };
    EXPECT_EQ(remove(true, "LIFTID"), "-1 Profile LIFTID is used by 2 items.");
    // The real delete checks again rather than trusting the screen.
    EXPECT_EQ(remove(false, "LIFTID"), "-1 Profile LIFTID is used by 2 items.");
    EXPECT_EQ(Profiles("vym_profile", "LIFTID"), 1);

    EXPECT_EQ(remove(true, "RENTWAIVER"), "0 ");
    EXPECT_EQ(Profiles("vym_profile", "RENTWAIVER"), 1);
    EXPECT_EQ(remove(false, "rentwaiver"), "0 ");
    EXPECT_EQ(Profiles("vym_profile", "RENTWAIVER"), 0);
    EXPECT_EQ(Profiles("vym_profile_prompt", "RENTWAIVER"), 0) << "a profile's prompts go with it";
    EXPECT_EQ(remove(true, "NONE"), "-1 Profile NONE does not exist.");
}

TEST_F(ReferenceProcedures, ProfileUpdateAddsInUpperCaseRenamesAndRefusesMissingFields) {
    const auto update = [&](const char* profile, const char* description) {
        return Told(Call("VYM_SP_ITEM_PROFILE_Update",
                         {{"@profile_id", profile}, {"@description", description}}));
    };
    EXPECT_EQ(update(" golf ", "Golf Waiver"), "0 ");
    EXPECT_EQ(update("GOLF", "Golf Course Waiver"), "0 ");
    EXPECT_EQ(office_.Text("SELECT profile_id || '=' || description FROM vym_profile "
                           "WHERE profile_id = 'GOLF'"),
              "GOLF=Golf Course Waiver");
    EXPECT_EQ(update("X", " "), "-1 Description is a required field");
    // Longer than its parameter: the call itself fails.
    EXPECT_FALSE(db_->Execute(
        *test::Prepared(*db_, "VYM_SP_ITEM_PROFILE_Update",
                        {{"@profile_id", "ELEVENCHARS"}, {"@description", "Too long"}})));
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_profile WHERE profile_id IN ('X', "
                             "'ELEVENCHARS')"),
              0);
}

TEST_F(ReferenceProcedures, UpdateProfilePromptAppendsChecksTheDefinitionAndTidiesCodes) {
    const auto save = [&](Value seqNo, const char* prompt, const char* codes, Value reason,
                          Value list) {
        return Call("VYM_SP_ITEM_UpdateProfilePrompt", {{"@profile_id", "LIFTID"},
                                                        {"@module_id", "TICKET"},
                                                        {"@seq_no", seqNo},
                                                        {"@prompt_id", prompt},
                                                        {"@validation_codes", codes},
                                                        {"@reason_type_id", reason},
                                                        {"@list_code", list}});
    };
    const Answer added = save(Value::Null(), "GUESTNAME", "propercase, required,PROPERCASE",
                              Value::Null(), Value::Null());
    EXPECT_EQ(Told(added), "0 ");
    EXPECT_EQ(added.Output("@seq_no"), 4);
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
        EXPECT_EQ(Told(save(std::int16_t{1}, r.prompt, r.codes, r.reason, r.list)),
                  std::string("-1 ") + r.message);
    }
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:PHOTOID 2:REASON 3:AUTHORIZE 4:GUESTNAME");

    // A change keeps the place; no validation codes clear the list.
    EXPECT_EQ(Told(save(std::int16_t{2}, "REASON", "", "INJURY", "")), "0 ");
    EXPECT_EQ(
        office_.Scalar("SELECT count(*) FROM vym_profile_prompt WHERE profile_id = 'LIFTID' AND "
                       "module_id = 'TICKET' AND seq_no = 2 AND reason_type_id = 'INJURY' AND "
                       "validation_codes IS NULL AND list_code IS NULL"),
        1);
}

TEST_F(ReferenceProcedures, DeleteAndSortKeepAModuleNumberedInOrder) {
    const auto remove = [&](int seqNo) {
        return Call("VYM_SP_ITEM_DeleteProfilePrompt",
                    {{"@profile_id", "LIFTID"}, {"@module_id", "TICKET"}, {"@seq_no", seqNo}});
    };
    const auto up = [&](int seqNo) {
        return Call("VYM_SP_ITEM_SortProfilePrompt", {{"@profile_id", "LIFTID"},
                                                      {"@module_id", "TICKET"},
                                                      {"@seq_no", seqNo},
                                                      {"@direction", -1}});
    };
    EXPECT_EQ(Told(remove(1)), "0 ");
    EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:REASON 2:AUTHORIZE");
    EXPECT_EQ(Prompts("LIFTID", "POS"), "1:PHOTOID 2:REASON") << "other modules keep theirs";

    // Up from 2, then at the top, where nothing moves.
    for (const int seqNo : {2, 1}) {
        const Answer moved = up(seqNo);
        EXPECT_EQ(Told(moved), "0 ");
        EXPECT_EQ(moved.Output("@seq_no"), 1);
        EXPECT_EQ(Prompts("LIFTID", "TICKET"), "1:AUTHORIZE 2:REASON");
    }
    EXPECT_EQ(Told(remove(9)), "-1 Prompt 9 of module TICKET does not exist.");
}

}  // namespace
}  // namespace vym
