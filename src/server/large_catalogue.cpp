#include "server/large_catalogue.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/currency.h"
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

std::string Code(const char* prefix, int number) {
    std::string digits = std::to_string(number);
    return prefix + std::string(digits.size() < 2 ? 2 - digits.size() : 0, '0') + digits;
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

// The inserts of one generated item and its details, prepared once.
struct ItemStatements {
    std::shared_ptr<SqlStatement> item;
    std::shared_ptr<SqlStatement> ticket;
    std::shared_ptr<SqlStatement> ss;
    std::shared_ptr<SqlStatement> photo;
    std::shared_ptr<SqlStatement> ship;
    std::shared_ptr<SqlStatement> rental;
    std::shared_ptr<SqlStatement> stock;
    std::shared_ptr<SqlStatement> map;
    std::shared_ptr<SqlStatement> quantity;
    std::shared_ptr<SqlStatement> price;
    std::shared_ptr<SqlStatement> stockPrice;
};

ItemStatements PrepareItemStatements(SqlSession& db) {
    return {
        .item = db.Prepare("INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
                           "short_description, long_description, status_id, tree_icon, "
                           "department_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        .ticket = db.Prepare("INSERT INTO vym_item_ticket (item_no) VALUES (?)"),
        .ss = db.Prepare("INSERT INTO vym_item_ss (item_no) VALUES (?)"),
        .photo = db.Prepare("INSERT INTO vym_item_photo (item_no) VALUES (?)"),
        .ship = db.Prepare("INSERT INTO vym_item_ship (item_no, rush) VALUES (?, ?)"),
        .rental = db.Prepare("INSERT INTO vym_item_rental (item_no, is_package) VALUES (?, ?)"),
        .stock = db.Prepare(
            "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, "
            "stock_size, attribute, manufacturer, unit_price, current_cost, vendor_id, upc_code, "
            "model_id, report_department_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        .map = db.Prepare("INSERT INTO vym_item_stock_map (map_id, item_no) VALUES (?, ?)"),
        .quantity =
            db.Prepare("INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) "
                       "VALUES (?, ?, ?)"),
        .price = db.Prepare("INSERT INTO vym_price (item_no, unit_id, total_price, unit_price) "
                            "VALUES (?, 'EA', ?, ?)"),
        .stockPrice = db.Prepare(
            "INSERT INTO vym_price (item_no, uom_id, unit_qty, location_id, total_price, "
            "unit_price, gross_unit_price) VALUES (?, ?, ?, ?, ?, ?, ?)"),
    };
}

void Run(SqlStatement& statement, std::initializer_list<vym::Value> values) {
    statement.BindAll(values);
    statement.Step();
    statement.Reset();
}

// Beside its price for one, a stock or rental item sells by the three and the
// case of twelve, and at two of the locations for less: six prices in all.
void WriteStockPrices(ItemStatements& insert, std::int32_t no, std::int32_t done,
                      vym::Currency unit) {
    struct Tier {
        const char* uom;
        int qty;
        int location;  // -1: any location
        std::int64_t percent;
    };
    static constexpr Tier kTiers[] = {
        {"EA", 1, 0, 95},   {"EA", 3, -1, 90}, {"EA", 3, 1, 85},
        {"CS", 12, -1, 80}, {"CS", 12, 2, 75},
    };
    for (const Tier& t : kTiers) {
        const vym::Currency price = (unit * t.percent).DividedBy(100);
        const vym::Value location =
            t.location < 0 ? vym::Value::Null()
                           : vym::Value(Code("GENL", (done + t.location) % kLocations));
        Run(*insert.stockPrice, {no, t.uom, t.qty, location, price * t.qty, price, price});
    }
}

// Item number `no`, the `done`th generated in this run: its type, words and
// numbers follow from `done`.
void WriteItem(ItemStatements& insert, std::int32_t no, std::int32_t done) {
    const char* type = kTypes[done % kTypes.size()];
    const int function = done % 2 == 0 ? 0 : 1 + (done / 2) % (kFunctions - 1);
    const char* word = kWords[(done / 7) % kWords.size()];
    const char* colour = kColours[(done / 3) % kColours.size()];
    const char* size = kSizes[done % kSizes.size()];
    const std::string description = std::string(done % 2 == 0 ? "PREMIUM " : "CLASSIC ") + word +
                                    ' ' + colour + ' ' + size + ' ' + std::to_string(no);
    Run(*insert.item,
        {no, type, Code("GEN", function), Code("C", done % kCatagories), description.substr(0, 30),
         description, done % 50 == 0 ? "INACTIVE" : "ACTIVE", vym::Value::Null(),
         Code("GEND", (done / 5) % kDepartments)});
    const std::string kind = type;
    if (kind == "TICKET") {
        Run(*insert.ticket, {no});
    } else if (kind == "SS") {
        Run(*insert.ss, {no});
    } else if (kind == "PHOTO") {
        Run(*insert.photo, {no});
    } else if (kind == "SHIP") {
        Run(*insert.ship, {no, done % 4 == 0});
    }
    if (kind == "RENTAL") {
        Run(*insert.rental, {no, done % 12 == 5});
    }
    if (kind == "STOCK" || kind == "RENTAL") {
        const vym::Currency unit = vym::Currency::FromRaw(50000 + (done % 400) * 2500);
        const double unitPrice = unit.ToDouble();
        Run(*insert.stock,
            {no, "GS" + std::to_string(no), Code("GENT", done % kStockTypes), done % 9 == 0, size,
             colour, Code("MAKER", done % 30), unitPrice, unitPrice / 2,
             Code("GENV", (done / 6) % kVendors), "07" + std::to_string(1000000000 + no),
             Code("GENM", (done / 12) % kModels), Code("GENR", (done / 18) % kReportDepartments)});
        Run(*insert.map, {"GEN" + std::to_string(no), no});
        Run(*insert.quantity, {no, Code("GENL", done % kLocations), done % 25});
        Run(*insert.price, {no, unit, unit});
        WriteStockPrices(insert, no, done, unit);
    }
}

// The same items written by PostgreSQL itself, a statement per table for
// the items from `from` to `to`, the `first`th written as `done` 0: a row a
// statement would take the server as long to receive as to store.
std::string Numbered(const char* prefix, const std::string& number) {
    return "'" + std::string(prefix) + "' || lpad(CAST(" + number + " AS text), 2, '0')";
}

template <std::size_t N>
std::string Pick(const std::array<const char*, N>& words, const std::string& index) {
    std::string array = "(ARRAY[";
    for (std::size_t i = 0; i < N; ++i) {
        array += (i ? ", '" : "'") + std::string(words[i]) + "'";
    }
    return array + "])[(" + index + ") + 1]";
}

void WriteItemsOnServer(SqlSession& db, std::int32_t first, std::int32_t from, std::int32_t to) {
    const std::string span = " FROM (SELECT g AS no, g - " + std::to_string(first) +
                             " AS d FROM generate_series(" + std::to_string(from) + ", " +
                             std::to_string(to) + ") g) n";
    const std::string description =
        "CASE WHEN d % 2 = 0 THEN 'PREMIUM ' ELSE 'CLASSIC ' END || " +
        Pick(kWords, "d / 7 % " + std::to_string(kWords.size())) + " || ' ' || " +
        Pick(kColours, "d / 3 % " + std::to_string(kColours.size())) + " || ' ' || " +
        Pick(kSizes, "d % " + std::to_string(kSizes.size())) + " || ' ' || CAST(no AS text)";
    db.Run(
        "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
        "short_description, long_description, status_id, department_id) "
        "SELECT no, " +
        Pick(kTypes, "d % 6") + ", " +
        Numbered("GEN", "CASE WHEN d % 2 = 0 THEN 0 ELSE 1 + d / 2 % " +
                            std::to_string(kFunctions - 1) + " END") +
        ", " + Numbered("C", "d % " + std::to_string(kCatagories)) + ", substr(" + description +
        ", 1, 30), " + description + ", CASE WHEN d % 50 = 0 THEN 'INACTIVE' ELSE 'ACTIVE' END, " +
        Numbered("GEND", "d / 5 % " + std::to_string(kDepartments)) + span);
    db.Run("INSERT INTO vym_item_ticket (item_no) SELECT no" + span + " WHERE d % 6 = 0");
    db.Run("INSERT INTO vym_item_ss (item_no) SELECT no" + span + " WHERE d % 6 = 2");
    db.Run("INSERT INTO vym_item_photo (item_no) SELECT no" + span + " WHERE d % 6 = 3");
    db.Run(
        "INSERT INTO vym_item_ship (item_no, rush) SELECT no, "
        "CASE WHEN d % 4 = 0 THEN 1 ELSE 0 END" +
        span + " WHERE d % 6 = 4");
    db.Run(
        "INSERT INTO vym_item_rental (item_no, is_package) SELECT no, "
        "CASE WHEN d % 12 = 5 THEN 1 ELSE 0 END" +
        span + " WHERE d % 6 = 5");
    const std::string stocked = span + " WHERE d % 6 IN (1, 5)";
    const std::string unit = "(5 + d % 400 * 0.25)";
    db.Run(
        "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, "
        "stock_size, attribute, manufacturer, unit_price, current_cost, vendor_id, upc_code, "
        "model_id, report_department_id) SELECT no, 'GS' || CAST(no AS text), " +
        Numbered("GENT", "d % " + std::to_string(kStockTypes)) +
        ", CASE WHEN d % 9 = 0 THEN 1 ELSE 0 END, " +
        Pick(kSizes, "d % " + std::to_string(kSizes.size())) + ", " +
        Pick(kColours, "d / 3 % " + std::to_string(kColours.size())) + ", " +
        Numbered("MAKER", "d % 30") + ", " + unit + ", " + unit + " / 2, " +
        Numbered("GENV", "d / 6 % " + std::to_string(kVendors)) +
        ", '07' || CAST(1000000000 + no AS text), " +
        Numbered("GENM", "d / 12 % " + std::to_string(kModels)) + ", " +
        Numbered("GENR", "d / 18 % " + std::to_string(kReportDepartments)) + stocked);
    db.Run(
        "INSERT INTO vym_item_stock_map (map_id, item_no) SELECT 'GEN' || CAST(no AS text), "
        "no" +
        stocked);
    db.Run("INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) SELECT no, " +
           Numbered("GENL", "d % " + std::to_string(kLocations)) + ", d % 25" + stocked);
    // The price for one, then the tiers of WriteStockPrices, numbered as
    // the key trigger would number them one by one.
    const std::string location =
        "CASE WHEN t.location < 0 THEN NULL ELSE " +
        Numbered("GENL", "(d + t.location) % " + std::to_string(kLocations)) + " END";
    db.Run(
        "INSERT INTO vym_price (price_no, item_no, unit_id, uom_id, unit_qty, location_id, "
        "total_price, unit_price, gross_unit_price) "
        "SELECT (SELECT COALESCE(MAX(price_no), 0) FROM vym_price) + row_number() OVER "
        "(ORDER BY no, t.tier), no, CASE WHEN t.tier = 0 THEN 'EA' END, "
        "CASE WHEN t.tier > 0 THEN t.uom END, t.qty, "
        "CASE WHEN t.tier > 0 THEN " +
        location + " END, " + unit + " * t.percent / 100 * t.qty, " + unit +
        " * t.percent / 100, CASE WHEN t.tier > 0 "
        "THEN " +
        unit + " * t.percent / 100 ELSE 0 END" + stocked.substr(0, stocked.find(" WHERE")) +
        " CROSS JOIN (VALUES (0, 'EA', 1, -1, 100), (1, 'EA', 1, 0, 95), "
        "(2, 'EA', 3, -1, 90), (3, 'EA', 3, 1, 85), (4, 'CS', 12, -1, 80), "
        "(5, 'CS', 12, 2, 75)) t (tier, uom, qty, location, percent)" +
        stocked.substr(stocked.find(" WHERE")));
}

// The serialized units of the stock and rental items from `first` on, in
// one statement: unit k of the item written `done`th gets the serial id
// "SN<item>-<k>", a location and a status that turn with k (so that each
// location holds units of every status) and the item's cost and price.
void WriteUnits(SqlSession& db, std::int32_t first) {
    const std::string done = "(st.item_no - ?1)";
    std::string units = "SELECT 1 AS k";
    for (int k = 2; k <= kMostUnits; ++k) {
        units += " UNION ALL SELECT " + std::to_string(k);
    }
    const std::string status =
        "(" + done + " / 7 + n.k * 3) % " + std::to_string(kUnitStatuses.size());
    std::string statusId = "CASE " + status;
    for (std::size_t s = 0; s < kUnitStatuses.size(); ++s) {
        statusId += " WHEN " + std::to_string(s) + " THEN '" + kUnitStatuses[s] + "'";
    }
    statusId += " END";
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
            " THEN 0 ELSE 1 END, st.current_cost, st.unit_price, 'GEN', " + db.Engine().Now() +
            " FROM vym_item_stock st JOIN (" + units + ") n ON n.k <= 1 + " + done + " % " +
            std::to_string(kMostUnits) + " WHERE st.item_no >= ?1 ORDER BY st.item_no, n.k",
        {first});
}

// The indexes of the tables the items go to, and the trigger that indexes
// each new description: dropped while the items are written and made again
// after (in the same transaction), which sorts each index once instead of
// finding a place in it for every row. Made-up prices have no history: its
// triggers go with them.
class DeferredIndexes {
  public:
    explicit DeferredIndexes(SqlSession& db) : db_(db) {
        auto schema = db.Prepare(
            "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND "
            "((type = 'index' AND tbl_name IN ('vym_item', 'vym_item_ticket', 'vym_item_ss', "
            "'vym_item_photo', 'vym_item_ship', 'vym_item_rental', 'vym_item_stock', "
            "'vym_item_stock_map', 'vym_item_stock_location', 'vym_price', "
            "'vym_item_stock_serial')) OR "
            "(type = 'trigger' AND name IN ('vym_item_fts_insert', 'vym_price_history_insert')))");
        while (schema->Step()) {
            drops_.push_back("DROP " + std::string(schema->ColumnText(0)) + " " +
                             std::string(schema->ColumnText(1)));
            creates_.emplace_back(schema->ColumnText(2));
        }
        for (const std::string& drop : drops_) {
            db_.Run(drop);
        }
    }

    // Indexes the descriptions of the items from `first` on, then makes the
    // indexes and the trigger again.
    void Restore(std::int32_t first) {
        db_.Run(
            "INSERT INTO vym_item_fts (rowid, long_description) "
            "SELECT item_no, long_description FROM vym_item WHERE item_no >= ?",
            {first});
        for (const std::string& create : creates_) {
            db_.Run(create);
        }
    }

  private:
    SqlSession& db_;
    std::vector<std::string> drops_;
    std::vector<std::string> creates_;
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
    AddReferenceRows(db);

    const std::int32_t first =
        db.QueryValue("SELECT COALESCE(MAX(item_no), 0) + 1 FROM vym_item").ToLong();
    // One transaction: a failed run leaves the catalogue as it was.
    WriteTransaction transaction(db);
    // The embedded store makes its indexes once, after the rows.
    std::optional<DeferredIndexes> indexes;
    if (!postgres) {
        indexes.emplace(db);
    }
    // Made-up prices have no history.
    if (postgres) {
        db.Run("ALTER TABLE vym_price DISABLE TRIGGER vym_price_history_insert");
    }
    std::optional<ItemStatements> insert;
    for (std::int32_t done = 0; done < items;) {
        const std::int32_t end = std::min(items, done + kBlock);
        if (postgres) {
            WriteItemsOnServer(db, first, first + done, first + end - 1);
            done = end;
        }
        for (; done < end; ++done) {
            if (!insert) {
                insert = PrepareItemStatements(db);
            }
            WriteItem(*insert, first + done, done);
        }
        if (progress) {
            progress(done);
        }
    }
    if (postgres) {
        db.Run("ALTER TABLE vym_price ENABLE TRIGGER vym_price_history_insert");
    }
    WriteUnits(db, first);
    if (indexes) {
        indexes->Restore(first);
    }
    transaction.Commit();
    // Fresh statistics, so that the planner sees the new rows and the trigram
    // index before the first search.
    db.Run(postgres ? "ANALYZE" : "PRAGMA optimize");
}

}  // namespace vym::server
