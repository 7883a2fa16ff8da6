#include "server/procedures/item_price_procedures.h"

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "base/currency.h"
#include "server/procedures/item_catalogue_support.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_catalogue::NumberOrNull;
using item_catalogue::RowExists;

using Check = std::optional<std::string>;

GuardedRow PriceRow(const vym::Value& priceNo) {
    return {"vym_price", "price_no = ?", {priceNo}, "price"};
}

Check Missing(SqlSession& db, const vym::Value& value, std::string_view table,
              std::string_view column, const std::string& what) {
    if (value.IsNull() || RowExists(db, table, column, value)) {
        return std::nullopt;
    }
    return what + " " + value.ToString() + " does not exist.";
}

// Why a price may not be deleted, or nullopt when it may. An item's own price
// is the parent price of the extension prices sold with it under its season,
// discount and unit: without it those would price an extension of nothing.
Check PriceInUse(SqlSession& db, const vym::Value& priceNo) {
    const auto extensions =
        db.QueryValue(
              "SELECT count(*) FROM vym_price p JOIN vym_price e ON e.item_no = p.item_no "
              "AND e.package_no IS NULL AND e.child_item_no IS NOT NULL "
              "AND e.parent_unit_id = p.unit_id AND e.season_id IS NOT DISTINCT FROM p.season_id "
              "AND e.discount_id IS NOT DISTINCT FROM p.discount_id "
              "WHERE p.price_no = ?1 AND p.child_item_no IS NULL AND p.package_no IS NULL "
              "AND NOT EXISTS (SELECT 1 FROM vym_price o WHERE o.price_no <> p.price_no "
              "AND o.item_no = p.item_no AND o.package_no IS NULL AND o.child_item_no IS NULL "
              "AND o.unit_id = p.unit_id AND o.season_id IS NOT DISTINCT FROM p.season_id "
              "AND o.discount_id IS NOT DISTINCT FROM p.discount_id)",
              {priceNo})
            .ToLong();
    if (extensions == 0) {
        return std::nullopt;
    }
    return "This price is the parent price of " + std::to_string(extensions) +
           (extensions == 1 ? " extension price" : " extension prices") +
           ".  Delete the extension prices first.";
}

Check PriceMissing(SqlSession& db, const vym::Value& priceNo) {
    if (!priceNo.IsNull() && RowExists(db, "vym_price", "price_no", priceNo)) {
        return std::nullopt;
    }
    return "Price " + NullToEmpty(priceNo) + " does not exist.";
}

// A price's amounts: the total is the unit price times the unit quantity
// (0 counting as 1), and the gross unit price is never below the unit price.
struct Amounts {
    vym::Currency unit;
    vym::Currency total;
    vym::Currency gross;
};

std::optional<Amounts> ResolveAmounts(const ProcedureContext& call, std::int32_t qty,
                                      const std::optional<Amounts>& stored) {
    const std::int32_t divisor = qty == 0 ? 1 : qty;
    auto unit = call.GetCurrency("@unit_price");
    auto total = call.GetCurrency("@price");
    if (unit && !total) {
        total = *unit * divisor;
    } else if (total && !unit) {
        unit = total->DividedBy(divisor);
    } else if (!unit && !total) {
        if (!stored) {
            return std::nullopt;
        }
        unit = stored->unit;
        total = stored->total;
    }
    vym::Currency gross =
        call.GetCurrency("@gross_unit_price").value_or(stored ? stored->gross : vym::Currency());
    if (gross < *unit) {
        gross = *unit;
    }
    return Amounts{*unit, *total, gross};
}

// Access rule 0 ([NO RULE]) and -1 ([NA]) both leave the price without a rule.
vym::Value RuleOrNull(const ProcedureContext& call) {
    const auto rule = call.GetLong("@access_rule_no");
    return rule && *rule > 0 ? vym::Value(*rule) : vym::Value::Null();
}

Check CheckReferences(ProcedureContext& call) {
    SqlSession& db = call.Session();
    if (auto missing =
            Missing(db, RuleOrNull(call), "vym_access_rule", "access_rule_no", "Access rule")) {
        return missing;
    }
    const std::optional<vym::Currency> amounts[] = {call.GetCurrency("@unit_price"),
                                                    call.GetCurrency("@price"),
                                                    call.GetCurrency("@gross_unit_price")};
    for (const auto& amount : amounts) {
        if (amount && *amount < vym::Currency()) {
            return std::string("A price can not be negative.");
        }
    }
    if (call.GetLong("@unit_qty").value_or(0) < 0) {
        return std::string("A unit quantity can not be negative.");
    }
    return std::nullopt;
}

