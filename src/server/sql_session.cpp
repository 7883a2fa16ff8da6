#include "server/sql_session.h"

#include <bit>
#include <cstring>

#include "gateway/parameter_index.h"
#include "server/column_type.h"
#include "server/sql_engine.h"
#include "server/sql_error.h"

namespace vym::server {

// Long texts are read 32 bytes a round in four lanes that do not wait for
// each other; the texts themselves are compared, so a hash only has to
// spread them.
std::size_t HashedSql::Hash(std::string_view text) {
    const std::size_t size = text.size();
    if (size < 32) {
        return static_cast<std::size_t>(ParameterIndex::HashName(text));
    }
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    const auto word = [](const char* at) {
        std::uint64_t w = 0;
        std::memcpy(&w, at, sizeof w);
        return w;
    };
    const char* data = text.data();
    std::uint64_t a = size, b = ~size, c = kMix, d = ~kMix;
    const auto round = [&](const char* at) {
        a = (a ^ word(at)) * kMix;
        b = (b ^ word(at + 8)) * kMix;
        c = (c ^ word(at + 16)) * kMix;
        d = (d ^ word(at + 24)) * kMix;
    };
    for (std::size_t at = 0; at + 32 < size; at += 32) {
        round(data + at);
    }
    round(data + size - 32);  // the last 32 bytes, overlapping those before
    std::uint64_t hash = a ^ std::rotl(b, 16) ^ std::rotl(c, 32) ^ std::rotl(d, 48);
    hash = (hash ^ (hash >> 29)) * kMix;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

void SqlSession::ExecuteLongScript(std::string_view sql, const std::function<bool()>& keepGoing) {
    if (!keepGoing()) {
        throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                         "The script was stopped before it started.");
    }
    RunScriptAsking(sql, keepGoing);
}

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
