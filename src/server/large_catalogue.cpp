#include "server/large_catalogue.h"

#include <algorithm>
#include <array>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/currency.h"
#include "base/error.h"
#include "server/description_counts.h"
#include "server/local_app_server.h"
#include "server/migration.h"
#include "server/postgres_session.h"
#include "server/schema_migrator.h"
#include "server/sql_engine.h"
#include "server/sqlite_session.h"
#include "server/write_transaction.h"

namespace vym::server {
namespace {

constexpr std::int32_t kBlock = 100000;
constexpr int kFunctions = 20;
constexpr int kCatagories = 5;
constexpr int kVendors = 50;
constexpr int kLocations = 10;
constexpr int kStockTypes = 10;
constexpr int kDepartments = 12;
constexpr int kReportDepartments = 6;
constexpr int kModels = 20;
// A stock or rental item has one to this many serialized units: three on
// average, about one for every item generated.
constexpr int kMostUnits = 5;
// The unit statuses the schema comes with.
constexpr std::array<const char*, 5> kUnitStatuses = {"NEW", "AVAIL", "OUT", "REPAIR", "RETIRED"};
static_assert(kLocations <= 10, "unit locations are written as GENL0 and one digit");

constexpr std::array<const char*, 6> kTypes = {"TICKET", "STOCK", "SS", "PHOTO", "SHIP", "RENTAL"};
constexpr std::array<const char*, 40> kWords = {
    "JACKET", "PANTS",   "GLOVES", "GOGGLES", "HELMET",  "BOOTS",   "SKIS",     "POLES",
    "BOARD",  "BINDING", "SOCKS",  "BEANIE",  "SCARF",   "VEST",    "FLEECE",   "SHELL",
    "LESSON", "TICKET",  "PASS",   "PHOTO",   "PRINT",   "MUG",     "BOTTLE",   "WAX",
    "TUNE",   "LOCKER",  "TUBE",   "SLED",    "HARNESS", "LANYARD", "BACKPACK", "MITTENS",
    "GAITER", "HOODIE",  "TSHIRT", "CAP",     "SHORTS",  "BELT",    "SNACK",    "MAP"};
constexpr std::array<const char*, 8> kColours = {"RED",   "BLUE", "BLACK",  "WHITE",
                                                 "GREEN", "GREY", "ORANGE", "TEAL"};
constexpr std::array<const char*, 5> kSizes = {"XS", "S", "M", "L", "XL"};

// A code of at least two digits after its prefix: "C00", "GEN12".
std::string Code(const char* prefix, int number) {
    std::string code = prefix;
    if (number < 10) {
        code += '0';
    }
    return code + std::to_string(number);
}

// The lists the items point to; kept when the database already has them.
void AddReferenceRows(SqlSession& db) {
    WriteTransaction transaction(db);
    for (int f = 0; f < kFunctions; ++f) {
        const std::string function = Code("GEN", f);
        db.Run(
            "INSERT INTO vym_function (function_id, description, tree_icon) "
            "VALUES (?, ?, 'y') ON CONFLICT DO NOTHING",
            {function, "Generated function " + std::to_string(f)});
        for (int c = 0; c < kCatagories; ++c) {
            db.Run(
                "INSERT INTO vym_catagory (function_id, catagory_id, description) "
                "VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
                {function, Code("C", c), "Generated catagory " + std::to_string(c)});
        }
    }
    for (int v = 0; v < kVendors; ++v) {
        db.Run(
            "INSERT INTO vym_vendor (vendor_id, vendor_name) VALUES (?, ?) ON CONFLICT DO NOTHING",
            {Code("GENV", v), "Generated Vendor " + std::to_string(v)});
    }
    for (int l = 0; l < kLocations; ++l) {
        db.Run(
            "INSERT INTO vym_location (location_id, description) VALUES (?, ?) "
            "ON CONFLICT DO NOTHING",
            {Code("GENL", l), "Generated Location " + std::to_string(l)});
    }
    db.Run(
        "INSERT INTO vym_uom (uom_id, description) VALUES ('EA', 'Each'), ('CS', 'Case') "
        "ON CONFLICT DO NOTHING");
    for (int t = 0; t < kStockTypes; ++t) {
        db.Run(
            "INSERT INTO vym_item_stock_type (stock_type_id, description) "
            "VALUES (?, ?) ON CONFLICT DO NOTHING",
            {Code("GENT", t), "Generated Stock Type " + std::to_string(t)});
    }
    for (int d = 0; d < kDepartments; ++d) {
        db.Run(
            "INSERT INTO vym_department (department_id, description) VALUES (?, ?) "
            "ON CONFLICT DO NOTHING",
            {Code("GEND", d), "Generated Department " + std::to_string(d)});
    }
    for (int r = 0; r < kReportDepartments; ++r) {
        db.Run(
            "INSERT INTO vym_report_department (report_department_id, description) "
            "VALUES (?, ?) ON CONFLICT DO NOTHING",
            {Code("GENR", r), "Generated Report Department " + std::to_string(r)});
    }
    for (int m = 0; m < kModels; ++m) {
        db.Run(
            "INSERT INTO vym_item_stock_model (model_id, stock_type_id, description) "
            "VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
            {Code("GENM", m), Code("GENT", m % kStockTypes),
             "Generated Model " + std::to_string(m)});
    }
    transaction.Commit();
}

// SQL naming the `n`th of `names` for the number `expr` (0 to names - 1).
template <std::size_t N>
std::string Pick(const std::string& expr, const std::array<const char*, N>& names) {
    std::string sql = "CASE " + expr;
    for (std::size_t i = 0; i < N; ++i) {
        sql += " WHEN " + std::to_string(i) + " THEN '" + names[i] + "'";
    }
    return sql + " END";
}

// SQL for Code(prefix, expr): the number written with at least two digits.
std::string CodeOf(const char* prefix, const std::string& expr) {
    return "'" + std::string(prefix) + "' || CASE WHEN " + expr + " < 10 THEN '0' ELSE '' END || " +
           "CAST(" + expr + " AS varchar(11))";
}

// The rows of one table for a block of items are written by one statement
// over the numbers d of the items in the block (each item is the dth
// generated in this run): ?1 binds the item number of d = 0, ?2 the first d
// of the block the table takes, ?3 the end of the block. Every column
// follows from d, as the comment of LargeCatalogue says.
struct BlockInsert {
    // The table takes every `step`th item from the first whose d % step is
    // `remainder`.
    int remainder;
    int step;
    std::string sql;
};

std::string Series(int step) {
    return "WITH RECURSIVE n (d) AS (SELECT CAST(?2 AS int) UNION ALL SELECT d + " +
           std::to_string(step) + " FROM n WHERE d + " + std::to_string(step) +
           " < CAST(?3 AS int)) ";
}

constexpr const char* kNo = "(d + CAST(?1 AS int))";

// d turned through `of` values, the next every `every` items: SQL for
// (d / every) % of, which repeats every every * of items.
struct Turn {
    int every;
    int of;