// The owner of a new price: an item, a package, or a line of a package price.
struct Owner {
    vym::Value item;
    vym::Value package;
    vym::Value packagePrice;
    vym::Value function;  // whose units the price's unit is one of
};

std::variant<Owner, std::string> ResolveOwner(ProcedureContext& call) {
    SqlSession& db = call.Session();
    Owner owner{NumberOrNull(call, "@item_no"), NumberOrNull(call, "@package_no"),
                NumberOrNull(call, "@package_price_no"), vym::Value::Null()};
    if (!owner.packagePrice.IsNull()) {
        const vym::Value package = db.QueryValue(
            "SELECT package_no FROM vym_price WHERE price_no = ? AND package_no IS NOT NULL "
            "AND package_price_no IS NULL",
            {owner.packagePrice});
        if (package.IsNull()) {
            return "Price " + owner.packagePrice.ToString() + " is not a package price.";
        }
        if (!owner.package.IsNull() && owner.package.ToLong() != package.ToLong()) {
            return "Price " + owner.packagePrice.ToString() + " is not a price of package " +
                   owner.package.ToString() + ".";
        }
        owner.package = package;
        if (owner.item.IsNull() ||
            db.QueryValue("SELECT 1 FROM vym_package_item WHERE package_no = ? AND item_no = ?",
                          {owner.package, owner.item})
                .IsNull()) {
            return "Item " + NullToEmpty(owner.item) + " is not a line of package " +
                   owner.package.ToString() + ".";
        }
    } else if (!owner.package.IsNull()) {
        if (!RowExists(db, "vym_package", "package_no", owner.package)) {
            return "Package " + owner.package.ToString() + " does not exist.";
        }
        owner.item = vym::Value::Null();  // a package price belongs to the package alone
        owner.function = db.QueryValue("SELECT function_id FROM vym_package WHERE package_no = ?",
                                       {owner.package});
        return owner;
    } else if (owner.item.IsNull()) {
        return std::string("A price needs an item or a package.");
    }
    if (!RowExists(db, "vym_item", "item_no", owner.item)) {
        return "Item " + owner.item.ToString() + " does not exist.";
    }
    owner.function =
        db.QueryValue("SELECT function_id FROM vym_item WHERE item_no = ?", {owner.item});
    return owner;
}

// The key of a new price: its owner and what the owner's prices differ by.
struct PriceKey {
    Owner owner;
    vym::Value child;
    vym::Value parentUnit;
    vym::Value season;
    vym::Value discount;
    vym::Value unit;
    vym::Value uom;
    vym::Value location;
    vym::Value sale;
};

PriceKey ReadPriceKey(const ProcedureContext& call, Owner owner) {
    const vym::Value child = NumberOrNull(call, "@child_item_no");
    return {std::move(owner),
            child,
            child.IsNull() ? vym::Value::Null() : TextOrNull(call, "@parent_unit_id"),
            NumberOrNull(call, "@season_no"),
            TextOrNull(call, "@discount_id"),
            TextOrNull(call, "@unit_id"),
            TextOrNull(call, "@uom_id"),
            TextOrNull(call, "@location_id"),
            NumberOrNull(call, "@sale_no")};
}

// An extension price belongs to an extension of the owning item, and its unit
// is one of the extension's units.
Check ResolveExtension(SqlSession& db, PriceKey& key) {
    if (key.child.IsNull()) {
        return std::nullopt;
    }
    if (key.owner.item.IsNull() || !key.owner.packagePrice.IsNull() ||
        db.QueryValue("SELECT 1 FROM vym_extension WHERE parent_item_no = ? AND child_item_no = ?",
                      {key.owner.item, key.child})
            .IsNull()) {
        return "Item " + key.child.ToString() + " is not an extension of item " +
               NullToEmpty(key.owner.item) + ".";
    }
    key.owner.function =
        db.QueryValue("SELECT function_id FROM vym_item WHERE item_no = ?", {key.child});
    return std::nullopt;
}

