#pragma once

#include "server/sql_session.h"

namespace vym::server {

// A transaction that rolls back unless committed: a write transaction takes
// the write lock up front; a read-only one takes none, so readers never queue
// behind writers, and refuses any statement that would write.
class Transaction {
  public:
    enum class Access { ReadWrite, ReadOnly };

    Transaction(SqlSession& session, Access access) : session_(session) {
        if (access == Access::ReadOnly) {
            session_.BeginRead();
        } else {
            session_.BeginImmediate();
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction() {
        if (!done_) {
            session_.Rollback();
        }
    }

    void Commit() {
        session_.Commit();
        done_ = true;
    }

  private:
    SqlSession& session_;
    bool done_ = false;
};

class WriteTransaction : public Transaction {
  public:
    explicit WriteTransaction(SqlSession& session) : Transaction(session, Access::ReadWrite) {}
};

}  // namespace vym::server
