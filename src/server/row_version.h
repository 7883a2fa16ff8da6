#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "gateway/parameter.h"
#include "server/procedure_context.h"

namespace vym::server {

// A row that screens open and save later: its table, the condition that
// finds it by key with one "?" per key value, and what users call it
// ("item", "price") in the refusal. Table and condition are the procedures'
// own constants, never caller text.
struct GuardedRow {
    std::string_view table;
    std::string_view keyCondition;
    std::vector<vym::Value> key;
    std::string_view what;
};

// "by JSMITH at 12/06/2026 14:05" from a row's row_saved_by and row_saved_at
// as stored ("by another user" when nobody is named).
std::string SavedBy(std::string_view by, std::string_view at);

// The @row_version parameter of a guarded save (InputOutput Integer).
Parameter RowVersionParameter();

// Refuses the save when the caller sent the version of the row it read
// (@row_version) and the row no longer has it: changed or deleted by another
// station since. The message, naming who saved the row and when, goes to
// `messageParameter` and the return value is kRowChanged. Writes nothing, so
// a procedure checks this before its own checks: they would judge a row the
// caller never saw. True when the save may go on; always without a version.
bool RefuseIfRowChanged(ProcedureContext& call, const GuardedRow& row,
                        std::string_view messageParameter);

// Claims the row for the save under way as its first write: the same check,
// and in the same statement the version goes up by one and the signed-in
// user and the time are recorded, so two stations can never both pass it.
// Refuses as RefuseIfRowChanged does and returns False when another station
// got there first; otherwise @row_version holds the row's new version. A new
// row is claimed once inserted (without a version, nothing is checked).
bool ClaimRow(ProcedureContext& call, const GuardedRow& row, std::string_view messageParameter);

// The writes of a save whose key is known before it writes (an upsert): the
// row is claimed first when the caller read a version, else once written, so
// that it always ends at a new version stamped with this save. False, with
// nothing written, when the claim is refused.
bool WriteClaimed(ProcedureContext& call, const GuardedRow& row, std::string_view messageParameter,
                  const std::function<void()>& write);

}  // namespace vym::server