// Units of measure and locations price stock and rental articles only.
Check StockKeyOfOtherItem(SqlSession& db, const PriceKey& key) {
    if ((key.uom.IsNull() && key.location.IsNull()) || key.owner.item.IsNull()) {
        return std::nullopt;
    }
    const std::string type = NullToEmpty(
        db.QueryValue("SELECT item_type FROM vym_item WHERE item_no = ?", {key.owner.item}));
    if (type == "STOCK" || type == "RENTAL") {
        return std::nullopt;
    }
    return "Item " + key.owner.item.ToString() +
           " is not a stock or rental item: it has no prices by unit of measure or location.";
}

Check MissingKeyReference(SqlSession& db, const PriceKey& key) {
    for (const Check& missing :
         {Missing(db, key.season, "vym_season", "season_no", "Season"),
          Missing(db, key.discount, "vym_discount", "discount_id", "Discount"),
          Missing(db, key.uom, "vym_uom", "uom_id", "Unit of measure"),
          Missing(db, key.location, "vym_location", "location_id", "Location")}) {
        if (missing) {
            return missing;
        }
    }
    return std::nullopt;
}

// What the caller leaves out comes from the unit.
vym::Value FromUnit(ProcedureContext& call, const PriceKey& key, const char* parameter,
                    const char* column) {
    if (auto given = call.GetLong(parameter)) {
        return vym::Value(*given);
    }
    const vym::Value value = call.Session().QueryValue(
        std::string("SELECT ") + column + " FROM vym_unit WHERE function_id = ? AND unit_id = ?",
        {key.owner.function, key.unit});
    return value.IsNull() ? vym::Value(1) : value;
}

// A stock price is keyed by its unit of measure and quantity, whatever unit
// it was first written with; other prices by their unit.
bool PriceKeyTaken(SqlSession& db, const PriceKey& key, const vym::Value& qty) {
    return !db.QueryValue(
                  "SELECT 1 FROM vym_price WHERE item_no IS NOT DISTINCT FROM ?1 "
                  "AND package_no IS NOT DISTINCT FROM ?2 "
                  "AND package_price_no IS NOT DISTINCT FROM ?3 "
                  "AND child_item_no IS NOT DISTINCT FROM ?4 "
                  "AND parent_unit_id IS NOT DISTINCT FROM ?5 "
                  "AND season_id IS NOT DISTINCT FROM ?6 AND discount_id IS NOT DISTINCT FROM ?7 "
                  "AND (?9 IS NOT NULL OR unit_id IS NOT DISTINCT FROM ?8) "
                  "AND uom_id IS NOT DISTINCT FROM ?9 AND location_id IS NOT DISTINCT FROM ?10 "
                  "AND sale_no IS NOT DISTINCT FROM ?11 "
                  "AND ((?8 IS NOT NULL AND ?9 IS NULL) OR unit_qty = ?12) LIMIT 1",
                  {key.owner.item, key.owner.package, key.owner.packagePrice, key.child,
                   key.parentUnit, key.season, key.discount, key.unit, key.uom, key.location,
                   key.sale, qty})
                .IsNull();
}

void WriteNewPrice(ProcedureContext& call, const PriceKey& key, const vym::Value& qty,
                   const Amounts& amounts) {
    SqlSession& db = call.Session();
    db.Run(
        "INSERT INTO vym_price (item_no, package_no, package_price_no, child_item_no, "
        "parent_unit_id, season_id, discount_id, unit_id, unit_qty, uom_id, location_id, "
        "sale_no, total_price, unit_price, gross_unit_price, line_discount, seller_pricing, "
        "acct_units, print_qty, access_rule_no, vym_user) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, COALESCE(?, 0), COALESCE(?, 0), ?, ?, ?, ?)",
        {key.owner.item,
         key.owner.package,
         key.owner.packagePrice,
         key.child,
         key.parentUnit,
         key.season,
         key.discount,
         key.unit,
         qty,
         key.uom,
         key.location,
         key.sale,
         amounts.total,
         amounts.unit,
         amounts.gross,
         call.Get("@allow_line_discount"),
         call.Get("@seller_pricing"),
         FromUnit(call, key, "@acct_units", "acct_units"),
         FromUnit(call, key, "@print_qty", "print_qty"),
         RuleOrNull(call),
         call.GetString("@vym_user").value_or(call.UserId())});
    const vym::Value priceNo = vym::Value::FromInt64(db.LastInsertId());
    ClaimRow(call, PriceRow(priceNo), kMessage);
    call.SetOutput("@price_no", priceNo);
    call.SetOutput("@gross_unit_price", amounts.gross);
}

