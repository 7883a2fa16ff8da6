#pragma once

#include <string>

namespace vym::test {

// The PostgreSQL server the tests run on: VYM_TEST_POSTGRESQL, the URI of a
// database there that the tests may create databases from. Empty when the
// tests run on SQLite.
std::string PostgresServer();

// A database of its own for one test on that server, dropped when it goes:
// a copy of a migrated database (with the demo rows or without) that each
// test program builds once and keeps as a template, so that a test starts
// in the time the server takes to copy it.
class PostgresDatabase {
  public:
    explicit PostgresDatabase(bool demoData);
    ~PostgresDatabase();
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    const std::string& Uri() const { return uri_; }

  private:
    std::string name_;
    std::string uri_;
};

}  // namespace vym::test
