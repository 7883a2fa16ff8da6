#include "server/sqlite_connection.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "server/column_type.h"
#include "server/procedure_context.h"
#include "server/sql_dialect.h"
#include "server/sql_error.h"
#include "server/sql_recordset.h"
#include "server/updatable_recordset.h"
#include "server/write_transaction.h"

namespace vym::server {
namespace {

vym::Error ConnectionError(std::int32_t number, std::string description) {
    return vym::Error(number, std::string(kConnectionSource), std::move(description));
}

bool SendsValue(ParameterDirection direction) {
    return direction == ParameterDirection::Input || direction == ParameterDirection::InputOutput;
}

// Text parameters with a declared size; long text has none.
bool HasSize(const Parameter& declared) {
    switch (declared.Type) {
        case DataType::Char:
        case DataType::WChar:
        case DataType::VarChar:
        case DataType::VarWChar:
            return declared.Size > 0;
        default:
            return false;
    }
}

// Characters of UTF-8 text: every byte that does not continue a character.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// A value longer than its parameter is refused, as a database server does,
// rather than stored beyond what the column and every screen showing it hold.
void CheckSize(const Parameter& declared, const vym::Value& value, const std::string& procedure) {
    if (!HasSize(declared) || value.IsNull()) {
        return;
    }
    const std::size_t characters = CharacterCount(value.ToString());
    if (characters > static_cast<std::size_t>(declared.Size)) {
        throw ConnectionError(errc::kDatabase,
                              "The value for parameter " + declared.Name + " of procedure " +
                                  procedure + " is " + std::to_string(characters) +
                                  " characters long; the parameter holds at most " +
                                  std::to_string(declared.Size) + " characters.");
    }
}

// Runs one statement of ad-hoc SQL. A statement that changes data runs in its
// own immediate transaction; a query is handed back unread.
std::vector<StatementRef> RunText(SqlSession& session, std::string_view text) {
    auto statement = session.Prepare(TranslateSql(text, session.Engine()));
    if (statement->ColumnCount() > 0) {
        return {std::move(statement)};
    }
    WriteTransaction transaction(session);
    while (statement->Step()) {
    }
    transaction.Commit();
    return {};
}

}  // namespace

SqliteConnection::SqliteConnection(std::shared_ptr<SqlSession> session,
                                   std::shared_ptr<const ProcedureCatalog> catalog,
                                   std::shared_ptr<vym::ErrorObject> errors, std::string userId)
    : session_(std::move(session)),
      catalog_(std::move(catalog)),
      errors_(std::move(errors)),
      userId_(std::move(userId)) {}

const Procedure& SqliteConnection::FindProcedure(std::string_view name) const {
    if (lastFound_[0] && ParameterIndex::SameName(lastFound_[0]->Name, name)) {
        return *lastFound_[0];
    }
    if (lastFound_[1] && ParameterIndex::SameName(lastFound_[1]->Name, name)) {
        std::swap(lastFound_[0], lastFound_[1]);
        return *lastFound_[0];
    }
    const Procedure* procedure = catalog_->Find(name);
    if (!procedure) {
        throw ConnectionError(errc::kDatabase,
                              "Could not find stored procedure '" + std::string(name) + "'.");
    }
    lastFound_ = {procedure, lastFound_[0]};
    return *procedure;
}

ParameterDeclarations SqliteConnection::DescribeProcedure(std::string_view procedure) {
    return FindProcedure(procedure).Parameters;
}

SharedDeclarations SqliteConnection::DescribeProcedureShared(std::string_view procedure) {
    const Procedure& found = FindProcedure(procedure);
    return {catalog_, &found.Parameters, &found.ParameterNames};
}

SqliteConnection::CallResult SqliteConnection::Call(Command& command, bool wantRows) {
    if (command.CommandType == CommandTypeEnum::Text) {
        return {RunText(*session_, command.CommandText), std::nullopt};
    }
    const Procedure& procedure = FindProcedure(command.CommandText);
    const ParameterDeclarations& declared = procedure.Parameters;

    // Match the command's parameters to the declarations (usually in the
    // same order, as Refresh made them) and take the values sent. A command
    // refreshed from this procedure and not changed since still reads its
    // declarations: its values go by position.
    const ParameterList& sent = command.Parameters;
    const bool asDeclared = sent.Declarations() == &declared;
    const std::size_t count = asDeclared ? declared.size() : sent.Count();
    std::vector<vym::Value>& values = values_;
    std::vector<std::size_t>& slots = slots_;
    values.assign(declared.size(), vym::Value::Null());
    slots.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const Parameter& parameter = asDeclared ? declared[i] : sent.Item(i);
        const vym::Value& value = sent.ValueAt(i);
        std::size_t slot = slots.size();
        if (!asDeclared && (slot >= declared.size() ||
                            !ParameterIndex::SameName(declared[slot].Name, parameter.Name))) {
            const auto found = procedure.ParameterNames.Find(declared, parameter.Name);
            if (!found) {
                throw ConnectionError(
                    errc::kDatabase,
                    parameter.Name + " is not a parameter for procedure " + procedure.Name + ".");
            }
            slot = *found;
        }
        slots.push_back(slot);
        const bool given = !value.IsEmpty() && !value.IsNull();
        if (given && SendsValue(declared[slot].Direction) && SendsValue(parameter.Direction)) {
            try {
                values[slot] = ConvertToType(value, declared[slot].Type);
            } catch (const vym::Error& e) {
                throw ConnectionError(errc::kTypeMismatch, "Bad value for parameter " +
                                                               parameter.Name + " of procedure " +
                                                               procedure.Name + ": " +
                                                               e.Description());
            }
            CheckSize(declared[slot], values[slot], procedure.Name);
        }
    }
    values[0] = std::int32_t{0};

