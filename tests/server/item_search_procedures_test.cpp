#include "server/procedures/item_search_procedures.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "server/large_catalogue.h"
#include "server/local_app_server.h"
#include "server/migration.h"
#include "server/postgres_session.h"
#include "server/schema_migrator.h"
#include "support/server/back_office.h"
#include "support/server/postgres_database.h"
#include "support/server/procedure_answer.h"

#include "server_checks.h"

namespace vym::server {
namespace {

// The rows one query gives and the other does not, both ways.
std::int32_t Mismatches(Connection& db, const std::string& a, const std::string& b) {
    return db
        .OpenRecordset("SELECT (SELECT count(*) FROM (SELECT * FROM (" + a +
                       ") a EXCEPT SELECT * FROM (" + b +
                       ") b) d) + (SELECT count(*) FROM (SELECT * FROM (" + b +
                       ") b EXCEPT SELECT * FROM (" + a + ") a) d)")
        ->Fields(0)
        .Value()
        .ToLong();
}

// Each kept count beside the same count made afresh from the items.
std::vector<std::pair<std::string, std::string>> KeptCounts(bool postgres) {
    const std::string place =
        "i.item_no, i.status_id, upper(COALESCE(i.function_id, '')) AS function_id, "
        "upper(COALESCE(i.catagory_id, '')) AS catagory_id, ";
    const std::string grams =
        "SELECT " + place +
        "lower(substr(i.long_description, p.n, 1)) AS gram "
        "FROM vym_item i JOIN vym_position p ON p.n <= length(i.long_description) UNION "
        "SELECT " +
        place +
        "lower(substr(i.long_description, p.n, 2)) "
        "FROM vym_item i JOIN vym_position p ON p.n < length(i.long_description)";
    std::vector<std::pair<std::string, std::string>> counts = {
        {"SELECT gram, upper(status_id), upper(function_id), upper(catagory_id), items "
         "FROM vym_item_gram_count WHERE items <> 0",
         "SELECT gram, upper(status_id), function_id, catagory_id, count(*) FROM (" + grams +
             ") g GROUP BY gram, upper(status_id), function_id, catagory_id"},
        {"SELECT tab, upper(function_id), upper(status_id), items FROM vym_item_tab_count "
         "WHERE items <> 0",
         "SELECT t.tab, upper(COALESCE(i.function_id, '')), upper(i.status_id), count(*) "
         "FROM (SELECT tab, item_no FROM vym_item_tab UNION ALL "
         "SELECT 'vym_item', item_no FROM vym_item) t JOIN vym_item i ON i.item_no = t.item_no "
         "GROUP BY t.tab, upper(COALESCE(i.function_id, '')), upper(i.status_id)"},
        {"SELECT upper(location_id), items FROM vym_item_stock_location_count WHERE items <> 0",
         "SELECT upper(l.location_id), count(*) FROM vym_item_stock_location l "
         "JOIN vym_item_stock s ON s.item_no = l.item_no GROUP BY upper(l.location_id)"},
        {"SELECT upper(department_id), items FROM vym_item_stock_department_count "
         "WHERE items <> 0",
         "SELECT upper(i.department_id), count(*) FROM vym_item_stock s "
         "JOIN vym_item i ON i.item_no = s.item_no WHERE i.department_id IS NOT NULL "
         "GROUP BY upper(i.department_id)"},
        {"SELECT manufacturer, items FROM vym_item_stock_manufacturer_count WHERE items <> 0",
         "SELECT manufacturer, count(*) FROM vym_item_stock WHERE manufacturer IS NOT NULL "
         "GROUP BY manufacturer"},
        {"SELECT tab, gram, upper(status_id), items FROM vym_item_tab_gram_count "
         "WHERE items <> 0",
         "SELECT t.tab, g.gram, upper(g.status_id), count(*) FROM vym_item_tab t JOIN (" + grams +
             ") g ON g.item_no = t.item_no GROUP BY t.tab, g.gram, upper(g.status_id)"},
    };
    // Each word of each item, once or more.
    const std::string words =
        "(" +
        std::string(postgres
                        ? "SELECT i.item_no, i.status_id, w AS word FROM vym_item i CROSS JOIN "
                          "LATERAL unnest(string_to_array(lower(i.long_description), ' ')) w "
                          "WHERE w <> ''"
                        // The embedded store leaves out words of digits alone.
                        : "WITH RECURSIVE split (item_no, status_id, word, rest) AS ("
                          "SELECT item_no, status_id, '', lower(long_description) || ' ' "
                          "FROM vym_item UNION ALL SELECT item_no, status_id, "
                          "substr(rest, 1, instr(rest, ' ') - 1), "
                          "substr(rest, instr(rest, ' ') + 1) FROM split WHERE rest <> '') "
                          "SELECT item_no, status_id, word FROM split "
                          "WHERE word <> '' AND word GLOB '*[^0-9]*'") +
        ") w";
    counts.emplace_back(
        "SELECT word, upper(status_id), items FROM vym_item_word_count WHERE items <> 0",
        "SELECT w.word, upper(w.status_id), count(DISTINCT w.item_no) FROM " + words +
            " GROUP BY w.word, upper(w.status_id)");
    counts.emplace_back(
        "SELECT tab, word, upper(status_id), items FROM vym_item_tab_word_count "
        "WHERE items <> 0",
        "SELECT t.tab, w.word, upper(w.status_id), count(DISTINCT w.item_no) "
        "FROM vym_item_tab t JOIN " +
            words + " ON w.item_no = t.item_no GROUP BY t.tab, w.word, upper(w.status_id)");
    return counts;
}

// A small catalogue on the standard procedures: every item type, stock with
// vendors, maps, locations and history, a package.
class ItemSearchProcedures : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* sql : {
                 "INSERT INTO vym_function (function_id, description, tree_icon) VALUES "
                 "('LIFT', 'Lift Tickets', 'y'), ('RENTAL', 'Rental Shop', 'x'), "
                 "('RETAIL', 'Retail', '$'), ('SKISCHOOL', 'Ski School', 'U'), "
                 "('PHOTO', 'Photo', 'N'), ('SHIP', 'Shipping', '!')",
                 "INSERT INTO vym_catagory (function_id, catagory_id, description) VALUES "
                 "('LIFT', 'ADULT', 'Adult'), ('LIFT', 'CHILD', 'Child'), "
                 "('RETAIL', 'OUTER', 'Outerwear')",
                 "INSERT INTO vym_location (location_id, description) VALUES "
                 "('BASE', 'Base Lodge'), ('SUMMIT', 'Summit Shop')",
                 "INSERT INTO vym_vendor (vendor_id, vendor_name) VALUES "
                 "('ALPINE', 'Alpine Gear'), ('SNOW', 'Snowline'), ('BURTON', 'Board Co')",
                 "INSERT INTO vym_register_group (register_group_id, description) VALUES "
                 "('WINDOW', 'Ticket Window')",
                 "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
                 "long_description, status_id, tree_icon) VALUES "
                 "(1, 'TICKET', 'LIFT', 'ADULT', 'ADULT FULL DAY', 'ACTIVE', 'a'), "
                 "(2, 'TICKET', 'LIFT', 'CHILD', 'Child Full Day', 'INACTIVE', NULL), "
                 "(3, 'SS', 'SKISCHOOL', NULL, 'Private Lesson', 'ACTIVE', NULL), "
                 "(4, 'PHOTO', 'PHOTO', NULL, 'Summit Photo 8x10', 'ACTIVE', NULL), "
                 "(5, 'SHIP', 'SHIP', NULL, 'Express Shipping', 'ACTIVE', NULL), "
                 "(6, 'RENTAL', 'RENTAL', NULL, 'Ski Package Adult', 'ACTIVE', NULL), "
                 "(7, 'RENTAL', 'RENTAL', NULL, 'Demo Skis', 'ACTIVE', NULL), "
                 "(10, 'STOCK', 'RETAIL', 'OUTER', 'Shell Jacket Red M', 'ACTIVE', NULL), "
                 "(11, 'STOCK', 'RETAIL', 'OUTER', 'Shell Jacket Red L', 'ACTIVE', NULL), "
                 "(12, 'STOCK', 'RETAIL', 'OUTER', 'Wool Hat 100%', 'ACTIVE', NULL), "
                 "(13, 'STOCK', 'RETAIL', 'OUTER', 'Goggles \"Pro\" O''Neil', 'INACTIVE', NULL)",
                 "INSERT INTO vym_item_ticket (item_no) VALUES (1), (2)",
                 "INSERT INTO vym_item_ss (item_no, resource_type_id) VALUES (3, 'INSTR')",
                 "INSERT INTO vym_item_photo (item_no, photo_size_id, require_ship_charge) "
                 "VALUES (4, '8X10', 1)",
                 "INSERT INTO vym_item_ship (item_no, rush) VALUES (5, 1)",
                 "INSERT INTO vym_item_rental (item_no, is_package) VALUES (6, 1), (7, 0)",
                 "INSERT INTO vym_register_group_item (item_no, register_group_id) VALUES "
                 "(1, 'WINDOW')",
                 "INSERT INTO vym_item_stock (item_no, vendor_id, manufacturer, serialized, "
                 "group_no, unit_price, current_cost, stock_size) VALUES "
                 "(10, 'ALPINE', 'North 100%', 0, 7, 120, 60.5, 'M'), "
                 "(11, 'ALPINE', 'North', 0, 7, 120, 60.5, 'L'), "
                 "(12, 'SNOW', 'Northwind', 1, NULL, 25, 10, NULL), "
                 "(13, 'SNOW', 'Optic', 0, NULL, 80, 40, NULL)",
                 "INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) "
                 "VALUES (10, 'BASE', 3), (10, 'SUMMIT', 2), (12, 'SUMMIT', 9)",
                 "INSERT INTO vym_item_stock_map (map_id, item_no) VALUES "
                 "('0123456789', 10), ('SKI-7', 7)",
                 "INSERT INTO vym_item_stock_history (item_no, trans_type, qty, trans_date) "
                 "VALUES (10, 'SALE', -1, '2024-02-01 10:00:00'), "
                 "(11, 'SALE', -1, '2023-01-05 10:00:00')",
                 "INSERT INTO vym_package (package_no, description, is_active, function_id) "
                 "VALUES (1, 'Family Week', 1, 'LIFT'), (2, 'Old Deal', 0, 'LIFT')",
                 "INSERT INTO vym_package_item (package_no, seq_no, item_no) VALUES (1, 1, 1)",
             }) {
            db_->ExecuteSQL(sql);
        }
    }

    struct Result {
        std::int32_t count = 0;
        std::vector<std::int32_t> numbers;  // in the order returned
        std::unique_ptr<Recordset> rows;
    };
    // Runs a procedure with the named values; the numbers are the package
    // numbers of a package search, the item numbers of any other.
    Result Call(const std::string& procedure, const std::map<std::string, vym::Value>& values) {
        auto command = test::Prepared(*db_, procedure, values);
        Result result;
        result.rows = db_->ExecuteRecordset(*command);
        result.count = command->Parameters["@RETURN_VALUE"].Value.ToLong();
        const char* column = procedure == "VYM_SP_ITEM_GetPackage" ? "package_no" : "item_no";
        for (; result.rows->IsOpen() && !result.rows->Eof(); result.rows->MoveNext()) {
            result.numbers.push_back(result.rows->Fields(column).Value().ToLong());
        }
        return result;
    }
    // "return value message" of a procedure's answer.
    std::string Answered(const std::string& procedure,
                         const std::map<std::string, vym::Value>& values) {
        return test::Told(test::CallProcedure(*db_, procedure, values));
    }

    using Numbers = std::vector<std::int32_t>;
    // A search and the numbers it finds, in the order the tab shows them.
    struct Case {
        const char* procedure;
        std::map<std::string, vym::Value> criteria;
        Numbers numbers;
    };
    // Runs each search: it finds its numbers in order and counts them.
    void ExpectFound(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            std::string what = c.procedure;
            for (const auto& [name, value] : c.criteria) {
                what += " " + name + "=" + NullToEmpty(value);
            }
            SCOPED_TRACE(what);
            const auto found = Call(c.procedure, c.criteria);
            EXPECT_EQ(found.numbers, c.numbers);
            EXPECT_EQ(found.count, static_cast<std::int32_t>(c.numbers.size()));
        }
    }
    test::BackOffice office_{{.demoData = false}};
    std::shared_ptr<Connection> db_ = office_.Local().DBConnection();
};

