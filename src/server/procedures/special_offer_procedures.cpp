#include "server/procedures/special_offer_procedures.h"

#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/currency.h"
#include "base/format.h"
#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/xml_rows.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_catalogue::NumberOrNull;
using item_catalogue::RowExists;

constexpr std::size_t kMaxText = 50;

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char byte : text) {
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

std::string Money(vym::Currency amount) {
    return Format(vym::Value(amount), "0.00");
}

GuardedRow OfferRow(std::int32_t offerNo) {
    return {"vym_special_offer", "special_offer_no = ?", {vym::Value(offerNo)}, "special offer"};
}

GuardedRow DetailRow(const vym::Value& offerNo, const vym::Value& seqNo) {
    return {"vym_special_offer_detail",
            "special_offer_no = ? AND seq_no = ?",
            {offerNo, seqNo},
            "special offer line"};
}

bool OfferExists(SqlSession& db, std::int32_t offerNo) {
    return RowExists(db, "vym_special_offer", "special_offer_no", offerNo);
}

std::optional<std::string> CheckOffer(ProcedureContext& call, std::int32_t offerNo) {
    const std::string code = call.GetString("@special_offer_code").value_or("");
    if (code.empty()) {
        return "A special offer needs a code.";
    }
    if (code.find_first_of("&<>%") != std::string::npos) {
        return "Please do not use special characters (%<>&) in the special offer code.";
    }
    if (Characters(code) > kMaxText) {
        return "Maximum length of code is 50 characters.";
    }
    if (Characters(call.GetString("@description").value_or("")) > kMaxText) {
        return "Maximum length of description is 50 characters.";
    }
    const auto start = call.GetDate("@start_date");
    const auto end = call.GetDate("@end_date");
    if (start && end && *end < *start) {
        return "The end date of a special offer can not be before its start date.";
    }
    if (offerNo != 0 && !OfferExists(call.Session(), offerNo)) {
        return "Special offer " + std::to_string(offerNo) + " does not exist.";
    }
    // The code column ignores case on both stores, and so does this check.
    const vym::Value other = call.Session().QueryValue(
        "SELECT MIN(special_offer_no) FROM vym_special_offer WHERE special_offer_code = ? "
        "AND special_offer_no <> ?",
        {code, offerNo});
    if (!other.IsNull()) {
        return "The code " + code + " is already used by special offer " + other.ToString() + ".";
    }
    return std::nullopt;
}

void UpdateOffer(ProcedureContext& call) {
    SqlSession& db = call.Session();
    std::int32_t offerNo = call.GetLong("@special_offer_no").value_or(0);
    if (offerNo != 0 && !RefuseIfRowChanged(call, OfferRow(offerNo), kMessage)) {
        return;
    }
    if (auto refusal = CheckOffer(call, offerNo)) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (offerNo != 0 && !ClaimRow(call, OfferRow(offerNo), kMessage)) {
        return;
    }
    const std::initializer_list<vym::Value> values = {
        call.Get("@special_offer_code"),
        TextOrNull(call, "@description"),
        call.GetLong("@is_active").value_or(0) != 0 ? 1 : 0,
        call.Get("@start_date"),
        call.Get("@end_date"),
        call.UserId()};
    const std::string now = db.Engine().Now();
    auto statement = offerNo == 0
                         ? db.Prepare(
                               "INSERT INTO vym_special_offer (special_offer_code, "
                               "description, is_active, start_date, end_date, vym_user, "
                               "update_date) VALUES (?, ?, ?, ?, ?, ?, " +
                               now + ")")
                         : db.Prepare(
                               "UPDATE vym_special_offer SET special_offer_code = ?, "
                               "description = ?, is_active = ?, start_date = ?, end_date = ?, "
                               "vym_user = ?, update_date = " +
                               now + " WHERE special_offer_no = ?");
    statement->BindAll(values);
    if (offerNo != 0) {
        statement->Bind(static_cast<int>(values.size()) + 1, offerNo);
    }
    statement->Step();
    if (offerNo == 0) {
        offerNo = static_cast<std::int32_t>(db.LastInsertId());
        ClaimRow(call, OfferRow(offerNo), kMessage);
    }
    call.SetOutput("@special_offer_no", offerNo);
    call.SetOutput(kMessage, std::string());
}

void DeleteOffer(ProcedureContext& call) {
    const auto offerNo = call.GetLong("@special_offer_no").value_or(0);
    if (!ClaimRow(call, OfferRow(offerNo), kMessage)) {
        return;
    }
    // Detail lines and their breakdowns go with the offer (cascade).
    if (call.Session().Run("DELETE FROM vym_special_offer WHERE special_offer_no = ?", {offerNo}) ==
        0) {
        call.SetReturnValue(-1);
    }
}

void GetDetails(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT d.special_offer_no, d.seq_no, d.exclude, d.item_type, d.min_amount, "
        "d.percentage_discount, d.fixed_discount, d.location_id, l.description AS "
        "location_description, d.item_no, i.long_description, d.package_no, k.description AS "
        "package_description, d.price_no, p.total_price AS Price, d.store_no, s.description AS "
        "store_description, d.product_group_no, g.description AS product_group_description, "
        "d.product_no, sp.product_name, d.product_item_seq_no, pi.product_item_name, "
        "d.row_version FROM vym_special_offer_detail d "
        "LEFT JOIN vym_location l ON l.location_id = d.location_id "
        "LEFT JOIN vym_item i ON i.item_no = d.item_no "
        "LEFT JOIN vym_package k ON k.package_no = d.package_no "
        "LEFT JOIN vym_price p ON p.price_no = d.price_no "
        "LEFT JOIN vym_store s ON s.store_no = d.store_no "
        "LEFT JOIN vym_store_product_group g ON g.store_no = d.store_no AND "
        "g.product_group_no = d.product_group_no "
        "LEFT JOIN vym_store_product sp ON sp.store_no = d.store_no AND sp.product_no = "
        "d.product_no "
        "LEFT JOIN vym_store_product_item pi ON pi.store_no = d.store_no AND pi.product_no = "
        "d.product_no AND pi.seq_no = d.product_item_seq_no "
        "WHERE d.special_offer_no = ?1 AND (?2 IS NULL OR d.seq_no = ?2) ORDER BY d.seq_no",
        {call.Get("@special_offer_no"), call.Get("@seq_no")});
}

