#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/currency.h"
#include "base/error.h"
#include "base/format.h"
#include "gateway/row_version.h"
#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/item_price_procedures.h"
#include "server/row_version.h"

// A change of many item prices at once: the preview reads the prices of the
// chosen items with what a rule needs (price, quantity, cost, version), the
// screen works out the new prices, and the apply writes exactly those, all
// or none, refusing every one when any price moved on since the preview.
namespace vym::server {
namespace {

// The prices a bulk change touches: an item's own prices, with those of its
// extensions; package prices and a stock sale's prices have screens of their own.
constexpr std::string_view kPricesInScope =
    " FROM vym_price p JOIN vym_item i ON i.item_no = p.item_no "
    "LEFT JOIN vym_item_stock st ON st.item_no = p.item_no "
    "WHERE p.package_no IS NULL AND p.sale_no IS NULL";

constexpr std::string_view kPreviewColumns =
    "SELECT p.item_no, i.long_description, p.price_no, p.child_item_no, "
    "c.long_description AS extension_description, p.season_id AS season_no, "
    "s.description AS season_desc, p.discount_id, d.description AS discount_desc, p.unit_id, "
    "p.uom_id, p.unit_qty, p.location_id, p.total_price AS Price, "
    "st.current_avg_cost + st.current_avg_freight - st.current_avg_discount AS landed_cost, "
    "p.row_version";

constexpr std::string_view kPreviewJoins =
    " LEFT JOIN vym_item c ON c.item_no = p.child_item_no "
    "LEFT JOIN vym_season s ON s.season_no = p.season_id "
    "LEFT JOIN vym_discount d ON d.discount_id = p.discount_id";

// Whole numbers separated by blanks or commas ("501 502,503") as the JSON
// array the engine reads a list from; nullopt when the text holds anything
// else, so that nothing but numbers ever reaches the statement.
std::optional<std::string> NumberArray(std::string_view text) {
    std::string array = "[";
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == ',' || text[at] == '\n' || text[at] == '\r') {
            ++at;
            continue;
        }
        std::int32_t number = 0;
        const auto [end, error] =
            std::from_chars(text.data() + at, text.data() + text.size(), number);
        if (error != std::errc() || number <= 0) {
            return std::nullopt;
        }
        array += (array.size() > 1 ? "," : "") + std::to_string(number);
        at = static_cast<std::size_t>(end - text.data());
    }
    return array + "]";
}

// The conditions of the chosen scope, each narrowing the ones before.
struct Scope {
    std::string where;
    std::vector<vym::Value> args;
};

std::optional<Scope> ReadScope(ProcedureContext& call, std::string& refusal) {
    Scope scope;
    if (const auto items = call.GetString("@item_list"); items && !items->empty()) {
        const auto array = NumberArray(*items);
        if (!array) {
            refusal = "The item list holds something other than item numbers.";
            return std::nullopt;
        }
        scope.where += " AND p.item_no IN " + call.Session().Engine().NumbersOf("?");
        scope.args.emplace_back(*array);
    }
    const struct {
        const char* parameter;
        const char* condition;
    } criteria[] = {{"@department_id", " AND i.department_id = ?"},
                    {"@vendor_id", " AND st.vendor_id = ?"},
                    {"@stock_type_id", " AND st.stock_type_id = ?"}};
    for (const auto& criterion : criteria) {
        const vym::Value value = TextOrNull(call, criterion.parameter);
        if (!value.IsNull()) {
            scope.where += criterion.condition;
            scope.args.push_back(value);
        }
    }
    if (scope.args.empty()) {
        refusal =
            "Choose the items whose prices change: the search result, a department, a "
            "vendor or a stock type.";
        return std::nullopt;
    }
    if (const auto season = call.GetLong("@season_no")) {
        scope.where += " AND p.season_id = ?";
        scope.args.emplace_back(*season);
    }
    return scope;
}

