#include "server/procedures/import_procedures.h"

#include <string>
#include <vector>

#include "server/procedures/item_catalogue_support.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_catalogue::MissingReference;
using item_catalogue::NumberOrNull;
using item_catalogue::Reference;
using item_catalogue::RowExists;

// A column an imported stock row may set: its parameter, its table's column
// and whether it is the item's (else the stock record's).
struct StockColumn {
    const char* parameter;
    const char* column;
    bool onItem;
};

constexpr StockColumn kStockColumns[] = {
    {"@short_description", "short_description", true},
    {"@long_description", "long_description", true},
    {"@department_id", "department_id", true},
    {"@taxable", "taxable", true},
    {"@status_id", "status_id", true},
    {"@stock_id", "stock_id", false},
    {"@stock_type_id", "stock_type_id", false},
    {"@vendor_id", "vendor_id", false},
    {"@model_id", "model_id", false},
    {"@manufacturer", "manufacturer", false},
    {"@style", "style", false},
    {"@attribute", "attribute", false},
    {"@stock_size", "stock_size", false},
    {"@upc_code", "upc_code", false},
    {"@unit_price", "unit_price", false},
    {"@min_price", "min_price", false},
    {"@current_cost", "current_cost", false},
    {"@report_department_id", "report_department_id", false},
    {"@base_uom_id", "base_uom_id", false},
    {"@serialized", "serialized", false},
    {"@serial_type_id", "serial_type_id", false},
    {"@min_qty", "min_qty", false},
};

// The columns of the item's or of the stock record's that the row gives
// (Null leaves a column as it is): only they are written, so that an
// unchanged description does not churn the search indexes.
struct Given {
    std::string columns;  // ", a, b"
    std::string marks;    // ", ?, ?"
    std::string sets;     // "a = ?, b = ?"
    std::vector<vym::Value> values;
};

Given GivenColumns(const ProcedureContext& call, bool onItem) {
    Given given;
    for (const StockColumn& c : kStockColumns) {
        if (c.onItem != onItem || call.Get(c.parameter).IsNull()) {
            continue;
        }
        given.columns += std::string(", ") + c.column;
        given.marks += ", ?";
        given.sets += std::string(given.sets.empty() ? "" : ", ") + c.column + " = ?";
        given.values.push_back(call.Get(c.parameter));
    }
    return given;
}

void RunWithValues(SqlSession& db, const std::string& sql, std::vector<vym::Value> values,
                   const std::vector<vym::Value>& more) {
    values.insert(values.end(), more.begin(), more.end());
    auto statement = db.Prepare(sql);
    statement->BindAll(values);
    statement->Step();
}

GuardedRow ItemRow(std::int32_t itemNo) {
    return {"vym_item", "item_no = ?", {itemNo}, "item"};
}

GuardedRow PriceRow(const vym::Value& priceNo) {
    return {"vym_price", "price_no = ?", {priceNo}, "price"};
}

// The stock editor's references that an import may set (it sets no size or
// binding type), and the item's department and the unit of measure.
const std::vector<Reference>& ImportReferences() {
    static const std::vector<Reference> references = [] {
        std::vector<Reference> all;
        for (const Reference& r : item_catalogue::kStockReferences) {
            const std::string_view parameter = r.parameter;
            if (parameter != "@stock_size_type_id" && parameter != "@binding_type_id") {
                all.push_back(r);
            }
        }
        all.push_back({"@department_id", "vym_department", "department_id", "Department"});
        all.push_back({"@base_uom_id", "vym_uom", "uom_id", "Unit of measure"});
        return all;
    }();
    return references;
}

