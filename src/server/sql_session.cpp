#include "server/sql_session.h"

#include "server/column_type.h"
#include "server/sql_engine.h"

namespace vym::server {

std::int64_t SqlSession::Run(std::string_view sql, std::initializer_list<vym::Value> args) {
    auto statement = Prepare(sql);
    statement->BindAll(args);
    while (statement->Step()) {
    }
    return Changes();
}

vym::Value SqlSession::QueryValue(std::string_view sql, std::initializer_list<vym::Value> args) {
    auto statement = Prepare(sql);
    statement->BindAll(args);
    if (!statement->Step()) {
        return vym::Value::Null();
    }
    return ReadStoredValue(*statement, 0);
}

bool SqlSession::TableExists(std::string_view table) {
    return QueryValue(Engine().TableExistsSql(), {table}).ToLong() > 0;
}

}  // namespace vym::server
