#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "gateway/connection.h"
#include "support/server/procedure_answer.h"

namespace vym::test {

// The error `call` throws; number 0 and no description when it throws none.
template <class Call>
Error Thrown(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e;
    }
    return Error(0, "", "");
}

// A procedure's answer as "return value message".
inline std::string Told(const ProcedureAnswer& answer) {
    return std::to_string(answer.returned) + " " + answer.message;
}

// The rows a procedure returns, as RowTexts gives them.
template <class Arguments = ProcedureArgs>
std::vector<std::string> ProcedureRows(Connection& db, const std::string& procedure,
                                       const Arguments& arguments = {},
                                       const std::vector<std::string>& columns = {}) {
    auto cmd = Prepared(db, procedure, arguments);
    return RowTexts(*db.ExecuteRecordset(*cmd), columns);
}

}  // namespace vym::test
