#include "server/procedures/item_reference_procedures.h"

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "server/procedures/item_support_references.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_support::Count;
using item_support::UsedBy;

std::string TextOf(const ProcedureContext& call, std::string_view name) {
    return call.GetString(name).value_or("");
}

// A sequence number of 0 means none, as for a new prompt.
vym::Value SeqOrNull(const ProcedureContext& call) {
    const std::int32_t seq = call.GetLong("@seq_no").value_or(0);
    return seq == 0 ? vym::Value::Null() : vym::Value(seq);
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The non-empty, trimmed entries of a comma-separated list, in order.
std::vector<std::string> SplitCodes(const std::string& list) {
    std::vector<std::string> codes;
    std::stringstream stream(list);
    std::string code;
    while (std::getline(stream, code, ',')) {
        if (code = Trimmed(code); !code.empty()) {
            codes.push_back(code);
        }
    }
    return codes;
}

bool Exists(SqlSession& db, std::string_view sql, std::initializer_list<vym::Value> args) {
    return Count(db, sql, args) > 0;
}

void RegisterSupportTableReads(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetFunction", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT function_id, description AS Description, tree_icon, is_active, "
            "row_version FROM vym_function ORDER BY function_id");
    });
    catalog.Add("VYM_SP_ITEM_GetCatagory", {In("@function_id", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT function_id, catagory_id, description AS Description, "
                        "is_active, require_access_rule, row_version FROM vym_catagory "
                        "WHERE function_id = ? ORDER BY catagory_id",
                        {call.Get("@function_id")});
                });
    catalog.Add("VYM_SP_ITEM_GetUnit", {In("@function_id", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT function_id, unit_id, uom_id, qty, acct_units, print_qty, "
                        "description AS Description, row_version FROM vym_unit "
                        "WHERE function_id = ? "
                        "ORDER BY unit_id",
                        {call.Get("@function_id")});
                });
    catalog.Add("VYM_SP_ITEM_GetUOM", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT uom_id, description AS Description FROM vym_uom ORDER BY description");
    });
}

// Adds the profile, or renames it when it exists.
void UpdateProfile(ProcedureContext& call) {
    const std::string id = Upper(Trimmed(TextOf(call, "@profile_id")));
    const std::string description = Trimmed(TextOf(call, "@description"));
    const GuardedRow row{"vym_profile", "profile_id = ?", {id}, "profile"};
    if (!id.empty() && !RefuseIfRowChanged(call, row, "@message")) {
        return;
    }
    if (id.empty()) {
        Refuse(call, "Profile Id is a required field");
        return;
    }
    if (description.empty()) {
        Refuse(call, "Description is a required field");
        return;
    }
    if (WriteClaimed(call, row, "@message", [&] {
            call.Session().Run(
                "INSERT INTO vym_profile (profile_id, description) VALUES (?1, ?2) "
                "ON CONFLICT (profile_id) DO UPDATE SET description = ?2",
                {id, description});
        })) {
        call.SetOutput("@message", "");
    }
}

// A profile that items still ask for on sale or return stays; its prompts
// belong to it and go with it. @validate only checks.
void DeleteProfile(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::string id = TextOf(call, "@profile_id");
    if (!Exists(db, "SELECT count(*) FROM vym_profile WHERE profile_id = ?", {id})) {
        Refuse(call, "Profile " + id + " does not exist.");
        return;
    }
    if (!RefuseIfRowChanged(call, {"vym_profile", "profile_id = ?", {id}, "profile"}, "@message")) {
        return;
    }
    const auto items = Count(db,
                             "SELECT count(*) FROM vym_item WHERE "
                             "sale_profile_id = ?1 OR return_profile_id = ?1",
                             {id});
    if (auto used = UsedBy("Profile " + id, {{items, "item", "items"}})) {
        Refuse(call, *used);
        return;
    }
    call.SetOutput("@message", "");
    if (!call.GetBool("@validate").value_or(false)) {
        db.Run("DELETE FROM vym_profile WHERE profile_id = ?", {id});
    }
}

void RegisterProfileProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_PROFILE_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT profile_id, description AS Description, row_version FROM vym_profile "
            "ORDER BY profile_id");
    });
    catalog.Add(
        "VYM_SP_ITEM_PROFILE_Update",
        {In("@profile_id", DataType::VarChar, 10), In("@description", DataType::VarChar, 60),
         Out("@message", DataType::VarChar, 255), RowVersionParameter()},
        UpdateProfile);
    catalog.Add("VYM_SP_ITEM_PROFILE_Delete",
                {In("@validate", DataType::Boolean), In("@profile_id", DataType::VarChar, 10),
                 Out("@message", DataType::VarChar, 255), RowVersionParameter()},
                DeleteProfile);
}

// What UpdateProfilePrompt refuses, or "" when the prompt may be saved.
// `codes` receives the validation codes in the definition's spelling.
std::string CheckProfilePrompt(ProcedureContext& call, std::string& codes) {
    SqlSession& db = call.Session();
    const std::string profile = TextOf(call, "@profile_id");
    const std::string module = TextOf(call, "@module_id");
    const std::string prompt = TextOf(call, "@prompt_id");
    const vym::Value reason = TextOrNull(call, "@reason_type_id");
    const vym::Value list = TextOrNull(call, "@list_code");
    if (!Exists(db, "SELECT count(*) FROM vym_profile WHERE profile_id = ?", {profile})) {
        return "Profile " + profile + " does not exist.";
    }
    if (!Exists(db, "SELECT count(*) FROM vym_module WHERE module_id = ?", {module})) {
        return "Module " + module + " does not exist.";
    }
    if (prompt.empty()) {
        return "A prompt is required.";
    }
    if (!Exists(db, "SELECT count(*) FROM vym_prompt WHERE prompt_id = ?", {prompt})) {
        return "Prompt " + prompt + " does not exist.";
    }
    const std::string allowed = NullToEmpty(
        db.QueryValue("SELECT validation_code_list FROM vym_prompt WHERE prompt_id = ?", {prompt}));
    const bool requireReason =
        Count(db, "SELECT require_reason_type FROM vym_prompt WHERE prompt_id = ?", {prompt}) != 0;
    if (reason.IsNull() && requireReason) {
        return "Prompt " + prompt + " requires a reason type.";
    }
    if (!reason.IsNull() &&
        !Exists(db, "SELECT count(*) FROM vym_reason_type WHERE reason_type_id = ?", {reason})) {
        return "Reason type " + reason.ToString() + " does not exist.";
    }
    if (!list.IsNull() &&
        !Exists(db, "SELECT count(*) FROM vym_authorizer_group WHERE authorizer_group_id = ?",
                {list})) {
        return "Filter list code " + list.ToString() + " does not exist.";
    }
    std::set<std::string> seen;
    for (const std::string& code : SplitCodes(TextOf(call, "@validation_codes"))) {
        std::string known;
        for (const std::string& candidate : SplitCodes(allowed)) {
            if (Upper(candidate) == Upper(code)) {
                known = candidate;
            }
        }
        if (known.empty()) {
            return "Validation " + code + " is not allowed for prompt " + prompt + ".";
        }
        if (seen.insert(Upper(known)).second) {
            codes += (codes.empty() ? "" : ",") + known;
        }
    }
    return {};
}

void RefuseMissingPrompt(ProcedureContext& call, const vym::Value& seq, const vym::Value& module) {
    Refuse(call,
           "Prompt " + seq.ToString() + " of module " + module.ToString() + " does not exist.");
}

// A new prompt (Null or 0 @seq_no) goes last in its module and gets its
// number back.
GuardedRow PromptRow(ProcedureContext& call, const vym::Value& seq) {
    return {"vym_profile_prompt",
            "profile_id = ? AND module_id = ? AND seq_no = ?",
            {call.Get("@profile_id"), call.Get("@module_id"), seq},
            "prompt"};
}

