#include "server/procedures/item_sale_procedures.h"

#include <optional>
#include <string>

#include "base/currency.h"
#include "base/date.h"
#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/item_sale_support.h"
#include "server/row_version.h"

namespace vym::server {

namespace item_sale {

std::optional<std::string> CheckTerms(ProcedureContext& call) {
    const std::optional<vym::Date> start = call.GetDate("@sale_start_date");
    const std::optional<vym::Date> end = call.GetDate("@sale_end_date");
    if (!start || !end) {
        return "A sale needs a start date and an end date.";
    }
    if (*end < *start) {
        return "The end date of a sale can not be before its start date.";
    }
    const double percent = call.GetDouble("@sale_fixed_percent").value_or(0.0);
    if (percent < 0.0 || percent >= 1.0) {
        return "A percentage discount must be at least 0 and less than 100.";
    }
    const vym::Currency amount = call.GetCurrency("@sale_fixed_discount").value_or(vym::Currency{});
    if (amount < vym::Currency{}) {
        return "A flat amount discount can not be negative.";
    }
    if (percent != 0.0 && amount != vym::Currency{}) {
        return "A sale takes a percentage or a flat amount discount, not both.";
    }
    const vym::Value location = TextOrNull(call, "@location_id");
    if (!location.IsNull() &&
        !item_catalogue::RowExists(call.Session(), "vym_location", "location_id", location)) {
        return "Location " + location.ToString() + " does not exist.";
    }
    return std::nullopt;
}

bool SaleExists(SqlSession& db, std::int32_t saleNo) {
    return item_catalogue::RowExists(db, "vym_sale", "sale_no", saleNo);
}

std::string Sql(std::initializer_list<std::string_view> pieces) {
    std::string sql;
    for (const std::string_view piece : pieces) {
        sql += piece;
    }
    return sql;
}

}  // namespace item_sale

namespace {

using item_catalogue::NumberOrNull;
using item_catalogue::RowExists;

// The item's regular price: its base price at every location, else the
// stock record's. The price row is the one a register sells at.
constexpr const char* kRegularPrice =
    "COALESCE((SELECT MIN(r.unit_price) FROM vym_price r WHERE r.item_no = p.item_no "
    "AND r.location_id IS NULL AND r.sale_no IS NULL), st.unit_price, 0)";

GuardedRow DeptRow(const vym::Value& saleNo, const vym::Value& seqNo) {
    return {"vym_sale_dept", "sale_no = ? AND seq_no = ?", {saleNo, seqNo}, "sale line"};
}

// The sale price of an item: one price row per item and sale.
GuardedRow SalePriceRow(const vym::Value& saleNo, const vym::Value& itemNo) {
    return {"vym_price", "sale_no = ? AND item_no = ?", {saleNo, itemNo}, "sale price"};
}

vym::Value MoneyOrNull(const ProcedureContext& call, std::string_view name) {
    const auto amount = call.GetCurrency(name);
    return amount && *amount != vym::Currency{} ? vym::Value(*amount) : vym::Value::Null();
}

vym::Value PercentOrNull(const ProcedureContext& call, std::string_view name) {
    const auto percent = call.GetDouble(name);
    return percent && *percent != 0.0 ? vym::Value(*percent) : vym::Value::Null();
}

void GetItemStockSale(ProcedureContext& call) {
    const vym::Value saleNo = call.Get("@sale_no");
    call.EmitResultSet(item_sale::Sql({"SELECT ", item_sale::kSaleColumns,
                                       " WHERE ?1 IS NULL OR s.sale_no = ?1 ORDER BY s.sale_no"}),
                       {saleNo});
}

// Department lines and the item prices follow the sale's dates, location
// and qualification, so that a sale is always priced where and when it runs.
void FollowHeader(SqlSession& db, std::int32_t saleNo) {
    db.Run(
        "UPDATE vym_sale_dept SET location_id = (SELECT location_id FROM vym_sale WHERE "
        "sale_no = ?1), sale_start_date = (SELECT sale_start_date FROM vym_sale WHERE "
        "sale_no = ?1), sale_end_date = (SELECT sale_end_date FROM vym_sale WHERE sale_no = ?1), "
        "item_qualified = (SELECT item_qualified FROM vym_sale WHERE sale_no = ?1) "
        "WHERE sale_no = ?1",
        {saleNo});
    db.Run(
        "UPDATE vym_price SET location_id = (SELECT location_id FROM vym_sale WHERE "
        "sale_no = ?1) WHERE sale_no = ?1",
        {saleNo});
}

void UpdateItemStockSale(ProcedureContext& call) {
    SqlSession& db = call.Session();
    std::int32_t saleNo = call.GetLong("@sale_no").value_or(0);
    const auto saleRow = [&] {
        return GuardedRow{"vym_sale", "sale_no = ?", {vym::Value(saleNo)}, "sale"};
    };
    if (saleNo != 0 && !RefuseIfRowChanged(call, saleRow(), kMessage)) {
        return;
    }
    const std::string type = call.GetString("@sale_type").value_or("");
    std::optional<std::string> refusal = item_sale::CheckTerms(call);
    if (!refusal && type != "Dept" && type != "StockNo") {
        refusal = "Sale type " + type + " does not exist.";
    }
    if (!refusal && saleNo != 0 && !item_sale::SaleExists(db, saleNo)) {
        refusal = "Sale " + std::to_string(saleNo) + " does not exist.";
    }
    if (refusal) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    const bool qualified = call.GetLong("@item_qualified").value_or(0) != 0;
    const std::initializer_list<vym::Value> values = {type,
                                                      TextOrNull(call, "@description"),
                                                      TextOrNull(call, "@location_id"),
                                                      call.GetDate("@sale_start_date").value(),
                                                      call.GetDate("@sale_end_date").value(),
                                                      MoneyOrNull(call, "@sale_fixed_discount"),
                                                      PercentOrNull(call, "@sale_fixed_percent"),
                                                      qualified ? 1 : 0,
                                                      call.UserId()};
    const std::string now = db.Engine().Now();
    if (saleNo == 0) {
        auto insert = db.Prepare(
            "INSERT INTO vym_sale (sale_type, description, location_id, sale_start_date, "
            "sale_end_date, sale_fixed_discount, sale_fixed_percent, item_qualified, vym_user, "
            "update_date) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, " +
            now + ")");
        insert->BindAll(values);
        insert->Step();
        saleNo = static_cast<std::int32_t>(db.LastInsertId());
        ClaimRow(call, saleRow(), kMessage);
    } else {
        if (!ClaimRow(call, saleRow(), kMessage)) {
            return;
        }
        auto update = db.Prepare(
            "UPDATE vym_sale SET sale_type = ?, description = ?, location_id = ?, "
            "sale_start_date = ?, sale_end_date = ?, sale_fixed_discount = ?, "
            "sale_fixed_percent = ?, item_qualified = ?, vym_user = ?, update_date = " +
            now + " WHERE sale_no = ?");
        update->BindAll(values);
        update->Bind(static_cast<int>(values.size()) + 1, saleNo);
        update->Step();
        FollowHeader(db, saleNo);
    }
    call.SetOutput("@sale_no", saleNo);
    call.SetOutput(kMessage, std::string());
}

void GetItemStockDeptSale(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT d.sale_no, d.seq_no, d.model_id, d.rental_type, d.department_id, "
        "d.report_department_id, d.report_sub_department_id, d.vendor_id, v.vendor_name, "
        "d.location_id, d.sale_start_date, d.sale_end_date, d.sale_fixed_discount, "
        "d.sale_fixed_percent, d.item_qualified, COALESCE(l.description, '<ALL>') AS loc_desc, "
        "d.row_version FROM vym_sale_dept d LEFT JOIN vym_vendor v ON v.vendor_id = d.vendor_id "
        "LEFT JOIN vym_location l ON l.location_id = d.location_id "
        "WHERE d.sale_no = ?1 AND (?2 IS NULL OR d.seq_no = ?2) ORDER BY d.seq_no",
        {call.Get("@sale_no"), call.Get("@seq_no")});
}

std::optional<std::string> CheckDeptLine(ProcedureContext& call, std::int32_t saleNo) {
    SqlSession& db = call.Session();
    if (!item_sale::SaleExists(db, saleNo)) {
        return "Sale " + std::to_string(saleNo) + " does not exist.";
    }
    if (auto terms = item_sale::CheckTerms(call)) {
        return terms;
    }
    struct Reference {
        const char* parameter;
        const char* table;
        const char* column;
        const char* name;
    };
    static constexpr Reference kReferences[] = {
        {"@department_id", "vym_department", "department_id", "Department"},
        {"@model_id", "vym_item_stock_model", "model_id", "Model"},
        {"@vendor_id", "vym_vendor", "vendor_id", "Vendor"},
        {"@report_department_id", "vym_report_department", "report_department_id",
         "Report department"},
        {"@report_sub_department_id", "vym_report_sub_department", "report_sub_department_id",
         "Report sub-department"},
    };
    bool named = !TextOrNull(call, "@rental_type").IsNull();
    for (const Reference& r : kReferences) {
        const vym::Value id = TextOrNull(call, r.parameter);
        if (id.IsNull()) {
            continue;
        }
        if (!RowExists(db, r.table, r.column, id)) {
            return std::string(r.name) + " " + id.ToString() + " does not exist.";
        }
        named = true;
    }
    if (!named) {
        return std::string(
            "A sale line needs a department, report department, model, vendor or rental type.");
    }
    return std::nullopt;
}

void WriteDeptLine(ProcedureContext& call, std::int32_t saleNo, std::int32_t seqNo) {
    call.Session().Run(
        "INSERT INTO vym_sale_dept (sale_no, seq_no, unit_qty, rental_type, department_id, "
        "model_id, report_department_id, report_sub_department_id, vendor_id, location_id, "
        "sale_start_date, sale_end_date, sale_fixed_discount, sale_fixed_percent, item_qualified) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (sale_no, seq_no) DO "
        "UPDATE SET unit_qty = excluded.unit_qty, rental_type = excluded.rental_type, "
        "department_id = excluded.department_id, model_id = excluded.model_id, "
        "report_department_id = excluded.report_department_id, "
        "report_sub_department_id = excluded.report_sub_department_id, "
        "vendor_id = excluded.vendor_id, location_id = excluded.location_id, "
        "sale_start_date = excluded.sale_start_date, sale_end_date = excluded.sale_end_date, "
        "sale_fixed_discount = excluded.sale_fixed_discount, "
        "sale_fixed_percent = excluded.sale_fixed_percent, "
        "item_qualified = excluded.item_qualified",
        {saleNo, seqNo, call.GetLong("@unit_qty").value_or(1), TextOrNull(call, "@rental_type"),
         TextOrNull(call, "@department_id"), TextOrNull(call, "@model_id"),
         TextOrNull(call, "@report_department_id"), TextOrNull(call, "@report_sub_department_id"),
         TextOrNull(call, "@vendor_id"), TextOrNull(call, "@location_id"),
         call.GetDate("@sale_start_date").value(), call.GetDate("@sale_end_date").value(),
         MoneyOrNull(call, "@sale_fixed_discount"), PercentOrNull(call, "@sale_fixed_percent"),
         call.GetLong("@item_qualified").value_or(0) != 0 ? 1 : 0});
}

void UpdateItemStockSaleDept(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t saleNo = call.GetLong("@sale_no").value_or(0);
    std::int32_t seqNo = call.GetLong("@seq_no").value_or(0);
    if (seqNo >= 1 && !RefuseIfRowChanged(call, DeptRow(saleNo, seqNo), kMessage)) {
        return;
    }
    if (auto refusal = CheckDeptLine(call, saleNo)) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (seqNo < 1) {
        seqNo = db.QueryValue(
                      "SELECT COALESCE(MAX(seq_no), 0) + 1 FROM vym_sale_dept WHERE sale_no = ?",
                      {saleNo})
                    .ToLong();
    }
    if (!WriteClaimed(call, DeptRow(saleNo, seqNo), kMessage,
                      [&] { WriteDeptLine(call, saleNo, seqNo); })) {
        return;
    }
    call.SetOutput("@sale_no", saleNo);
    call.SetOutput("@seq_no", static_cast<std::int16_t>(seqNo));
    call.SetOutput(kMessage, std::string());
}

// A line the screen numbered but never saved is already gone: not an error.
void DeleteItemStockSaleDept(ProcedureContext& call) {
    const GuardedRow line = DeptRow(call.Get("@sale_no"), call.Get("@seq_no"));
    if (!ClaimRow(call, line, kMessage)) {
        return;
    }
    call.Session().Run("DELETE FROM vym_sale_dept WHERE sale_no = ? AND seq_no = ?",
                       {line.key[0], line.key[1]});
    call.SetOutput(kMessage, std::string());
}

void GetItemStockSaleItem(ProcedureContext& call) {
    const vym::Value saleNo = call.Get("@sale_no");
    // The record sizes its list by the count before it reads the rows.
    call.SetReturnValue(
        call.Session()
            .QueryValue("SELECT count(*) FROM vym_sale_item WHERE sale_no = ?", {saleNo})
            .ToLong());
    call.EmitResultSet(
        "SELECT si.item_no, i.long_description FROM vym_sale_item si "
        "JOIN vym_item i ON i.item_no = si.item_no WHERE si.sale_no = ? ORDER BY si.item_no",
        {saleNo});
}

// One row per priced item of the sale, with its regular price and the
// discount the sale price gives off it, in percent.
void GetItemStockSalePrice(ProcedureContext& call) {
    call.EmitResultSet(
        item_sale::Sql(
            {"SELECT q.*, CASE WHEN q.OriginalPrice <> 0 THEN (q.OriginalPrice - "
             "q.unit_price) * 100 / q.OriginalPrice ELSE 0 END AS discount_percentage, "
             "CASE WHEN q.OriginalPrice <> 0 THEN (q.OriginalPrice - q.unit_price) / "
             "q.OriginalPrice END AS sale_fixed_percent FROM (SELECT p.price_no, "
             "p.sale_no, p.item_no, p.unit_qty, p.uom_id, p.location_id, "
             "COALESCE(l.description, '<ALL>') AS loc_desc, i.long_description, "
             "p.unit_price, p.row_version, ",
             kRegularPrice,
             " AS OriginalPrice FROM vym_price p JOIN vym_item i ON i.item_no = p.item_no "
             "LEFT JOIN vym_item_stock st ON st.item_no = p.item_no "
             "LEFT JOIN vym_location l ON l.location_id = p.location_id "
             "WHERE p.sale_no IS NOT NULL AND (?1 IS NULL OR p.sale_no = ?1) "
             "AND (?2 IS NULL OR p.item_no = ?2) AND (?3 IS NULL OR p.price_no = ?3)) q "
             "ORDER BY q.long_description, q.item_no"}),
        {NumberOrNull(call, "@sale_no"), NumberOrNull(call, "@item_no"),
         NumberOrNull(call, "@price_no")});
}

std::optional<std::string> CheckSaleItem(SqlSession& db, std::int32_t saleNo, std::int32_t itemNo) {
    if (!item_sale::SaleExists(db, saleNo)) {
        return "Sale " + std::to_string(saleNo) + " does not exist.";
    }
    if (!RowExists(db, "vym_item_stock", "item_no", itemNo)) {
        return "Item " + std::to_string(itemNo) + " is not a stock item.";
    }
    return std::nullopt;
}

// One sale price per item and sale, at the sale's location.
void WriteSalePrice(SqlSession& db, std::int32_t saleNo, std::int32_t itemNo,
                    const vym::Value& price, const vym::Value& uom, const vym::Value& qty,
                    const std::string& user) {
    const std::int64_t changed = db.Run(
        "UPDATE vym_price SET unit_price = ?1, total_price = ?1, gross_unit_price = ?1, "
        "uom_id = COALESCE(?4, uom_id), unit_qty = COALESCE(?5, unit_qty), vym_user = ?6 "
        "WHERE sale_no = ?2 AND item_no = ?3",
        {price, saleNo, itemNo, uom, qty, user});
    if (changed != 0) {
        return;
    }
    db.Run(
        "INSERT INTO vym_price (item_no, sale_no, location_id, uom_id, unit_qty, unit_price, "
        "total_price, gross_unit_price, vym_user) SELECT st.item_no, s.sale_no, s.location_id, "
        "COALESCE(?4, st.base_uom_id), COALESCE(?5, 1), ?1, ?1, ?1, ?6 FROM vym_sale s "
        "JOIN vym_item_stock st ON st.item_no = ?3 WHERE s.sale_no = ?2",
        {price, saleNo, itemNo, uom, qty, user});
}

void UpdateStockSaleItem(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t saleNo = call.GetLong("@sale_no").value_or(0);
    const std::int32_t itemNo = call.GetLong("@item_no").value_or(0);
    if (!RefuseIfRowChanged(call, SalePriceRow(saleNo, itemNo), kMessage)) {
        return;
    }
    const vym::Currency price = call.GetCurrency("@unit_price").value_or(vym::Currency{});
    std::optional<std::string> refusal = CheckSaleItem(db, saleNo, itemNo);
    if (!refusal && price < vym::Currency{}) {
        refusal = "The sale price of item " + std::to_string(itemNo) + " can not be negative.";
    }
    if (refusal) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (!WriteClaimed(call, SalePriceRow(saleNo, itemNo), kMessage, [&] {
            WriteSalePrice(db, saleNo, itemNo, price, vym::Value::Null(), vym::Value::Null(),
                           call.UserId());
        })) {
        return;
    }
    call.SetOutput(kMessage, std::string());
}

void DeleteStockSaleItem(ProcedureContext& call) {
    const GuardedRow price = SalePriceRow(call.Get("@sale_no"), call.Get("@item_no"));
    if (!ClaimRow(call, price, kMessage)) {
        return;
    }
    call.Session().Run("DELETE FROM vym_price WHERE sale_no = ? AND item_no = ?",
                       {price.key[0], price.key[1]});
    call.SetOutput(kMessage, std::string());
}

// A sale price given as a percentage off the item's regular price.
void UpdateItemStockSalePrice(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t saleNo = call.GetLong("@sale_no").value_or(0);
    const std::int32_t itemNo = call.GetLong("@item_no").value_or(0);
    if (!RefuseIfRowChanged(call, SalePriceRow(saleNo, itemNo), kMessage)) {
        return;
    }
    const double fraction = call.GetDouble("@sale_fixed_percent").value_or(0.0);
    std::optional<std::string> refusal = CheckSaleItem(db, saleNo, itemNo);
    if (!refusal && (fraction < 0.0 || fraction >= 1.0)) {
        refusal = std::string("A percentage discount must be at least 0 and less than 100.");
    }
    if (refusal) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    const vym::Currency regular =
        db.QueryValue(item_sale::Sql({"SELECT ", kRegularPrice,
                                      " FROM vym_item_stock st JOIN vym_item p ON p.item_no = "
                                      "st.item_no WHERE st.item_no = ?"}),
                      {itemNo})
            .ToCurrency();
    const vym::Currency percent = vym::Currency::FromDouble(fraction * 100.0);
    const vym::Currency price =
        regular - regular.MulDiv(percent, vym::Currency::FromRaw(100 * vym::Currency::kScale));
    if (!WriteClaimed(call, SalePriceRow(saleNo, itemNo), kMessage, [&] {
            WriteSalePrice(db, saleNo, itemNo, price, TextOrNull(call, "@uom_id"),
                           NumberOrNull(call, "@unit_qty"), call.UserId());
        })) {
        return;
    }
    call.SetOutput("@price_no",
                   db.QueryValue("SELECT price_no FROM vym_price WHERE sale_no = ? AND item_no = ?",
                                 {saleNo, itemNo}));
    call.SetOutput(kMessage, std::string());
}

void DeleteItemStockSalePrice(ProcedureContext& call) {
    const GuardedRow price{
        "vym_price", "price_no = ? AND sale_no IS NOT NULL", {call.Get("@price_no")}, "sale price"};
    if (!ClaimRow(call, price, kMessage)) {
        return;
    }
    call.Session().Run("DELETE FROM vym_price WHERE price_no = ? AND sale_no IS NOT NULL",
                       {price.key[0]});
}

void RegisterLookups(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_SearchItemStock", {In("@map_id", DataType::VarChar, 30)},
        [](ProcedureContext& call) {
            call.EmitResultSet(
                item_sale::Sql(
                    {"SELECT p.item_no, p.long_description, ", kRegularPrice,
                     " AS unit_price, st.base_uom_id AS Base_UOM_Id FROM "
                     "vym_item_stock_map m JOIN vym_item p ON p.item_no = m.item_no "
                     "JOIN vym_item_stock st ON st.item_no = m.item_no WHERE m.map_id = ?"}),
                {call.Get("@map_id")});
        });
    // A rental type ("RETAIL", "RENTAL") stands for the departments its stock
    // is sold in, as the stock model list reads it.
    catalog.Add("VYM_SP_ITEM_DEPARTMENT_get", {In("@department_type_id", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT d.department_id, d.description AS Description, "
                        "d.department_type_id FROM vym_department d WHERE ?1 IS NULL OR "
                        "d.department_type_id = ?1 OR EXISTS (SELECT 1 FROM vym_item i JOIN "
                        "vym_item_stock st ON st.item_no = i.item_no JOIN vym_item_stock_type "
                        "t ON t.stock_type_id = st.stock_type_id WHERE i.department_id = "
                        "d.department_id AND t.rental_type = ?1) ORDER BY d.description",
                        {TextOrNull(call, "@department_type_id")});
                });
    catalog.Add("VYM_SP_ITEM_LOCATION_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT location_id, description AS Description FROM vym_location "
            "ORDER BY description");
    });
}

}  // namespace

void RegisterItemSaleProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetItemStockSale", {In("@sale_no", DataType::Integer)},
                GetItemStockSale);
    catalog.Add(
        "VYM_SP_ITEM_UpdateItemStockSale",
        {InOut("@sale_no", DataType::Integer), In("@sale_type", DataType::VarChar, 10),
         In("@description", DataType::VarChar, 60), In("@location_id", DataType::VarChar, 10),
         In("@sale_start_date", DataType::DBTimeStamp), In("@sale_end_date", DataType::DBTimeStamp),
         In("@sale_fixed_discount", DataType::Currency),
         In("@sale_fixed_percent", DataType::Double), In("@item_qualified", DataType::SmallInt),
         Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
        UpdateItemStockSale);
    catalog.Add("VYM_SP_ITEM_GetItemStockDeptSale",
                {In("@sale_no", DataType::Integer), In("@seq_no", DataType::SmallInt)},
                GetItemStockDeptSale);
    catalog.Add(
        "VYM_SP_ITEM_UpdateItemStockSaleDept",
        {InOut("@sale_no", DataType::Integer), InOut("@seq_no", DataType::SmallInt),
         In("@unit_qty", DataType::SmallInt), In("@rental_type", DataType::VarChar, 10),
         In("@department_id", DataType::VarChar, 10), In("@model_id", DataType::VarChar, 20),
         In("@report_department_id", DataType::VarChar, 10),
         In("@report_sub_department_id", DataType::VarChar, 10),
         In("@vendor_id", DataType::VarChar, 15), In("@location_id", DataType::VarChar, 10),
         In("@sale_start_date", DataType::DBTimeStamp), In("@sale_end_date", DataType::DBTimeStamp),
         In("@sale_fixed_discount", DataType::Currency),
         In("@sale_fixed_percent", DataType::Double), In("@item_qualified", DataType::SmallInt),
         Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
        UpdateItemStockSaleDept);
    catalog.Add("VYM_SP_ITEM_DeleteItemStockSaleDept",
                {In("@sale_no", DataType::Integer), In("@seq_no", DataType::SmallInt),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                DeleteItemStockSaleDept);
    catalog.Add("VYM_SP_ITEM_GetItemStockSaleItem", {In("@sale_no", DataType::Integer)},
                GetItemStockSaleItem);
    catalog.Add("VYM_SP_ITEM_GetItemStockSalePrice",
                {In("@sale_no", DataType::Integer), In("@item_no", DataType::Integer),
                 In("@price_no", DataType::Integer)},
                GetItemStockSalePrice);
    catalog.Add("VYM_SP_ITEM_UpdateItemStockSalePrice",
                {In("@sale_no", DataType::Integer), In("@item_no", DataType::Integer),
                 In("@unit_qty", DataType::SmallInt), In("@uom_id", DataType::VarChar, 10),
                 In("@location_id", DataType::VarChar, 10),
                 In("@sale_fixed_percent", DataType::Double), InOut("@price_no", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                UpdateItemStockSalePrice);
    catalog.Add("VYM_SP_ITEM_DeleteItemStockSalePrice",
                {In("@price_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                DeleteItemStockSalePrice);
    catalog.Add("VYM_SP_ITEM_STOCK_SALE_update",
                {In("@sale_no", DataType::Integer), In("@item_no", DataType::Integer),
                 In("@unit_price", DataType::Currency), Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                UpdateStockSaleItem);
    catalog.Add("VYM_SP_ITEM_STOCK_SALE_delete",
                {In("@sale_no", DataType::Integer), In("@item_no", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                DeleteStockSaleItem);
    RegisterLookups(catalog);
}

}  // namespace vym::server
