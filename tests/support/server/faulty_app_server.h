#pragma once

#include <memory>

#include "server/fault_injecting_connection.h"
#include "support/server/delegating_app_server.h"

namespace vym::test {

// An application server that hands out its connection behind a fault
// injector, so that a test can count database calls and fail the one it names.
class FaultyAppServer : public DelegatingAppServer {
  public:
    explicit FaultyAppServer(AppServer& inner)
        : DelegatingAppServer(inner),
          faults_(std::make_shared<server::FaultInjectingConnection>(inner.DBConnection(),
                                                                     inner.ErrorObject())) {}

    std::shared_ptr<Connection> DBConnection() override { return faults_; }
    server::FaultInjectingConnection& Faults() { return *faults_; }

  private:
    std::shared_ptr<server::FaultInjectingConnection> faults_;
};

}  // namespace vym::test