// What a line takes off, as the procedure stores it: Null for "not set".
struct LineDiscount {
    bool exclude = false;
    std::optional<double> percent;
    std::optional<vym::Currency> fixed;
    std::optional<vym::Currency> minimum;
};

LineDiscount ReadDiscount(const ProcedureContext& call) {
    LineDiscount line;
    line.exclude = call.GetLong("@exclude").value_or(0) != 0;
    if (const auto percent = call.GetDouble("@percentage_discount"); percent && *percent != 0.0) {
        line.percent = percent;
    }
    if (const auto fixed = call.GetCurrency("@fixed_discount");
        fixed && *fixed != vym::Currency{}) {
        line.fixed = fixed;
    }
    line.minimum = call.GetCurrency("@min_amount");
    return line;
}

std::optional<std::string> CheckDiscount(const LineDiscount& line) {
    if (line.exclude) {
        if (line.percent || line.fixed || line.minimum) {
            return "An exclusion takes no discount and no minimum amount.";
        }
        return std::nullopt;
    }
    if (line.percent && line.fixed) {
        return "A special offer line takes a percentage or a fixed discount, not both.";
    }
    if (!line.percent && !line.fixed) {
        return "A special offer line needs a percentage or a fixed discount.";
    }
    if (line.percent && (*line.percent < 0.0 || *line.percent > 1.0)) {
        return "A percentage discount must be between 0 and 100.";
    }
    if (line.fixed && *line.fixed < vym::Currency{}) {
        return "A fixed discount can not be negative.";
    }
    if (line.minimum && *line.minimum < vym::Currency{}) {
        return "A minimum amount can not be negative.";
    }
    return std::nullopt;
}