// A new stock item with the given columns, its own number as its map id and,
// unless given, as its stock id; the long description is the short one
// unless given.
std::int32_t InsertStockItem(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value user = call.GetString("@vym_user").value_or(call.UserId());
    Given item = GivenColumns(call, true);
    if (call.IsNull("@long_description")) {
        item.columns += ", long_description";
        item.marks += ", ?";
        item.values.push_back(call.Get("@short_description"));
    }
    // Saved once, by this import: stamped as it is written, as a copy is.
    RunWithValues(db,
                  "INSERT INTO vym_item (item_type, function_id, catagory_id, vym_user, "
                  "create_date, update_date, row_saved_by, row_saved_at" +
                      item.columns + ") VALUES ('STOCK', 'STOCK', 'STOCK', ?, " +
                      db.Engine().Now() + ", " + db.Engine().Now() + ", ?, " + db.Engine().Now() +
                      item.marks + ")",
                  {user, call.UserId()}, item.values);
    const auto itemNo = static_cast<std::int32_t>(db.LastInsertId());
    db.Run(
        "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) VALUES (?, ?, ?) "
        "ON CONFLICT DO NOTHING",
        {std::to_string(itemNo), itemNo, user});
    Given stock = GivenColumns(call, false);
    if (call.IsNull("@stock_id")) {
        stock.columns += ", stock_id";
        stock.marks += ", ?";
        stock.values.push_back(std::to_string(itemNo));
    }
    RunWithValues(
        db,
        "INSERT INTO vym_item_stock (item_no" + stock.columns + ") VALUES (?" + stock.marks + ")",
        {itemNo}, stock.values);
    call.SetOutput("@row_version", 1);
    return itemNo;
}

void UpdateStockItem(ProcedureContext& call, std::int32_t itemNo) {
    SqlSession& db = call.Session();
    const Given item = GivenColumns(call, true);
    RunWithValues(db,
                  "UPDATE vym_item SET " + item.sets + (item.sets.empty() ? "" : ", ") +
                      "vym_user = ?, update_date = " + db.Engine().Now() + " WHERE item_no = ?",
                  item.values, {call.GetString("@vym_user").value_or(call.UserId()), itemNo});
    const Given stock = GivenColumns(call, false);
    if (!stock.sets.empty()) {
        RunWithValues(db, "UPDATE vym_item_stock SET " + stock.sets + " WHERE item_no = ?",
                      stock.values, {itemNo});
    }
}

// Saves one imported stock row: a new stock item when @item_no is Null,
// else the given columns of that stock item (Null keeps a column as it is).
void SaveStockItem(ProcedureContext& call) {
    SqlSession& db = call.Session();
    std::int32_t itemNo = call.GetLong("@item_no").value_or(0);
    if (itemNo != 0 && NullToEmpty(db.QueryValue("SELECT item_type FROM vym_item WHERE item_no = ?",
                                                 {itemNo})) != "STOCK") {
        Refuse(call, kMessage, "Item " + std::to_string(itemNo) + " is not a stock item.");
        return;
    }
    if (auto missing = MissingReference(call, ImportReferences())) {
        Refuse(call, kMessage, *missing);
        return;
    }
    if (itemNo == 0) {
        if (call.GetString("@short_description").value_or("").empty()) {
            Refuse(call, kMessage, "Short description is required.");
            return;
        }
        itemNo = InsertStockItem(call);
    } else {
        if (!ClaimRow(call, ItemRow(itemNo), kMessage)) {
            return;
        }
        UpdateStockItem(call, itemNo);
    }
    call.SetOutput("@item_no", itemNo);
    call.SetOutput(kMessage, std::string());
}

