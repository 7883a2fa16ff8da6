#include "support/core/stub_connection.h"

#include "base/error.h"

namespace vym::test {

namespace {

[[noreturn]] void NotSupported(std::string_view what) {
    throw Error(errc::kNotSupported, "StubConnection", std::string(what) + " is not supported");
}

}  // namespace

bool StubConnection::Execute(Command&) {
    NotSupported("Execute");
}
std::unique_ptr<Recordset> StubConnection::ExecuteRecordset(Command&) {
    NotSupported("ExecuteRecordset");
}
std::unique_ptr<Recordset> StubConnection::OpenRecordset(std::string_view) {
    NotSupported("OpenRecordset");
}
std::unique_ptr<Recordset> StubConnection::OpenUpdatableRecordset(std::string_view) {
    NotSupported("OpenUpdatableRecordset");
}
std::int64_t StubConnection::ExecuteSQL(std::string_view) {
    NotSupported("ExecuteSQL");
}

ParameterDeclarations StubConnection::DescribeProcedure(std::string_view procedure) {
    const auto found = procedures.find(std::string(procedure));
    if (found == procedures.end()) {
        throw Error(errc::kDatabase, "StubConnection",
                    "Could not find stored procedure '" + std::string(procedure) + "'.");
    }
    return found->second;
}

}  // namespace vym::test
