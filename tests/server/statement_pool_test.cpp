#include "server/statement_pool.h"

#include "server/sql_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vym::server {
namespace {

// A statement that counts the living ones and says whether it was rewound.
struct CountedStatement {
    explicit CountedStatement(std::string text) : sql(std::move(text)) { ++alive; }
    ~CountedStatement() { --alive; }
    CountedStatement(const CountedStatement&) = delete;
    CountedStatement& operator=(const CountedStatement&) = delete;

    const std::string& Sql() const { return sql; }
    void Rewind() { rewound = true; }

    std::string sql;
    bool rewound = false;
    PoolHome<CountedStatement> home;
    static inline int alive = 0;
};

using Pool = StatementPool<CountedStatement>;

// A statement made for `sql` and lent, as a session makes one.
std::unique_ptr<CountedStatement> Made(const std::shared_ptr<Pool>& pool, const std::string& sql) {
    auto statement = std::make_unique<CountedStatement>(sql);
    statement->home = {pool, &pool->Lend(sql, HashedSql::Hash(sql))};
    return statement;
}

TEST(StatementPool, LendsAStatementOnceAndTakesItBackRewound) {
    auto pool = std::make_shared<Pool>();
    const std::string sql = "SELECT item_no FROM vym_item WHERE item_no = ?";
    EXPECT_EQ(pool->Take(sql, HashedSql::Hash(sql)), nullptr);
    auto first = Made(pool, sql);
    CountedStatement* kept = first.get();
    // Lent, the statement is not handed out again: a second holder gets another.
    EXPECT_EQ(pool->Take(sql, HashedSql::Hash(sql)), nullptr);
    PoolHome<CountedStatement>::Return(std::move(first));
    auto again = pool->Take(sql, HashedSql::Hash(sql));
    EXPECT_EQ(again.get(), kept);
    EXPECT_TRUE(again->rewound);
    EXPECT_EQ(pool->Take(sql, HashedSql::Hash(sql)), nullptr);
    PoolHome<CountedStatement>::Return(std::move(again));
    pool.reset();
    EXPECT_EQ(CountedStatement::alive, 0);
}

// Past the bound, idle statements are finalized, but the text of a statement
// still lent keeps its place, so that the statement comes back safely; one
// lent when its pool goes is finalized when let go.
TEST(StatementPool, StaysWithinItsBoundAndTakesBackWhatWasLentMeanwhile) {
    auto pool = std::make_shared<Pool>();
    auto lent = Made(pool, "SELECT 'lent'");
    const std::size_t texts = Pool::kMaxCachedStatements + 40;
    for (std::size_t i = 0; i < texts; ++i) {
        PoolHome<CountedStatement>::Return(Made(pool, "SELECT " + std::to_string(i)));
        EXPECT_LE(CountedStatement::alive, static_cast<int>(Pool::kMaxCachedStatements) + 1);
    }
    pool->Clear();
    EXPECT_EQ(CountedStatement::alive, 1);
    CountedStatement* kept = lent.get();
    PoolHome<CountedStatement>::Return(std::move(lent));
    auto again = pool->Take("SELECT 'lent'", HashedSql::Hash("SELECT 'lent'"));
    EXPECT_EQ(again.get(), kept);
    pool.reset();
    PoolHome<CountedStatement>::Return(std::move(again));
    EXPECT_EQ(CountedStatement::alive, 0);
}

// A bucket keeps a HashedSql's own text rather than a copy, and knows it by
// its address; any other text is still read through, even under the same
// hash, and the text outlives the HashedSql.
TEST(StatementPool, SharedTextsAreKeptAndOthersStillCompared) {
    auto pool = std::make_shared<Pool>();
    auto hashed = std::make_unique<HashedSql>("SELECT description FROM vym_item");
    const std::string same(hashed->Text());
    const std::string other = "SELECT description FROM vym_tree";
    auto statement = std::make_unique<CountedStatement>(same);
    statement->home = {pool, &pool->Lend(hashed->Text(), hashed->hash, &hashed->shared)};
    EXPECT_EQ(hashed->shared.use_count(), 2);
    PoolHome<CountedStatement>::Return(std::move(statement));
    EXPECT_EQ(pool->Take(other, hashed->hash), nullptr);
    auto again = pool->Take(hashed->Text(), hashed->hash);
    ASSERT_NE(again, nullptr);
    PoolHome<CountedStatement>::Return(std::move(again));
    hashed.reset();
    again = pool->Take(same, HashedSql::Hash(same));
    EXPECT_NE(again, nullptr);
    PoolHome<CountedStatement>::Return(std::move(again));
}

}  // namespace
}  // namespace vym::server