TEST_F(ItemSearchProcedures, DescriptionMatchesAnywhereWithoutRegardToCase) {
    const char* item = "VYM_SP_ITEM_GetItem";
    ExpectFound({
        {item, {{"@description", "FULL DAY"}}, {1, 2}},
        {item, {{"@description", "ket red"}}, {10, 11}},
        // Too short for the index: read instead, same answer.
        {item, {{"@description", "x1"}}, {4}},
        // Quotes and wildcards are text, not syntax.
        {item, {{"@description", "\"PRO\" O'NEIL"}}, {13}},
        // Short texts too: "%" and "_" are characters, not wildcards.
        {item, {{"@description", "100%"}}, {12}},
        {item, {{"@description", "%"}}, {12}},
        {item, {{"@description", "0%"}}, {12}},
        {item, {{"@description", "_"}}, {}},
        {item, {{"@description", "l_"}}, {}},
        {item, {{"@description", "'"}}, {13}},
        {item, {{"@description", "OR a"}}, {}},
    });

    // The index follows edits and deletes.
    db_->ExecuteSQL("UPDATE vym_item SET long_description = 'Half Day' WHERE item_no = 2");
    ExpectFound(
        {{item, {{"@description", "full day"}}, {1}}, {item, {{"@description", "half"}}, {2}}});
}