std::int64_t Count(SqlSession& db, std::string_view sql, std::initializer_list<vym::Value> args) {
    return db.QueryValue(sql, args).ToLong();
}

// A store's product group, product and product item narrow the line down
// within that store, each within the one before.
std::optional<std::string> CheckStoreReferences(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value store = NumberOrNull(call, "@store_no");
    const vym::Value group = NumberOrNull(call, "@product_group_no");
    const vym::Value product = NumberOrNull(call, "@product_no");
    const vym::Value item = NumberOrNull(call, "@product_item_seq_no");
    if (store.IsNull()) {
        for (const auto& [value, what] :
             {std::pair{group, "Product group "}, std::pair{product, "Product "},
              std::pair{item, "Product item "}}) {
            if (!value.IsNull()) {
                return what + value.ToString() + " needs its store.";
            }
        }
        return std::nullopt;
    }
    const std::string inStore = " store " + store.ToString() + ".";
    if (!RowExists(db, "vym_store", "store_no", store)) {
        return "Store " + store.ToString() + " does not exist.";
    }
    if (!group.IsNull() && Count(db,
                                 "SELECT count(*) FROM vym_store_product_group WHERE store_no = ? "
                                 "AND product_group_no = ?",
                                 {store, group}) == 0) {
        return "Product group " + group.ToString() + " is not in" + inStore;
    }
    if (!product.IsNull() &&
        Count(db,
              "SELECT count(*) FROM vym_store_product WHERE store_no = ?1 AND product_no = ?2 "
              "AND (?3 IS NULL OR product_group_no = ?3)",
              {store, product, group}) == 0) {
        return "Product " + product.ToString() + " is not in" +
               (group.IsNull() ? "" : " product group " + group.ToString() + " of") + inStore;
    }
    if (item.IsNull()) {
        return std::nullopt;
    }
    if (product.IsNull()) {
        return "Product item " + item.ToString() + " needs its product.";
    }
    if (Count(db,
              "SELECT count(*) FROM vym_store_product_item WHERE store_no = ? AND product_no = ? "
              "AND seq_no = ?",
              {store, product, item}) == 0) {
        return "Product item " + item.ToString() + " is not in product " + product.ToString() +
               " of" + inStore;
    }
    return std::nullopt;
}

std::optional<std::string> CheckReferences(ProcedureContext& call) {
    static const std::vector<item_catalogue::Reference> kPlain = {
        {"@location_id", "vym_location", "location_id", "Location"},
        {"@item_no", "vym_item", "item_no", "Item"},
        {"@package_no", "vym_package", "package_no", "Package"},
    };
    if (auto missing = item_catalogue::MissingReference(call, kPlain)) {
        return missing;
    }
    static const std::set<std::string> kItemTypes = {"TICKET", "STOCK", "SS",
                                                     "PHOTO",  "SHIP",  "RENTAL"};
    if (const vym::Value type = TextOrNull(call, "@item_type");
        !type.IsNull() && !kItemTypes.contains(type.ToString())) {
        return "Item type " + type.ToString() + " does not exist.";
    }
    const vym::Value item = NumberOrNull(call, "@item_no");
    const vym::Value package = NumberOrNull(call, "@package_no");
    if (!item.IsNull() && !package.IsNull()) {
        return "A special offer line names an item or a package, not both.";
    }
    if (const vym::Value price = NumberOrNull(call, "@price_no"); !price.IsNull()) {
        if (item.IsNull() && package.IsNull()) {
            return "A price needs the item or package it belongs to.";
        }
        if (call.Session()
                .QueryValue("SELECT count(*) FROM vym_price WHERE price_no = ?1 AND "
                            "(item_no = ?2 OR package_no = ?3)",
                            {price, item, package})
                .ToLong() == 0) {
            return "Price " + price.ToString() + " is not a price of the line's " +
                   (item.IsNull() ? "package." : "item.");
        }
    }
    return CheckStoreReferences(call);
}

using Breakdown = std::map<std::int32_t, vym::Currency>;  // item number -> discount each