std::optional<std::string> CheckPriceKey(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value item = NumberOrNull(call, "@item_no");
    const std::string type =
        NullToEmpty(db.QueryValue("SELECT item_type FROM vym_item WHERE item_no = ?", {item}));
    if (type != "STOCK" && type != "RENTAL") {
        return "Item " + NullToEmpty(item) + " is not a stock or rental item.";
    }
    const vym::Value season = NumberOrNull(call, "@season_no");
    if (!season.IsNull() && !RowExists(db, "vym_season", "season_no", season)) {
        return "Season " + season.ToString() + " does not exist.";
    }
    if (!RowExists(db, "vym_uom", "uom_id", TextOrNull(call, "@uom_id"))) {
        return "Unit of measure " + call.GetString("@uom_id").value_or("") + " does not exist.";
    }
    const vym::Value location = TextOrNull(call, "@location_id");
    if (!location.IsNull() && !RowExists(db, "vym_location", "location_id", location)) {
        return "Location " + location.ToString() + " does not exist.";
    }
    if (call.GetLong("@unit_qty").value_or(0) < 1) {
        return std::string("A unit quantity is at least 1.");
    }
    return std::nullopt;
}

void InsertImportedPrice(ProcedureContext& call, vym::Currency unit) {
    SqlSession& db = call.Session();
    const std::int32_t qty = call.GetLong("@unit_qty").value_or(1);
    db.Run(
        "INSERT INTO vym_price (item_no, season_id, unit_qty, uom_id, location_id, "
        "total_price, unit_price, gross_unit_price, vym_user) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {call.Get("@item_no"), NumberOrNull(call, "@season_no"), qty, call.Get("@uom_id"),
         TextOrNull(call, "@location_id"), unit * qty, unit, unit,
         call.GetString("@vym_user").value_or(call.UserId())});
    const vym::Value priceNo = vym::Value::FromInt64(db.LastInsertId());
    ClaimRow(call, PriceRow(priceNo), kMessage);
    call.SetOutput("@price_no", priceNo);
}

// Saves one imported base price: a new price of the item by season, unit of
// measure, quantity and location when @price_no is Null, else the unit
// price (and so the total) of that price.
void SaveImportedPrice(ProcedureContext& call) {
    const vym::Currency unit = call.GetCurrency("@unit_price").value_or(vym::Currency());
    if (unit < vym::Currency()) {
        Refuse(call, kMessage, "A price can not be negative.");
        return;
    }
    const vym::Value priceNo = NumberOrNull(call, "@price_no");
    if (priceNo.IsNull()) {
        if (auto why = CheckPriceKey(call)) {
            Refuse(call, kMessage, *why);
            return;
        }
        InsertImportedPrice(call, unit);
    } else {
        if (!RowExists(call.Session(), "vym_price", "price_no", priceNo)) {
            Refuse(call, kMessage, "Price " + priceNo.ToString() + " does not exist.");
            return;
        }
        if (!ClaimRow(call, PriceRow(priceNo), kMessage)) {
            return;
        }
        const std::int32_t qty =
            call.Session()
                .QueryValue("SELECT unit_qty FROM vym_price WHERE price_no = ?", {priceNo})
                .ToLong();
        call.Session().Run(
            "UPDATE vym_price SET unit_price = ?, total_price = ?, gross_unit_price = CASE WHEN "
            "gross_unit_price < ? THEN ? ELSE gross_unit_price END, vym_user = ? "
            "WHERE price_no = ?",
            {unit, unit * (qty == 0 ? 1 : qty), unit, unit,
             call.GetString("@vym_user").value_or(call.UserId()), priceNo});
    }
    call.SetOutput(kMessage, std::string());
}

void GetStockItems(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT i.item_no, i.row_version, i.short_description, i.long_description, "
        "i.department_id, i.taxable, i.status_id, s.stock_id, s.stock_type_id, s.vendor_id, "
        "s.model_id, s.manufacturer, s.style, s.attribute, s.stock_size, s.upc_code, "
        "s.unit_price, s.min_price, s.current_cost, s.report_department_id, s.base_uom_id, "
        "s.serialized, s.serial_type_id, s.min_qty "
        "FROM vym_item i JOIN vym_item_stock s ON s.item_no = i.item_no "
        "WHERE i.item_type = 'STOCK'");
}

