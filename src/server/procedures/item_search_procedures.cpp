#include "server/procedures/item_search_procedures.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "server/procedure_context.h"
#include "server/sql_engine.h"

namespace vym::server {
namespace {

// Up to this many matches are read through whichever criterion finds them
// fastest and then sorted; more are read by walking the order's own index,
// which reaches the first rows shown long before every match is found.
constexpr std::int32_t kSortedMatches = 5000;
// A status all items but at most this many share is counted by those others.
constexpr std::int32_t kFewOthers = 50000;

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

// Whether a criterion's index may find the rows of a search. One whose index
// hands rows out in the result's order always may; another would make a
// search of many matches read and sort every match first, so then it only
// filters (and when counting, whenever a criterion of the first kind can
// find the rows). A weak one (the status: most items share one) finds rows
// only when no other criterion's index can. Some have no index at all.
enum class Drives { Always, WhenFew, Weakly, Never };

// A text built the first time it is needed and never changed after: once
// made, it is read without a lock.
struct KeptText {
    std::atomic<bool> made = false;
    HashedSql sql;
};

// The SQL texts of one shape of search (Search::Shape).
struct ShapeTexts {
    KeptText count;      // of every match
    KeptText gramCount;  // from the counts kept as items are written
    KeptText tabCount;
    KeptText otherCount;  // of the matches of the other statuses
    KeptText rowsNone;    // the rows, by plan
    KeptText rowsSorted;
    KeptText rowsWalked;
};

// The texts of one procedure's searches by their shapes: a search's SQL
// depends only on its tables and on its conditions and how each finds rows,
// never on the values bound, and building it cost the read of one item by
// number more than running it did. Kept texts stay where they are until the
// program ends; past kMost shapes (most shapes are rare) the texts of more
// are built for their call alone.
class SearchTexts {
  public:
    static constexpr std::size_t kMost = 1024;

    // The texts of one search: those kept for its shape, if any.
    class Kept {
      public:
        Kept(SearchTexts& all, ShapeTexts* mine) : all_(all), mine_(mine) {}
        SearchTexts& All() const { return all_; }

        // The text in `slot`, made by `build` the first time; `unkept`
        // holds it when the shape has no texts kept.
        template <class Build>
        const HashedSql& Get(KeptText ShapeTexts::*slot, Build build, HashedSql& unkept) const {
            if (mine_ == nullptr) {
                unkept = HashedSql(build());
                return unkept;
            }
            KeptText& kept = mine_->*slot;
            if (!kept.made.load(std::memory_order_acquire)) {
                const std::lock_guard lock(all_.mutex_);
                if (!kept.made.load(std::memory_order_relaxed)) {
                    kept.sql = HashedSql(build());
                    kept.made.store(true, std::memory_order_release);
                }
            }
            return kept.sql;
        }

      private:
        SearchTexts& all_;
        ShapeTexts* mine_;
    };

    Kept Of(std::string_view shape) {
        const std::lock_guard lock(mutex_);
        if (const auto found = byShape_.find(shape); found != byShape_.end()) {
            return {*this, found->second.get()};
        }
        if (byShape_.size() >= kMost) {
            return {*this, nullptr};
        }
        return {*this, byShape_.emplace(std::string(shape), std::make_unique<ShapeTexts>())
                           .first->second.get()};
    }

  private:
    // Shapes are looked up as they are written, without a copy.
    struct ShapeHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view shape) const { return HashedSql::Hash(shape); }
    };
    std::mutex mutex_;
    std::unordered_map<std::string, std::unique_ptr<ShapeTexts>, ShapeHash, std::equal_to<>>
        byShape_;
};

// What a procedure's rows hold: the columns, the joins they need and the
// console's order, with the texts of its searches.
struct Rows {
    std::string columns;
    std::string joins;
    std::string orderBy;
    mutable SearchTexts texts = {};
};

// A search being put together: the table of every match (the item, or a
// package), the detail table of the tab's item type joined to it, the
// conditions and the values they bind, in order.
class Search {
  public:
    // `table` and `detail` are a table and its alias ("vym_item_stock s"),
    // spelt out where the search is made; a detail joins the item by its
    // number.
    Search(const SqlEngine& engine, std::string_view table, std::string_view detail = {})
        : engine_(&engine), table_(table), detail_(detail) {}

    const SqlEngine& Engine() const { return *engine_; }

    // A condition on the item table, or (`onItem` false) on the detail table
    // or the item number alone.
    void Where(std::string condition, std::vector<vym::Value> values, Drives drives,
               bool onItem = true) {
        Condition& added = conditions_.emplace_back();
        added.sql = std::move(condition);
        added.drives = drives;
        added.onItem = onItem;
        added.values = std::move(values);
    }
    // `column` compared with `op` ("= ?", "LIKE ? ESCAPE '\'") to the value.
    void Where(std::string_view column, std::string_view op, vym::Value value, Drives drives,
               bool onItem = true) {
        const std::string tail = " " + std::string(op);
        Where(std::string(column) + tail, {std::move(value)}, drives, onItem);
        Condition& added = conditions_.back();
        added.filterOnly = engine_->NotIndexed(column) + tail;
        added.probe = added.filterOnly;
    }
    // Most items share one status: it finds rows only when nothing else can,
    // and a count of the common one counts the rare others instead.
    void MatchStatus(const std::string& status) {
        Where("i.status_id", "= ?", status, Drives::Weakly);
        conditions_.back().status = true;
    }
    // The last condition's index holds the status: a count of both reads
    // one range of it.
    void IndexedWithStatus() { conditions_.back().withStatus = true; }
    // The last condition as tried on one row found otherwise, when its own
    // form would lead the count through its index instead.
    void ProbedBy(std::string probe) { conditions_.back().probe = std::move(probe); }
    // The last condition, as a walk in the console's order tests it on each
    // row instead of listing its matches first.
    void FilteredBy(std::string filter) { conditions_.back().filterOnly = std::move(filter); }
    // The last condition is the item's function: each typed tab's counts
    // hold it (see CountedByTab).
    void CountedByTab() { conditions_.back().tabCounted = true; }
    // The last condition's matches are counted as they are written, in
    // `table`'s column `items` by the rows that meet `match` (bound to the
    // condition's values): read from there when it is the only condition.
    void CountedIn(std::string_view table, std::string_view match) {
        conditions_.back().counted = "SELECT COALESCE(SUM(items), 0) FROM " + std::string(table) +
                                     " WHERE " + std::string(match);
    }

