#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/sql_statement.h"

namespace vym::server {

// A session's cache of prepared statements keyed by their SQL text. Ad-hoc
// SQL carries its literals, so the cache is bounded. `Statement` has Sql()
// and Rewind() (clears the run and the bindings).
template <class Statement>
class StatementPool {
  public:
    static constexpr std::size_t kMaxCachedStatements = 256;

    std::unique_ptr<Statement> Take(std::string_view sql) {
        auto found = idle_.find(sql);
        if (found == idle_.end() || found->second.empty()) {
            return nullptr;
        }
        std::unique_ptr<Statement> statement = std::move(found->second.back());
        found->second.pop_back();
        --count_;
        return statement;
    }

    void GiveBack(std::unique_ptr<Statement> statement) {
        statement->Rewind();
        if (count_ >= kMaxCachedStatements) {
            count_ -= idle_.begin()->second.size();
            idle_.erase(idle_.begin());
        }
        idle_[statement->Sql()].push_back(std::move(statement));
        ++count_;
    }

    void Clear() {
        idle_.clear();
        count_ = 0;
    }

  private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::vector<std::unique_ptr<Statement>>, TextHash,
                       std::equal_to<>>
        idle_;
    std::size_t count_ = 0;
};

// Hands a statement out; it returns to the pool when its last holder lets go,
// or is finalized when the session has gone.
template <class Statement>
std::shared_ptr<SqlStatement> Lend(std::unique_ptr<Statement> statement,
                                   const std::shared_ptr<StatementPool<Statement>>& pool) {
    return {statement.release(), [weak = std::weak_ptr(pool)](Statement* s) {
                std::unique_ptr<Statement> owned(s);
                if (auto alive = weak.lock()) {
                    alive->GiveBack(std::move(owned));
                }
            }};
}

}  // namespace vym::server
