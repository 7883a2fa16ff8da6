#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"

namespace vym::test {

// A procedure's arguments by parameter name, as a screen sets them.
using ProcedureArgs = std::vector<std::pair<std::string, Value>>;

// What a stored procedure answered: its return value, its @message when it
// has one, and the command for its other outputs.
struct ProcedureAnswer {
    std::int32_t returned = 0;
    std::string message;
    std::unique_ptr<Command> cmd;

    std::int32_t Output(const char* name) const {
        return NullToZero(cmd->Parameters[name].Value).ToLong();
    }
};

// A call of `procedure` with the values by parameter name, not yet run.
template <class Arguments = ProcedureArgs>
std::unique_ptr<Command> Prepared(Connection& db, const std::string& procedure,
                                  const Arguments& arguments = {}) {
    auto cmd = db.NewCommand();
    cmd->CommandText = procedure;
    cmd->Parameters.Refresh();
    for (const auto& [name, value] : arguments) {
        cmd->Parameters[name].Value = value;
    }
    return cmd;
}

// The rows of a result (none when it is closed), each as the texts of its
// columns joined by "|", Null as ""; `columns` picks columns by name.
inline std::vector<std::string> RowTexts(Recordset& rows,
                                         const std::vector<std::string>& columns = {}) {
    std::vector<std::string> texts;
    for (; rows.IsOpen() && !rows.Eof(); rows.MoveNext()) {
        std::string text;
        for (std::int32_t i = 0;
             i < (columns.empty() ? rows.FieldCount() : static_cast<std::int32_t>(columns.size()));
             ++i) {
            const Field& field = columns.empty() ? rows.Fields(i) : rows.Fields(columns[i]);
            text += (i > 0 ? "|" : "") + NullToEmpty(field.Value());
        }
        texts.push_back(text);
    }
    return texts;
}

// Calls `procedure` with the values by parameter name, as a screen does; a
// call the connection fails fails the running test.
template <class Arguments>
ProcedureAnswer CallProcedure(Connection& db, const std::string& procedure,
                              const Arguments& arguments) {
    ProcedureAnswer answer;
    answer.cmd = Prepared(db, procedure, arguments);
    EXPECT_TRUE(db.Execute(*answer.cmd)) << procedure;
    answer.returned = answer.Output("@RETURN_VALUE");
    if (const Parameter* message = answer.cmd->Parameters.Find("@message")) {
        answer.message = NullToEmpty(message->Value);
    }
    return answer;
}

}  // namespace vym::test