    // The item number of the narrowest table that holds every match.
    std::string Key() const {
        return std::string(Alias(detail_.empty() ? table_ : detail_)) + ".item_no";
    }
    bool OnItemKey() const { return detail_.empty(); }

    // A description long enough for the trigram index drives the search from
    // the index, so only matching items are read; shorter ones read the
    // descriptions.
    void MatchDescription(const std::string& text) {
        // The full-text query would end at a NUL and fail; no one types one
        // into a description, so such a text quietly finds nothing.
        if (text.find('\0') != std::string::npos) {
            Where("1 = 0", {}, Drives::Always);
        } else if (UsesDescriptionIndex(text)) {
            const SqlEngine::TrigramSearch search = engine_->DescriptionSearch();
            trigram_ = search;
            Where(search.condition, {engine_->TrigramArgument(text)}, Drives::Always,
                  search.table.empty());
            // Tried on one row, the index is the LIKE the short texts use, which
            // folds the case of the same letters when the text is plain ASCII.
            Condition& match = conditions_.back();
            match.probe = IsAscii(text) ? "i.long_description " + std::string(engine_->Like()) +
                                              " ? ESCAPE '\\'"
                                        : std::string();
            match.probeValues = std::vector<vym::Value>{"%" + StartsWithPattern(text)};
            // Words of digits alone are not counted by word.
            const bool digits = std::all_of(text.begin(), text.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) != 0;
            });
            if (text.find(' ') == std::string::npos && !digits) {
                match.word = text;
            }
            // The index hands its matches out by item number: kept, so that
            // the first rows come without sorting every match.
            order_ = search.order;
        } else {
            Where("i.long_description", std::string(engine_->Like()) + " ? ESCAPE '\\'",
                  "%" + StartsWithPattern(text), Drives::WhenFew);
            conditions_.back().gram = text;
        }
    }

    // "SELECT <columns> FROM ... WHERE ...": the matches, for a subquery.
    std::string Select(const std::string& columns) const {
        return "SELECT " + columns + " FROM " + From(false, "") + WhereClause(Plan::Count, false);
    }
    // The values of the conditions, after those `before` them.
    std::vector<vym::Value> Values(std::vector<vym::Value> before = {}) const {
        std::size_t count = before.size();
        for (const Condition& condition : conditions_) {
            count += condition.values.size();
        }
        before.reserve(count);
        for (const Condition& condition : conditions_) {
            before.insert(before.end(), condition.values.begin(), condition.values.end());
        }
        return before;
    }

    // What the texts of the search depend on (the key of SearchTexts): the
    // engine, the tables, and each condition's forms and how it finds rows,
    // but no value. Written into the thread's own buffer, which is good until
    // the thread's next Shape(): a call looks its texts up with it at once.
    std::string_view Shape() const {
        thread_local std::string shape;
        shape.assign(engine_->Name());
        shape.push_back('\x1f');
        shape.append(table_).push_back('\x1f');
        shape.append(detail_);
        for (const Condition& c : conditions_) {
            shape.push_back('\x1e');
            shape.append(c.sql).push_back('\x1f');
            shape.append(c.filterOnly).push_back('\x1f');
            shape.append(c.Probe()).push_back('\x1f');
            const char flags[] = {static_cast<char>('0' + static_cast<int>(c.drives)),
                                  c.onItem ? 'i' : '-',
                                  c.status ? 's' : '-',
                                  c.withStatus ? 'w' : '-',
                                  c.tabCounted ? 'f' : '-',
                                  c.gram.empty() ? '-' : 'g',
                                  c.word.empty() ? '-' : 'w'};
            shape.append(flags, sizeof flags);
        }
        return shape;
    }

    // The number of matches goes to @RETURN_VALUE; the rows are read only as
    // the caller walks them, so asking how many costs no row. How the rows
    // are read follows from the number.
    void Answer(ProcedureContext& call, const Rows& rows,
                std::vector<vym::Value> columnValues = {}) const {
        const SearchTexts::Kept kept = rows.texts.Of(Shape());
        // Those of a single condition (one item by its number) as they are.
        std::vector<vym::Value> gathered;
        const std::vector<vym::Value>& values =
            conditions_.size() == 1 ? conditions_.front().values : (gathered = Values());
        const std::int32_t count = Count(call.Session(), kept, values);
        call.SetReturnValue(count);
        const Plan plan = count == 0                ? Plan::Nothing
                          : count <= kSortedMatches ? Plan::Sort
                                                    : Plan::Walk;
        const std::optional<Search> walk =
            plan == Plan::Walk ? WithinMatchedPlaces(call.Session(), rows.orderBy) : std::nullopt;
        const Search& read = walk ? *walk : *this;
        // Bound to the rows: the columns' values, then those of the conditions,
        // which the text of no match does not test.
        const bool ownValues = walk || !columnValues.empty() || plan == Plan::Nothing;
        const std::vector<vym::Value> readValues = !ownValues ? std::vector<vym::Value>()
                                                   : plan == Plan::Nothing
                                                       ? std::move(columnValues)
                                                       : read.Values(std::move(columnValues));
        const std::vector<vym::Value>& bound = ownValues ? readValues : values;
        // A walk reads the order's own index and joins the lookups to each
        // row it keeps, as written; a few matches are found through their
        // criteria, which the planner may have to join first.
        if (const std::string_view asWritten = engine_->JoinsAsWritten();
            plan == Plan::Walk && !asWritten.empty()) {
            call.Session().Run(asWritten);
        }
        HashedSql unkept;
        const HashedSql& sql = (walk ? rows.texts.Of(walk->Shape()) : kept)
                                   .Get(
                                       plan == Plan::Walk   ? &ShapeTexts::rowsWalked
                                       : plan == Plan::Sort ? &ShapeTexts::rowsSorted
                                                            : &ShapeTexts::rowsNone,
                                       [&] {
                                           return "SELECT " + rows.columns + " FROM " +
                                                  read.From(false, rows.joins) +
                                                  read.WhereClause(plan, false) + " ORDER BY " +
                                                  read.Order(plan, rows.orderBy);
                                       },
                                       unkept);
        SqlStatement& statement = call.EmitResultSet(sql, bound);
        // The console shows the first rows while it reads the rest.
        if (plan == Plan::Walk) {
            statement.FetchInBatches();
        }
    }

  private:
    enum class Plan { Count, Nothing, Sort, Walk };
    struct Condition {
        std::string sql;
        std::string filterOnly;  // the same kept from an index (when it has one)
        Drives drives;
        bool onItem;
        std::vector<vym::Value> values;
        // The same tested on a row found otherwise (none when it is empty),
        // and its values, when they are not those of the condition itself.
        std::optional<std::string> probe;
        std::optional<std::vector<vym::Value>> probeValues;
        bool status = false;
        std::string gram;         // a description too short for the trigram index
        std::string word = {};    // a longer one within one word
        bool withStatus = false;  // its index holds the status too
        bool tabCounted = false;  // the function, which the typed tabs count by
        std::string counted;      // reads the number of its matches alone (CountedIn)

        const std::string& Probe() const { return probe ? *probe : sql; }
        const std::vector<vym::Value>& ProbeValues() const {
            return probeValues ? *probeValues : values;
        }
    };

    static std::string_view Alias(std::string_view table) {
        return table.substr(table.rfind(' ') + 1);
    }
    // A typed tab walked in the console's order skips the functions that
    // hold none of its items (a type's items often sit in a few): its counts
    // tell which, unless one of its items has no function.
    std::optional<Search> WithinTabFunctions(SqlSession& session) const {
        const std::string sql =
            "SELECT DISTINCT function_id FROM vym_item_tab_count WHERE tab = ? AND items > 0" +
            StatusClause();
        std::vector<vym::Value> values = {Tab()};
        AddStatusValue(values);
        auto functions = session.Prepare(sql);
        functions->BindAll(values);
        std::string list;
        std::vector<vym::Value> names;
        while (functions->Step()) {
            const std::string name(functions->ColumnText(0));
            if (name.empty()) {
                return std::nullopt;
            }
            list += list.empty() ? "?" : ", ?";
            names.emplace_back(name);
        }
        if (names.empty()) {
            return std::nullopt;
        }
        Search walk = *this;
        walk.Where("i.function_id IN (" + list + ")", std::move(names), Drives::Always);
        return walk;
    }

    // A short text walked in the console's order starts at the first
    // function and category holding it (a text of one category sits late in
    // most functions): its counts tell which. Items with no function sort
    // apart on each engine, and with no category first in their function on
    // one and last on the other: they count under '', which comes first.
    std::optional<Search> FromFirstPlace(SqlSession& session, const std::string& gram) const {
        const std::string sql =
            "SELECT function_id, catagory_id FROM vym_item_gram_count WHERE gram = lower(?) "
            "AND items > 0" +
            StatusClause();
        std::vector<vym::Value> values = {gram};
        AddStatusValue(values);
        auto place = session.Prepare(sql + " ORDER BY function_id, catagory_id LIMIT 1");
        place->BindAll(values);
        if (!place->Step() || place->ColumnText(0).empty()) {
            return std::nullopt;
        }
        Search walk = *this;
        const std::string function(place->ColumnText(0));
        const std::string catagory(place->ColumnText(1));
        if (catagory.empty()) {
            walk.Where("i.function_id >= ?", {function}, Drives::Always);
        } else {
            walk.Where("(i.function_id, i.catagory_id) >= (?, ?)", {function, catagory},
                       Drives::Always);
        }
        return walk;
    }

    // A walk in the console's order that the counts let skip what holds no
    // match.
    std::optional<Search> WithinMatchedPlaces(SqlSession& session,
                                              const std::string& orderBy) const {
        const bool byFunction = std::any_of(conditions_.begin(), conditions_.end(),
                                            [](const Condition& c) { return c.tabCounted; });
        if (byFunction || !trigram_.table.empty() ||
            !orderBy.starts_with("i.function_id, i.catagory_id")) {
            return std::nullopt;
        }
        if (!detail_.empty()) {
            return WithinTabFunctions(session);
        }
        const auto gram = std::find_if(conditions_.begin(), conditions_.end(),
                                       [](const Condition& c) { return !c.gram.empty(); });
        return gram == conditions_.end() ? std::nullopt : FromFirstPlace(session, gram->gram);
    }

    // The table that names the tab in the counts: the detail table, or the
    // item table on the tab of all items (see CountedByTab).
    std::string Tab() const {
        const std::string_view table = detail_.empty() ? table_ : detail_;
        return std::string(table.substr(0, table.find(' ')));
    }

    bool NeedsItem() const {
        return detail_.empty() || std::any_of(conditions_.begin(), conditions_.end(),
                                              [](const Condition& c) { return c.onItem; });
    }

    // The tables read; a count leaves out the item table when no condition
    // is on it, and everything but the trigram index when it alone decides.
    std::string From(bool lean, const std::string& joins) const {
        const bool item = !lean || NeedsItem();
        std::string tables(item ? table_ : detail_);
        if (item && !detail_.empty()) {
            tables.append(" JOIN ").append(detail_).append(" ON ").append(Key()).append(" = ");
            tables.append(Alias(table_)).append(".item_no");
        }
        if (trigram_.table.empty()) {
            return tables + joins;
        }
        if (lean && detail_.empty() && conditions_.size() == 1) {
            return trigram_.table;
        }
        // The cross join keeps the planner from probing the index once per item.
        return trigram_.table + " CROSS JOIN " + tables + joins;
    }

    // `lean`: for the tables of the count.
    std::string WhereClause(Plan plan, bool lean) const {
        std::string clause;
        const auto add = [&clause](const std::string& condition) {
            clause += clause.empty() ? " WHERE " : " AND ";
            clause += condition;
        };
        // No match: the rows' columns alone, with no condition to test and
        // so no value bound that the engine would prepare the text again for
        // (a pattern it might match through an index).
        if (plan == Plan::Nothing) {
            return " WHERE 1 = 0";
        }
        const auto any = [this](auto test) {
            return std::any_of(conditions_.begin(), conditions_.end(), test);
        };
        const bool strongFinds = any([](const Condition& c) { return c.drives == Drives::Always; });
        const bool otherFinds = any([](const Condition& c) {
            return c.drives == Drives::Always || c.drives == Drives::WhenFew;
        });
        for (const Condition& condition : conditions_) {
            const bool filterOnly =
                (condition.drives == Drives::WhenFew &&
                 (plan == Plan::Walk || (plan == Plan::Count && strongFinds))) ||
                (condition.drives == Drives::Weakly && (plan == Plan::Walk || otherFinds));
            add(filterOnly ? condition.filterOnly : condition.sql);
        }
        if (!trigram_.table.empty() && From(lean, "") != trigram_.table) {
            add((lean && !NeedsItem() ? Key() : "i.item_no") + " = " + trigram_.key);
        }
        return clause;
    }

    std::string Order(Plan plan, const std::string& orderBy) const {
        if (!order_.empty()) {
            return order_;
        }
        if (plan != Plan::Sort) {
            return orderBy;
        }
        std::string order;
        for (std::size_t start = 0; start < orderBy.size();) {
            std::size_t end = orderBy.find(", ", start);
            end = end == std::string::npos ? orderBy.size() : end;
            order += (order.empty() ? "" : ", ") +
                     engine_->NotIndexed(std::string_view(orderBy).substr(start, end - start));
            start = end + 2;
        }
        return order;
    }

    // A status that all but a few items share is counted the other way round
    // when those few are fewer than the matches of the other criteria: every
    // match less those of the other statuses, found through the status index.
    // `values` are those of the conditions.
    std::int32_t Count(SqlSession& session, const SearchTexts::Kept& kept,
                       const std::vector<vym::Value>& values) const {
        if (const auto counted = CountedGram(session, kept)) {
            return *counted;
        }
        if (const auto counted = CountedByTab(session, kept)) {
            return *counted;
        }
        const auto status = std::find_if(conditions_.begin(), conditions_.end(),
                                         [](const Condition& c) { return c.status; });
        const bool probes =
            std::all_of(conditions_.begin(), conditions_.end(),
                        [](const Condition& c) { return c.status || !c.Probe().empty(); });
        // The status alone counts the rest of the items the other way round too.
        const bool indexed =
            std::any_of(conditions_.begin(), conditions_.end(),
                        [](const Condition& c) { return c.withStatus; }) &&
            std::all_of(conditions_.begin(), conditions_.end(),
                        [](const Condition& c) { return c.status || c.withStatus; });
        if (status == conditions_.end() || !probes || indexed) {
            return CountAll(session, kept, values);
        }
        Search rest = *this;
        rest.conditions_.erase(rest.conditions_.begin() + (status - conditions_.begin()));
        const SearchTexts::Kept restKept = kept.All().Of(rest.Shape());
        const std::int32_t matches = rest.CountAll(session, restKept, rest.Values());
        const std::int32_t few = std::min(matches, kFewOthers);
        const vym::Value& value = status->values.front();
        // A tab none of whose items has another status matches as many.
        if (matches == 0 || (!detail_.empty() && TabOtherStatuses(session, value) == 0)) {
            return matches;
        }
        if (OtherStatuses(session, value, few) >= few) {
            return CountAll(session, kept, values);
        }
        return matches - rest.CountOtherStatuses(session, restKept, value);
    }

    // The status criterion, if any, on a count table: its condition and its value.
    std::string StatusClause() const {
        std::string clause;
        for (const Condition& condition : conditions_) {
            if (condition.status) {
                clause += " AND status_id = ?";
            }
        }
        return clause;
    }
    void AddStatusValue(std::vector<vym::Value>& values) const {
        for (const Condition& condition : conditions_) {
            if (condition.status) {
                values.push_back(condition.values.front());
            }
        }
    }

    // A short description alone, or with the status, among all items or on a
    // typed tab: its matches are counted as the items are written, by text
    // and status (and tab). So are those of a longer one within one word,
    // by word, when a single word holds it.
    std::optional<std::int32_t> CountedGram(SqlSession& session,
                                            const SearchTexts::Kept& kept) const {
        const auto counted = [](const Condition& c) { return !c.gram.empty() || !c.word.empty(); };
        const auto gram = std::find_if(conditions_.begin(), conditions_.end(), counted);
        const bool alone =
            std::all_of(conditions_.begin(), conditions_.end(),
                        [&counted](const Condition& c) { return c.status || counted(c); });
        if (gram == conditions_.end() || !alone) {
            return std::nullopt;
        }
        const bool byWord = gram->gram.empty();
        HashedSql unkept;
        const HashedSql& sql = kept.Get(
            &ShapeTexts::gramCount,
            [&] {
                return (byWord            ? std::string(engine_->WordCountSql(!detail_.empty()))
                        : detail_.empty() ? "SELECT 1, COALESCE(SUM(items), 0) FROM "
                                            "vym_item_gram_count WHERE gram = lower(?)"
                                          : "SELECT 1, COALESCE(SUM(items), 0) FROM "
                                            "vym_item_tab_gram_count WHERE gram = lower(?) "
                                            "AND tab = ?") +
                       StatusClause();
            },
            unkept);
        std::vector<vym::Value> values = {byWord ? engine_->TrigramArgument(gram->word)
                                                 : gram->gram};
        if (!detail_.empty()) {
            values.push_back(Tab());
        }
        AddStatusValue(values);
        auto statement = session.Prepare(sql);
        statement->BindAll(values);
        statement->Step();
        // Two words holding the text may stand in one description.
        if (statement->ColumnInt64(0) > 1) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(statement->ColumnInt64(1));
    }

    // A tab of items searched by function, status, both or neither: its rows
    // are counted by both as they are written (to the tab's own table or
    // to their items). Packages are not counted.
    std::optional<std::int32_t> CountedByTab(SqlSession& session,
                                             const SearchTexts::Kept& kept) const {
        const bool counted =
            std::all_of(conditions_.begin(), conditions_.end(),
                        [](const Condition& c) { return c.status || c.tabCounted; });
        if (!counted || (detail_.empty() && Tab() != "vym_item")) {
            return std::nullopt;
        }
        std::vector<vym::Value> values = {Tab()};
        for (const Condition& condition : conditions_) {
            values.push_back(condition.values.front());
        }
        HashedSql unkept;
        const HashedSql& sql = kept.Get(
            &ShapeTexts::tabCount,
            [this] {
                std::string text =
                    "SELECT COALESCE(SUM(items), 0) FROM vym_item_tab_count WHERE tab = ?";
                for (const Condition& condition : conditions_) {
                    text += condition.status ? " AND status_id = ?" : " AND function_id = ?";
                }
                return text;
            },
            unkept);
        return Single(session, sql, values);
    }

    // The one number `sql` reads.
    // `sql` is a text or a HashedSql.
    template <class Sql>
    static std::int32_t Single(SqlSession& session, const Sql& sql,
                               const std::vector<vym::Value>& values) {
        auto statement = session.Prepare(sql);
        statement->BindAll(values);
        statement->Step();
        return static_cast<std::int32_t>(statement->ColumnInt64(0));
    }

    std::int32_t CountAll(SqlSession& session, const SearchTexts::Kept& kept,
                          const std::vector<vym::Value>& values) const {
        if (conditions_.size() == 1 && !conditions_.front().counted.empty()) {
            return Single(session, conditions_.front().counted, values);
        }
        HashedSql unkept;
        const HashedSql& sql = kept.Get(
            &ShapeTexts::count,
            [this] {
                return "SELECT count(*) FROM " + From(true, "") + WhereClause(Plan::Count, true);
            },
            unkept);
        return Single(session, sql, values);
    }

    // How many items have another status than `status`, up to `most`: read
    // from the status index, never more than that many.
    static std::int32_t OtherStatuses(SqlSession& session, const vym::Value& status,
                                      std::int32_t most) {
        return session
            .QueryValue(
                "SELECT count(*) FROM (SELECT 1 FROM vym_item WHERE status_id < ? "
                "OR status_id > ? LIMIT ?) other",
                {status, status, most})
            .ToLong();
    }

    // How many of the tab's items have another status than `status`.
    std::int32_t TabOtherStatuses(SqlSession& session, const vym::Value& status) const {
        return Single(session,
                      "SELECT COALESCE(SUM(items), 0) FROM vym_item_tab_count WHERE tab = ? "
                      "AND (status_id < ? OR status_id > ?)",
                      {Tab(), status, status});
    }

    // The matches of another status than `status`, each found through the
    // status index and tried against the criteria.
    std::int32_t CountOtherStatuses(SqlSession& session, const SearchTexts::Kept& kept,
                                    const vym::Value& status) const {
        std::vector<vym::Value> values = {status, status};
        for (const Condition& condition : conditions_) {
            values.insert(values.end(), condition.ProbeValues().begin(),
                          condition.ProbeValues().end());
        }
        HashedSql unkept;
        const HashedSql& sql = kept.Get(
            &ShapeTexts::otherCount,
            [this] {
                std::string text = "SELECT count(*) FROM " + std::string(table_);
                if (!detail_.empty()) {
                    text.append(" JOIN ").append(detail_).append(" ON ").append(Key());
                    text.append(" = i.item_no");
                }
                text += " WHERE (i.status_id < ? OR i.status_id > ?)";
                for (const Condition& condition : conditions_) {
                    text += " AND " + condition.Probe();
                }
                return text;
            },
            unkept);
        return Single(session, sql, values);
    }

    const SqlEngine* engine_;
    std::string_view table_;
    std::string_view detail_;
    SqlEngine::TrigramSearch trigram_;  // its table is empty unless the trigram index drives
    std::string order_;                 // the order of the driving index, when it decides
    std::vector<Condition> conditions_;
};