TEST_F(ItemSearchProcedures, ADescriptionHoldingANulFindsNothingQuietly) {
    using namespace std::string_literals;
    for (const char* procedure : {"VYM_SP_ITEM_GetItem", "VYM_SP_ITEM_GetItemTicket",
                                  "VYM_SP_ITEM_GetItemStock", "VYM_SP_ITEM_GetPackage"}) {
        for (const std::string& text : {"FULL\0DAY"s, "\0DAY"s, "DAY\0"s, "\0"s, "a\0"s}) {
            Result found;
            ASSERT_NO_THROW(found = Call(procedure, {{"@description", text}})) << procedure;
            EXPECT_EQ(found.count, 0) << procedure;
            EXPECT_TRUE(found.numbers.empty()) << procedure;
        }
    }
}

// Each row's criteria alone; the numbers in the order the tab shows them.
TEST_F(ItemSearchProcedures, EachTabFindsItsTypeByItsCriteria) {
    ExpectFound({
        {"VYM_SP_ITEM_GetItemTicket", {}, {1, 2}},
        {"VYM_SP_ITEM_GetItemTicket", {{"@status_id", "ACTIVE"}}, {1}},
        {"VYM_SP_ITEM_GetItemTicket", {{"@catagory_id", "CHILD"}}, {2}},
        {"VYM_SP_ITEM_GetItem", {{"@register_group_id", "WINDOW"}}, {1}},
        {"VYM_SP_ITEM_GetItem", {{"@function_id", "RETAIL"}}, {10, 11, 12, 13}},
        {"VYM_SP_ITEM_GetItemSS", {{"@resource_type_id", "INSTR"}}, {3}},
        {"VYM_SP_ITEM_GetItemSS", {{"@resource_type_id", "GUIDE"}}, {}},
        {"VYM_SP_ITEM_GetItemPhoto", {{"@photo_size_id", "8X10"}}, {4}},
        {"VYM_SP_ITEM_GetItemShip", {}, {5}},
        {"VYM_SP_ITEM_GetItemRental", {{"@is_package", true}}, {6}},
        {"VYM_SP_ITEM_GetItemRental", {{"@is_package", false}}, {7}},
        {"VYM_SP_ITEM_GetItemRental", {{"@map_id", "ski-7"}}, {7}},
        // One item by number is the item record's read.
        {"VYM_SP_ITEM_GetItem", {{"@item_no", 3}}, {3}},
        {"VYM_SP_ITEM_GetItemTicket", {{"@item_no", 3}}, {}},
        {"VYM_SP_ITEM_GetItemStock", {{"@item_no", 11}, {"@item_no_end_range", 13}}, {11, 12, 13}},
        {"VYM_SP_ITEM_GetItemStock", {{"@map_id", "0123456789"}}, {10}},
        {"VYM_SP_ITEM_GetItemStock", {{"@map_id", "0123"}}, {}},
        {"VYM_SP_ITEM_GetItemStock", {{"@vendor_id", "snow"}}, {12, 13}},
        {"VYM_SP_ITEM_GetItemStock", {{"@location_id", "SUMMIT"}}, {10, 12}},
        // One item asked for by number is found at any location.
        {"VYM_SP_ITEM_GetItemStock", {{"@item_no", 11}, {"@location_id", "BASE"}}, {11}},
        {"VYM_SP_ITEM_GetItemStock", {{"@serialized", true}}, {12}},
        {"VYM_SP_ITEM_GetItemStock",
         {{"@last_date_sold", vym::Date::FromParts(2024, 1, 1)}},
         {11, 12, 13}},
        // The manufacturer begins with the text; "%" is a character like any other.
        {"VYM_SP_ITEM_GetItemStock", {{"@manufacturer", "north"}}, {10, 11, 12}},
        {"VYM_SP_ITEM_GetItemStock", {{"@manufacturer", "North 100%"}}, {10}},
        {"VYM_SP_ITEM_GetItemStock", {{"@status_id", "INACTIVE"}}, {13}},
        // Fellow members of a matched item's matrix group come along.
        {"VYM_SP_ITEM_GetItemStock", {{"@item_no", 10}, {"@group_member", true}}, {10, 11}},
        {"VYM_SP_ITEM_GetItemStock", {{"@function_id", "RETAIL"}}, {10, 11, 12, 13}},
        {"VYM_SP_ITEM_GetPackage", {{"@package_no", 2}}, {2}},
        {"VYM_SP_ITEM_GetPackage", {{"@status_id", "ACTIVE"}}, {1}},
        {"VYM_SP_ITEM_GetPackage", {{"@description", "WEEK"}}, {1}},
    });
}