// The per-unit discounts of @package_xml, each item once and in the package.
Breakdown ReadBreakdown(SqlSession& db, const std::string& text, const vym::Value& package) {
    pugi::xml_document document;
    Breakdown breakdown;
    for (pugi::xml_node row :
         item_catalogue::ReadRows(document, text, "vym_special_offer_detail_package")) {
        const std::int32_t item = item_catalogue::Number(row, "item_no");
        const std::string each = item_catalogue::Text(row, "fixed_discount");
        const auto amount = ParseCurrency(each);
        if (!amount || *amount < vym::Currency{}) {
            throw item_catalogue::Refusal{"The discount \"" + each + "\" of item " +
                                          std::to_string(item) + " is not an amount."};
        }
        if (db.QueryValue("SELECT count(*) FROM vym_package_item WHERE package_no = ? AND "
                          "item_no = ?",
                          {package, item})
                .ToLong() == 0) {
            throw item_catalogue::Refusal{"Item " + std::to_string(item) + " is not in package " +
                                          package.ToString() + "."};
        }
        if (!breakdown.emplace(item, *amount).second) {
            throw item_catalogue::Refusal{"Item " + std::to_string(item) +
                                          " is in the package breakdown twice."};
        }
    }
    return breakdown;
}

vym::Currency BreakdownTotal(SqlSession& db, const vym::Value& package, const Breakdown& rows) {
    vym::Currency total;
    for (const auto& [item, each] : rows) {
        const auto qty = db.QueryValue(
                               "SELECT SUM(pkg_qty) FROM vym_package_item WHERE "
                               "package_no = ? AND item_no = ?",
                               {package, item})
                             .ToLong();
        total = total + each * qty;
    }
    return total;
}

Breakdown StoredBreakdown(SqlSession& db, std::int32_t offerNo, std::int32_t seqNo) {
    Breakdown rows;
    auto read = db.Prepare(
        "SELECT item_no, fixed_discount FROM vym_special_offer_detail_package WHERE "
        "special_offer_no = ? AND seq_no = ?");
    read->Bind(1, offerNo);
    read->Bind(2, seqNo);
    // Amounts are read as text: exact to the cent on both stores.
    while (read->Step()) {
        rows.emplace(static_cast<std::int32_t>(read->ColumnInt64(0)),
                     ParseCurrency(read->ColumnText(1)).value_or(vym::Currency{}));
    }
    return rows;
}

// The breakdown the line keeps: the one sent, else the stored one while the
// line stays on the same package with a fixed discount; nothing otherwise.
// Whatever it keeps must add up to the fixed discount to the cent.
std::optional<Breakdown> LineBreakdown(ProcedureContext& call, std::int32_t offerNo,
                                       std::int32_t seqNo, const LineDiscount& line) {
    SqlSession& db = call.Session();
    const vym::Value package = NumberOrNull(call, "@package_no");
    const std::string sent = call.GetString("@package_xml").value_or("");
    Breakdown rows;
    if (!sent.empty()) {
        if (package.IsNull() || !line.fixed) {
            throw item_catalogue::Refusal{
                "Only a package line with a fixed discount can split it over the package's "
                "items."};
        }
        rows = ReadBreakdown(db, sent, package);
    } else if (seqNo != 0 && !package.IsNull() && line.fixed &&
               db.QueryValue("SELECT count(*) FROM vym_special_offer_detail WHERE "
                             "special_offer_no = ? AND seq_no = ? AND package_no = ?",
                             {offerNo, seqNo, package})
                       .ToLong() != 0) {
        rows = StoredBreakdown(db, offerNo, seqNo);
    }
    if (rows.empty()) {
        return std::nullopt;
    }
    const vym::Currency total = BreakdownTotal(db, package, rows);
    if (total != *line.fixed) {
        throw item_catalogue::Refusal{"The package breakdown adds up to " + Money(total) +
                                      ", not to the fixed discount of " + Money(*line.fixed) +
                                      ". Make the parts add up to the fixed discount."};
    }
    return rows;
}

