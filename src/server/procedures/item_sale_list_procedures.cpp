#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/item_sale_procedures.h"
#include "server/procedures/item_sale_support.h"
#include "server/procedures/xml_rows.h"

namespace vym::server {
namespace {

using item_catalogue::Number;
using item_catalogue::ReadRows;
using item_catalogue::Refusal;
using item_catalogue::RowExists;
using item_catalogue::Text;

// A copy at another location with every line, qualification and price of
// the original, all in the call's one transaction.
void CopySale(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t saleNo = call.GetLong("@sale_no").value_or(0);
    const vym::Value location = TextOrNull(call, "@location_id");
    if (!item_sale::SaleExists(db, saleNo)) {
        Refuse(call, kMessage, "Sale " + std::to_string(saleNo) + " does not exist.");
        return;
    }
    if (!location.IsNull() && !RowExists(db, "vym_location", "location_id", location)) {
        Refuse(call, kMessage, "Location " + location.ToString() + " does not exist.");
        return;
    }
    db.Run(
        "INSERT INTO vym_sale (sale_type, description, location_id, sale_start_date, "
        "sale_end_date, sale_fixed_discount, sale_fixed_percent, item_qualified, "
        "customer_qualified, vym_user, update_date) SELECT sale_type, description, ?, "
        "sale_start_date, sale_end_date, sale_fixed_discount, sale_fixed_percent, "
        "item_qualified, customer_qualified, ?, " +
            db.Engine().Now() + " FROM vym_sale WHERE sale_no = ?",
        {location, call.UserId(), saleNo});
    const auto copy = static_cast<std::int32_t>(db.LastInsertId());
    db.Run(
        "INSERT INTO vym_sale_dept (sale_no, seq_no, unit_qty, rental_type, department_id, "
        "model_id, report_department_id, report_sub_department_id, vendor_id, location_id, "
        "sale_start_date, sale_end_date, sale_fixed_discount, sale_fixed_percent, item_qualified) "
        "SELECT ?, seq_no, unit_qty, rental_type, department_id, model_id, "
        "report_department_id, report_sub_department_id, vendor_id, ?, sale_start_date, "
        "sale_end_date, sale_fixed_discount, sale_fixed_percent, item_qualified "
        "FROM vym_sale_dept WHERE sale_no = ?",
        {copy, location, saleNo});
    db.Run(
        "INSERT INTO vym_sale_item (sale_no, item_no) SELECT ?, item_no FROM vym_sale_item "
        "WHERE sale_no = ?",
        {copy, saleNo});
    db.Run(
        "INSERT INTO vym_sale_customer (sale_no, customer_group_id) SELECT ?, "
        "customer_group_id FROM vym_sale_customer WHERE sale_no = ?",
        {copy, saleNo});
    db.Run(
        "INSERT INTO vym_price (item_no, sale_no, location_id, uom_id, unit_qty, unit_price, "
        "total_price, gross_unit_price, vym_user) SELECT item_no, ?, ?, uom_id, unit_qty, "
        "unit_price, total_price, gross_unit_price, ? FROM vym_price WHERE sale_no = ?",
        {copy, location, call.UserId(), saleNo});
    call.SetOutput("@new_sale_no", copy);
    call.SetOutput(kMessage, std::string());
    call.EmitResultSet(item_sale::Sql({"SELECT ", item_sale::kSaleColumns, " WHERE s.sale_no = ?"}),
                       {copy});
}

void DeleteSale(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value saleNo = call.Get("@sale_no");
    db.Run("DELETE FROM vym_price WHERE sale_no = ?", {saleNo});
    db.Run("DELETE FROM vym_sale_dept WHERE sale_no = ?", {saleNo});
    db.Run("DELETE FROM vym_sale_item WHERE sale_no = ?", {saleNo});
    db.Run("DELETE FROM vym_sale_customer WHERE sale_no = ?", {saleNo});
    if (db.Run("DELETE FROM vym_sale WHERE sale_no = ?", {saleNo}) == 0) {
        Refuse(call, kMessage, "Sale " + saleNo.ToString() + " does not exist.");
        return;
    }
    call.SetOutput(kMessage, std::string());
}

// Each sale named gets exactly the items listed for it; item 0 alone stands
// for an empty list. The whole document is checked before anything changes.
void UpdateItemSaleItem(ProcedureContext& call) {
    SqlSession& db = call.Session();
    pugi::xml_document document;
    std::map<std::int32_t, std::set<std::int32_t>> lists;
    try {
        for (pugi::xml_node row :
             ReadRows(document, call.GetString("@DOC").value_or(""), "vym_sale_item")) {
            const std::int32_t saleNo = Number(row, "sale_no");
            const std::int32_t itemNo = Number(row, "item_no");
            if (!item_sale::SaleExists(db, saleNo)) {
                throw Refusal{"Sale " + std::to_string(saleNo) + " does not exist."};
            }
            auto& items = lists[saleNo];
            if (itemNo == 0) {
                continue;
            }
            if (!RowExists(db, "vym_item", "item_no", itemNo)) {
                throw Refusal{"Item " + std::to_string(itemNo) + " does not exist."};
            }
            items.insert(itemNo);
        }
    } catch (const Refusal& refusal) {
        Refuse(call, "@Message", refusal.message);
        return;
    }
    for (const auto& [saleNo, items] : lists) {
        db.Run("DELETE FROM vym_sale_item WHERE sale_no = ?", {saleNo});
        for (const std::int32_t itemNo : items) {
            db.Run("INSERT INTO vym_sale_item (sale_no, item_no) VALUES (?, ?)", {saleNo, itemNo});
        }
    }
    call.SetOutput("@Message", std::string());
}

void GetSaleCustomerGroups(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT CASE WHEN sc.sale_no IS NULL THEN 0 ELSE 1 END AS Selected, "
        "g.customer_group_id, g.group_desc FROM vym_customer_group g "
        "LEFT JOIN vym_sale_customer sc ON sc.customer_group_id = g.customer_group_id "
        "AND sc.sale_no = ? ORDER BY g.group_desc",
        {call.Get("@sale_no")});
}

// Rows of "INSERT" and "DELETE" actions; only the sale the call names may
// be changed, so a document can not reach another sale's groups.
void UpdateSaleCustomerGroups(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t saleNo = call.GetLong("@sale_no").value_or(0);
    pugi::xml_document document;
    std::vector<std::pair<std::string, bool>> actions;
    try {
        if (!item_sale::SaleExists(db, saleNo)) {
            throw Refusal{"Sale " + std::to_string(saleNo) + " does not exist."};
        }
        for (pugi::xml_node row :
             ReadRows(document, call.GetString("@XMLDoc").value_or(""), "vym_sale_customer")) {
            if (Number(row, "sale_no") != saleNo) {
                throw Refusal{"A row names sale " + Text(row, "sale_no") + ", not sale " +
                              std::to_string(saleNo) + "."};
            }
            std::string group = Text(row, "customer_group_id");
            const std::string action = Text(row, "action");
            if (action != "INSERT" && action != "DELETE") {
                throw Refusal{"Unknown action " + action + " in the document."};
            }
            if (!RowExists(db, "vym_customer_group", "customer_group_id", group)) {
                throw Refusal{"Customer group " + group + " does not exist."};
            }
            actions.emplace_back(std::move(group), action == "INSERT");
        }
    } catch (const Refusal& refusal) {
        Refuse(call, kMessage, refusal.message);
        return;
    }
    for (const auto& [group, insert] : actions) {
        db.Run(insert ? "INSERT INTO vym_sale_customer (sale_no, customer_group_id) VALUES "
                        "(?, ?) ON CONFLICT DO NOTHING"
                      : "DELETE FROM vym_sale_customer WHERE sale_no = ? AND "
                        "customer_group_id = ?",
               {saleNo, group});
    }
    db.Run("UPDATE vym_sale SET customer_qualified = ? WHERE sale_no = ?",
           {call.GetLong("@customer_qualified").value_or(0) != 0 ? 1 : 0, saleNo});
    call.SetOutput(kMessage, std::string());
}

}  // namespace

void RegisterItemSaleListProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_SALE_Copy",
                {In("@sale_no", DataType::Integer), In("@location_id", DataType::VarChar, 10),
                 Out("@new_sale_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255)},
                CopySale);
    catalog.Add("VYM_SP_ITEM_SALE_Delete",
                {In("@sale_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255)},
                DeleteSale);
    catalog.Add("VYM_SP_ITEM_UpdateItemSaleItem",
                {In("@DOC", DataType::LongVarChar), Out("@Message", DataType::VarWChar, 256)},
                UpdateItemSaleItem);
    catalog.Add("VYM_SP_ITEM_GetSaleCustomerGroups", {In("@sale_no", DataType::Integer)},
                GetSaleCustomerGroups);
    catalog.Add("VYM_SP_ITEM_UpdateSaleCustomerGroupsXML",
                {In("@sale_no", DataType::Integer), In("@customer_qualified", DataType::SmallInt),
                 In("@XMLDoc", DataType::LongVarChar), Out(kMessage, DataType::VarChar, 255)},
                UpdateSaleCustomerGroups);
}

}  // namespace vym::server