// A search of active items among matches of which fewer than half could be
// inactive counts every match less the inactive ones.
TEST_F(ItemSearchProcedures, ACommonStatusIsCountedByTheFewOthers) {
    for (int no = 20; no <= 28; ++no) {
        db_->ExecuteSQL(
            "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
            "long_description, status_id) VALUES (" +
            std::to_string(no) + ", 'STOCK', 'RETAIL', 'OUTER', 'Lift Pass Holder', '" +
            (no == 28 ? "INACTIVE" : "ACTIVE") + "')");
        db_->ExecuteSQL("INSERT INTO vym_item_stock (item_no, vendor_id) VALUES (" +
                        std::to_string(no) + ", 'ALPINE')");
    }
    const Numbers holders = {20, 21, 22, 23, 24, 25, 26, 27};
    ExpectFound({
        {"VYM_SP_ITEM_GetItem", {{"@description", "PASS"}, {"@status_id", "active"}}, holders},
        {"VYM_SP_ITEM_GetItem",
         {{"@description", "E"}, {"@status_id", "active"}},
         {6, 7, 10, 11, 20, 21, 22, 23, 24, 25, 26, 27, 5, 3}},
        {"VYM_SP_ITEM_GetItemStock", {{"@description", "pass"}, {"@status_id", "active"}}, holders},
        {"VYM_SP_ITEM_GetItemStock",
         {{"@vendor_id", "alpine"}, {"@status_id", "active"}},
         {10, 11, 20, 21, 22, 23, 24, 25, 26, 27}},
    });
}

