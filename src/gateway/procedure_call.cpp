#include "gateway/procedure_call.h"

namespace vym {

void PrepareProcedure(Command& cmd, std::string procedure, ProcedureArguments arguments) {
    cmd.CommandText = std::move(procedure);
    cmd.CommandType = CommandTypeEnum::StoredProc;
    cmd.Parameters.Refresh();
    for (const auto& [name, value] : arguments) {
        cmd.Parameters.SetValue(name, value);
    }
}

std::unique_ptr<Command> NewProcedure(Connection& db, std::string procedure,
                                      ProcedureArguments arguments) {
    auto cmd = db.NewCommand();
    PrepareProcedure(*cmd, std::move(procedure), arguments);
    return cmd;
}

}  // namespace vym