// The prices in scope, item by item; returns how many there are, so that the
// screen can show its progress.
void PreviewBulkPrice(ProcedureContext& call) {
    std::string refusal;
    const auto scope = ReadScope(call, refusal);
    if (!scope) {
        Refuse(call, kMessage, refusal);
        return;
    }
    auto count =
        call.Session().Prepare("SELECT count(*)" + std::string(kPricesInScope) + scope->where);
    count->BindAll(scope->args);
    call.SetReturnValue(count->Step() ? static_cast<std::int32_t>(count->ColumnInt64(0)) : 0);
    std::string sql(kPreviewColumns);
    sql += kPricesInScope;
    sql.insert(sql.find(" WHERE "), kPreviewJoins);
    call.EmitResultSet(sql + scope->where + " ORDER BY p.item_no, p.price_no", scope->args);
}

// One line of the apply's list: "price_no,row_version,new price".
struct NewPrice {
    std::int64_t priceNo = 0;
    std::int64_t version = 0;
    vym::Currency price;
};

std::optional<std::int64_t> Whole(std::string_view text) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number <= 0) {
        return std::nullopt;
    }
    return number;
}

std::optional<NewPrice> ReadLine(std::string_view line) {
    const auto first = line.find(',');
    const auto second = line.find(',', first == line.npos ? line.npos : first + 1);
    if (second == line.npos || line.find(',', second + 1) != line.npos) {
        return std::nullopt;
    }
    const auto priceNo = Whole(line.substr(0, first));
    const auto version = Whole(line.substr(first + 1, second - first - 1));
    const auto price = ParseCurrency(line.substr(second + 1));
    if (!priceNo || !version || !price) {
        return std::nullopt;
    }
    return NewPrice{*priceNo, *version, *price};
}

std::optional<std::vector<NewPrice>> ReadNewPrices(std::string_view text) {
    std::vector<NewPrice> prices;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == text.npos ? text.size() : end;
        if (end > start) {
            const auto price = ReadLine(text.substr(start, end - start));
            if (!price) {
                return std::nullopt;
            }
            prices.push_back(*price);
        }
        start = end + 1;
    }
    return prices;
}

// A price as it stands now, to hold against what the preview read.
struct StoredPrice {
    std::int64_t version = 0;
    std::string savedBy;
    std::string savedAt;
    std::string item;
    std::int32_t unitQty = 1;
};

std::unordered_map<std::int64_t, StoredPrice> ReadStored(SqlSession& db,
                                                         const std::vector<NewPrice>& prices) {
    std::string numbers = "[";
    for (const NewPrice& price : prices) {
        numbers += (numbers.size() > 1 ? "," : "") + std::to_string(price.priceNo);
    }
    auto rows = db.Prepare(
        "SELECT p.price_no, p.row_version, p.row_saved_by, p.row_saved_at, p.item_no, "
        "i.long_description, p.unit_qty FROM vym_price p JOIN vym_item i ON i.item_no = p.item_no "
        "WHERE p.package_no IS NULL AND p.price_no IN " +
        db.Engine().NumbersOf("?"));
    rows->BindText(1, numbers + "]");
    std::unordered_map<std::int64_t, StoredPrice> stored;
    while (rows->Step()) {
        stored[rows->ColumnInt64(0)] = {
            rows->ColumnInt64(1), std::string(rows->ColumnText(2)),
            std::string(rows->ColumnText(3)),
            std::to_string(rows->ColumnInt64(4)) + " " + std::string(rows->ColumnText(5)),
            static_cast<std::int32_t>(rows->ColumnInt64(6))};
    }
    return stored;
}

// Why the list may not be written, naming the first price at fault, with the
// return value that goes with it; nullopt when every price still stands as
// the preview read it.
struct Refusal {
    std::string message;
    std::int32_t returned = -1;
};

std::optional<Refusal> CheckNewPrices(const std::vector<NewPrice>& prices,
                                      const std::unordered_map<std::int64_t, StoredPrice>& stored) {
    for (const NewPrice& price : prices) {
        const std::string name = "Price " + std::to_string(price.priceNo);
        const auto found = stored.find(price.priceNo);
        if (found == stored.end()) {
            return Refusal{name +
                               " was deleted by another user after the preview. No price "
                               "was changed; preview again.",
                           kRowChanged};
        }
        const StoredPrice& now = found->second;
        if (now.version != price.version) {
            return Refusal{name + " of item " + now.item + " was changed " +
                               SavedBy(now.savedBy, now.savedAt) +
                               " after the preview. No price was changed; preview again to see "
                               "the changes.",
                           kRowChanged};
        }
        if (price.price <= vym::Currency()) {
            return Refusal{name + " of item " + now.item + " can not become " +
                           Format(vym::Value(price.price), "0.00") +
                           ": a price must be more than zero. No price was changed."};
        }
    }
    return std::nullopt;
}