void InsertPrice(ProcedureContext& call) {
    SqlSession& db = call.Session();
    auto resolved = ResolveOwner(call);
    if (auto* why = std::get_if<std::string>(&resolved)) {
        Refuse(call, *why);
        return;
    }
    PriceKey key = ReadPriceKey(call, std::get<Owner>(resolved));
    Check refusal = ResolveExtension(db, key);
    if (!refusal) {
        refusal = MissingKeyReference(db, key);
    }
    if (!refusal) {
        refusal = StockKeyOfOtherItem(db, key);
    }
    if (refusal) {
        Refuse(call, *refusal);
        return;
    }
    const vym::Value qty = FromUnit(call, key, "@unit_qty", "qty");
    const auto amounts = ResolveAmounts(call, qty.ToLong(), std::nullopt);
    if (!amounts) {
        Refuse(call, "A price needs a price or a unit price.");
        return;
    }
    if (PriceKeyTaken(db, key, qty)) {
        Refuse(call, key.uom.IsNull() && key.location.IsNull()
                         ? "This combination of season, discount and unit already has a price "
                           "assigned."
                         : "This unit of measure and quantity already has a price at this "
                           "location.");
        return;
    }
    WriteNewPrice(call, key, qty, *amounts);
}

// The key of a saved price stays as it is; its unit, amounts, flags and rule
// change where the caller sends them.
void UpdateSavedPrice(ProcedureContext& call, const vym::Value& priceNo) {
    SqlSession& db = call.Session();
    if (auto missing = PriceMissing(db, priceNo)) {
        Refuse(call, *missing);
        return;
    }
    const auto column = [&](const char* name) {
        return db.QueryValue(std::string("SELECT ") + name + " FROM vym_price WHERE price_no = ?",
                             {priceNo});
    };
    const Amounts stored{column("unit_price").ToCurrency(), column("total_price").ToCurrency(),
                         column("gross_unit_price").ToCurrency()};
    const std::int32_t qty = call.GetLong("@unit_qty").value_or(column("unit_qty").ToLong());
    const auto amounts = ResolveAmounts(call, qty, stored);
    const bool ruleGiven = !call.IsNull("@access_rule_no");
    if (!ClaimRow(call, PriceRow(priceNo), kMessage)) {
        return;
    }
    db.Run(
        "UPDATE vym_price SET unit_id = COALESCE(?, unit_id), unit_qty = ?, total_price = ?, "
        "unit_price = ?, gross_unit_price = ?, line_discount = COALESCE(?, line_discount), "
        "seller_pricing = COALESCE(?, seller_pricing), acct_units = COALESCE(?, acct_units), "
        "print_qty = COALESCE(?, print_qty), "
        "access_rule_no = CASE WHEN ? THEN ? ELSE access_rule_no END, vym_user = ? "
        "WHERE price_no = ?",
        {TextOrNull(call, "@unit_id"), qty, amounts->total, amounts->unit, amounts->gross,
         call.Get("@allow_line_discount"), call.Get("@seller_pricing"), call.Get("@acct_units"),
         call.Get("@print_qty"), ruleGiven, RuleOrNull(call),
         call.GetString("@vym_user").value_or(call.UserId()), priceNo});
    call.SetOutput("@price_no", priceNo);
    call.SetOutput("@gross_unit_price", amounts->gross);
}

void UpdatePrice(ProcedureContext& call) {
    const vym::Value priceNo = NumberOrNull(call, "@price_no");
    if (!priceNo.IsNull() && !RefuseIfRowChanged(call, PriceRow(priceNo), kMessage)) {
        return;
    }
    if (auto why = CheckReferences(call)) {
        Refuse(call, *why);
        return;
    }
    if (priceNo.IsNull()) {
        InsertPrice(call);
    } else {
        UpdateSavedPrice(call, priceNo);
    }
}