std::optional<std::string> Text(const ProcedureContext& call, std::string_view name) {
    auto text = call.GetString(name);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return text;
}

vym::Value TextValue(const ProcedureContext& call, std::string_view name) {
    const auto text = Text(call, name);
    return text ? vym::Value(*text) : vym::Value::Null();
}

// Criteria every item tab shares.
void AddItemCriteria(const ProcedureContext& call, Search& search) {
    if (const auto number = call.GetLong("@item_no")) {
        search.Where("i.item_no = ?", {*number}, Drives::Always);
    }
    if (const auto description = Text(call, "@description")) {
        search.MatchDescription(*description);
    }
    // The function index holds the result's order.
    if (const auto function = Text(call, "@function_id")) {
        search.Where("i.function_id", "= ?", *function, Drives::Always);
        search.IndexedWithStatus();
        search.CountedByTab();
    }
    if (const auto catagory = Text(call, "@catagory_id")) {
        search.Where("i.catagory_id", "= ?", *catagory, Drives::Always);
    }
    if (const auto status = Text(call, "@status_id")) {
        search.MatchStatus(*status);
    }
}

void AddRegisterGroupCriterion(const ProcedureContext& call, Search& search) {
    if (const auto group = Text(call, "@register_group_id")) {
        search.Where("EXISTS (SELECT 1 FROM vym_register_group_item g WHERE g.item_no = " +
                         search.Key() + " AND g.register_group_id = ?)",
                     {*group}, Drives::Never, search.OnItemKey());
    }
}

