#pragma once

#include <memory>

#include "support/server/delegating_app_server.h"
#include "support/server/fault_injecting_connection.h"

namespace vym::test {

// An application server that hands out its connection behind a fault
// injector, so that a test can count database calls and fail the one it names.
class FaultyAppServer : public DelegatingAppServer {
  public:
    explicit FaultyAppServer(AppServer& inner)
        : DelegatingAppServer(inner),
          faults_(std::make_shared<test::FaultInjectingConnection>(inner.DBConnection(),
                                                                   inner.ErrorObject())) {}

    std::shared_ptr<Connection> DBConnection() override { return faults_; }
    test::FaultInjectingConnection& Faults() { return *faults_; }

  private:
    std::shared_ptr<test::FaultInjectingConnection> faults_;
};

}  // namespace vym::test
