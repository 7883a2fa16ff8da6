#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "gateway/connection.h"
#include "support/server/back_office.h"
#include "support/server/postgres_database.h"
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

// From now on each `event` (INSERT, UPDATE) of a row of `table` whose new
// values meet `condition` fails as a full disk does, on either engine.
inline void FailWritesWhere(BackOffice& office, const std::string& event, const std::string& table,
                            const std::string& condition) {
    const std::string full = "'database or disk is full'";
    if (!PostgresServer().empty()) {
        office.Sql(
            "CREATE FUNCTION test_fail_write() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF " +
            condition + " THEN RAISE EXCEPTION " + full + "; END IF; RETURN NEW; END $$");
        office.Sql("CREATE TRIGGER test_fail_write BEFORE " + event + " ON " + table +
                   " FOR EACH ROW EXECUTE FUNCTION test_fail_write()");
    } else {
        office.Sql("CREATE TRIGGER test_fail_write BEFORE " + event + " ON " + table + " WHEN " +
                   condition + " BEGIN SELECT RAISE(ABORT, " + full + "); END");
    }
}

}  // namespace vym::test
