#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "server/local_app_server.h"
#include "support/core/prompter_script.h"
#include "support/server/back_office.h"

namespace vym::test {

// A demo back office in a temporary directory, opened with the standard
// procedures, for the record classes to work against.
class CatalogueDatabase {
  public:
    Connection* Db() { return &office_.Db(); }
    std::shared_ptr<Connection> SharedDb() { return office_.Local().DBConnection(); }
    ErrorObject* Errors() { return &office_.Local().ErrorObject(); }
    BackOffice& Office() { return office_; }
    const std::vector<ErrorReport>& Reports() { return office_.Local().Reports(); }

    // The first column of the first row of an ad-hoc query, as text.
    std::string Scalar(const std::string& sql) { return office_.Text(sql); }
    // Every row of an ad-hoc query as the texts of its columns run together
    // (Null as "-"), the rows joined by `separator`: what both engines can
    // answer alike, where an aggregate of strings is spelt differently.
    std::string Joined(const std::string& sql, const std::string& separator);
    // Every row of the catalogue's tables, for checking that nothing changed.
    std::string Snapshot();

  private:
    BackOffice office_;
};

// A connection that keeps a copy of every command it runs (as sent), then
// runs it on the real one.
class RecordingConnection : public Connection {
  public:
    struct Call {
        std::string procedure;
        std::vector<Parameter> parameters;
        const Parameter* Find(std::string_view name) const;
    };

    explicit RecordingConnection(Connection& inner) : inner_(inner) {}

    std::vector<Call> calls;

    bool Execute(Command& command) override;
    std::unique_ptr<Recordset> ExecuteRecordset(Command& command) override;
    std::unique_ptr<Recordset> OpenRecordset(std::string_view sql) override;
    std::unique_ptr<Recordset> OpenUpdatableRecordset(std::string_view sql) override;
    std::int64_t ExecuteSQL(std::string_view sql) override;
    void BeginTrans() override { inner_.BeginTrans(); }
    void CommitTrans() override { inner_.CommitTrans(); }
    void RollbackTrans() override { inner_.RollbackTrans(); }
    std::string CurrentUserId() const override { return inner_.CurrentUserId(); }
    const Connection& Native() const override { return inner_.Native(); }
    ParameterDeclarations DescribeProcedure(std::string_view procedure) override {
        return inner_.DescribeProcedure(procedure);
    }

  private:
    void Record(const Command& command);
    Connection& inner_;
};

// What a record test stands on: the catalogue, a connection to it that
// records the commands sent, scripted message boxes, and no error reported
// beyond the number the test expects.
class RecordTest : public ::testing::Test {
  protected:
    void TearDown() override {
        const auto& reports = db.Reports();
        for (std::size_t i = expectedReports; i < reports.size(); ++i) {
            ADD_FAILURE() << reports[i].Source << ": " << reports[i].Description;
        }
    }
    // A parameter of the last command sent through `recording`.
    const Parameter* Sent(std::string_view name) { return recording.calls.back().Find(name); }

    PrompterScript script;
    CatalogueDatabase db;
    RecordingConnection recording{*db.Db()};
    std::size_t expectedReports = 0;
};

}  // namespace vym::test