// Texts of one or two characters, and each typed tab's items by function and
// status, are counted from counts the triggers keep, and on PostgreSQL longer
// texts within one word from the counts kept by word (two words holding one
// text are counted the long way); the rows still come from reading the items,
// so after every kind of write both must agree, and every kept count must
// equal a count made afresh. PostgreSQL
// folds a transaction's counts as it commits: several items, a savepoint
// rolled back, constraints checked mid-transaction and two stations saving at
// once must all come out exact.
TEST_F(ItemSearchProcedures, KeptCountsFollowEveryWriteOfAnItem) {
    const bool postgres = !test::PostgresServer().empty();
    // A shipping item's writes.
    const auto itemWrites = [](int no, const std::string& description) {
        return std::vector<std::string>{
            "INSERT INTO vym_item (item_no, item_type, function_id, long_description, status_id) "
            "VALUES (" +
                std::to_string(no) + ", 'SHIP', 'SHIP', '" + description + "', 'ACTIVE')",
            "INSERT INTO vym_item_ship (item_no, rush) VALUES (" + std::to_string(no) + ", 0)"};
    };
    const auto add = [&itemWrites](Connection& db, int no, const std::string& description) {
        for (const std::string& sql : itemWrites(no, description)) {
            db.ExecuteSQL(sql);
        }
    };
    const auto severalAtOnce = [this, &add] {
        db_->BeginTrans();
        add(*db_, 60, "Xylo Pass");
        add(*db_, 61, "Zebra Pass");
        db_->ExecuteSQL("UPDATE vym_item SET status_id = 'INACTIVE' WHERE item_no IN (60, 3)");
        db_->ExecuteSQL("DELETE FROM vym_item_ship WHERE item_no = 61");
        db_->CommitTrans();
    };
    const auto savepointRolledBack = [this, &add] {
        db_->BeginTrans();
        add(*db_, 62, "Yeti Cap");
        db_->BeginTrans();
        add(*db_, 63, "Zap Yak");
        db_->ExecuteSQL("UPDATE vym_item SET long_description = 'Qq' WHERE item_no = 1");
        db_->RollbackTrans();
        db_->CommitTrans();
    };
    const auto checkedMidway = [this, postgres, &add] {
        db_->BeginTrans();
        add(*db_, 64, "Express Xylo");
        if (postgres) {
            db_->ExecuteSQL("SET CONSTRAINTS ALL IMMEDIATE");
        }
        add(*db_, 65, "Yak Express");
        db_->CommitTrans();
    };
    // Each station writes texts the other writes, in the other order, in
    // transactions open at once: neither may wait on the other's counts. The
    // program's own sessions take turns to write (one writer at a time, as on
    // the embedded store), so on PostgreSQL these are sessions of their own.
    const auto twoStations = [this, postgres, &add, &itemWrites] {
        const std::vector<std::pair<std::size_t, const char*>> writes = {
            {0, "Ax Ey"}, {1, "Ey Ax"}, {0, "Ey Xylo"}, {1, "Ax Express"}};
        if (!postgres) {
            for (std::size_t at = 0; at < writes.size(); ++at) {
                add(*db_, 66 + static_cast<int>(at), writes[at].second);
            }
            return;
        }
        std::vector<std::shared_ptr<PostgresSession>> stations;
        for (int s = 0; s < 2; ++s) {
            stations.push_back(
                PostgresSession::Open(office_.Path(), {NewestSchemaVersion(CompiledMigrations())}));
            stations.back()->ExecuteScript("SET lock_timeout = '5s'; BEGIN");
        }
        for (std::size_t at = 0; at < writes.size(); ++at) {
            for (const std::string& sql :
                 itemWrites(66 + static_cast<int>(at), writes[at].second)) {
                stations[writes[at].first]->ExecuteScript(sql);
            }
        }
        stations[1]->ExecuteScript("COMMIT");
        stations[0]->ExecuteScript("COMMIT");
    };
    // A write of plain statements.
    const auto sql = [this](std::vector<std::string> statements) {
        return std::function<void()>([this, statements] {
            for (const std::string& statement : statements) {
                db_->ExecuteSQL(statement);
            }
        });
    };
    const std::vector<std::pair<const char*, std::function<void()>>> writes = {
        {"as they were", [] {}},
        {"saved by the procedure",
         [this] {
             EXPECT_EQ(
                 Answered("vym_sp_ITEM_UpdateItem", {{"@item_type", "SHIP"},
                                                     {"@function_id", "SHIP"},
                                                     {"@short_description", "Yak"},
                                                     {"@long_description", "Xylo Yak Express"},
                                                     {"@status_id", "INACTIVE"}}),
                 "0 ");
         }},
        {"status changed",
         sql({"UPDATE vym_item SET status_id = 'INACTIVE' WHERE item_no IN (4, 10)"})},
        {"edited through a recordset",
         [this] {
             auto rows = db_->OpenUpdatableRecordset(
                 "SELECT item_no, long_description FROM vym_item WHERE item_no = 5");
             rows->Fields("long_description").SetValue("Zz Top 10%");
             rows->Update();
         }},
        {"deleted by the procedure",
         [this] {
             EXPECT_EQ(Answered("VyM_SP_ITEM_DeleteItem", {{"@item_no", 12}}), "0 ");
         }},
        {"added without a description",
         sql({"INSERT INTO vym_item (item_no, item_type, long_description) "
              "VALUES (50, 'SHIP', NULL)"})},
        {"described again",
         sql({"UPDATE vym_item SET long_description = 'xx  Express express \"Q\\\t10' "
              "WHERE item_no = 50"})},
        {"moved to another function",
         sql({"UPDATE vym_item SET function_id = 'lift' WHERE item_no IN (5, 11)"})},
        {"moved to another category",
         sql({"UPDATE vym_item SET catagory_id = 'child' WHERE item_no IN (1, 3)",
              "UPDATE vym_item SET catagory_id = NULL WHERE item_no = 10"})},
        // An item's type does not decide which type tables hold a row of it.
        {"given a row of another type", sql({"INSERT INTO vym_item_ticket (item_no) VALUES (5)",
                                             "INSERT INTO vym_item_ss (item_no) VALUES (50)"})},
        {"a type's row removed", sql({"DELETE FROM vym_item_rental WHERE item_no = 6"})},
        // Only a stock item counts under a location.
        {"stocked elsewhere",
         sql({"INSERT INTO vym_item_stock_location (item_no, location_id) "
              "VALUES (11, 'BASE'), (5, 'base')",
              "UPDATE vym_item_stock_location SET item_no = 4 "
              "WHERE item_no = 10 AND location_id = 'BASE'",
              "UPDATE vym_item_stock SET manufacturer = 'Optic' WHERE item_no = 11"})},
        {"moved to another department",
         sql({"INSERT INTO vym_department (department_id) VALUES ('SKI'), ('BOOT')",
              "UPDATE vym_item SET department_id = 'ski' WHERE item_no IN (10, 11, 12, 13, 5)",
              "UPDATE vym_item SET department_id = 'BOOT' WHERE item_no IN (10, 4)"})},
        {"stock rows added and removed",
         sql({"INSERT INTO vym_item_stock (item_no, manufacturer) VALUES (5, 'north')",
              "DELETE FROM vym_item_stock WHERE item_no = 11",
              "DELETE FROM vym_item WHERE item_no = 13"})},
        {"several items saved as one", severalAtOnce},
        {"a savepoint rolled back", savepointRolledBack},
        {"constraints checked midway", checkedMidway},
        {"two stations at once", twoStations},
    };
    // Each tab by the criteria its counts keep, and the stock tab by its own.
    struct Search {
        const char* procedure;
        const char* criterion;
        const char* value;
    };
    std::vector<Search> searches;
    for (const char* tab :
         {"VYM_SP_ITEM_GetItem", "VYM_SP_ITEM_GetItemTicket", "VYM_SP_ITEM_GetItemSS",
          "VYM_SP_ITEM_GetItemPhoto", "VYM_SP_ITEM_GetItemShip", "VYM_SP_ITEM_GetItemRental",
          "VYM_SP_ITEM_GetItemStock"}) {
        for (const char* function : {"", "LIFT", "ship", "Retail"}) {
            searches.push_back({tab, "@function_id", function});
        }
        for (const char* text : {"x", "E", "ll", "sHiP"}) {
            searches.push_back({tab, "@description", text});
        }
    }
    const char* stock = "VYM_SP_ITEM_GetItemStock";
    searches.insert(searches.end(), {{stock, "@location_id", "base"},
                                     {stock, "@location_id", "SUMMIT"},
                                     {stock, "@manufacturer", "north"},
                                     {stock, "@manufacturer", "North 100%"},
                                     {stock, "@manufacturer", "Opt"},
                                     {stock, "@department_id", "SKI"},
                                     {stock, "@department_id", "boot"}});
    for (const auto& [what, write] : writes) {
        write();
        for (const auto& [kept, afresh] : KeptCounts(postgres)) {
            EXPECT_EQ(Mismatches(*db_, kept, afresh), 0) << what << ": " << kept;
        }
        for (const Search& search : searches) {
            for (const char* status : {"", "ACTIVE", "inactive"}) {
                const auto found = Call(search.procedure,
                                        {{search.criterion, search.value}, {"@status_id", status}});
                EXPECT_EQ(found.count, static_cast<std::int32_t>(found.numbers.size()))
                    << what << ": " << search.procedure << " " << search.criterion << " "
                    << search.value << " " << status;
            }
        }
        for (const char* text : {"x", "Y", "z", "ll", "a ", "%", "e", "1", "0%", "xylo", "EXPRESS",
                                 "ess", "top", "10%", "day", "l d", "\"q\\"}) {
            for (const char* status : {"", "ACTIVE", "inactive"}) {
                const auto found =
                    Call("VYM_SP_ITEM_GetItem", {{"@description", text}, {"@status_id", status}});
                EXPECT_EQ(found.count, static_cast<std::int32_t>(found.numbers.size()))
                    << what << ": \"" << text << "\" " << status;
            }
        }
    }
    // Two day tickets, the saved item and seven items added since.
    EXPECT_EQ(Call("VYM_SP_ITEM_GetItem", {{"@description", "Y"}}).count, 10);
}