// Columns every item tab returns: what a result row shows of any item.
const std::string kItemColumns =
    "i.item_no, i.item_type, i.function_id, i.catagory_id, i.long_description, i.status_id, "
    "i.item_color, i.tree_icon AS Tree_ICON, f.tree_icon AS fun_tree_icon";
const std::string kFunctionJoin = " LEFT JOIN vym_function f ON f.function_id = i.function_id";
// Rows come grouped by function and category; a function search reads them
// in this order straight from the function index.
const std::string kItemOrder = "i.function_id, i.catagory_id, i.item_no";

// Also the read of one item (@item_no alone) by the item record.
const Rows kItemRows = {
    "i.item_no, i.item_type, i.function_id, f.description AS fun_desc, "
    "i.catagory_id, c.description AS cat_desc, i.short_description, "
    "i.long_description, i.tree_icon AS Tree_ICON, f.tree_icon AS fun_tree_icon, "
    "i.item_color, i.department_id, i.host_required, i.redeem_item, "
    "r.long_description AS redeem_item_description, "
    "r.item_type AS redeem_item_type, i.taxable AS Taxable, i.status_id, "
    "i.instruction_no, n.instruction_body AS Instruction_Body, i.comment_note, "
    "i.report_note, i.unit_based_return, i.return_charge_rate, "
    "i.maintain_inventory, i.show_on_tree, i.sale_profile_id, i.return_profile_id, "
    "i.format_no, i.row_version",
    kFunctionJoin +
        " LEFT JOIN vym_catagory c ON c.function_id = i.function_id "
        "AND c.catagory_id = i.catagory_id "
        "LEFT JOIN vym_item r ON r.item_no = i.redeem_item "
        "LEFT JOIN vym_item_instruction n ON n.instruction_no = i.instruction_no",
    kItemOrder};

