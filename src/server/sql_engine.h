#pragma once

#include <string>
#include <string_view>

namespace vym::server {

// What differs between the two stores the server runs on, in one place per
// concern: procedures, migrations and ad-hoc SQL ask the session's engine for
// these pieces of SQL instead of spelling either engine's own.
class SqlEngine {
  public:
    enum class Kind { Sqlite, Postgres };

    static const SqlEngine& Sqlite();
    static const SqlEngine& Postgres();

    Kind Which() const { return kind_; }
    bool IsPostgres() const { return kind_ == Kind::Postgres; }
    // "SQLite" or "PostgreSQL", for messages.
    std::string_view Name() const;

    // The local date and time to the second, as a datetime column holds it.
    std::string Now() const;
    // The day of a date or datetime expression (or a bound ISO text), at midnight.
    std::string DateOf(std::string_view expr) const;
    std::string AddDays(std::string_view expr, int days) const;
    std::string AddMonths(std::string_view expr, int months) const;
    std::string YearOf(std::string_view expr) const;
    std::string MonthOf(std::string_view expr) const;

    // LIKE that ignores case, as the embedded store's LIKE always does.
    std::string_view Like() const;
    // True where `haystack` holds `needle`, ignoring case.
    std::string Contains(std::string_view haystack, std::string_view needle) const;
    // An ORDER BY term that sorts text ignoring case.
    std::string NoCase(std::string_view expr) const;
    // A column the planner may compare or sort by but not reach through an
    // index: for a criterion that matches too much to drive a search, and for
    // an order that a few matches are cheaper to sort into than to walk.
    std::string NotIndexed(std::string_view column) const;

    // The column naming a row of any table, for writing back a row read
    // before (PostgreSQL's changes with each write: read it back then).
    std::string_view RowId() const { return IsPostgres() ? "ctid" : "_rowid_"; }
    // Whether the row id read before still finding a row proves the row is as
    // it was read: PostgreSQL's moves with every write; the embedded store's
    // stays, so there a write that must find the row unchanged compares the
    // values read too.
    bool RowIdMovesOnWrite() const { return IsPostgres(); }

    // Run before a statement of many joins in a transaction: the statement
    // is planned with its joins in the order written (PostgreSQL otherwise
    // weighs every order, which took longer than reading a search's first
    // rows); empty where planning is cheap.
    std::string_view JoinsAsWritten() const {
        return IsPostgres() ? "SET LOCAL join_collapse_limit = 1" : std::string_view();
    }

    // A list of numbers bound as one parameter, a JSON array ("[501,502]"), as
    // a table of one column, value: a long list stays one bound text instead
    // of a statement of its own length.
    std::string NumbersOf(std::string_view parameter) const;

    // One parameter, the table's name: the count of such tables (0 or 1).
    std::string_view TableExistsSql() const;
    // One parameter, a table's name: its column names, in order.
    std::string_view TableColumnsSql() const;
    // The count of tables in the database, the engine's own left out.
    std::string_view TableCountSql() const;

    // The search of a long description through the engine's trigram index:
    // the index's own table to drive the search from (none when the index is
    // on the item table), its item number, the condition (one parameter,
    // bound to TrigramArgument) and the order the index hands matches out in.
    struct TrigramSearch {
        std::string table;
        std::string key;
        std::string condition;
        std::string order;
    };
    TrigramSearch DescriptionSearch() const;
    std::string TrigramArgument(std::string_view text) const;
    // The words of the descriptions that hold a text of three characters or
    // more with no space (which lies within one word of each description that
    // holds it), from the counts the item triggers keep by word and status,
    // among all items or (`onTab`) on a typed tab: a parameter bound to
    // TrigramArgument, then on a tab one bound to the tab's table; "AND
    // status_id = ?" may follow. Returns how many words hold the text and how
    // many items have them, which is the number of matches when at most one
    // word does. A word of digits alone may go uncounted: ask only for a text
    // holding something else.
    std::string_view WordCountSql(bool onTab) const;

    // A migration script for this engine: fragments marked for the other
    // engine dropped, and on PostgreSQL the column types and keys translated
    // (see sql_dialect.h).
    std::string MigrationScript(std::string_view script) const;
    // What the store needs before the first migration (none on SQLite).
    std::string_view Foundation() const;

  private:
    explicit SqlEngine(Kind kind) : kind_(kind) {}
    Kind kind_;
};

}  // namespace vym::server