TEST_F(ItemSearchProcedures, ResultRowsCarryTheColumnsTheConsoleShows) {
    auto command = test::Prepared(*db_, "VYM_SP_ITEM_GetItemStock",
                                  {{"@item_no", 10}, {"@location_id", "SUMMIT"}});
    auto rows = db_->ExecuteRecordset(*command);
    ASSERT_FALSE(rows->Eof());
    EXPECT_EQ(rows->Fields("qoh_column").Value().ToLong(), 2);
    EXPECT_EQ(rows->Fields("qty_on_hand").Value().ToLong(), 2);
    EXPECT_EQ(rows->Fields("fun_tree_icon").Value().ToString(), "$");
    EXPECT_EQ(rows->Fields("vendor_id").Value().ToString(), "ALPINE");
    EXPECT_EQ(rows->Fields("Cost").Value().ToCurrency(), vym::Currency::FromDouble(60.5));
    for (const char* column : {"Style", "model_description", "stock_size", "Attribute",
                               "unit_price", "Serialized", "stock_type_id", "upc_code",
                               "item_color", "Tree_ICON", "status_id", "long_description"}) {
        EXPECT_TRUE(rows->HasField(column)) << column;
    }

    auto ss = Call("VYM_SP_ITEM_GetItemSS", {});
    for (const char* column : {"resource_type_description", "labor_code_description"}) {
        EXPECT_TRUE(ss.rows->HasField(column)) << column;
    }

    // No match still gives the console its columns, the location's among them.
    auto none = Call("VYM_SP_ITEM_GetItemStock",
                     {{"@description", "nothing like it"}, {"@location_id", "SUMMIT"}});
    EXPECT_EQ(none.count, 0);
    EXPECT_TRUE(none.rows->Eof());
    EXPECT_EQ(none.rows->FieldCount(), rows->FieldCount());
    EXPECT_TRUE(none.rows->HasField("qoh_column"));
}

TEST_F(ItemSearchProcedures, SearchListsComeAsResultSetsNamedByDataType) {
    db_->ExecuteSQL("INSERT INTO vym_photo_size (photo_size_id, description) VALUES ('8X10', 'x')");
    auto command = test::Prepared(*db_, "VYM_SP_ITEM_getSearchCombos");
    auto rows = db_->ExecuteRecordset(*command);
    std::vector<std::string> types;  // the first row's data_type, "-" for an empty set
    do {
        types.push_back(rows->Eof() ? "-" : rows->Fields("data_type").Value().ToString());
    } while (rows->NextRecordset());
    EXPECT_EQ(types, (std::vector<std::string>{"-", "-", "-", "REGISTER_GROUP", "LOCATION",
                                               "PHOTO_SIZE"}));

    auto functionsOf = [&](const vym::Value& type) {
        return test::ProcedureRows(*db_, "VYM_SP_ITEM_GetTypeFunction",
                                   test::ProcedureArgs{{"@item_type", type}}, {"function_id"});
    };
    EXPECT_EQ(functionsOf("TICKET"), (std::vector<std::string>{"LIFT"}));
    EXPECT_EQ(functionsOf("STOCK"), (std::vector<std::string>{"RETAIL"}));
    EXPECT_EQ(functionsOf(vym::Value::Null()).size(), 6u);
}