void GetItem(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i");
    AddItemCriteria(call, search);
    AddRegisterGroupCriterion(call, search);
    search.Answer(call, kItemRows);
}

void RegisterAllItems(ProcedureCatalog& catalog) {
    catalog.AddRead(
        "VYM_SP_ITEM_GetItem",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@register_group_id", DataType::VarChar, 10)},
        GetItem);
}

const Rows kTicketRows = {kItemColumns +
                              ", t.access_rule_no, t.access_trans_type_id, i.format_no, "
                              "t.use_negative_format, t.serialized AS Serialized",
                          kFunctionJoin, kItemOrder};

void GetItemTicket(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i", "vym_item_ticket t");
    AddItemCriteria(call, search);
    AddRegisterGroupCriterion(call, search);
    search.Answer(call, kTicketRows);
}

// A map id names one item at most: it is looked up first and the search
// asks for that item by number. Left as a subquery among the lookup joins,
// PostgreSQL would join it last and read all the stock to find one item.
void WhereMapped(ProcedureContext& call, Search& search, const char* column) {
    if (const auto map = Text(call, "@map_id")) {
        search.Where(std::string(column) + " = ?",
                     {call.Session().QueryValue(
                         "SELECT item_no FROM vym_item_stock_map WHERE map_id = ?", {*map})},
                     Drives::Always, false);
    }
}

