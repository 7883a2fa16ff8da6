#pragma once

#include <memory>

#include "gateway/connection.h"
#include "gateway/error_object.h"

namespace vym::test {

// A connection that fails on purpose, for tests of failure paths. It wraps a
// real connection; an armed call fails before reaching it, so the database is
// left unchanged, and the failure reads exactly as the real one would
// (Execute reports it and returns False; the other calls throw).
class FaultInjectingConnection : public vym::Connection {
  public:
    enum class Fault {
        ExecuteFailed,  // the statement or procedure itself failed
        Locked,         // another connection held the database too long
        DiskFull,
    };

    FaultInjectingConnection(std::shared_ptr<vym::Connection> inner, vym::ErrorObject& errors)
        : inner_(std::move(inner)), errors_(errors) {}

    // The nth database call from now (1 = the next one) fails with `fault`.
    void FailOnCall(int n, Fault fault);
    // Every database call from now fails with `fault`.
    void FailEveryCall(Fault fault);
    void Disarm() { armed_ = false; }
    // Database calls made through this wrapper so far.
    int Calls() const { return calls_; }

    bool Execute(Command& command) override;
    std::unique_ptr<Recordset> ExecuteRecordset(Command& command) override;
    std::unique_ptr<Recordset> OpenRecordset(std::string_view sql) override;
    std::unique_ptr<Recordset> OpenUpdatableRecordset(std::string_view sql) override;
    std::int64_t ExecuteSQL(std::string_view sql) override;
    void BeginTrans() override { inner_->BeginTrans(); }
    void CommitTrans() override { inner_->CommitTrans(); }
    void RollbackTrans() override { inner_->RollbackTrans(); }
    std::string CurrentUserId() const override { return inner_->CurrentUserId(); }
    const Connection& Native() const override { return inner_->Native(); }
    ParameterDeclarations DescribeProcedure(std::string_view procedure) override {
        return inner_->DescribeProcedure(procedure);
    }
    SharedDeclarations DescribeProcedureShared(std::string_view procedure) override {
        return inner_->DescribeProcedureShared(procedure);
    }

  private:
    // Counts the call; throws the armed fault when this call is the one.
    // `procedure` is empty for SQL text.
    void Fail(std::string_view procedure, std::string_view sql);

    std::shared_ptr<vym::Connection> inner_;
    vym::ErrorObject& errors_;
    int calls_ = 0;
    bool armed_ = false;
    bool every_ = false;
    int failAt_ = 0;
    Fault fault_ = Fault::ExecuteFailed;
};

}  // namespace vym::test
