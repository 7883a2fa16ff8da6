#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/connection.h"

namespace vym {

// Values for a procedure's parameters, each by its name ("@item_no").
using ProcedureArguments = std::initializer_list<std::pair<std::string_view, vym::Value>>;

// Makes `cmd` a call of the stored procedure `procedure`: the parameters are
// refreshed from the server's declarations, then `arguments` are set by name,
// in order. Throws Error naming the procedure when the server does not know
// it, or naming the parameter when it declares no such parameter.
void PrepareProcedure(Command& cmd, std::string procedure, ProcedureArguments arguments = {});

// A new command on `db`, prepared as PrepareProcedure does.
std::unique_ptr<Command> NewProcedure(Connection& db, std::string procedure,
                                      ProcedureArguments arguments = {});

}  // namespace vym