    std::string Sql() const {
        return (every == 1 ? std::string("d") : "(d / " + std::to_string(every) + ")") + " % " +
               std::to_string(of);
    }
};

// The columns of a table that follow from d alone, through `turns`, repeat
// every `Period()` items, the least multiple of the turns' periods. They are
// worked out once, for one period, into a temporary table (`place` is d
// within the period), and each row takes them from there instead of working
// its way through the lists of names again: a third off the items' insert.
// Dropped after the rows.
struct Pattern {
    std::string table;
    std::vector<Turn> turns;
    // Each column's declaration and its value for d, through the turns only.
    std::vector<std::pair<std::string, std::string>> columns;

    int Period() const {
        int period = 1;
        for (const Turn& turn : turns) {
            period = std::lcm(period, turn.every * turn.of);
        }
        return period;
    }
    void Make(SqlSession& db) const {
        std::string declarations = "place integer PRIMARY KEY";
        std::string values = "d";
        for (const auto& [declaration, value] : columns) {
            declarations += ", " + declaration;
            values += ", " + value;
        }
        db.Run("CREATE TEMP TABLE " + table + " (" + declarations + ")");
        db.Run("WITH RECURSIVE n (d) AS (SELECT 0 UNION ALL SELECT d + 1 FROM n WHERE d + 1 < " +
               std::to_string(Period()) + ") INSERT INTO " + table + " SELECT " + values +
               " FROM n");
    }
    // Joins the pattern, as p, to the series n.
    std::string Join() const {
        return " JOIN " + table + " p ON p.place = n.d % " + std::to_string(Period());
    }
};

constexpr Turn kSize{1, static_cast<int>(kSizes.size())};
constexpr Turn kColour{3, static_cast<int>(kColours.size())};

Pattern ItemPattern() {
    const Turn premium{1, 2};
    const Turn word{7, static_cast<int>(kWords.size())};
    const Turn type{1, static_cast<int>(kTypes.size())};
    // Half the items are of the first function, the rest share the others.
    const Turn function{2, kFunctions - 1};
    const Turn catagory{1, kCatagories};
    const Turn department{5, kDepartments};
    // The description but the item's number that ends it.
    const std::string prefix =
        "CASE WHEN " + premium.Sql() + " = 0 THEN 'PREMIUM ' ELSE 'CLASSIC ' END || " +
        Pick(word.Sql(), kWords) + " || ' ' || " + Pick(kColour.Sql(), kColours) + " || ' ' || " +
        Pick(kSize.Sql(), kSizes) + " || ' '";
    return {"vym_generated_item",
            {premium, word, kColour, kSize, type, function, catagory, department},
            {{"item_type varchar(10)", Pick(type.Sql(), kTypes)},
             {"function_id varchar(10)",
              CodeOf("GEN", "CASE WHEN " + premium.Sql() + " = 0 THEN 0 ELSE 1 + " +
                                function.Sql() + " END")},
             {"catagory_id varchar(10)", CodeOf("C", catagory.Sql())},
             {"prefix varchar(80)", prefix},
             {"department_id varchar(10)", CodeOf("GEND", department.Sql())}}};
}

BlockInsert ItemInsert(const Pattern& pattern) {
    // Materialized, the description is made once for both columns that
    // take it; a subquery would be merged into the insert and make it twice.
    return {0, 1,
            Series(1) + ", g AS MATERIALIZED (SELECT n.d, " + kNo +
                " AS no, p.item_type, p.function_id, p.catagory_id, p.department_id, "
                "p.prefix || CAST(" +
                kNo + " AS varchar(11)) AS description FROM n" + pattern.Join() +
                ") "
                "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
                "short_description, long_description, status_id, department_id) "
                "SELECT no, item_type, function_id, catagory_id, substr(description, 1, 30), "
                "description, CASE WHEN d % 50 = 0 THEN 'INACTIVE' ELSE 'ACTIVE' END, "
                "department_id FROM g"};
}

// The detail row of the items of one type.
BlockInsert DetailInsert(const char* type, const std::string& columns, const std::string& values) {
    const auto remainder = std::find(kTypes.begin(), kTypes.end(), std::string_view(type));
    return {static_cast<int>(remainder - kTypes.begin()), static_cast<int>(kTypes.size()),
            Series(static_cast<int>(kTypes.size())) + "INSERT INTO vym_item_" + columns +
                " SELECT " + kNo + values + " FROM n"};
}

// The rows of every stock and rental item (the odd d but those of photo
// items): its stock record, map id "GEN" + number, quantity at a location,
// and prices. Beside its price for one, an item sells by the three and the
// case of twelve, and at two of the locations for less: six prices in all,
// each a percentage of its unit price (5.0000 to 104.7500, in ten-thousandths).
Pattern StockPattern() {
    const Turn type{1, kStockTypes};
    const Turn maker{1, 30};
    const Turn vendor{6, kVendors};
    const Turn model{12, kModels};
    const Turn report{18, kReportDepartments};
    return {"vym_generated_stock",
            {type, kSize, kColour, maker, vendor, model, report},
            {{"stock_type_id varchar(10)", CodeOf("GENT", type.Sql())},
             {"stock_size varchar(10)", Pick(kSize.Sql(), kSizes)},
             {"attribute varchar(10)", Pick(kColour.Sql(), kColours)},
             {"manufacturer varchar(10)", CodeOf("MAKER", maker.Sql())},
             {"vendor_id varchar(10)", CodeOf("GENV", vendor.Sql())},
             {"model_id varchar(10)", CodeOf("GENM", model.Sql())},
             {"report_department_id varchar(10)", CodeOf("GENR", report.Sql())}}};
}

std::vector<BlockInsert> StockInserts(const Pattern& pattern) {
    static_assert(kTypes[1] == std::string_view("STOCK") &&
                  kTypes[3] == std::string_view("PHOTO") &&
                  kTypes[5] == std::string_view("RENTAL"));
    const std::string series = Series(2);
    const std::string stocked = " WHERE d % 6 <> 3";
    const std::string where = " FROM n" + stocked;
    const std::string unit = "(50000 + d % 400 * 2500)";
    const std::string price = "(" + unit + " * t.percent / 100)";
    return {
        {1, 2,
         series +
             "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, "
             "stock_size, attribute, manufacturer, unit_price, current_cost, vendor_id, "
             "upc_code, model_id, report_department_id) SELECT " +
             kNo + ", 'GS' || CAST(" + kNo +
             " AS varchar(11)), p.stock_type_id, CASE WHEN d % 9 = 0 THEN 1 ELSE 0 END, "
             "p.stock_size, p.attribute, p.manufacturer, " +
             unit + " / 10000.0, " + unit + " / 20000.0, p.vendor_id, '07' || CAST(1000000000 + " +
             kNo + " AS varchar(11)), p.model_id, p.report_department_id FROM n" + pattern.Join() +
             stocked},
        {1, 2,
         series + "INSERT INTO vym_item_stock_map (map_id, item_no) SELECT 'GEN' || CAST(" + kNo +
             " AS varchar(11)), " + kNo + where},
        {1, 2,
         series +
             "INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) SELECT " +
             kNo + ", " + CodeOf("GENL", "d % " + std::to_string(kLocations)) + ", d % 25" + where},
        {1, 2,
         series +
             ", t (tier, unit_id, uom_id, unit_qty, place, percent) AS (VALUES "
             "(0, 'EA', NULL, 1, NULL, 100), (1, NULL, 'EA', 1, 0, 95), "
             "(2, NULL, 'EA', 3, NULL, 90), (3, NULL, 'EA', 3, 1, 85), "
             "(4, NULL, 'CS', 12, NULL, 80), (5, NULL, 'CS', 12, 2, 75)) "
             "INSERT INTO vym_price (item_no, unit_id, uom_id, unit_qty, location_id, "
             "total_price, unit_price, gross_unit_price) SELECT " +
             kNo + ", t.unit_id, t.uom_id, t.unit_qty, CASE WHEN t.place IS NULL THEN NULL ELSE " +
             CodeOf("GENL", "(d + t.place) % " + std::to_string(kLocations)) + " END, " + price +
             " * t.unit_qty / 10000.0, " + price + " / 10000.0, CASE WHEN t.tier = 0 THEN 0 ELSE " +
             price + " / 10000.0 END FROM n CROSS JOIN t WHERE d % 6 <> 3"},
    };
}

std::vector<BlockInsert> BlockInserts(const Pattern& items, const Pattern& stock) {
    std::vector<BlockInsert> inserts = {
        ItemInsert(items),
        DetailInsert("TICKET", "ticket (item_no)", ""),
        DetailInsert("SS", "ss (item_no)", ""),
        DetailInsert("PHOTO", "photo (item_no)", ""),
        DetailInsert("SHIP", "ship (item_no, rush)", ", CASE WHEN d % 4 = 0 THEN 1 ELSE 0 END"),
        DetailInsert("RENTAL", "rental (item_no, is_package)",
                     ", CASE WHEN d % 12 = 5 THEN 1 ELSE 0 END"),
    };
    for (BlockInsert& insert : StockInserts(stock)) {
        inserts.push_back(std::move(insert));
    }
    return inserts;
}

// Writes the items `begin` to `end` (in the order of this run) of every table.
void WriteBlock(SqlSession& db, const std::vector<BlockInsert>& inserts, std::int32_t first,
                std::int32_t begin, std::int32_t end) {
    for (const BlockInsert& insert : inserts) {
        const std::int32_t start =
            begin + ((insert.remainder - begin % insert.step) + insert.step) % insert.step;
        if (start < end) {
            db.Run(insert.sql, {first, start, end});
        }
    }
}

// The serialized units of the stock and rental items from `first` on, in
// one statement: unit k of the item written `done`th gets the serial id
// "SN<item>-<k>", a location and a status that turn with k (so that each
// location holds units of every status) and the item's cost and price.
// The units go in item by item, as the stock rows are read: ordering them
// by k as well would sort each item's units again.
void WriteUnits(SqlSession& db, std::int32_t first) {
    const std::string done = "(st.item_no - ?1)";
    std::string units = "SELECT 1 AS k";
    for (int k = 2; k <= kMostUnits; ++k) {
        units += " UNION ALL SELECT " + std::to_string(k);
    }
    const std::string status =
        "(" + done + " / 7 + n.k * 3) % " + std::to_string(kUnitStatuses.size());
    const std::string statusId = Pick(status, kUnitStatuses);
    const std::string location =
        "'GENL0' || CAST((" + done + " + n.k) % " + std::to_string(kLocations) + " AS varchar(2))";
    db.Run(
        "INSERT INTO vym_item_stock_serial (item_no, serial_id, mfg_serial, status_id, "
        "location_id, current_location_id, is_active, original_cost, retail_price, "
        "created_by, created_datetime) "
        "SELECT st.item_no, 'SN' || CAST(st.item_no AS varchar(12)) || '-' || "
        "CAST(n.k AS varchar(2)), 'MFG' || CAST(st.item_no * 8 + n.k AS varchar(12)), " +
            statusId + ", " + location + ", " + location + ", CASE " + status + " WHEN " +
            std::to_string(kUnitStatuses.size() - 1) +
            " THEN 0 ELSE 1 END, st.current_cost, st.unit_price, 'GEN', (SELECT " +
            db.Engine().Now() + ") FROM vym_item_stock st CROSS JOIN (" + units +
            ") n WHERE st.item_no >= ?1 AND " + "n.k <= 1 + " + done + " % " +
            std::to_string(kMostUnits) + " ORDER BY st.item_no",
        {first});
}

// PostgreSQL's triggers that count each row written (the embedded store
// drops them with the indexes), set aside while the items are written.
void CountingTriggers(SqlSession& db, const std::string& how) {
    db.Run("ALTER TABLE vym_item " + how + " TRIGGER vym_item_grams_insert");
    db.Run("ALTER TABLE vym_item " + how + " TRIGGER vym_item_words_insert");
    db.Run("ALTER TABLE vym_price " + how + " TRIGGER vym_price_history_insert");
    db.Run("ALTER TABLE vym_item " + how + " TRIGGER vym_item_tabs_insert");
    for (const std::string type : {"ticket", "ss", "photo", "ship", "rental", "stock"}) {
        db.Run("ALTER TABLE vym_item_" + type + " " + how + " TRIGGER vym_item_" + type + "_tab");
    }
    db.Run("ALTER TABLE vym_item_stock " + how + " TRIGGER vym_item_stock_counts");
    db.Run("ALTER TABLE vym_item_stock_location " + how +
           " TRIGGER vym_item_stock_location_counts");
}

// The stock items from `first` on by location, manufacturer and department,
// as the stock triggers count them.
void CountStock(SqlSession& db, std::int32_t first) {
    db.Run(
        "INSERT INTO vym_item_stock_location_count (location_id, items) "
        "SELECT l.location_id, count(*) FROM vym_item_stock_location l "
        "JOIN vym_item_stock s ON s.item_no = l.item_no WHERE l.item_no >= ? "
        "GROUP BY l.location_id ON CONFLICT (location_id) "
        "DO UPDATE SET items = vym_item_stock_location_count.items + excluded.items",
        {first});
    db.Run(
        "INSERT INTO vym_item_stock_manufacturer_count (manufacturer, items) "
        "SELECT manufacturer, count(*) FROM vym_item_stock "
        "WHERE item_no >= ? AND manufacturer IS NOT NULL "
        "GROUP BY manufacturer ON CONFLICT (manufacturer) "
        "DO UPDATE SET items = vym_item_stock_manufacturer_count.items + excluded.items",
        {first});
    db.Run(
        "INSERT INTO vym_item_stock_department_count (department_id, items) "
        "SELECT i.department_id, count(*) FROM vym_item_stock s "
        "JOIN vym_item i ON i.item_no = s.item_no "
        "WHERE s.item_no >= ? AND i.department_id IS NOT NULL "
        "GROUP BY i.department_id ON CONFLICT (department_id) "
        "DO UPDATE SET items = vym_item_stock_department_count.items + excluded.items",
        {first});
}

// The counts of the words of the descriptions of the items from `first` on,
// as the item triggers keep them on PostgreSQL: each word (lowered, between
// spaces) once an item, where it first stands; among all items and on each
// typed tab.
void CountDescriptionWords(SqlSession& db, std::int32_t first) {
    const std::string words =
        "CROSS JOIN LATERAL unnest(string_to_array(lower(i.long_description), ' ')) "
        "WITH ORDINALITY AS w (word, n) "
        "WHERE i.item_no >= ? AND w.word <> '' "
        "AND array_position(string_to_array(lower(i.long_description), ' '), w.word) = w.n ";
    db.Run(
        "INSERT INTO vym_item_word_count (word, status_id, items) "
        "SELECT w.word, i.status_id, count(*) FROM vym_item i " +
            words +
            "GROUP BY w.word, i.status_id "
            "ON CONFLICT (word, status_id) DO UPDATE SET items = vym_item_word_count.items + "
            "excluded.items",
        {first});
    db.Run(
        "INSERT INTO vym_item_tab_word_count (tab, word, status_id, items) "
        "SELECT t.tab, w.word, i.status_id, count(*) FROM vym_item_tab t "
        "JOIN vym_item i ON i.item_no = t.item_no " +
            words +
            "GROUP BY t.tab, w.word, i.status_id "
            "ON CONFLICT (tab, word, status_id) DO UPDATE SET items = "
            "vym_item_tab_word_count.items + excluded.items",
        {first});
}

// The indexes of the tables the items go to, and the triggers that index
// each new description and count each row written: dropped while the items
// are written and made again after (in the same transaction), which sorts
// each index once instead of finding a place in it for every row; the
// counts are written once, after the rows. Made-up prices have no history:
// its triggers go with them.
class DeferredIndexes {
  public:
    explicit DeferredIndexes(SqlSession& db) : db_(db) {
        auto schema = db.Prepare(
            "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND "
            "((type = 'index' AND tbl_name IN ('vym_item', 'vym_item_ticket', 'vym_item_ss', "
            "'vym_item_photo', 'vym_item_ship', 'vym_item_rental', 'vym_item_stock', "
            "'vym_item_stock_map', 'vym_item_stock_location', 'vym_price', "
            "'vym_item_stock_serial')) OR "
            "(type = 'trigger' AND (name IN ('vym_item_fts_insert', 'vym_item_grams_insert', "
            "'vym_item_words_insert', 'vym_price_history_insert', 'vym_item_tabs_insert', "
            "'vym_item_stock_counts_insert', 'vym_item_stock_location_counts_insert') "
            "OR name GLOB 'vym_item_*_tab_insert')))");
        while (schema->Step()) {
            drops_.push_back("DROP " + std::string(schema->ColumnText(0)) + " " +
                             std::string(schema->ColumnText(1)));
            creates_.emplace_back(schema->ColumnText(2));
        }
        for (const std::string& drop : drops_) {
            db_.Run(drop);
        }
    }

