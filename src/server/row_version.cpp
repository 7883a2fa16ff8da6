#include "server/row_version.h"

#include <cstdio>

#include "base/date.h"
#include "base/format.h"
#include "gateway/row_version.h"
#include "server/procedure_catalog.h"

namespace vym::server {
namespace {

// "12/06/2026 14:05" from the stored "2026-12-06 14:05:09".
std::string SavedAt(std::string_view stored) {
    vym::Date at;
    if (!vym::Date::ParseIso(stored, at)) {
        return std::string(stored);
    }
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", at.Hour(), at.Minute());
    return vym::Format(vym::Value(at), "mm/dd/yyyy") + " " + time;
}

std::string ChangedMessage(SqlSession& db, const GuardedRow& row) {
    auto saved = db.Prepare("SELECT row_saved_by, row_saved_at FROM " + std::string(row.table) +
                            " WHERE " + std::string(row.keyCondition));
    saved->BindAll(row.key);
    const std::string what(row.what);
    if (!saved->Step()) {
        return "This " + what +
               " was deleted by another user after you opened it. Your changes were not saved.";
    }
    return "This " + what + " was changed " + SavedBy(saved->ColumnText(0), saved->ColumnText(1)) +
           " after you opened it. Your changes were not saved; reload it to see the changes.";
}

void Refuse(ProcedureContext& call, const GuardedRow& row, std::string_view messageParameter) {
    call.SetOutput(messageParameter, ChangedMessage(call.Session(), row));
    call.SetReturnValue(kRowChanged);
}

}  // namespace

std::string SavedBy(std::string_view by, std::string_view at) {
    return "by " + (by.empty() ? std::string("another user") : std::string(by)) +
           (at.empty() ? std::string() : " at " + SavedAt(at));
}

Parameter RowVersionParameter() {
    return InOut(std::string(kRowVersionParameter), DataType::Integer);
}

bool RefuseIfRowChanged(ProcedureContext& call, const GuardedRow& row,
                        std::string_view messageParameter) {
    const std::optional<std::int32_t> read = call.GetLong(kRowVersionParameter);
    if (!read) {
        return true;
    }
    auto stored = call.Session().Prepare("SELECT row_version FROM " + std::string(row.table) +
                                         " WHERE " + std::string(row.keyCondition));
    stored->BindAll(row.key);
    if (stored->Step() && stored->ColumnInt64(0) == *read) {
        return true;
    }
    Refuse(call, row, messageParameter);
    return false;
}

bool ClaimRow(ProcedureContext& call, const GuardedRow& row, std::string_view messageParameter) {
    SqlSession& db = call.Session();
    const std::optional<std::int32_t> read = call.GetLong(kRowVersionParameter);
    std::vector<vym::Value> args{vym::Value(call.UserId())};
    args.insert(args.end(), row.key.begin(), row.key.end());
    std::string sql = "UPDATE " + std::string(row.table) +
                      " SET row_version = row_version + 1, row_saved_by = ?, row_saved_at = " +
                      db.Engine().Now() + " WHERE " + std::string(row.keyCondition);
    if (read) {
        sql += " AND row_version = ?";
        args.emplace_back(*read);
    }
    auto claim = db.Prepare(sql);
    claim->BindAll(args);
    claim->Step();
    if (db.Changes() == 0 && read) {
        Refuse(call, row, messageParameter);
        return false;
    }
    auto version = db.Prepare("SELECT row_version FROM " + std::string(row.table) + " WHERE " +
                              std::string(row.keyCondition));
    version->BindAll(row.key);
    call.SetOutput(kRowVersionParameter,
                   version->Step() ? vym::Value(static_cast<std::int32_t>(version->ColumnInt64(0)))
                                   : vym::Value::Null());
    return true;
}

bool WriteClaimed(ProcedureContext& call, const GuardedRow& row, std::string_view messageParameter,
                  const std::function<void()>& write) {
    const bool read = !call.IsNull(kRowVersionParameter);
    if (read && !ClaimRow(call, row, messageParameter)) {
        return false;
    }
    write();
    return read || ClaimRow(call, row, messageParameter);
}

}  // namespace vym::server
