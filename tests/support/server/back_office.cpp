#include "support/server/back_office.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/date.h"
#include "gateway/recordset.h"

namespace vym::test {

class BackOffice::SwitchableServer : public DelegatingAppServer {
  public:
    using DelegatingAppServer::DelegatingAppServer;
    std::shared_ptr<Connection> DBConnection() override {
        return faults ? faults : DelegatingAppServer::DBConnection();
    }
    std::shared_ptr<Connection> HostConnection() override { return host; }

    std::shared_ptr<FaultInjectingConnection> faults;
    std::shared_ptr<Connection> host;
};

BackOffice::BackOffice(Options options) {
    if (!PostgresServer().empty()) {
        postgres_ = std::make_unique<PostgresDatabase>(options.demoData);
    }
    server::OpenOptions open;
    open.demoData = options.demoData;
    open.userId = options.user;
    local_ = server::LocalAppServer::Open(Path(), open);
    server_ = std::make_unique<SwitchableServer>(*local_);
}

BackOffice::~BackOffice() = default;

std::string BackOffice::Path() const {
    return postgres_ ? postgres_->Uri() : (dir_.path / "backoffice.db").string();
}

AppServer& BackOffice::Server() {
    return *server_;
}

FaultInjectingConnection& BackOffice::Faults() {
    if (!server_->faults) {
        server_->faults = std::make_shared<FaultInjectingConnection>(local_->DBConnection(),
                                                                     local_->ErrorObject());
    }
    return *server_->faults;
}

void BackOffice::SetHostConnection(std::shared_ptr<Connection> host) {
    server_->host = std::move(host);
}

std::unique_ptr<server::LocalAppServer> BackOffice::OpenAgain(const std::string& user,
                                                              const std::string& station) const {
    server::OpenOptions open;
    open.userId = user;
    open.station = station;
    return server::LocalAppServer::Open(Path(), open);
}

void BackOffice::ExpectNoErrorReports() const {
    for (const ErrorReport& report : local_->Reports()) {
        ADD_FAILURE() << report.Source << ": " << report.Description;
    }
}

void BackOffice::Sql(const std::string& sql) {
    Db().ExecuteSQL(sql);
}

std::int32_t BackOffice::Scalar(const std::string& sql) {
    return Db().OpenRecordset(sql)->Fields(0).Value().ToLong();
}

std::string BackOffice::Text(const std::string& sql) {
    auto rows = Db().OpenRecordset(sql);
    return rows->Eof() ? "<none>" : NullToEmpty(rows->Fields(0).Value());
}

std::string BackOffice::ChangedBy(const std::string& user, const std::string& what,
                                  const std::string& where) {
    const Date at =
        Db().OpenRecordset("SELECT row_saved_at FROM " + where)->Fields(0).Value().ToDate();
    char when[17];
    std::snprintf(when, sizeof when, "%02d/%02d/%04d %02d:%02d", at.Month(), at.Day(), at.Year(),
                  at.Hour(), at.Minute());
    return "This " + what + " was changed by " + user + " at " + when +
           " after you opened it. Your changes were not saved; reload it to see the "
           "changes.\r\n\r\nReload it now? No keeps what you typed on this screen.";
}

}  // namespace vym::test
