#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/command.h"
#include "gateway/recordset.h"

namespace vym {

// Declaration of one procedure parameter, as the server reports it.
using ParameterDeclarations = std::vector<Parameter>;

// The database connection the application server hands to the library.
//
// Failures of a call (a database error, a procedure that raised) throw
// vym::Error, except in Execute, which reports the failure to the application
// server's error object and returns False, leaving the database as it was.
class Connection {
  public:
    virtual ~Connection() = default;

    // A new stored-procedure command on this connection.
    std::unique_ptr<Command> NewCommand() { return std::make_unique<Command>(*this); }

    // Runs a prepared command; True on success.
    virtual bool Execute(Command& command) = 0;
    // Runs a prepared command and returns its result sets.
    virtual std::unique_ptr<Recordset> ExecuteRecordset(Command& command) = 0;
    // A read-only recordset over an ad-hoc SQL text (the module's dialect).
    virtual std::unique_ptr<Recordset> OpenRecordset(std::string_view sql) = 0;
    // An updatable recordset over a single-table SELECT.
    virtual std::unique_ptr<Recordset> OpenUpdatableRecordset(std::string_view sql) = 0;
    // Runs an SQL statement without a result (DELETE, UPDATE ...); returns rows affected.
    virtual std::int64_t ExecuteSQL(std::string_view sql) = 0;

    // Several calls as one unit (a screen's save): after BeginTrans, the calls'
    // changes stay pending until CommitTrans; RollbackTrans undoes all of them.
    // They nest. A call that fails inside still leaves the database as it was
    // before that call; the caller decides whether the rest is rolled back.
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void RollbackTrans() = 0;

    // The signed-in user, written into vym_user columns and @vym_user parameters.
    virtual std::string CurrentUserId() const = 0;
    // The connection underneath any wrappers; given to the error object.
    virtual const Connection& Native() const { return *this; }

    // The server's declarations of a procedure's parameters (Parameters.Refresh).
    // Throws Error naming the procedure when there is no such procedure.
    virtual ParameterDeclarations DescribeProcedure(std::string_view procedure) = 0;
    // The same with the names indexed, for Parameters.Refresh. A server that
    // keeps each procedure's declarations shares them with every command
    // rather than have each copy them.
    virtual SharedDeclarations DescribeProcedureShared(std::string_view procedure) {
        struct Own {
            ParameterDeclarations parameters;
            ParameterIndex names;
        };
        auto own = std::make_shared<Own>();
        own->parameters = DescribeProcedure(procedure);
        own->names = ParameterIndex(own->parameters);
        return {own, &own->parameters, &own->names};
    }
};

}  // namespace vym