void SaveBreakdown(SqlSession& db, std::int32_t offerNo, std::int32_t seqNo,
                   const std::optional<Breakdown>& rows) {
    db.Run("DELETE FROM vym_special_offer_detail_package WHERE special_offer_no = ? AND seq_no = ?",
           {offerNo, seqNo});
    if (!rows) {
        return;
    }
    for (const auto& [item, each] : *rows) {
        db.Run(
            "INSERT INTO vym_special_offer_detail_package (special_offer_no, seq_no, item_no, "
            "fixed_discount) VALUES (?, ?, ?, ?)",
            {offerNo, seqNo, item, each});
    }
}

vym::Value Optional(const std::optional<vym::Currency>& amount) {
    return amount ? vym::Value(*amount) : vym::Value::Null();
}

// A new line is inserted under its new number, so that two stations adding
// a line at once can never both write the same one.
void WriteDetail(ProcedureContext& call, std::int32_t offerNo, std::int32_t seqNo, bool isNew,
                 const LineDiscount& line) {
    SqlSession& db = call.Session();
    if (isNew) {
        db.Run("INSERT INTO vym_special_offer_detail (special_offer_no, seq_no) VALUES (?, ?)",
               {offerNo, seqNo});
    }
    auto update = db.Prepare(
        "UPDATE vym_special_offer_detail SET exclude = ?, percentage_discount = ?, "
        "fixed_discount = ?, min_amount = ?, location_id = ?, item_type = ?, store_no = ?, "
        "product_group_no = ?, product_no = ?, product_item_seq_no = ?, item_no = ?, "
        "package_no = ?, price_no = ?, vym_user = ?, update_date = " +
        db.Engine().Now() + " WHERE special_offer_no = ? AND seq_no = ?");
    const std::initializer_list<vym::Value> values = {
        line.exclude ? 1 : 0,
        line.percent ? vym::Value(*line.percent) : vym::Value::Null(),
        Optional(line.fixed),
        Optional(line.minimum),
        TextOrNull(call, "@location_id"),
        TextOrNull(call, "@item_type"),
        NumberOrNull(call, "@store_no"),
        NumberOrNull(call, "@product_group_no"),
        NumberOrNull(call, "@product_no"),
        NumberOrNull(call, "@product_item_seq_no"),
        NumberOrNull(call, "@item_no"),
        NumberOrNull(call, "@package_no"),
        NumberOrNull(call, "@price_no"),
        call.UserId(),
        offerNo,
        seqNo};
    update->BindAll(values);
    update->Step();
}

void UpdateDetail(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t offerNo = call.GetLong("@special_offer_no").value_or(0);
    std::int32_t seqNo = call.GetLong("@seq_no").value_or(0);
    const bool isNew = seqNo == 0;
    if (!isNew && !RefuseIfRowChanged(call, DetailRow(offerNo, seqNo), kMessage)) {
        return;
    }
    const LineDiscount line = ReadDiscount(call);
    std::optional<std::string> refusal;
    if (!OfferExists(db, offerNo)) {
        refusal = "Special offer " + std::to_string(offerNo) + " does not exist.";
    } else if (!isNew && db.QueryValue("SELECT count(*) FROM vym_special_offer_detail "
                                       "WHERE special_offer_no = ? AND seq_no = ?",
                                       {offerNo, seqNo})
                                 .ToLong() == 0) {
        refusal = "Line " + std::to_string(seqNo) + " of special offer " + std::to_string(offerNo) +
                  " does not exist.";
    } else {
        refusal = CheckDiscount(line);
    }
    if (!refusal) {
        refusal = CheckReferences(call);
    }
    std::optional<Breakdown> breakdown;
    if (!refusal) {
        try {
            breakdown = LineBreakdown(call, offerNo, seqNo, line);
        } catch (const item_catalogue::Refusal& document) {
            refusal = document.message;
        }
    }
    if (refusal) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (isNew) {
        seqNo = db.QueryValue(
                      "SELECT COALESCE(MAX(seq_no), 0) + 1 FROM "
                      "vym_special_offer_detail WHERE special_offer_no = ?",
                      {offerNo})
                    .ToLong();
    } else if (!ClaimRow(call, DetailRow(offerNo, seqNo), kMessage)) {
        return;
    }
    WriteDetail(call, offerNo, seqNo, isNew, line);
    if (isNew) {
        ClaimRow(call, DetailRow(offerNo, seqNo), kMessage);
    }
    SaveBreakdown(db, offerNo, seqNo, breakdown);
    call.SetOutput("@seq_no", seqNo);
    call.SetOutput(kMessage, std::string());
}