    // Indexes the descriptions of the items `first` up to `end` and counts
    // them, then makes the indexes and the triggers again.
    void Restore(std::int32_t first, std::int32_t end) {
        // The full-text index merges its segments once, at the end, not over
        // and over as they pile up while the rows go in: a third less work.
        // It also gathers 64 MB of new entries, not 1 MB, before it writes a
        // segment: fewer segments to merge, a sixth less work again. Its
        // settings go back to their defaults after.
        FullTextMerging(0, 64, 64 << 20);
        // Each block is counted while the next is indexed.
        DescriptionCounts counts(true);
        for (std::int32_t from = first; from < end; from += kBlock) {
            const std::int32_t to = std::min(end, from + kBlock);
            counts.Read(db_, from, to);
            db_.Run(
                "INSERT INTO vym_item_fts (rowid, long_description) "
                "SELECT item_no, long_description FROM vym_item "
                "WHERE item_no >= ? AND item_no < ?",
                {from, to});
        }
        db_.Run("INSERT INTO vym_item_fts (vym_item_fts) VALUES ('optimize')");
        FullTextMerging(4, 16, 1 << 20);
        counts.Write(db_);
        // An index is sorted in runs the size of the page cache, then merged:
        // runs of 2 MB sort in the processor's own caches, which makes the
        // indexes of a million items a fifth faster than one run in 256 MB.
        db_.Run("PRAGMA cache_size = -2000");
        for (const std::string& create : creates_) {
            db_.Run(create);
        }
    }

