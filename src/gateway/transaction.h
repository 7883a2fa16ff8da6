#pragma once

#include "gateway/connection.h"

namespace vym {

// Several calls on a connection as one unit: rolled back unless committed,
// so a save that fails half way leaves the database as it was.
class Transaction {
  public:
    explicit Transaction(Connection& db) : db_(db) { db_.BeginTrans(); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction() {
        if (!done_) {
            try {
                db_.RollbackTrans();
            } catch (...) {  // NOLINT(bugprone-empty-catch): nothing is left to undo
            }
        }
    }

    void Commit() {
        db_.CommitTrans();
        done_ = true;
    }

  private:
    Connection& db_;
    bool done_ = false;
};

}  // namespace vym