TEST_F(ItemSearchProcedures, DeleteRefusesAnItemStillInUseAndTakesItsOwnRowsOtherwise) {
    const auto remove = [this](std::int32_t item) {
        return Answered("VyM_SP_ITEM_DeleteItem", {{"@item_no", item}});
    };
    EXPECT_EQ(remove(1),
              "-1 ADULT FULL DAY is a line of the package Family Week and cannot be deleted.");
    EXPECT_EQ(remove(10), "-1 Shell Jacket Red M has stock history and cannot be deleted.");
    db_->ExecuteSQL("INSERT INTO vym_price (item_no, unit_price) VALUES (2, 30)");
    EXPECT_EQ(remove(2), "-1 Child Full Day has prices and cannot be deleted.");
    db_->ExecuteSQL("INSERT INTO vym_extension (parent_item_no, child_item_no) VALUES (6, 7)");
    EXPECT_EQ(remove(7), "-1 Demo Skis is an extension of another item and cannot be deleted.");
    EXPECT_EQ(remove(99), "-1 Item 99 does not exist.");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item"), 11);

    db_->ExecuteSQL(
        "INSERT INTO vym_item_instruction (instruction_no, instruction_body) "
        "VALUES (5, 'Wear a helmet')");
    db_->ExecuteSQL("UPDATE vym_item SET instruction_no = 5 WHERE item_no = 12");
    EXPECT_EQ(remove(12), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item WHERE item_no = 12"), 0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_location WHERE item_no = 12"), 0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_instruction"), 0);
    EXPECT_EQ(Call("VYM_SP_ITEM_GetItem", {{"@description", "wool"}}).count, 0);
    // The extension belongs to its parent: the parent goes with its link.
    EXPECT_EQ(remove(6), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_extension"), 0);
}

TEST_F(ItemSearchProcedures, DeletePackageTakesItsLinesAndGroups) {
    db_->ExecuteSQL("UPDATE vym_package SET redeem_package_no = 1 WHERE package_no = 2");
    const auto remove = [this](std::int32_t package) {
        return Answered("VyM_SP_ITEM_DeletePackage", {{"@package_no", package}});
    };
    EXPECT_EQ(remove(1),
              "-1 Family Week is the redemption package of Old Deal and cannot be deleted.");
    EXPECT_EQ(remove(2), "0 ");
    db_->ExecuteSQL("INSERT INTO vym_register_group_package VALUES (1, 'WINDOW')");
    EXPECT_EQ(remove(1), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_package_item"), 0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_register_group_package"), 0);
    // Its item is free to go now.
    EXPECT_EQ(Answered("VyM_SP_ITEM_DeleteItem", {{"@item_no", 1}}), "0 ");
}

TEST_F(ItemSearchProcedures, VendorsAreAddedFoundAddressedAndDeleted) {
    const auto save = [this](const char* id, const char* name) {
        return Answered("VYM_SP_ITEM_UpdateVendor",
                        {{"@new_vendor", true}, {"@vendor_id", id}, {"@vendor_name", name}});
    };
    EXPECT_EQ(save("ACME", "Acme"), "0 ");
    EXPECT_EQ(save("acme", "Other"), "-1 The vendor id acme is already in use.");
    EXPECT_EQ(test::ProcedureRows(*db_, "VYM_SP_ITEM_VENDOR_search",
                                  test::ProcedureArgs{{"@filter", "A"}}, {"vendor_id"}),
              (std::vector<std::string>{"ACME", "ALPINE"}));

    db_->ExecuteSQL("INSERT INTO vym_vendor_address_type VALUES ('PRIMARY', 'Primary')");
    auto address = test::Prepared(*db_, "VYM_SP_ITEM_UpdateAddress", {{"@city", "Denver"}});
    ASSERT_TRUE(db_->Execute(*address));
    const std::int32_t number = address->Parameters["@address_no"].Value.ToLong();
    EXPECT_GT(number, 0);
    EXPECT_EQ(Answered("VYM_SP_ITEM_UpdateVendorAddress", {{"@vendor_id", "ACME"},
                                                           {"@vendor_address_no", number},
                                                           {"@vendor_address_type", "PRIMARY"}}),
              "0 ");
    EXPECT_EQ(office_.Scalar("SELECT vendor_address_no FROM vym_vendor WHERE vendor_id = 'ACME'"),
              number);

    const auto remove = [this](const char* id) {
        return Answered("VYM_SP_ITEM_VENDOR_delete", {{"@vendor_id", id}});
    };
    EXPECT_EQ(remove("ALPINE"),
              "-1 Alpine Gear is the vendor of 2 stock item(s) and cannot be deleted.");
    EXPECT_EQ(remove("ACME"), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_address"), 0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_vendor WHERE vendor_id = 'ACME'"), 0);
}

TEST(LargeCatalogue, MakesItemsOfEveryTypeThatTheSearchesFind) {
    test::BackOffice office(test::BackOffice::Options{.demoData = false});
    const std::string path = office.Path();
    std::vector<std::int32_t> progress;
    LargeCatalogue::Generate(path, 120, [&](std::int32_t written) { progress.push_back(written); });
    EXPECT_EQ(progress, (std::vector<std::int32_t>{120}));
    EXPECT_EQ(office.Scalar("SELECT count(DISTINCT item_type) FROM vym_item"), 6);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item WHERE item_type = 'SHIP'"), 20);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item_stock"), 40);  // stock and rental
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item_stock_map"), 40);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item WHERE function_id = 'GEN00'"), 60);
    auto command =
        test::Prepared(office.Db(), "VYM_SP_ITEM_GetItem", {{"@description", "PREMIUM"}});
    office.Db().ExecuteRecordset(*command);
    EXPECT_EQ(command->Parameters["@RETURN_VALUE"].Value.ToLong(), 60);

    // A second run adds after the items already there, and writes the counts
    // the triggers would have kept.
    LargeCatalogue::Generate(path, 6);
    auto db = LocalAppServer::Open(path)->DBConnection();
    EXPECT_EQ(db->OpenRecordset("SELECT max(item_no) FROM vym_item")->Fields(0).Value().ToLong(),
              126);
    for (const auto& [kept, afresh] : KeptCounts(!test::PostgresServer().empty())) {
        EXPECT_EQ(Mismatches(*db, kept, afresh), 0) << kept;
    }
}