  private:
    // When the full-text index merges segments: as soon as `automerge` of
    // one level are there, and in any case at `crisismerge`; and how many
    // bytes of new entries it holds in memory before it writes a segment.
    void FullTextMerging(int automerge, int crisismerge, int hashsize) {
        db_.Run("INSERT INTO vym_item_fts (vym_item_fts, rank) VALUES ('automerge', ?)",
                {automerge});
        db_.Run("INSERT INTO vym_item_fts (vym_item_fts, rank) VALUES ('crisismerge', ?)",
                {crisismerge});
        db_.Run("INSERT INTO vym_item_fts (vym_item_fts, rank) VALUES ('hashsize', ?)", {hashsize});
    }

    SqlSession& db_;
    std::vector<std::string> drops_;
    std::vector<std::string> creates_;
};

// On the embedded store, a rollback journal rather than the write-ahead log
// while the items go in: the pages the new rows take lie past the file's old
// end, which a rollback journal never copies, so the rows are written once,
// straight into the file, not to the log and then again into the file. A
// failed or killed run still leaves the file as it was: the rollback, or the
// next open, plays the journal back. Another program holding the file open
// keeps it in the log, as before. Made before the run's transaction and gone
// after it, when the file goes back to the log.
class RollbackJournal {
  public:
    explicit RollbackJournal(SqlSession& db) : db_(db), switched_(Switch("truncate")) {}
    ~RollbackJournal() {
        if (switched_) {
            Switch("wal");
        }
    }
    RollbackJournal(const RollbackJournal&) = delete;
    RollbackJournal& operator=(const RollbackJournal&) = delete;

