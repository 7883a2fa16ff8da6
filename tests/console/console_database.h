#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "server/local_app_server.h"
#include "support/server/back_office.h"

namespace vym::test {

// A small catalogue in a database of its own for the console's screens: the
// users ADMIN (with the right "ITEM") and KCHEN (without), functions,
// categories, items of every type with their details, stock with vendors and
// locations, and packages. Item numbers: tickets 1-3 (3 is inactive and a
// line of package 1), ski school 4, photo 5, ship 6, rentals 7 (a package)
// and 8, stock 10-12.
class ConsoleDatabase {
  public:
    ConsoleDatabase();

    // A server on the database signed in as `user`.
    std::unique_ptr<server::LocalAppServer> Open(const std::string& user = "ADMIN") const {
        return office_.OpenAgain(user);
    }
    server::LocalAppServer& Server() { return office_.Local(); }
    void Sql(const std::string& sql) { office_.Sql(sql); }
    std::int32_t Scalar(const std::string& sql) { return office_.Scalar(sql); }
    // Adds `count` ticket items whose descriptions hold `text`.
    void AddTickets(int count, const std::string& text);

  private:
    BackOffice office_{{.demoData = false}};
};

}  // namespace vym::test