void DeleteDetail(ProcedureContext& call) {
    const vym::Value offerNo = call.Get("@special_offer_no");
    const vym::Value seqNo = call.Get("@seq_no");
    if (!ClaimRow(call, DetailRow(offerNo, seqNo), kMessage)) {
        return;
    }
    if (call.Session().Run(
            "DELETE FROM vym_special_offer_detail WHERE special_offer_no = ? AND seq_no = ?",
            {offerNo, seqNo}) == 0) {
        call.SetReturnValue(-1);
    }
}

// One row per item of the package, its units added up, with the line's
// discount per unit where it has one.
void GetDetailPackage(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT pi.item_no, i.long_description AS Description, SUM(pi.pkg_qty) AS Qty, "
        "d.fixed_discount FROM vym_package_item pi JOIN vym_item i ON i.item_no = pi.item_no "
        "LEFT JOIN vym_special_offer_detail_package d ON d.special_offer_no = ?2 AND "
        "d.seq_no = ?3 AND d.item_no = pi.item_no WHERE pi.package_no = ?1 "
        "GROUP BY pi.item_no, i.long_description, d.fixed_discount ORDER BY MIN(pi.seq_no)",
        {call.Get("@package_no"), call.Get("@special_offer_no"), call.Get("@seq_no")});
}

}  // namespace

void RegisterSpecialOfferProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_SPECIAL_OFFER_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT special_offer_no, special_offer_code, is_active, start_date, end_date, "
            "description AS Description, row_version FROM vym_special_offer "
            "ORDER BY special_offer_no");
    });
    catalog.Add("VYM_SP_ITEM_SPECIAL_OFFER_update",
                // Wider than the columns, so that a long text meets the
                // procedure's own refusal rather than the parameter's limit.
                {InOut("@special_offer_no", DataType::Integer),
                 In("@special_offer_code", DataType::VarChar, 255),
                 In("@description", DataType::VarChar, 255), In("@is_active", DataType::SmallInt),
                 In("@start_date", DataType::DBTimeStamp), In("@end_date", DataType::DBTimeStamp),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                UpdateOffer);
    catalog.Add("VYM_SP_ITEM_SPECIAL_OFFER_delete",
                {In("@special_offer_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                DeleteOffer);
    catalog.Add("VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_get",
                {In("@special_offer_no", DataType::Integer), In("@seq_no", DataType::Integer)},
                GetDetails);
    catalog.Add(
        "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_update",
        {In("@special_offer_no", DataType::Integer), InOut("@seq_no", DataType::Integer),
         In("@percentage_discount", DataType::Double), In("@fixed_discount", DataType::Double),
         In("@location_id", DataType::VarChar, 10), In("@item_type", DataType::VarChar, 10),
         In("@exclude", DataType::SmallInt), In("@store_no", DataType::Integer),
         In("@product_group_no", DataType::Integer), In("@product_no", DataType::Integer),
         In("@product_item_seq_no", DataType::Integer), In("@item_no", DataType::Integer),
         In("@package_no", DataType::Integer), In("@price_no", DataType::Integer),
         In("@package_xml_package_no", DataType::Integer),
         In("@package_xml", DataType::LongVarChar), In("@min_amount", DataType::Double),
         Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
        UpdateDetail);
    catalog.Add("VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_delete",
                {In("@special_offer_no", DataType::Integer), In("@seq_no", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                DeleteDetail);
    catalog.Add("VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_PACKAGE_get",
                {In("@package_no", DataType::Integer), In("@special_offer_no", DataType::Integer),
                 In("@seq_no", DataType::Integer)},
                GetDetailPackage);
    RegisterSpecialOfferLookups(catalog);
}

}  // namespace vym::server
