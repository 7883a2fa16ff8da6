#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gateway/connection.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"

namespace vym::test {

// What a procedure test stands on: a demo back office, its connection, and
// calls by name as a screen makes them.
class ProcedureTest : public ::testing::Test {
  protected:
    using Answer = ProcedureAnswer;
    Answer Call(const std::string& procedure, const ProcedureArgs& args) {
        return CallProcedure(*db_, procedure, args);
    }

    BackOffice office_;
    std::shared_ptr<Connection> db_ = office_.Local().DBConnection();
};

}  // namespace vym::test