  private:
    bool Switch(const std::string& mode) noexcept {
        try {
            return db_.QueryValue("PRAGMA journal_mode = " + mode).ToString() == mode;
        } catch (const vym::Error&) {
            return false;  // another connection has the file open in the log
        }
    }

    SqlSession& db_;
    bool switched_;
};

}  // namespace

void LargeCatalogue::Generate(const std::string& path, std::int32_t items,
                              const Progress& progress) {
    // Creates and migrates the file or the server's database when needed.
    LocalAppServer::Open(path);
    const int newest = NewestSchemaVersion(CompiledMigrations());
    std::shared_ptr<SqlSession> session;
    if (IsPostgresUri(path)) {
        session = PostgresSession::Open(path, {newest});
    } else {
        SqliteSession::Options options;
        options.createIfMissing = false;
        options.newestSchemaVersion = newest;
        session = SqliteSession::Open(path, options);
    }
    SqlSession& db = *session;
    const bool postgres = db.Engine().IsPostgres();
    // A made-up catalogue can be made again: speed over durability. Its rows
    // point only to rows it wrote, so their references go unchecked; on the
    // embedded store the statement journals of the item triggers and the
    // sorts of the indexes stay in memory.
    if (postgres) {
        db.Run("SET synchronous_commit = off");
    } else {
        db.Run("PRAGMA synchronous = OFF");
        db.Run("PRAGMA foreign_keys = OFF");
        db.Run("PRAGMA temp_store = MEMORY");
        db.Run("PRAGMA cache_size = -262144");
    }
    std::optional<RollbackJournal> journal;
    if (!postgres) {
        journal.emplace(db);
    }
    AddReferenceRows(db);

    const std::int32_t first =
        db.QueryValue("SELECT COALESCE(MAX(item_no), 0) + 1 FROM vym_item").ToLong();
    // One transaction: a failed run leaves the catalogue as it was.
    WriteTransaction transaction(db);
    // The embedded store makes its indexes once, after the rows.
    std::optional<DeferredIndexes> indexes;
    if (!postgres) {
        indexes.emplace(db);
    } else {
        // The short texts and the words of the descriptions are counted once,
        // after; and made-up prices have no history.
        CountingTriggers(db, "DISABLE");
    }
    const Pattern itemPattern = ItemPattern();
    const Pattern stockPattern = StockPattern();
    itemPattern.Make(db);
    stockPattern.Make(db);
    const std::vector<BlockInsert> inserts = BlockInserts(itemPattern, stockPattern);
    for (std::int32_t done = 0; done < items;) {
        const std::int32_t end = std::min(items, done + kBlock);
        WriteBlock(db, inserts, first, done, end);
        done = end;
        if (progress) {
            progress(done);
        }
    }
    for (const Pattern* pattern : {&itemPattern, &stockPattern}) {
        db.Run("DROP TABLE " + pattern->table);
    }
    WriteUnits(db, first);
    CountStock(db, first);
    if (indexes) {
        indexes->Restore(first, first + items);
    } else {
        CountingTriggers(db, "ENABLE");
        DescriptionCounts counts(false);
        for (std::int32_t from = first; from < first + items; from += kBlock) {
            counts.Read(db, from, std::min(first + items, from + kBlock));
        }
        counts.Write(db);
        CountDescriptionWords(db, first);
    }
    transaction.Commit();
    // Fresh statistics, so that the planner sees the new rows and the trigram
    // index before the first search.
    db.Run(postgres ? "ANALYZE" : "PRAGMA optimize");
}

}  // namespace vym::server
