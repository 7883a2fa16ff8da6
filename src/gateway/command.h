#pragma once

#include <string>

#include "gateway/data_type.h"
#include "gateway/parameter.h"

namespace vym {

class Connection;

// A stored-procedure (or text) command bound to the connection that made it.
// Set CommandText to the procedure name, refresh or append the parameters,
// set their values by name, then hand it to Connection::Execute or
// Connection::ExecuteRecordset. Output parameters and the return value are
// written back into Parameters after the call.
class Command {
  public:
    explicit Command(Connection& connection)
        : Parameters(CommandText, &connection), connection_(&connection) {}
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    std::string CommandText;
    CommandTypeEnum CommandType = CommandTypeEnum::StoredProc;
    ParameterList Parameters;

    static Parameter CreateParameter(std::string name, DataType type,
                                     ParameterDirection direction = ParameterDirection::Input,
                                     std::int32_t size = 0, vym::Value value = {}) {
        return Parameter{std::move(name), type, direction, size, std::move(value)};
    }

    Connection& ActiveConnection() const { return *connection_; }

  private:
    Connection* connection_;
};

}  // namespace vym