const Rows kServiceRows = {
    kItemColumns +
        ", i.format_no, ss.labor_code_id, ss.event_type_id, "
        "ss.serialized AS Serialized, ss.access_rule_no, ss.access_trans_type_id, "
        "ss.confirmation_letter_report, ss.resource_type_id, ss.lesson_code_id, "
        "ss.labor_hours, ss.schedule_hours, "
        "rt.description AS resource_type_description, "
        "lc.description AS labor_code_description",
    kFunctionJoin +
        " LEFT JOIN vym_resource_type rt ON rt.resource_type_id = ss.resource_type_id"
        " LEFT JOIN vym_labor_code lc ON lc.labor_code_id = ss.labor_code_id",
    kItemOrder};

// The item record sends a location it does not use; it selects nothing.
void GetItemSS(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i", "vym_item_ss ss");
    AddItemCriteria(call, search);
    if (const auto resource = Text(call, "@resource_type_id")) {
        search.Where("ss.resource_type_id = ?", {*resource}, Drives::Never, false);
    }
    search.Answer(call, kServiceRows);
}

const Rows kPhotoRows = {kItemColumns +
                             ", ph.photo_size_id, ph.auto_rush, ph.mail_not_allowed, "
                             "ph.require_ship_charge, ph.lab_code_id",
                         kFunctionJoin, kItemOrder};

void GetItemPhoto(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i", "vym_item_photo ph");
    AddItemCriteria(call, search);
    if (const auto size = Text(call, "@photo_size_id")) {
        search.Where("ph.photo_size_id = ?", {*size}, Drives::Never, false);
    }
    search.Answer(call, kPhotoRows);
}

const Rows kShipRows = {kItemColumns + ", sh.rush AS Rush, sh.pickup AS Pickup", kFunctionJoin,
                        kItemOrder};

void GetItemShip(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i", "vym_item_ship sh");
    AddItemCriteria(call, search);
    search.Answer(call, kShipRows);
}

const Rows kRentalRows = {kItemColumns +
                              ", r.report_department_id, r.report_sub_department_id, "
                              "r.unit_price, r.min_price, r.allow_line_discount, "
                              "r.allow_seller_pricing, r.is_package, "
                              "r.season_rental AS Season_Rental",
                          kFunctionJoin, kItemOrder};

void GetItemRental(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i", "vym_item_rental r");
    AddItemCriteria(call, search);
    WhereMapped(call, search, "r.item_no");
    if (const auto package = call.GetBool("@is_package")) {
        search.Where(*package ? "r.is_package <> 0" : "r.is_package = 0", {}, Drives::Never, false);
    }
    search.Answer(call, kRentalRows);
}

void RegisterTypedItems(ProcedureCatalog& catalog) {
    catalog.AddRead(
        "VYM_SP_ITEM_GetItemTicket",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@register_group_id", DataType::VarChar, 10)},
        GetItemTicket);

    catalog.AddRead(
        "VYM_SP_ITEM_GetItemSS",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@resource_type_id", DataType::VarChar, 10),
         In("@location_id", DataType::VarChar, 10)},
        GetItemSS);

    catalog.AddRead(
        "VYM_SP_ITEM_GetItemPhoto",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@photo_size_id", DataType::VarChar, 10)},
        GetItemPhoto);

    catalog.AddRead(
        "VYM_SP_ITEM_GetItemShip",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10)},
        GetItemShip);

    catalog.AddRead(
        "VYM_SP_ITEM_GetItemRental",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@map_id", DataType::VarChar, 30),
         In("@is_package", DataType::Boolean)},
        GetItemRental);
}

// Stock comes by item number: the order of the stock table and of its
// vendor, type, model and department indexes, and of a list of numbers.
void AddStockCriteria(ProcedureContext& call, Search& search) {
    const auto from = call.GetLong("@item_no");
    const auto to = call.GetLong("@item_no_end_range");
    if (to) {
        search.Where("s.item_no BETWEEN ? AND ?", {from.value_or(0), *to}, Drives::Always, false);
    } else if (from) {
        search.Where("s.item_no = ?", {*from}, Drives::Always, false);
    }
    if (const auto description = Text(call, "@description")) {
        search.MatchDescription(*description);
    }
    WhereMapped(call, search, "s.item_no");
    struct Equal {
        const char* parameter;
        const char* column;
        Drives drives;
        bool tabCounted = false;          // the typed tabs' counts hold it
        const char* countedIn = nullptr;  // the table counting its matches alone
    };
    static constexpr Equal kEquals[] = {
        {"@function_id", "i.function_id", Drives::WhenFew, true},
        {"@catagory_id", "i.catagory_id", Drives::Never},
        {"@stock_type_id", "s.stock_type_id", Drives::Always},
        {"@vendor_id", "s.vendor_id", Drives::Always},
        {"@model_id", "s.model_id", Drives::Always},
        {"@department_id", "i.department_id", Drives::WhenFew, false,
         "vym_item_stock_department_count"},
        {"@report_department_id", "s.report_department_id", Drives::Always},
        {"@report_sub_department_id", "s.report_sub_department_id", Drives::Never},
        {"@serial_type_id", "s.serial_type_id", Drives::Never},
    };
    for (const Equal& equal : kEquals) {
        if (const auto value = Text(call, equal.parameter)) {
            search.Where(equal.column, "= ?", *value, equal.drives, equal.column[0] == 'i');
            if (equal.tabCounted) {
                search.CountedByTab();
            }
            if (equal.countedIn) {
                // The count table names the column as its own table does.
                const std::string_view column = equal.column;
                search.CountedIn(equal.countedIn,
                                 std::string(column.substr(column.find('.') + 1)) + " = ?");
            }
        }
    }
    if (const auto status = Text(call, "@status_id")) {
        search.MatchStatus(*status);
    }
    if (const auto manufacturer = Text(call, "@manufacturer")) {
        const std::string like = std::string(search.Engine().Like()) + " ? ESCAPE '\\'";
        search.Where("s.manufacturer", like, StartsWithPattern(*manufacturer), Drives::WhenFew,
                     false);
        search.CountedIn("vym_item_stock_manufacturer_count", "manufacturer " + like);
    }
    // One item asked for by number is found wherever it is stocked; the
    // location then only chooses the quantity shown. A location stocking
    // many items is tested on each item of the walk: listing them all in
    // order first would read every one before the first row.
    if (const auto location = Text(call, "@location_id"); location && !(from && !to)) {
        search.Where(
            "s.item_no IN (SELECT l.item_no FROM vym_item_stock_location l "
            "WHERE l.location_id = ?)",
            {*location}, Drives::WhenFew, false);
        const std::string stocked =
            "EXISTS (SELECT 1 FROM vym_item_stock_location l WHERE l.item_no = s.item_no "
            "AND l.location_id = ?)";
        search.FilteredBy(stocked);
        search.ProbedBy(stocked);
        search.CountedIn("vym_item_stock_location_count", "location_id = ?");
    }
    if (const auto since = call.GetDate("@last_date_sold")) {
        search.Where(
            "NOT EXISTS (SELECT 1 FROM vym_item_stock_history h WHERE h.item_no = s.item_no "
            "AND h.trans_type = 'SALE' AND h.trans_date >= ?)",
            {*since}, Drives::Never, false);
    }
    if (const auto serialized = call.GetBool("@serialized")) {
        search.Where(*serialized ? "s.serialized <> 0" : "s.serialized = 0", {}, Drives::Never,
                     false);
    }
    if (call.GetBool("@require_binding_type").value_or(false)) {
        search.Where("s.binding_type_id IS NOT NULL", {}, Drives::Never, false);
    }
}

