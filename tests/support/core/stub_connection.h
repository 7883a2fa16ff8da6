#pragma once

#include <map>
#include <string>

#include "gateway/connection.h"

namespace vym::test {

// A connection that knows procedure declarations and nothing else: every call
// that would reach a database throws Error(kNotSupported). For tests of code
// that only prepares commands.
class StubConnection : public Connection {
  public:
    // Procedure name -> its parameters as the server declares them.
    std::map<std::string, ParameterDeclarations> procedures;
    // When set, the connection this one stands in front of.
    const Connection* native = nullptr;

    bool Execute(Command& command) override;
    std::unique_ptr<Recordset> ExecuteRecordset(Command& command) override;
    std::unique_ptr<Recordset> OpenRecordset(std::string_view sql) override;
    std::unique_ptr<Recordset> OpenUpdatableRecordset(std::string_view sql) override;
    std::int64_t ExecuteSQL(std::string_view sql) override;
    // Nothing is stored, so a transaction has nothing to keep or undo.
    void BeginTrans() override {}
    void CommitTrans() override {}
    void RollbackTrans() override {}
    std::string CurrentUserId() const override { return "tester"; }
    const Connection& Native() const override { return native != nullptr ? *native : *this; }
    ParameterDeclarations DescribeProcedure(std::string_view procedure) override;
};

}  // namespace vym::test