    ProcedureContext call(declared, procedure.ParameterNames, *procedure.ParameterOrder, values,
                          *session_, userId_);
    CallResult result;
    try {
        Transaction transaction(*session_, procedure.ReadOnly ? Transaction::Access::ReadOnly
                                                              : Transaction::Access::ReadWrite);
        procedure.Body(call);
        result.resultSets = call.TakeResultSets();
        if (wantRows && !result.resultSets.empty()) {
            result.firstHasRow = result.resultSets.front()->Step();
        }
        transaction.Commit();
    } catch (const vym::Error& e) {
        throw vym::Error(e.Number(), e.Source(), procedure.Name + ": " + e.Description());
    } catch (const std::exception& e) {
        throw ConnectionError(errc::kDatabase, procedure.Name + ": " + e.what());
    }

    for (std::size_t i = 0; i < count; ++i) {
        const ParameterDirection direction =
            asDeclared ? declared[i].Direction : sent.Item(i).Direction;
        if (direction != ParameterDirection::Input) {
            command.Parameters.SetValueAt(i, values[slots[i]]);
        }
    }
    return result;
}

ErrorReport SqliteConnection::ExecuteFailure(const vym::Error& error, const Command& command,
                                             const Connection& native) {
    ErrorReport report;
    report.Number = error.Number();
    report.Source = kConnectionSource;
    report.Source.append(" Execute ").append(command.CommandText);
    report.Description = error.Description();
    report.NativeConnection = &native;
    return report;
}

bool SqliteConnection::Execute(Command& command) {
    try {
        Call(command, false);
        return true;
    } catch (const vym::Error& e) {
        errors_->Report(ExecuteFailure(e, command, Native()));
    } catch (const std::exception& e) {
        errors_->Report(
            ExecuteFailure(ConnectionError(errc::kDatabase, e.what()), command, Native()));
    }
    return false;
}

std::unique_ptr<Recordset> SqliteConnection::ExecuteRecordset(Command& command) {
    CallResult result = Call(command, true);
    return std::make_unique<SqlRecordset>(std::move(result.resultSets), result.firstHasRow);
}

std::unique_ptr<Recordset> SqliteConnection::OpenRecordset(std::string_view sql) {
    return std::make_unique<SqlRecordset>(RunText(*session_, sql));
}

std::unique_ptr<Recordset> SqliteConnection::OpenUpdatableRecordset(std::string_view sql) {
    return std::make_unique<UpdatableRecordset>(session_, TranslateSql(sql, session_->Engine()),
                                                userId_);
}

std::int64_t SqliteConnection::ExecuteSQL(std::string_view sql) {
    auto statement = session_->Prepare(TranslateSql(sql, session_->Engine()));
    WriteTransaction transaction(*session_);
    while (statement->Step()) {
    }
    const std::int64_t changed = statement->ColumnCount() > 0 ? 0 : session_->Changes();
    transaction.Commit();
    return changed;
}

}  // namespace vym::server