void UpdateProfilePrompt(ProcedureContext& call) {
    SqlSession& db = call.Session();
    vym::Value seq = SeqOrNull(call);
    if (!seq.IsNull() && !RefuseIfRowChanged(call, PromptRow(call, seq), "@message")) {
        return;
    }
    std::string codes;
    if (std::string refusal = CheckProfilePrompt(call, codes); !refusal.empty()) {
        Refuse(call, refusal);
        return;
    }
    const vym::Value profile = call.Get("@profile_id");
    const vym::Value module = call.Get("@module_id");
    const vym::Value codesValue = codes.empty() ? vym::Value::Null() : vym::Value(codes);
    if (seq.IsNull()) {
        seq = db.QueryValue(
            "SELECT COALESCE(max(seq_no), 0) + 1 FROM vym_profile_prompt "
            "WHERE profile_id = ? AND module_id = ?",
            {profile, module});
        db.Run(
            "INSERT INTO vym_profile_prompt (profile_id, module_id, seq_no, prompt_id, "
            "reason_type_id, list_code, validation_codes) VALUES (?, ?, ?, ?, ?, ?, ?)",
            {profile, module, seq, call.Get("@prompt_id"), TextOrNull(call, "@reason_type_id"),
             TextOrNull(call, "@list_code"), codesValue});
        ClaimRow(call, PromptRow(call, seq), "@message");
    } else if (!ClaimRow(call, PromptRow(call, seq), "@message")) {
        return;
    } else if (db.Run("UPDATE vym_profile_prompt SET prompt_id = ?, reason_type_id = ?, "
                      "list_code = ?, validation_codes = ? WHERE profile_id = ? AND "
                      "module_id = ? AND seq_no = ?",
                      {call.Get("@prompt_id"), TextOrNull(call, "@reason_type_id"),
                       TextOrNull(call, "@list_code"), codesValue, profile, module, seq}) == 0) {
        RefuseMissingPrompt(call, seq, module);
        return;
    }
    call.SetOutput("@seq_no", seq);
    call.SetOutput("@message", "");
}

// The prompts after the deleted one move up, so a module's prompts stay
// numbered 1, 2, 3 ...
void DeleteProfilePrompt(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value profile = call.Get("@profile_id");
    const vym::Value module = call.Get("@module_id");
    const vym::Value seq = SeqOrNull(call);
    if (db.Run("DELETE FROM vym_profile_prompt WHERE profile_id = ? AND "
               "module_id = ? AND seq_no = ?",
               {profile, module, seq}) == 0) {
        RefuseMissingPrompt(call, seq, module);
        return;
    }
    // Negated first: the key is checked row by row.
    db.Run(
        "UPDATE vym_profile_prompt SET seq_no = 1 - seq_no WHERE profile_id = ? "
        "AND module_id = ? AND seq_no > ?",
        {profile, module, seq});
    db.Run(
        "UPDATE vym_profile_prompt SET seq_no = -seq_no WHERE profile_id = ? "
        "AND module_id = ? AND seq_no < 0",
        {profile, module});
    call.SetOutput("@message", "");
}

// Swaps the prompt with the one before it (negative @direction) or after it;
// @seq_no receives its new number. At either end nothing moves.
void SortProfilePrompt(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value profile = call.Get("@profile_id");
    const vym::Value module = call.Get("@module_id");
    const vym::Value seq = SeqOrNull(call);
    if (!Exists(db,
                "SELECT count(*) FROM vym_profile_prompt WHERE profile_id = ? AND "
                "module_id = ? AND seq_no = ?",
                {profile, module, seq})) {
        RefuseMissingPrompt(call, seq, module);
        return;
    }
    const bool up = call.GetLong("@direction").value_or(0) < 0;
    const vym::Value other =
        db.QueryValue(up ? "SELECT max(seq_no) FROM vym_profile_prompt WHERE profile_id = ? AND "
                           "module_id = ? AND seq_no < ?"
                         : "SELECT min(seq_no) FROM vym_profile_prompt WHERE profile_id = ? AND "
                           "module_id = ? AND seq_no > ?",
                      {profile, module, seq});
    call.SetOutput("@message", "");
    if (other.IsNull()) {
        call.SetOutput("@seq_no", seq);
        return;
    }
    constexpr const char* kMove =
        "UPDATE vym_profile_prompt SET seq_no = ? WHERE profile_id = ? AND "
        "module_id = ? AND seq_no = ?";
    db.Run(kMove, {-1, profile, module, seq});
    db.Run(kMove, {seq, profile, module, other});
    db.Run(kMove, {other, profile, module, -1});
    call.SetOutput("@seq_no", other);
}

