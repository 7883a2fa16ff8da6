#include "server/sql_engine.h"

#include "server/sql_dialect.h"

namespace vym::server {
namespace {

std::string Text(std::string_view text) {
    return std::string(text);
}

// Keeps the lines of a script meant for `engine`: a fragment for one engine
// only stands between "-- begin <engine>" and "-- end <engine>" lines.
std::string FragmentsFor(std::string_view script, std::string_view engine) {
    std::string out;
    bool skipping = false;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        end = end == std::string_view::npos ? script.size() : end + 1;
        const std::string_view line = script.substr(start, end - start);
        start = end;
        if (line.starts_with("-- begin ")) {
            skipping = !line.substr(9).starts_with(engine);
            continue;
        }
        if (line.starts_with("-- end ")) {
            skipping = false;
            continue;
        }
        if (!skipping) {
            out += line;
        }
    }
    return out;
}

// Column types the embedded store reads by their declared names are domains
// on PostgreSQL, so that a column still tells its declared type; the key
// trigger numbers rows as the embedded store numbers an INTEGER PRIMARY KEY
// (one past the highest) and remembers the number for LastInsertId.
constexpr std::string_view kPostgresFoundation = R"sql(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE EXTENSION IF NOT EXISTS pg_trgm;
CREATE DOMAIN vym_money AS numeric(19, 4);
CREATE DOMAIN vym_bit AS smallint;
CREATE DOMAIN vym_datetime AS timestamp(0);
CREATE DOMAIN vym_long_text AS text;
CREATE DOMAIN vym_blob AS bytea;
CREATE DOMAIN vym_nocase AS citext;
CREATE FUNCTION vym_assign_key() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    key_column text := TG_ARGV[0];
    key bigint := (to_jsonb(NEW) ->> key_column)::bigint;
BEGIN
    IF key IS NULL THEN
        EXECUTE format('SELECT coalesce(max(%I), 0) + 1 FROM %I.%I', key_column,
                       TG_TABLE_SCHEMA, TG_TABLE_NAME) INTO key;
        NEW := jsonb_populate_record(NEW, jsonb_build_object(key_column, key));
    END IF;
    PERFORM set_config('vym.last_insert_id', key::text, false);
    RETURN NEW;
END $$;
CREATE TABLE vym_schema_version (version int NOT NULL);
INSERT INTO vym_schema_version (version) VALUES (0);
)sql";

}  // namespace

const SqlEngine& SqlEngine::Sqlite() {
    static const SqlEngine engine(Kind::Sqlite);
    return engine;
}

const SqlEngine& SqlEngine::Postgres() {
    static const SqlEngine engine(Kind::Postgres);
    return engine;
}

std::string SqlEngine::NumbersOf(std::string_view parameter) const {
    return IsPostgres()
               ? "(SELECT CAST(value AS bigint) AS value FROM json_array_elements_text(CAST(" +
                     Text(parameter) + " AS json)))"
               : "(SELECT value FROM json_each(" + Text(parameter) + "))";
}

std::string_view SqlEngine::Name() const {
    return IsPostgres() ? "PostgreSQL" : "SQLite";
}

std::string SqlEngine::Now() const {
    return IsPostgres() ? "LOCALTIMESTAMP(0)" : "strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')";
}

std::string SqlEngine::DateOf(std::string_view expr) const {
    return IsPostgres() ? "CAST(" + Text(expr) + " AS date)" : "date(" + Text(expr) + ")";
}

std::string SqlEngine::AddDays(std::string_view expr, int days) const {
    if (IsPostgres()) {
        return "(CAST(" + Text(expr) + " AS date) + " + std::to_string(days) + ")";
    }
    return "date(" + Text(expr) + ", '" + (days < 0 ? "" : "+") + std::to_string(days) + " day')";
}

std::string SqlEngine::AddMonths(std::string_view expr, int months) const {
    if (IsPostgres()) {
        return "CAST(CAST(" + Text(expr) + " AS date) + interval '" + std::to_string(months) +
               " month' AS date)";
    }
    return "date(" + Text(expr) + ", '" + (months < 0 ? "" : "+") + std::to_string(months) +
           " month')";
}

std::string SqlEngine::YearOf(std::string_view expr) const {
    return IsPostgres() ? "CAST(EXTRACT(YEAR FROM " + Text(expr) + ") AS int)"
                        : "CAST(strftime('%Y', " + Text(expr) + ") AS int)";
}