// The total is the new price; the unit price follows from the quantity, and a
// gross unit price that stood at the unit price moves with it.
void WriteNewPrices(ProcedureContext& call, const std::vector<NewPrice>& prices,
                    const std::unordered_map<std::int64_t, StoredPrice>& stored) {
    SqlSession& db = call.Session();
    auto update = db.Prepare(
        "UPDATE vym_price SET total_price = ?1, unit_price = ?2, gross_unit_price = CASE WHEN "
        "gross_unit_price = unit_price OR gross_unit_price < ?2 THEN ?2 ELSE gross_unit_price "
        "END, vym_user = ?3, row_version = row_version + 1, row_saved_by = ?3, row_saved_at = " +
        db.Engine().Now() + " WHERE price_no = ?4 AND row_version = ?5");
    for (const NewPrice& price : prices) {
        const std::int32_t qty = stored.at(price.priceNo).unitQty;
        update->Bind(1, price.price);
        update->Bind(2, price.price.DividedBy(qty > 0 ? qty : 1));
        update->BindText(3, call.UserId());
        update->BindInt64(4, price.priceNo);
        update->BindInt64(5, price.version);
        update->Step();
        if (db.Changes() != 1) {
            // Another station got in between the check and this write.
            throw vym::Error(kRowChanged, "VYM_SP_ITEM_BULK_PRICE_apply",
                             "Price " + std::to_string(price.priceNo) +
                                 " was changed by another user. No price was changed.");
        }
        update->Reset();
    }
}

void ApplyBulkPrice(ProcedureContext& call) {
    const auto prices = ReadNewPrices(call.GetString("@prices").value_or(""));
    if (!prices) {
        Refuse(call, kMessage,
               "Each line of the price list must read price number, version, new price.");
        return;
    }
    const auto stored = ReadStored(call.Session(), *prices);
    if (const auto why = CheckNewPrices(*prices, stored)) {
        call.SetOutput(kMessage, why->message);
        call.SetReturnValue(why->returned);
        return;
    }
    WriteNewPrices(call, *prices, stored);
    call.SetOutput("@changed", static_cast<std::int32_t>(prices->size()));
}

// The lists the screen chooses its scope from.
void GetBulkPriceScopes(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT department_id, description AS Description FROM vym_department "
        "ORDER BY description, department_id");
    call.EmitResultSet(
        "SELECT vendor_id, vendor_name AS Description FROM vym_vendor "
        "ORDER BY vendor_name, vendor_id");
    call.EmitResultSet(
        "SELECT stock_type_id, description AS Description FROM vym_item_stock_type "
        "ORDER BY description, stock_type_id");
    call.EmitResultSet(
        "SELECT season_no, description AS Description FROM vym_season "
        "ORDER BY start_date, season_no");
}

}  // namespace

void RegisterItemBulkPriceProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_BULK_PRICE_scopes", {}, GetBulkPriceScopes);
    // Every scope given narrows the prices; at least one must be.
    catalog.Add(
        "VYM_SP_ITEM_BULK_PRICE_preview",
        {In("@item_list", DataType::LongVarChar), In("@department_id", DataType::VarChar, 10),
         In("@vendor_id", DataType::VarChar, 15), In("@stock_type_id", DataType::VarChar, 10),
         In("@season_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255)},
        PreviewBulkPrice);
    // @prices: one "price_no,row_version,new price" line per price.
    catalog.Add("VYM_SP_ITEM_BULK_PRICE_apply",
                {In("@prices", DataType::LongVarChar), Out("@changed", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255)},
                ApplyBulkPrice);
}

}  // namespace vym::server