// Every price of every item, item by item, for the price overview; the lines
// of package prices belong to their package price. Returns how many there
// are, so that the overview can show its progress.
void GetAllPrices(ProcedureContext& call) {
    call.SetReturnValue(
        call.Session()
            .QueryValue("SELECT count(*) FROM vym_price WHERE item_no IS NOT NULL AND "
                        "package_no IS NULL")
            .ToLong());
    call.EmitResultSet(
        "SELECT i.item_type, p.item_no, i.long_description AS item_description, p.price_no, "
        "p.location_id, p.season_id AS season_no, s.description AS season_desc, p.discount_id, "
        "d.description AS discount_desc, p.uom_id, p.unit_qty, p.unit_price, "
        "p.total_price AS Price, p.seller_pricing, p.line_discount AS allow_line_discount "
        "FROM vym_price p JOIN vym_item i ON i.item_no = p.item_no "
        "LEFT JOIN vym_season s ON s.season_no = p.season_id "
        "LEFT JOIN vym_discount d ON d.discount_id = p.discount_id "
        "WHERE p.item_no IS NOT NULL AND p.package_no IS NULL ORDER BY p.item_no, p.price_no");
}

void GetItemPrices(ProcedureContext& call) {
    // The prices this list keys by extension, season, discount and unit: a
    // stock price for one location or of a sale belongs to stock pricing, and
    // the lines of a package price to the package price.
    call.EmitResultSet(
        "SELECT p.price_no, p.child_item_no, c.long_description AS extension_description, "
        "COALESCE(p.season_id, 0) AS season_no, s.description AS season_description, "
        "p.parent_unit_id, pu.description AS parent_unit_description, p.unit_id, "
        "u.description AS unit_description, p.unit_qty, p.discount_id, "
        "d.description AS discount_description, p.total_price AS Price, p.unit_price, "
        "p.gross_unit_price, p.print_qty, p.acct_units, p.line_discount AS allow_line_discount, "
        "p.seller_pricing, COALESCE(p.access_rule_no, 0) AS access_rule_no, p.row_version "
        "FROM vym_price p "
        "LEFT JOIN vym_item i ON i.item_no = p.item_no "
        "LEFT JOIN vym_package k ON k.package_no = p.package_no "
        "LEFT JOIN vym_item c ON c.item_no = p.child_item_no "
        "LEFT JOIN vym_season s ON s.season_no = p.season_id "
        "LEFT JOIN vym_discount d ON d.discount_id = p.discount_id "
        "LEFT JOIN vym_unit pu ON pu.function_id = COALESCE(i.function_id, k.function_id) "
        "AND pu.unit_id = p.parent_unit_id "
        "LEFT JOIN vym_unit u ON u.function_id = COALESCE(c.function_id, i.function_id, "
        "k.function_id) AND u.unit_id = p.unit_id "
        "WHERE CASE WHEN ?2 IS NOT NULL THEN p.package_no = ?2 AND p.package_price_no IS NULL "
        "ELSE p.item_no = ?1 AND p.package_no IS NULL END "
        "AND p.location_id IS NULL AND p.sale_no IS NULL "
        "AND (COALESCE(?3, 0) = 0 OR p.season_id IS NULL OR s.is_active <> 0) "
        "ORDER BY p.child_item_no IS NOT NULL, c.long_description, p.child_item_no, "
        "s.start_date, p.season_id, p.discount_id IS NOT NULL, p.discount_id, p.unit_qty, "
        "p.unit_id",
        {NumberOrNull(call, "@item_no"), NumberOrNull(call, "@package_no"),
         call.Get("@is_active")});
}

void GetPrices(ProcedureContext& call) {
    if (call.IsNull("@item_no") && call.IsNull("@package_no")) {
        GetAllPrices(call);
    } else {
        GetItemPrices(call);
    }
}

