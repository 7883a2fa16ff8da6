#include "server/procedures/item_reference_procedures.h"

namespace vym::server {
namespace {

struct Pair {
    const char* id;
    const char* description;
};

void InsertPairs(SqlSession& db, std::string_view sql, std::initializer_list<Pair> rows) {
    for (const Pair& row : rows) {
        db.Run(sql, {row.id, row.description});
    }
}

void AddPromptDefinitions(SqlSession& db) {
    InsertPairs(db, "INSERT INTO vym_module (module_id, description) VALUES (?, ?)",
                {{"TICKET", "Ticket Windows"},
                 {"POS", "Retail Point of Sale"},
                 {"RENTAL", "Rental Counter"},
                 {"SKISCHOOL", "Ski School Desk"}});
    InsertPairs(db, "INSERT INTO vym_reason_type (reason_type_id, description) VALUES (?, ?)",
                {{"WEATHER", "Weather Closure"},
                 {"INJURY", "Guest Injury"},
                 {"DEFECT", "Defective Merchandise"},
                 {"CHANGE", "Change of Mind"},
                 {"DUPLICATE", "Duplicate Purchase"}});
    InsertPairs(db,
                "INSERT INTO vym_authorizer_group (authorizer_group_id, description) VALUES (?, ?)",
                {{"MANAGER", "Shift Managers"},
                 {"SUPERVISOR", "Ticket Supervisors"},
                 {"RENTALLEAD", "Rental Leads"},
                 {"GUESTSVC", "Guest Services"}});

    struct Prompt {
        const char* id;
        const char* description;
        const char* validations;
        bool requireReasonType;
    };
    static constexpr Prompt kPrompts[] = {
        {"PHOTOID", "Photo ID Number", "REQUIRED,DLFORMAT,NOTEXPIRED", false},
        {"REASON", "Return Reason", "REQUIRED,COMMENT", true},
        {"BIRTHDATE", "Guest Date of Birth", "REQUIRED,DATE,AGE65,AGE6TO12", false},
        {"GUESTNAME", "Guest Name", "REQUIRED,PROPERCASE", false},
        {"AUTHORIZE", "Manager Authorization", "REQUIRED,PASSWORD", false},
        {"PHOTO", "Capture Pass Photo", "REQUIRED,FACEDETECT", false},
        {"WAIVER", "Signed Rental Waiver", "REQUIRED,SIGNATURE", false},
        {"SKIERTYPE", "Skier Type (I, II, III)", "REQUIRED", false},
        {"WEIGHT", "Skier Weight (lb)", "REQUIRED,NUMERIC", false},
    };
    for (const Prompt& p : kPrompts) {
        db.Run(
            "INSERT INTO vym_prompt (prompt_id, description, validation_code_list, "
            "require_reason_type) VALUES (?, ?, ?, ?)",
            {p.id, p.description, p.validations, p.requireReasonType});
    }
}

void AddProfilePrompts(SqlSession& db) {
    InsertPairs(db, "INSERT INTO vym_profile (profile_id, description) VALUES (?, ?)",
                {{"LIFTID", "Lift Ticket Refund - Photo ID"},
                 {"RENTWAIVER", "Rental Waiver and DIN Setting"}});

    struct ProfilePrompt {
        const char* profile;
        const char* module;
        int seq;
        const char* prompt;
        const char* reasonType;
        const char* listCode;
        const char* validations;
    };
    static constexpr ProfilePrompt kPrompts[] = {
        {"LIFTID", "TICKET", 1, "PHOTOID", nullptr, nullptr, "REQUIRED,NOTEXPIRED"},
        {"LIFTID", "TICKET", 2, "REASON", "WEATHER", "SUPERVISOR", "REQUIRED"},
        {"LIFTID", "TICKET", 3, "AUTHORIZE", nullptr, "MANAGER", "REQUIRED,PASSWORD"},
        {"LIFTID", "POS", 1, "PHOTOID", nullptr, nullptr, "REQUIRED"},
        {"LIFTID", "POS", 2, "REASON", "DEFECT", nullptr, "REQUIRED,COMMENT"},
        {"AGE", "TICKET", 1, "BIRTHDATE", nullptr, nullptr, "REQUIRED,DATE,AGE65"},
        {"AGE", "SKISCHOOL", 1, "BIRTHDATE", nullptr, nullptr, "REQUIRED,DATE,AGE6TO12"},
        {"AGE", "SKISCHOOL", 2, "GUESTNAME", nullptr, nullptr, "REQUIRED"},
        {"PASSPHOTO", "TICKET", 1, "GUESTNAME", nullptr, nullptr, "REQUIRED,PROPERCASE"},
        {"PASSPHOTO", "TICKET", 2, "PHOTO", nullptr, nullptr, "REQUIRED,FACEDETECT"},
        {"RETURN", "POS", 1, "REASON", "CHANGE", "MANAGER", "REQUIRED"},
        {"RETURN", "POS", 2, "AUTHORIZE", nullptr, "MANAGER", "PASSWORD"},
        {"RENTWAIVER", "RENTAL", 1, "WAIVER", nullptr, "RENTALLEAD", "REQUIRED,SIGNATURE"},
        {"RENTWAIVER", "RENTAL", 2, "SKIERTYPE", nullptr, nullptr, "REQUIRED"},
        {"RENTWAIVER", "RENTAL", 3, "WEIGHT", nullptr, nullptr, "REQUIRED,NUMERIC"},
        {"RENTWAIVER", "RENTAL", 4, "BIRTHDATE", nullptr, nullptr, "DATE"},
    };
    auto textOrNull = [](const char* text) {
        return text != nullptr ? vym::Value(text) : vym::Value::Null();
    };
    for (const ProfilePrompt& p : kPrompts) {
        db.Run(
            "INSERT INTO vym_profile_prompt (profile_id, module_id, seq_no, prompt_id, "
            "reason_type_id, list_code, validation_codes) VALUES (?, ?, ?, ?, ?, ?, ?)",
            {p.profile, p.module, p.seq, p.prompt, textOrNull(p.reasonType), textOrNull(p.listCode),
             p.validations});
    }
    // Refunds of day tickets need the guest's photo ID.
    db.Run(
        "UPDATE vym_item SET return_profile_id = 'LIFTID' "
        "WHERE item_type = 'TICKET' AND item_no IN (100, 101)");
}

}  // namespace

void AddItemReferenceDemoRows(SqlSession& session) {
    AddPromptDefinitions(session);
    AddProfilePrompts(session);
}

}  // namespace vym::server
