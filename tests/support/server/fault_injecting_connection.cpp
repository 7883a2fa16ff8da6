#include "support/server/fault_injecting_connection.h"

#include <sqlite3.h>

#include "server/sql_dialect.h"
#include "server/sql_error.h"
#include "server/sqlite_connection.h"

namespace vym::test {
namespace {

int CodeOf(FaultInjectingConnection::Fault fault) {
    switch (fault) {
        case FaultInjectingConnection::Fault::Locked:
            return SQLITE_BUSY;
        case FaultInjectingConnection::Fault::DiskFull:
            return SQLITE_FULL;
        case FaultInjectingConnection::Fault::ExecuteFailed:
            break;
    }
    return SQLITE_CONSTRAINT;
}

std::string_view ProcedureOf(const Command& command) {
    return command.CommandType == CommandTypeEnum::StoredProc
               ? std::string_view(command.CommandText)
               : std::string_view();
}

}  // namespace

void FaultInjectingConnection::FailOnCall(int n, Fault fault) {
    armed_ = true;
    every_ = false;
    failAt_ = calls_ + n;
    fault_ = fault;
}

void FaultInjectingConnection::FailEveryCall(Fault fault) {
    armed_ = true;
    every_ = true;
    fault_ = fault;
}

void FaultInjectingConnection::Fail(std::string_view procedure, std::string_view sql) {
    ++calls_;
    if (!armed_ || (!every_ && calls_ != failAt_)) {
        return;
    }
    if (!every_) {
        armed_ = false;
    }
    // Where the real failure would surface: waiting for the write lock, writing
    // the commit, or the statement itself.
    const int code = CodeOf(fault_);
    std::string_view where = procedure.empty() ? sql : procedure;
    if (fault_ == Fault::Locked) {
        where = "BEGIN IMMEDIATE";
    } else if (fault_ == Fault::DiskFull) {
        where = "COMMIT";
    }
    const vym::Error error = server::SqlError(code, server::SqlErrorText(code), where);
    if (procedure.empty()) {
        throw error;
    }
    throw vym::Error(error.Number(), error.Source(),
                     std::string(procedure) + ": " + error.Description());
}

bool FaultInjectingConnection::Execute(Command& command) {
    try {
        Fail(ProcedureOf(command), command.CommandText);
    } catch (const vym::Error& e) {
        errors_.Report(server::SqliteConnection::ExecuteFailure(e, command, Native()));
        return false;
    }
    return inner_->Execute(command);
}

std::unique_ptr<Recordset> FaultInjectingConnection::ExecuteRecordset(Command& command) {
    Fail(ProcedureOf(command), command.CommandText);
    return inner_->ExecuteRecordset(command);
}

std::unique_ptr<Recordset> FaultInjectingConnection::OpenRecordset(std::string_view sql) {
    Fail({}, server::TranslateSql(sql));
    return inner_->OpenRecordset(sql);
}

std::unique_ptr<Recordset> FaultInjectingConnection::OpenUpdatableRecordset(std::string_view sql) {
    Fail({}, server::TranslateSql(sql));
    return inner_->OpenUpdatableRecordset(sql);
}

std::int64_t FaultInjectingConnection::ExecuteSQL(std::string_view sql) {
    Fail({}, server::TranslateSql(sql));
    return inner_->ExecuteSQL(sql);
}

}  // namespace vym::test