std::string SqlEngine::MonthOf(std::string_view expr) const {
    return IsPostgres() ? "CAST(EXTRACT(MONTH FROM " + Text(expr) + ") AS int)"
                        : "CAST(strftime('%m', " + Text(expr) + ") AS int)";
}

std::string_view SqlEngine::Like() const {
    return IsPostgres() ? "ILIKE" : "LIKE";
}

std::string SqlEngine::Contains(std::string_view haystack, std::string_view needle) const {
    return Text(IsPostgres() ? "strpos" : "instr") + "(upper(" + Text(haystack) + "), upper(" +
           Text(needle) + ")) > 0";
}

std::string SqlEngine::NoCase(std::string_view expr) const {
    return IsPostgres() ? "lower(" + Text(expr) + ")" : Text(expr) + " COLLATE NOCASE";
}

std::string SqlEngine::NotIndexed(std::string_view column) const {
    // PostgreSQL weighs its statistics itself; the embedded store's unary
    // plus keeps the column's collation and hides it from the indexes.
    return IsPostgres() ? Text(column) : "+" + Text(column);
}

std::string_view SqlEngine::TableExistsSql() const {
    return IsPostgres() ? "SELECT count(*) FROM pg_tables WHERE schemaname = current_schema() "
                          "AND tablename = ?"
                        : "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?";
}

std::string_view SqlEngine::TableColumnsSql() const {
    return IsPostgres() ? "SELECT column_name FROM information_schema.columns WHERE table_schema = "
                          "current_schema() AND table_name = ? ORDER BY ordinal_position"
                        : "SELECT name FROM pragma_table_info(?)";
}

std::string_view SqlEngine::TableCountSql() const {
    return IsPostgres() ? "SELECT count(*) FROM pg_tables WHERE schemaname = current_schema() "
                          "AND tablename <> 'vym_schema_version'"
                        : "SELECT count(*) FROM sqlite_master";
}

SqlEngine::TrigramSearch SqlEngine::DescriptionSearch() const {
    if (IsPostgres()) {
        return {"", "", "i.long_description ILIKE ? ESCAPE '\\'", "i.item_no"};
    }
    return {"vym_item_fts fts", "fts.rowid", "fts.vym_item_fts MATCH ?", "fts.rowid"};
}

std::string_view SqlEngine::WordCountSql(bool onTab) const {
    if (!IsPostgres()) {
        return onTab ? "SELECT count(DISTINCT c.word), COALESCE(SUM(c.items), 0) "
                       "FROM vym_item_word_fts f JOIN vym_item_word w ON w.word_no = f.rowid "
                       "JOIN vym_item_tab_word_count c ON c.word = w.word "
                       "WHERE f.vym_item_word_fts MATCH ? AND c.items > 0 AND c.tab = ?"
                     : "SELECT count(DISTINCT c.word), COALESCE(SUM(c.items), 0) "
                       "FROM vym_item_word_fts f JOIN vym_item_word w ON w.word_no = f.rowid "
                       "JOIN vym_item_word_count c ON c.word = w.word "
                       "WHERE f.vym_item_word_fts MATCH ? AND c.items > 0";
    }
    return onTab ? "SELECT count(DISTINCT word), COALESCE(SUM(items), 0) "
                   "FROM vym_item_tab_word_count WHERE word LIKE lower(CAST(? AS text)) "
                   "ESCAPE '\\' AND items > 0 AND tab = ?"
                 : "SELECT count(DISTINCT word), COALESCE(SUM(items), 0) "
                   "FROM vym_item_word_count "
                   "WHERE word LIKE lower(CAST(? AS text)) ESCAPE '\\' AND items > 0";
}

std::string SqlEngine::TrigramArgument(std::string_view text) const {
    std::string out = IsPostgres() ? "%" : "\"";
    for (const char c : text) {
        if (IsPostgres() && (c == '%' || c == '_' || c == '\\')) {
            out += '\\';
        }
        out += c;
        if (!IsPostgres() && c == '"') {
            out += '"';
        }
    }
    return out + (IsPostgres() ? "%" : "\"");
}

std::string SqlEngine::MigrationScript(std::string_view script) const {
    if (!IsPostgres()) {
        return FragmentsFor(script, "sqlite");
    }
    return TranslateDdl(FragmentsFor(script, "postgresql"));
}

std::string_view SqlEngine::Foundation() const {
    return IsPostgres() ? kPostgresFoundation : std::string_view();
}

}  // namespace vym::server
