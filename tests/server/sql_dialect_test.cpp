#include "server/sql_dialect.h"

#include <gtest/gtest.h>

#include "base/error.h"

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
              "SELECT function_id FROM vym_function WHERE IFNULL(is_active,-1) <> 0");
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