// The quantity on hand at the location bound first, or everywhere.
const std::string kStockQuantity =
    "(SELECT COALESCE(SUM(l.qty_on_hand), 0) FROM vym_item_stock_location l "
    "WHERE l.item_no = s.item_no AND (?1 IS NULL OR l.location_id = ?1))";

const Rows kStockRows = {
    kItemColumns +
        ", i.taxable, s.stock_id, s.stock_type_id, "
        "st.description AS stock_type_desc, "
        "s.serialized AS Serialized, s.format_no, s.stock_size, "
        "s.attribute AS Attribute, s.style AS Style, s.manufacturer AS Manufacturer, "
        "s.model_id AS Model, m.description AS model_description, "
        "m.model_serial_prefix, s.min_price, s.unit_price, s.allow_line_discount, "
        "s.allow_seller_pricing, s.base_uom_id AS Base_UOM_Id, "
        "u.description AS uom_desc, s.current_avg_cost AS Current_Avg_Cost, "
        "s.current_avg_freight AS Current_Avg_Freight, "
        "s.current_avg_discount AS Current_Avg_Discount, "
        "s.current_cost AS Current_Cost, s.current_cost AS Cost, "
        "s.min_qty AS Min_Qty, s.vendor_id, v.vendor_name, s.rental_type, "
        "s.report_department_id, s.report_sub_department_id, s.group_no, "
        "s.stock_size_type_id, sz.description AS stock_size_type_desc, " +
        kStockQuantity + " AS qty_on_hand, " + kStockQuantity +
        " AS qoh_column, EXISTS (SELECT 1 FROM vym_item_stock_serial ser "
        "WHERE ser.item_no = s.item_no) AS has_serial, s.serial_type_id, "
        "se.description AS serial_type_desc, "
        "s.binding_type_id, b.description AS binding_type_desc, s.boot_length, "
        "s.upc_code",
    kFunctionJoin +
        " LEFT JOIN vym_item_stock_type st ON st.stock_type_id = s.stock_type_id"
        " LEFT JOIN vym_item_stock_model m ON m.model_id = s.model_id"
        " LEFT JOIN vym_uom u ON u.uom_id = s.base_uom_id"
        " LEFT JOIN vym_vendor v ON v.vendor_id = s.vendor_id"
        " LEFT JOIN vym_item_stock_size_type sz"
        " ON sz.stock_size_type_id = s.stock_size_type_id"
        " LEFT JOIN vym_item_stock_serial_type se"
        " ON se.serial_type_id = s.serial_type_id"
        " LEFT JOIN vym_item_stock_binding_type b"
        " ON b.binding_type_id = s.binding_type_id",
    "s.item_no"};

// Also the read of one stock record (@item_no, @location_id) by the
// stock record.
void GetItemStock(ProcedureContext& call) {
    Search matches(call.Session().Engine(), "vym_item i", "vym_item_stock s");
    AddStockCriteria(call, matches);
    // Fellow group members: every stock item of a matrix group that
    // has a match.
    std::optional<Search> group;
    if (call.GetBool("@group_member").value_or(false)) {
        group.emplace(call.Session().Engine(), "vym_item i", "vym_item_stock s");
        const std::vector<vym::Value> once = matches.Values();
        std::vector<vym::Value> twice = once;
        twice.insert(twice.end(), once.begin(), once.end());
        group->Where("(s.item_no IN (" + matches.Select("s.item_no") + ") OR s.group_no IN (" +
                         matches.Select("s.group_no") + "))",
                     std::move(twice), Drives::Never, false);
    }
    (group ? *group : matches).Answer(call, kStockRows, {TextValue(call, "@location_id")});
}

void RegisterStock(ProcedureCatalog& catalog) {
    catalog.AddRead("VYM_SP_ITEM_GetItemStock",
                    {In("@item_no", DataType::Integer),
                     In("@location_id", DataType::VarChar, 10),
                     In("@item_no_end_range", DataType::Integer),
                     In("@description", DataType::VarChar, 80),
                     In("@function_id", DataType::VarChar, 10),
                     In("@catagory_id", DataType::VarChar, 10),
                     In("@map_id", DataType::VarChar, 30),
                     In("@stock_type_id", DataType::VarChar, 10),
                     In("@manufacturer", DataType::VarChar, 30),
                     In("@vendor_id", DataType::VarChar, 15),
                     In("@model_id", DataType::VarChar, 20),
                     In("@department_id", DataType::VarChar, 10),
                     In("@report_department_id", DataType::VarChar, 10),
                     In("@report_sub_department_id", DataType::VarChar, 10),
                     In("@last_date_sold", DataType::DBTimeStamp),
                     In("@serialized", DataType::Boolean),
                     In("@require_binding_type", DataType::Boolean),
                     In("@group_member", DataType::Boolean),
                     In("@status_id", DataType::VarChar, 10),
                     In("@serial_type_id", DataType::VarChar, 10)},
                    GetItemStock);
}