// The items prices may be imported for, then their base prices: no package,
// extension, discount or sale.
void GetImportPrices(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT i.item_no, s.stock_id, i.item_type FROM vym_item i "
        "LEFT JOIN vym_item_stock s ON s.item_no = i.item_no "
        "WHERE i.item_type IN ('STOCK', 'RENTAL')");
    call.EmitResultSet(
        "SELECT price_no, item_no, season_id, uom_id, unit_qty, location_id, unit_price, "
        "row_version FROM vym_price WHERE item_no IS NOT NULL AND package_no IS NULL "
        "AND child_item_no IS NULL AND discount_id IS NULL AND sale_no IS NULL");
}

// Every id an imported row may name, by what it names; a stock type carries
// its rental type.
void GetImportReferences(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT 'DEPARTMENT' AS kind, department_id AS id, CAST(NULL AS varchar(10)) AS detail "
        "FROM vym_department "
        "UNION ALL SELECT 'STOCK TYPE', stock_type_id, rental_type FROM vym_item_stock_type "
        "UNION ALL SELECT 'VENDOR', vendor_id, NULL FROM vym_vendor "
        "UNION ALL SELECT 'MODEL', model_id, NULL FROM vym_item_stock_model "
        "UNION ALL SELECT 'REPORT DEPARTMENT', report_department_id, NULL "
        "FROM vym_report_department "
        "UNION ALL SELECT 'UOM', uom_id, NULL FROM vym_uom "
        "UNION ALL SELECT 'SERIAL TYPE', serial_type_id, NULL FROM vym_item_stock_serial_type "
        "UNION ALL SELECT 'LOCATION', location_id, NULL FROM vym_location "
        "UNION ALL SELECT 'SEASON', CAST(season_no AS varchar(12)), NULL FROM vym_season");
}

}  // namespace

void RegisterImportProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_IMPORT_GetStockItems", {}, GetStockItems);
    catalog.Add("VYM_SP_IMPORT_GetPrices", {}, GetImportPrices);
    catalog.Add("VYM_SP_IMPORT_GetReferences", {}, GetImportReferences);
    catalog.Add("VYM_SP_IMPORT_SaveStockItem",
                {InOut("@item_no", DataType::Integer),
                 In("@vym_user", DataType::VarChar, 20),
                 In("@stock_id", DataType::VarChar, 30),
                 In("@short_description", DataType::VarChar, 30),
                 In("@long_description", DataType::VarChar, 80),
                 In("@department_id", DataType::VarChar, 10),
                 In("@taxable", DataType::Boolean),
                 In("@status_id", DataType::VarChar, 10),
                 In("@stock_type_id", DataType::VarChar, 10),
                 In("@vendor_id", DataType::VarChar, 15),
                 In("@model_id", DataType::VarChar, 20),
                 In("@manufacturer", DataType::VarChar, 30),
                 In("@style", DataType::VarChar, 30),
                 In("@attribute", DataType::VarChar, 30),
                 In("@stock_size", DataType::VarChar, 10),
                 In("@upc_code", DataType::VarChar, 30),
                 In("@unit_price", DataType::Currency),
                 In("@min_price", DataType::Currency),
                 In("@current_cost", DataType::Currency),
                 In("@report_department_id", DataType::VarChar, 10),
                 In("@base_uom_id", DataType::VarChar, 10),
                 In("@serialized", DataType::Boolean),
                 In("@serial_type_id", DataType::VarChar, 10),
                 In("@min_qty", DataType::SmallInt),
                 Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                SaveStockItem);
    catalog.Add("VYM_SP_IMPORT_SavePrice",
                {InOut("@price_no", DataType::Integer), In("@vym_user", DataType::VarChar, 20),
                 In("@item_no", DataType::Integer), In("@season_no", DataType::Integer),
                 In("@uom_id", DataType::VarChar, 10), In("@unit_qty", DataType::Integer),
                 In("@location_id", DataType::VarChar, 10), In("@unit_price", DataType::Currency),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                SaveImportedPrice);
}

}  // namespace vym::server
