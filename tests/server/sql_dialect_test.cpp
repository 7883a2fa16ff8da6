#include "server/sql_dialect.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "server/sql_engine.h"

namespace vym::server {
namespace {

TEST(TranslateSql, OdbcEscapesBecomeStoreFunctions) {
    EXPECT_EQ(TranslateSql("SELECT * FROM vym_location WHERE {fn UCASE(location_id)} = 'BASE'"),
              "SELECT * FROM vym_location WHERE UPPER(location_id) = 'BASE'");
    EXPECT_EQ(TranslateSql("SELECT {fn lcase( a )} FROM t"), "SELECT LOWER( a ) FROM t");
    // Nested CONCAT, as the printer and page list builds its key.
    EXPECT_EQ(TranslateSql("SELECT {fn CONCAT({fn CONCAT(p.printer_type_id, ':')}, "
                           "s.page_size_id)} as ID FROM p, s"),
              "SELECT ((p.printer_type_id || ':') || s.page_size_id) as ID FROM p, s");
}

TEST(TranslateSql, IsNullNoLockAndDeleteWithoutFrom) {
    EXPECT_EQ(TranslateSql("SELECT function_id FROM vym_function WHERE ISNULL(is_active,-1) <> 0"),
              "SELECT function_id FROM vym_function WHERE COALESCE(is_active,-1) <> 0");
    // The postfix operator is the store's own and stays.
    EXPECT_EQ(TranslateSql("SELECT 1 WHERE x ISNULL"), "SELECT 1 WHERE x ISNULL");
    EXPECT_EQ(TranslateSql("SELECT al.x FROM vym_location al with(nolock) ORDER BY al.x"),
              "SELECT al.x FROM vym_location al  ORDER BY al.x");
    EXPECT_EQ(TranslateSql("SELECT x FROM t WITH ( NOLOCK )"), "SELECT x FROM t ");
    EXPECT_EQ(TranslateSql("DELETE vym_print_format WHERE format_no = 4"),
              "DELETE FROM vym_print_format WHERE format_no = 4");
    EXPECT_EQ(TranslateSql("delete from t where a = 1"), "delete from t where a = 1");
}

TEST(TranslateSql, LeavesQuotedTextAlone) {
    const std::string sql =
        "SELECT * FROM vym_vendor WHERE vendor_id = 'with(nolock) {fn UCASE(x)} ISNULL(a,b) "
        "O''Neil' AND \"ISNULL\"(1) = [with] -- {fn UCASE(y)}\n";
    EXPECT_EQ(TranslateSql(sql), sql);
    EXPECT_EQ(TranslateSql("DELETE 'it''s' WHERE 1"), "DELETE FROM 'it''s' WHERE 1");
}

TEST(TranslateSql, UnreadableEscapeIsAnError) {
    EXPECT_THROW(TranslateSql("SELECT {fn UCASE(x) FROM t"), vym::Error);
    EXPECT_THROW(TranslateSql("SELECT {d '2024-01-01'}"), vym::Error);
}

TEST(TranslateSql, PostgresLikeIgnoresCaseAndTablesTakeTheDomains) {
    const SqlEngine& pg = SqlEngine::Postgres();
    EXPECT_EQ(TranslateSql("SELECT a FROM t WHERE b LIKE 'x%' AND c = 'LIKE'", pg),
              "SELECT a FROM t WHERE b ILIKE 'x%' AND c = 'LIKE'");
    EXPECT_EQ(
        TranslateSql("CREATE TABLE t (a money, b bit, c datetime, d long text, e blob)", pg),
        "CREATE TABLE t (a vym_money, b vym_bit, c vym_datetime, d vym_long_text, e vym_blob)");
    // SQLite keeps its own words.
    EXPECT_EQ(TranslateSql("SELECT a FROM t WHERE b LIKE 'x%'"),
              "SELECT a FROM t WHERE b LIKE 'x%'");
}

TEST(TranslateDdl, NoCaseTextAndNumberedKeys) {
    EXPECT_EQ(
        TranslateDdl("CREATE TABLE t (\n    id INTEGER PRIMARY KEY,\n    code varchar(10) "
                     "COLLATE NOCASE NOT NULL\n);\nCREATE INDEX i ON t (code COLLATE NOCASE);"),
        "CREATE TABLE t (\n    id INTEGER PRIMARY KEY,\n    code vym_nocase NOT NULL\n);\n"
        "CREATE TRIGGER t_key BEFORE INSERT ON t FOR EACH ROW EXECUTE FUNCTION "
        "vym_assign_key('id');\nCREATE INDEX i ON t (code );");
    // A column named like a type and quoted text keep their words.
    EXPECT_EQ(TranslateDdl("ALTER TABLE t ADD COLUMN note varchar(5) DEFAULT 'money'"),
              "ALTER TABLE t ADD COLUMN note varchar(5) DEFAULT 'money'");
}

TEST(TranslatePlaceholders, NumbersFollowTheEmbeddedStoresRule) {
    int count = 0;
    EXPECT_EQ(TranslatePlaceholders("SELECT ? , '?', ?3, ? FROM t WHERE \"?\" = ?1", count),
              "SELECT $1 , '?', $3, $4 FROM t WHERE \"?\" = $1");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(TranslatePlaceholders("SELECT 1", count), "SELECT 1");
    EXPECT_EQ(count, 0);
}

TEST(SingleTableOf, FindsTheOneTableOrNothing) {
    EXPECT_EQ(SingleTableOf("SELECT * FROM vym_sale WHERE sale_no = 3"), "vym_sale");
    EXPECT_EQ(SingleTableOf("  select a FROM vym_print_format_template t where x = 1"),
              "vym_print_format_template");
    EXPECT_EQ(SingleTableOf("SELECT (SELECT 1 FROM b) AS one FROM a"), "a");
    EXPECT_EQ(SingleTableOf("SELECT * FROM a"), "a");
    EXPECT_FALSE(SingleTableOf("SELECT * FROM a JOIN b ON a.x = b.x"));
    EXPECT_FALSE(SingleTableOf("SELECT * FROM a, b"));
    EXPECT_FALSE(SingleTableOf("SELECT * FROM (SELECT * FROM a)"));
    EXPECT_FALSE(SingleTableOf("UPDATE a SET x = 1"));
}

}  // namespace
}  // namespace vym::server
