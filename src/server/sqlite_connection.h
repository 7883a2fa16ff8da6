#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "base/error.h"
#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The connection the library works through: procedures from the catalog,
// each in one immediate transaction, and the module's ad-hoc SQL translated
// into the store's dialect.
class SqliteConnection : public vym::Connection {
  public:
    // `errors` receives the failures of Execute.
    SqliteConnection(std::shared_ptr<SqlSession> session,
                     std::shared_ptr<const ProcedureCatalog> catalog,
                     std::shared_ptr<vym::ErrorObject> errors, std::string userId);

    // Reports a failure to the error object and returns False; the database
    // is left as it was before the call.
    bool Execute(Command& command) override;
    std::unique_ptr<Recordset> ExecuteRecordset(Command& command) override;
    std::unique_ptr<Recordset> OpenRecordset(std::string_view sql) override;
    std::unique_ptr<Recordset> OpenUpdatableRecordset(std::string_view sql) override;
    std::int64_t ExecuteSQL(std::string_view sql) override;
    void BeginTrans() override { session_->BeginImmediate(); }
    void CommitTrans() override { session_->Commit(); }
    void RollbackTrans() override { session_->Rollback(); }
    std::string CurrentUserId() const override { return userId_; }
    ParameterDeclarations DescribeProcedure(std::string_view procedure) override;
    // The catalog's declarations and its index of their names.
    SharedDeclarations DescribeProcedureShared(std::string_view procedure) override;

    SqlSession& Session() { return *session_; }

    // The error report of a failed Execute, as the error object receives it.
    static ErrorReport ExecuteFailure(const vym::Error& error, const Command& command,
                                      const Connection& native);

  private:
    struct CallResult {
        std::vector<StatementRef> resultSets;
        // Whether the first result set has a row, when it was stepped already.
        std::optional<bool> firstHasRow;
    };
    // Runs the command's procedure (or text) and writes its outputs back.
    // With `wantRows` the first result set is stepped once before the commit,
    // so its rows come from the call's own snapshot; the rest are read later.
    CallResult Call(Command& command, bool wantRows);
    const Procedure& FindProcedure(std::string_view name) const;

    std::shared_ptr<SqlSession> session_;
    std::shared_ptr<const ProcedureCatalog> catalog_;
    std::shared_ptr<vym::ErrorObject> errors_;
    std::string userId_;
    // A call's values by declared parameter, and the declared parameter of
    // each of the command's: kept from call to call (a connection makes one
    // call at a time) so that a call allocates neither.
    std::vector<vym::Value> values_;
    std::vector<std::size_t> slots_;
    // The two procedures found last, the latest first: a call looks up the
    // procedure its command's refresh looked up just before, and a record
    // mostly calls the same two procedures (the item, then its detail).
    mutable std::array<const Procedure*, 2> lastFound_{};
};

}  // namespace vym::server
