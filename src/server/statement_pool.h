#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/sql_statement.h"

namespace vym::server {

// A session's cache of prepared statements keyed by their SQL text. Ad-hoc
// SQL carries its literals, so the cache is bounded. `Statement` has Sql(),
// Rewind() (clears the run and the bindings) and a PoolHome named `home`.
template <class Statement>
class StatementPool {
  public:
    static constexpr std::size_t kMaxCachedStatements = 256;

    // The statements of one text: those idle, and how many are lent. A
    // statement keeps its bucket (PoolHome), so that giving it back neither
    // hashes nor compares its text; a bucket goes only when none of its
    // statements is lent.
    struct Bucket {
        std::vector<std::unique_ptr<Statement>> idle;
        std::size_t lent = 0;
    };

    // An idle statement for `sql`, whose HashedSql::Hash is `hash`, lent from now on;
    // nullptr when none.
    std::unique_ptr<Statement> Take(std::string_view sql, std::size_t hash) {
        const auto found = buckets_.find(Probe{hash, sql});
        if (found == buckets_.end() || found->second.idle.empty()) {
            return nullptr;
        }
        Bucket& bucket = found->second;
        std::unique_ptr<Statement> statement = std::move(bucket.idle.back());
        bucket.idle.pop_back();
        ++bucket.lent;
        --count_;
        return statement;
    }

    // The bucket of a statement just made for `sql`, lent from now on. A new
    // bucket keeps `shared` (the text, never changed), when given, rather
    // than a copy: the text is then known by its address.
    Bucket& Lend(std::string_view sql, std::size_t hash,
                 const std::shared_ptr<const std::string>* shared = nullptr) {
        auto found = buckets_.find(Probe{hash, sql});
        if (found == buckets_.end()) {
            Key key{hash, shared && *shared ? *shared : std::make_shared<const std::string>(sql)};
            found = buckets_.emplace(std::move(key), Bucket{}).first;
        }
        ++found->second.lent;
        return found->second;
    }

    // A statement of `bucket` back from its holders.
    void GiveBack(std::unique_ptr<Statement> statement, Bucket& bucket) {
        statement->Rewind();
        // Before the statement counts as back: its own bucket, still lending
        // it, stays.
        for (auto at = buckets_.begin(); count_ >= kMaxCachedStatements && at != buckets_.end();) {
            at = Drop(at);
        }
        --bucket.lent;
        bucket.idle.push_back(std::move(statement));
        ++count_;
    }

    // Finalizes every idle statement.
    void Clear() {
        for (auto at = buckets_.begin(); at != buckets_.end();) {
            at = Drop(at);
        }
    }

  private:
    // A text with its hash, worked out once when the statement is lent.
    struct Key {
        std::size_t hash;
        std::shared_ptr<const std::string> text;
        std::string_view Text() const { return *text; }
    };
    struct Probe {
        std::size_t hash;
        std::string_view text;
        std::string_view Text() const { return text; }
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(const Key& key) const { return key.hash; }
        std::size_t operator()(const Probe& probe) const { return probe.hash; }
    };
    struct KeyEqual {
        using is_transparent = void;
        // The same memory holds the same text: a text kept shared is
        // not read through.
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            const std::string_view x = a.Text();
            const std::string_view y = b.Text();
            return a.hash == b.hash && x.size() == y.size() &&
                   (x.data() == y.data() || std::memcmp(x.data(), y.data(), x.size()) == 0);
        }
    };
    using Buckets = std::unordered_map<Key, Bucket, KeyHash, KeyEqual>;

    // Finalizes a bucket's idle statements and drops the bucket, unless some
    // of its statements are lent; the bucket after it.
    typename Buckets::iterator Drop(typename Buckets::iterator at) {
        count_ -= at->second.idle.size();
        at->second.idle.clear();
        return at->second.lent == 0 ? buckets_.erase(at) : std::next(at);
    }

    Buckets buckets_;
    std::size_t count_ = 0;  // idle statements
};

// Where a pooled statement goes back to when its last holder lets go: its
// pool, unless the session has gone, and its bucket there. Set once, when the
// statement is made.
template <class Statement>
struct PoolHome {
    std::weak_ptr<StatementPool<Statement>> pool;
    typename StatementPool<Statement>::Bucket* bucket = nullptr;

    // Gives `statement` (whose home this is) back to its pool, or finalizes
    // it when the pool has gone.
    static void Return(std::unique_ptr<Statement> statement) {
        if (auto alive = statement->home.pool.lock()) {
            auto& bucket = *statement->home.bucket;
            alive->GiveBack(std::move(statement), bucket);
        }
    }
};

// Hands a statement out; it returns home (PoolHome) when its last holder lets go.
template <class Statement>
StatementRef Lend(std::unique_ptr<Statement> statement) {
    return StatementRef(statement.release());
}

}  // namespace vym::server