// A search reads its rows by whichever plan its count makes cheapest: none
// for no match, its criteria's indexes and a sort for a few, the order's own
// index for many. Each must give every match in the console's order, as the
// plain query does.
TEST(LargeCatalogue, EveryPlanGivesTheMatchesInTheirOrder) {
    const test::TempDir dir;
    const std::string path = (dir.path / "large.db").string();
    // Enough that a typed tab's active items are many.
    LargeCatalogue::Generate(path, 33000);
    auto server = LocalAppServer::Open(path);
    auto db = server->DBConnection();
    // Items with no category sort first in their function.
    db->ExecuteSQL(
        "UPDATE vym_item SET catagory_id = NULL WHERE function_id = 'GEN07' AND item_no % 7 = 0");
    struct Case {
        std::string procedure;
        std::map<std::string, vym::Value> criteria;
        std::string where;  // the same search as a plain query's condition
        std::size_t atLeast;
        bool byNumber = false;  // in item number order rather than the tab's
    };
    const char* item = "VYM_SP_ITEM_GetItem";
    const char* stock = "VYM_SP_ITEM_GetItemStock";
    const std::vector<Case> cases = {
        {item, {{"@status_id", "ACTIVE"}}, "i.status_id = 'ACTIVE'", 6000},
        {item, {{"@status_id", "INACTIVE"}}, "i.status_id = 'INACTIVE'", 100},
        {item,
         {{"@description", "e"}, {"@status_id", "ACTIVE"}},
         "i.long_description LIKE '%e%' AND i.status_id = 'ACTIVE'",
         6000},
        {item, {{"@description", "xs"}}, "i.long_description LIKE '%xs%'", 3000},
        // All in the last category of each function, some with none.
        {item, {{"@description", "xl"}}, "i.long_description LIKE '%xl%'", 6000},
        {item,
         {{"@description", "Xl"}, {"@status_id", "ACTIVE"}},
         "i.long_description LIKE '%xl%' AND i.status_id = 'ACTIVE'",
         6000},
        {item, {{"@description", "%"}}, "0 = 1", 0},
        {item,
         {{"@description", "premium"}, {"@status_id", "ACTIVE"}},
         "i.long_description LIKE '%premium%' AND i.status_id = 'ACTIVE'",
         6000,
         true},
        {item,
         {{"@description", "jacket"}, {"@status_id", "INACTIVE"}},
         "i.long_description LIKE '%jacket%' AND i.status_id = 'INACTIVE'",
         1,
         true},
        {"VYM_SP_ITEM_GetItemTicket",
         {{"@status_id", "ACTIVE"}},
         "i.item_type = 'TICKET' AND i.status_id = 'ACTIVE'",
         2000},
        {"VYM_SP_ITEM_GetItemPhoto",
         {{"@status_id", "ACTIVE"}},
         "i.status_id = 'ACTIVE' AND i.item_no IN (SELECT item_no FROM vym_item_photo)",
         5001},
        {stock, {{"@status_id", "ACTIVE"}}, "i.status_id = 'ACTIVE'", 5100},
        {stock,
         {{"@description", "e"}, {"@department_id", "gend03"}},
         "i.long_description LIKE '%e%' AND i.department_id = 'GEND03'",
         100},
        {stock,
         {{"@manufacturer", "maker1"}, {"@location_id", "GENL03"}},
         "s.manufacturer LIKE 'MAKER1%' AND EXISTS (SELECT 1 FROM vym_item_stock_location l "
         "WHERE l.item_no = i.item_no AND l.location_id = 'GENL03')",
         100},
        {stock, {{"@manufacturer", "maker"}}, "s.manufacturer LIKE 'MAKER%'", 5100},
        {stock,
         {{"@location_id", "GENL03"}, {"@status_id", "ACTIVE"}},
         "i.status_id = 'ACTIVE' AND EXISTS (SELECT 1 FROM vym_item_stock_location l "
         "WHERE l.item_no = i.item_no AND l.location_id = 'GENL03')",
         500},
        {stock,
         {{"@report_department_id", "GENR02"}, {"@status_id", "ACTIVE"}},
         "s.report_department_id = 'GENR02' AND i.status_id = 'ACTIVE'",
         500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const bool isStock = c.procedure == stock;
        const auto plain = test::RowTexts(*db->OpenRecordset(
            "SELECT i.item_no FROM vym_item i " +
            std::string(isStock ? "JOIN vym_item_stock s ON s.item_no = i.item_no " : "") +
            "WHERE " + c.where +
            (isStock || c.byNumber ? " ORDER BY i.item_no"
                                   : " ORDER BY i.function_id, i.catagory_id, i.item_no")));
        auto command = test::Prepared(*db, c.procedure, c.criteria);
        EXPECT_EQ(test::RowTexts(*db->ExecuteRecordset(*command), {"item_no"}), plain);
        EXPECT_GE(plain.size(), c.atLeast);
        EXPECT_EQ(command->Parameters["@RETURN_VALUE"].Value.ToLong(),
                  static_cast<std::int32_t>(plain.size()));
    }
}

TEST(DescriptionSearch, QueriesQuoteTheTextAndNeedThreeCharacters) {
    EXPECT_EQ(SqlEngine::Sqlite().TrigramArgument("SKI \"PRO\""), "\"SKI \"\"PRO\"\"\"");
    EXPECT_EQ(SqlEngine::Postgres().TrigramArgument("5%_\\"), "%5\\%\\_\\\\%");
    EXPECT_TRUE(UsesDescriptionIndex("SKI"));
    EXPECT_FALSE(UsesDescriptionIndex("SK"));
    EXPECT_FALSE(UsesDescriptionIndex("\xC3\xA9t"));  // two characters, three bytes
    EXPECT_TRUE(UsesDescriptionIndex("\xC3\xA9t\xC3\xA9"));
}

}  // namespace
}  // namespace vym::server