// Stock prices by unit of measure, quantity and location. Every filter is
// optional: a Null location, unit of measure or quantity does not narrow the
// list; without a sale number only the regular prices come. A price number
// finds its price whatever it is keyed by (the overview opens any price).
void GetStockPrice(ProcedureContext& call) {
    const vym::Value priceNo = NumberOrNull(call, "@price_no");
    const vym::Value item = NumberOrNull(call, "@item_no");
    const vym::Value package = NumberOrNull(call, "@package_no");
    const vym::Value location = TextOrNull(call, "@location_id");
    const vym::Value uom = TextOrNull(call, "@uom_id");
    const vym::Value qty = call.Get("@unit_qty");
    const vym::Value sale = NumberOrNull(call, "@sale_no");
    call.EmitResultSet(
        "SELECT p.price_no, p.item_no, p.package_no, p.location_id, "
        "l.description AS location_description, p.uom_id, p.unit_qty, p.unit_price, "
        "p.total_price AS Price, p.gross_unit_price, p.line_discount AS allow_line_discount, "
        "p.seller_pricing, p.sale_no, p.row_version "
        "FROM vym_price p LEFT JOIN vym_location l ON l.location_id = p.location_id "
        "WHERE (CAST(? AS int) IS NULL OR p.price_no = ?) "
        "AND (CAST(? AS int) IS NULL OR p.item_no = ?) "
        "AND (CAST(? AS int) IS NULL OR p.package_no = ?) "
        "AND (CAST(? AS varchar(10)) IS NULL OR p.location_id = ?) "
        "AND (CAST(? AS varchar(10)) IS NULL OR p.uom_id = ?) "
        "AND (CAST(? AS int) IS NULL OR p.unit_qty = ?) "
        "AND (CAST(? AS int) IS NOT NULL OR (p.child_item_no IS NULL "
        "AND p.package_price_no IS NULL AND p.season_id IS NULL AND p.discount_id IS NULL "
        "AND COALESCE(p.sale_no, 0) = COALESCE(?, 0))) "
        "ORDER BY COALESCE(p.uom_id, ''), p.unit_qty, p.location_id IS NOT NULL, "
        "l.description, p.price_no",
        {priceNo, priceNo, item, item, package, package, location, location, uom, uom, qty, qty,
         priceNo, sale});
}

// The own prices of one item or package (no extension, package line or sale
// prices), for choosing one.
void GetPriceChoices(ProcedureContext& call) {
    const vym::Value item = NumberOrNull(call, "@item_no");
    const vym::Value package = NumberOrNull(call, "@package_no");
    call.EmitResultSet(
        "SELECT p.price_no, p.season_id AS season_no, s.description AS season_desc, "
        "p.discount_id, d.description AS discount_desc, p.unit_id, p.unit_qty, p.unit_price, "
        "p.total_price AS Price FROM vym_price p "
        "LEFT JOIN vym_season s ON s.season_no = p.season_id "
        "LEFT JOIN vym_discount d ON d.discount_id = p.discount_id "
        "WHERE p.child_item_no IS NULL AND p.package_price_no IS NULL AND p.sale_no IS NULL "
        "AND (CAST(? AS int) IS NULL OR p.package_no = ?) "
        "AND (CAST(? AS int) IS NULL OR p.item_no = ?) "
        "AND (CAST(? AS int) IS NOT NULL OR CAST(? AS int) IS NOT NULL) "
        "ORDER BY p.season_id IS NOT NULL, p.season_id, p.discount_id IS NOT NULL, "
        "p.discount_id, p.unit_qty, p.price_no",
        {package, package, item, item, package, item});
}

// Why a price may not be deleted: it does not exist or is in use.
Check CheckDelete(SqlSession& db, const vym::Value& priceNo) {
    if (auto missing = PriceMissing(db, priceNo)) {
        return missing;
    }
    return PriceInUse(db, priceNo);
}

// The lines of a package price go with it.
void DeletePrice(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value priceNo = NumberOrNull(call, "@price_no");
    if (!priceNo.IsNull() && !RefuseIfRowChanged(call, PriceRow(priceNo), kMessage)) {
        return;
    }
    if (auto why = CheckDelete(db, priceNo)) {
        Refuse(call, *why);
        return;
    }
    if (!ClaimRow(call, PriceRow(priceNo), kMessage)) {
        return;
    }
    db.Run("DELETE FROM vym_price WHERE price_no = ?", {priceNo});
}

