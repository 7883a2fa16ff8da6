#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gateway/parameter_index.h"
#include "server/sql_statement.h"

namespace vym::server {

// A session's cache of prepared statements keyed by their SQL text. Ad-hoc
// SQL carries its literals, so the cache is bounded. `Statement` has Sql()
// and Rewind() (clears the run and the bindings).
template <class Statement>
class StatementPool {
  public:
    static constexpr std::size_t kMaxCachedStatements = 256;

    // The hash of a text: a procedure's long SELECT is hashed on every call,
    // so this is the pool's hot path. Long texts are read 32 bytes a round in
    // four lanes that do not wait for each other; the texts themselves are
    // compared, so a hash only has to spread them.
    static std::size_t Hash(std::string_view text) {
        const std::size_t size = text.size();
        if (size < 32) {
            return static_cast<std::size_t>(ParameterIndex::HashName(text));
        }
        constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
        const char* data = text.data();
        std::uint64_t a = size, b = ~size, c = kMix, d = ~kMix;
        const auto round = [&](const char* at) {
            a = (a ^ Word(at)) * kMix;
            b = (b ^ Word(at + 8)) * kMix;
            c = (c ^ Word(at + 16)) * kMix;
            d = (d ^ Word(at + 24)) * kMix;
        };
        for (std::size_t at = 0; at + 32 < size; at += 32) {
            round(data + at);
        }
        round(data + size - 32);  // the last 32 bytes, overlapping those before
        std::uint64_t hash = a ^ std::rotl(b, 16) ^ std::rotl(c, 32) ^ std::rotl(d, 48);
        hash = (hash ^ (hash >> 29)) * kMix;
        return static_cast<std::size_t>(hash ^ (hash >> 32));
    }

    // An idle statement for `sql`, whose Hash() is `hash`; nullptr when none.
    std::unique_ptr<Statement> Take(std::string_view sql, std::size_t hash) {
        auto found = idle_.find(Probe{hash, sql});
        if (found == idle_.end() || found->second.empty()) {
            return nullptr;
        }
        std::unique_ptr<Statement> statement = std::move(found->second.back());
        found->second.pop_back();
        --count_;
        return statement;
    }

    void GiveBack(std::unique_ptr<Statement> statement, std::size_t hash) {
        statement->Rewind();
        if (count_ >= kMaxCachedStatements) {
            count_ -= idle_.begin()->second.size();
            idle_.erase(idle_.begin());
        }
        auto found = idle_.find(Probe{hash, statement->Sql()});
        if (found == idle_.end()) {
            found = idle_.emplace(Key{hash, statement->Sql()}, Idle{}).first;
        }
        found->second.push_back(std::move(statement));
        ++count_;
    }

    void Clear() {
        idle_.clear();
        count_ = 0;
    }

  private:
    static std::uint64_t Word(const char* at) {
        std::uint64_t word = 0;
        std::memcpy(&word, at, sizeof word);
        return word;
    }

    // A text with its hash, worked out once when the statement is lent.
    struct Key {
        std::size_t hash;
        std::string text;
    };
    struct Probe {
        std::size_t hash;
        std::string_view text;
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(const Key& key) const { return key.hash; }
        std::size_t operator()(const Probe& probe) const { return probe.hash; }
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return a.hash == b.hash && std::string_view(a.text) == std::string_view(b.text);
        }
    };
    using Idle = std::vector<std::unique_ptr<Statement>>;
    std::unordered_map<Key, Idle, KeyHash, KeyEqual> idle_;
    std::size_t count_ = 0;
};

// Hands a statement out; it returns to the pool when its last holder lets go,
// or is finalized when the session has gone.
template <class Statement>
std::shared_ptr<SqlStatement> Lend(std::unique_ptr<Statement> statement,
                                   const std::shared_ptr<StatementPool<Statement>>& pool,
                                   std::size_t hash) {
    return {statement.release(), [weak = std::weak_ptr(pool), hash](Statement* s) {
                std::unique_ptr<Statement> owned(s);
                if (auto alive = weak.lock()) {
                    alive->GiveBack(std::move(owned), hash);
                }
            }};
}

}  // namespace vym::server
