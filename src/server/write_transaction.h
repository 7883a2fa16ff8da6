#pragma once

#include "server/sql_session.h"

namespace vym::server {

// An immediate write transaction that rolls back unless committed.
class WriteTransaction {
  public:
    explicit WriteTransaction(SqlSession& session) : session_(session) {
        session_.BeginImmediate();
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    ~WriteTransaction() {
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

}  // namespace vym::server