// Every recorded change of an item's prices (extension, stock and sale prices
// included) or of a package's own prices, newest first; with @price_no, of
// that price alone. Deleted prices and seasons still show: the history keeps
// their keys, not references to them. The owner is matched plainly, so that
// its index finds the rows.
void GetPriceHistory(ProcedureContext& call) {
    const vym::Value package = NumberOrNull(call, "@package_no");
    const std::string owner = package.IsNull() ? "h.item_no = ?1 AND h.package_no IS NULL"
                                               : "h.package_no = ?1 AND h.package_price_no IS NULL";
    call.EmitResultSet(
        "SELECT h.history_no, h.changed_at, h.vym_user, h.station, h.change_type, h.price_no, "
        "h.child_item_no, c.long_description AS extension_description, "
        "COALESCE(h.season_id, 0) AS season_no, s.description AS season_desc, h.discount_id, "
        "d.description AS discount_desc, h.unit_id, h.unit_qty, h.uom_id, h.location_id, "
        "l.description AS location_description, h.sale_no, h.old_total_price, "
        "h.new_total_price, h.old_unit_price, h.new_unit_price, h.old_gross_unit_price, "
        "h.new_gross_unit_price "
        "FROM vym_price_history h "
        "LEFT JOIN vym_item c ON c.item_no = h.child_item_no "
        "LEFT JOIN vym_season s ON s.season_no = h.season_id "
        "LEFT JOIN vym_discount d ON d.discount_id = h.discount_id "
        "LEFT JOIN vym_location l ON l.location_id = h.location_id WHERE " +
            owner + " AND (CAST(?2 AS int) IS NULL OR h.price_no = ?2) ORDER BY h.history_no DESC",
        {package.IsNull() ? NumberOrNull(call, "@item_no") : package,
         NumberOrNull(call, "@price_no")});
}

void ValidateDeletePrice(ProcedureContext& call) {
    if (auto why = CheckDelete(call.Session(), NumberOrNull(call, "@price_no"))) {
        Refuse(call, *why);
    }
}

}  // namespace

void RegisterItemPriceProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetPrices",
                {In("@item_no", DataType::Integer), In("@package_no", DataType::Integer),
                 In("@is_active", DataType::Boolean)},
                GetPrices);

    // A new price (Null @price_no) is keyed by its owner (@item_no, @package_no,
    // or @package_no with @package_price_no for a line of a package price),
    // extension item with parent unit, season, discount, unit, unit of measure,
    // location and sale; a saved price by its number.
    catalog.Add("VYM_SP_ITEM_UpdatePrice",
                {InOut("@price_no", DataType::Integer),
                 In("@vym_user", DataType::VarChar, 20),
                 In("@item_no", DataType::Integer),
                 In("@package_no", DataType::Integer),
                 In("@package_price_no", DataType::Integer),
                 In("@child_item_no", DataType::Integer),
                 In("@parent_unit_id", DataType::VarChar, 10),
                 In("@season_no", DataType::Integer),
                 In("@discount_id", DataType::VarChar, 10),
                 In("@unit_id", DataType::VarChar, 10),
                 In("@unit_qty", DataType::Integer),
                 In("@uom_id", DataType::VarChar, 10),
                 In("@location_id", DataType::VarChar, 10),
                 In("@sale_no", DataType::Integer),
                 In("@unit_price", DataType::Currency),
                 InOut("@gross_unit_price", DataType::Currency),
                 In("@price", DataType::Currency),
                 In("@allow_line_discount", DataType::Boolean),
                 In("@seller_pricing", DataType::Boolean),
                 In("@acct_units", DataType::Integer),
                 In("@print_qty", DataType::Integer),
                 In("@access_rule_no", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                UpdatePrice);

    catalog.Add("VYM_SP_ITEM_GetPrice",
                {In("@item_no", DataType::Integer), In("@package_no", DataType::Integer),
                 In("@location_id", DataType::VarChar, 10), In("@sale_no", DataType::Integer),
                 In("@unit_qty", DataType::Integer), In("@uom_id", DataType::VarChar, 10),
                 In("@price_no", DataType::Integer)},
                GetStockPrice);
    catalog.Add("VYM_SP_ITEM_PRICE_get",
                {In("@item_no", DataType::Integer), In("@package_no", DataType::Integer)},
                GetPriceChoices);

    catalog.Add("VYM_SP_ITEM_DeletePrice",
                {In("@price_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                DeletePrice);
    catalog.Add("VyM_SP_ITEM_PRICE_validate_delete",
                {In("@price_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255)},
                ValidateDeletePrice);

    catalog.Add("VYM_SP_ITEM_PRICE_HISTORY_get",
                {In("@item_no", DataType::Integer), In("@package_no", DataType::Integer),
                 In("@price_no", DataType::Integer)},
                GetPriceHistory);

    catalog.Add("VYM_SP_ITEM_GetDiscount", {In("@is_active", DataType::Boolean)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT discount_id, discount_type_id, description AS Description, "
                        "is_active FROM vym_discount WHERE COALESCE(?1, 0) = 0 OR is_active <> 0 "
                        "ORDER BY discount_type_id, description",
                        {call.Get("@is_active")});
                });
}

}  // namespace vym::server