void RegisterProfilePromptProcedures(ProcedureCatalog& catalog) {
    // All prompts of a profile, or those of one module, or one prompt.
    catalog.Add("VYM_SP_ITEM_GetProfilePrompt",
                {In("@profile_id", DataType::VarChar, 10), In("@module_id", DataType::VarChar, 10),
                 In("@seq_no", DataType::SmallInt)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT profile_id, module_id, seq_no, prompt_id, reason_type_id, "
                        "list_code, validation_codes, row_version FROM vym_profile_prompt "
                        "WHERE profile_id = ?1 AND (?2 IS NULL OR module_id = ?2) "
                        "AND (?3 IS NULL OR seq_no = ?3) ORDER BY module_id, seq_no",
                        {call.Get("@profile_id"), TextOrNull(call, "@module_id"), SeqOrNull(call)});
                });
    catalog.Add(
        "VYM_SP_ITEM_UpdateProfilePrompt",
        {In("@profile_id", DataType::VarChar, 10), In("@module_id", DataType::VarChar, 10),
         InOut("@seq_no", DataType::SmallInt), In("@prompt_id", DataType::VarChar, 10),
         In("@validation_codes", DataType::VarChar, 255),
         In("@reason_type_id", DataType::VarChar, 10), In("@list_code", DataType::VarChar, 10),
         Out("@message", DataType::VarChar, 255), RowVersionParameter()},
        UpdateProfilePrompt);
    catalog.Add("VYM_SP_ITEM_DeleteProfilePrompt",
                {In("@profile_id", DataType::VarChar, 10), In("@module_id", DataType::VarChar, 10),
                 In("@seq_no", DataType::SmallInt), Out("@message", DataType::VarChar, 255)},
                DeleteProfilePrompt);
    catalog.Add("VYM_SP_ITEM_SortProfilePrompt",
                {In("@profile_id", DataType::VarChar, 10), In("@module_id", DataType::VarChar, 10),
                 InOut("@seq_no", DataType::SmallInt), In("@direction", DataType::SmallInt),
                 Out("@message", DataType::VarChar, 255)},
                SortProfilePrompt);
}

void RegisterPromptListProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetPrompts", {In("@prompt_id", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT prompt_id, description AS Description, validation_code_list, "
                        "require_reason_type FROM vym_prompt WHERE ?1 IS NULL OR prompt_id = ?1 "
                        "ORDER BY description",
                        {TextOrNull(call, "@prompt_id")});
                });
    catalog.Add("VYM_SP_ITEM_GetReasonType", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT reason_type_id, description AS Description FROM vym_reason_type "
            "ORDER BY description");
    });
    catalog.Add("VYM_SP_ITEM_AUTHORIZER_GROUP_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT authorizer_group_id, description AS Description FROM vym_authorizer_group "
            "ORDER BY authorizer_group_id");
    });
    catalog.Add("VYM_SP_ITEM_GetModule", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT module_id, description AS Description FROM vym_module ORDER BY module_id");
    });
}

}  // namespace

void RegisterItemReferenceProcedures(ProcedureCatalog& catalog) {
    RegisterSupportTableReads(catalog);
    RegisterProfileProcedures(catalog);
    RegisterProfilePromptProcedures(catalog);
    RegisterPromptListProcedures(catalog);
}

}  // namespace vym::server