const Rows kPackageRows = {
    "p.package_no, 'PACKAGE' AS item_type, p.function_id, f.description AS fun_desc, "
    "p.catagory_id, c.description AS cat_desc, p.description AS Description, "
    "p.display_seq, p.is_active, "
    "CASE WHEN p.is_active <> 0 THEN 'ACTIVE' ELSE 'INACTIVE' END AS status_id, "
    "NULL AS item_color, p.show_on_tree, p.tree_icon AS Tree_ICON, "
    "f.tree_icon AS fun_tree_icon, p.instruction_no, "
    "n.instruction_body AS Instruction_Body, p.redeem_package_no, "
    "rp.description AS redeem_package_desc, p.row_version",
    " LEFT JOIN vym_function f ON f.function_id = p.function_id"
    " LEFT JOIN vym_catagory c ON c.function_id = p.function_id"
    " AND c.catagory_id = p.catagory_id"
    " LEFT JOIN vym_item_instruction n ON n.instruction_no = p.instruction_no"
    " LEFT JOIN vym_package rp ON rp.package_no = p.redeem_package_no",
    "p.function_id, p.catagory_id, p.display_seq, p.package_no"};

// Also the read of one package (@package_no alone) by the package record.
void GetPackage(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_package p");
    if (const auto number = call.GetLong("@package_no")) {
        search.Where("p.package_no = ?", {*number}, Drives::Always);
    }
    if (const auto description = Text(call, "@description")) {
        // A NUL ends a text on PostgreSQL: such a text finds nothing on either engine.
        if (description->find('\0') != std::string::npos) {
            search.Where("1 = 0", {}, Drives::Always);
        } else {
            search.Where(call.Session().Engine().Contains("p.description", "?"), {*description},
                         Drives::Never);
        }
    }
    if (const auto function = Text(call, "@function_id")) {
        search.Where("p.function_id = ?", {*function}, Drives::Always);
    }
    if (const auto catagory = Text(call, "@catagory_id")) {
        search.Where("p.catagory_id = ?", {*catagory}, Drives::Always);
    }
    if (const auto status = Text(call, "@status_id")) {
        search.Where(status == "ACTIVE" ? "p.is_active <> 0" : "p.is_active = 0", {},
                     Drives::Never);
    }
    if (const auto group = Text(call, "@register_group_id")) {
        search.Where(
            "EXISTS (SELECT 1 FROM vym_register_group_package g WHERE "
            "g.package_no = p.package_no AND g.register_group_id = ?)",
            {*group}, Drives::Never);
    }
    search.Answer(call, kPackageRows);
}

void RegisterPackages(ProcedureCatalog& catalog) {
    catalog.AddRead(
        "VYM_SP_ITEM_GetPackage",
        {In("@package_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@register_group_id", DataType::VarChar, 10)},
        GetPackage);
}

void GetSearchCombos(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT 'DEPARTMENT' AS data_type, d.department_id, dr.report_department_id, "
        "sd.report_sub_department_id, d.description AS Description, "
        "rd.description AS report_description, sd.description AS sub_description "
        "FROM vym_department d "
        "LEFT JOIN vym_department_report dr ON dr.department_id = d.department_id "
        "LEFT JOIN vym_report_department rd "
        "ON rd.report_department_id = dr.report_department_id "
        "LEFT JOIN vym_report_sub_department sd "
        "ON sd.report_department_id = dr.report_department_id "
        "ORDER BY d.department_id, dr.report_department_id, sd.report_sub_department_id");
    call.EmitResultSet(
        "SELECT 'STOCK_TYPE' AS data_type, stock_type_id, description AS Description "
        "FROM vym_item_stock_type ORDER BY description");
    call.EmitResultSet(
        "SELECT 'RESOURCE_TYPE' AS data_type, resource_type_id, description AS Description "
        "FROM vym_resource_type ORDER BY description");
    call.EmitResultSet(
        "SELECT 'REGISTER_GROUP' AS data_type, register_group_id, "
        "description AS Description FROM vym_register_group ORDER BY description");
    call.EmitResultSet(
        "SELECT 'LOCATION' AS data_type, location_id, description AS Description "
        "FROM vym_location ORDER BY description");
    call.EmitResultSet(
        "SELECT 'PHOTO_SIZE' AS data_type, photo_size_id, description AS Description "
        "FROM vym_photo_size ORDER BY description");
}

// The stock type may also be a rental type ("RETAIL", "RENTAL"): the
// models of every stock type of that kind.
void GetItemStockModel(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT m.model_id, m.description AS Description, m.manufacturer, "
        "m.stock_type_id, m.is_active FROM vym_item_stock_model m "
        "WHERE (?1 IS NULL OR m.stock_type_id = ?1 OR EXISTS (SELECT 1 FROM "
        "vym_item_stock_type st WHERE st.stock_type_id = m.stock_type_id "
        "AND st.rental_type = ?1)) AND (?2 = 0 OR m.is_active <> 0) "
        "ORDER BY m.description",
        {TextValue(call, "@stock_type_id"), call.GetBool("@is_active").value_or(false)});
}

void RegisterLists(ProcedureCatalog& catalog) {
    catalog.AddRead("VYM_SP_ITEM_getSearchCombos", {}, GetSearchCombos);

    // The active functions that have items of the type (every active function
    // when no type is given).
    catalog.AddRead("VYM_SP_ITEM_GetTypeFunction", {In("@item_type", DataType::VarChar, 10)},
                    [](ProcedureContext& call) {
                        call.EmitResultSet(
                            "SELECT f.function_id, f.description AS Description, f.tree_icon "
                            "FROM vym_function f WHERE f.is_active <> 0 AND (?1 IS NULL OR EXISTS "
                            "(SELECT 1 FROM vym_item i WHERE i.function_id = f.function_id "
                            "AND i.item_type = ?1)) ORDER BY f.description",
                            {TextValue(call, "@item_type")});
                    });

    catalog.AddRead(
        "VYM_SP_ITEM_GetItemStockModel",
        {In("@stock_type_id", DataType::VarChar, 10), In("@is_active", DataType::Boolean)},
        GetItemStockModel);
}

}  // namespace

std::string StartsWithPattern(std::string_view text) {
    std::string pattern;
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern + '%';
}

bool UsesDescriptionIndex(std::string_view text) {
    std::size_t characters = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++characters;
        }
    }
    return characters >= 3;
}

void RegisterItemSearchProcedures(ProcedureCatalog& catalog) {
    RegisterAllItems(catalog);
    RegisterTypedItems(catalog);
    RegisterStock(catalog);
    RegisterPackages(catalog);
    RegisterLists(catalog);
}

void RegisterItemConsoleProcedures(ProcedureCatalog& catalog) {
    RegisterItemSearchProcedures(catalog);
    RegisterItemDeleteProcedures(catalog);
    RegisterVendorProcedures(catalog);
}

}  // namespace vym::server
