#include <string>

#include "server/procedures/item_catalogue_support.h"

namespace vym::server::item_catalogue {
namespace {

void ItemByNumber(ProcedureCatalog& catalog, std::string name, std::string sql) {
    catalog.Add(std::move(name), {In("@item_no", DataType::Integer)},
                [sql = std::move(sql)](ProcedureContext& call) {
                    call.EmitResultSet(sql, {call.Get("@item_no")});
                });
}

// The return value is the number of extensions, so that a caller can ask
// whether there are any without reading them.
void GetItemExtensions(ProcedureContext& call) {
    const vym::Value item = call.Get("@item_no");
    call.SetReturnValue(call.Session()
                            .QueryValue("SELECT count(*) FROM vym_extension "
                                        "WHERE parent_item_no = ?",
                                        {item})
                            .ToLong());
    call.EmitResultSet(
        "SELECT e.child_item_no, i.long_description, e.create_new_product, "
        "e.max_qty_per_season, e.max_qty_per_trans, e.activating AS Activating, "
        "i.function_id "
        "FROM vym_extension e JOIN vym_item i ON i.item_no = e.child_item_no "
        "WHERE e.parent_item_no = ? ORDER BY e.sequence, e.child_item_no",
        {item});
}

// The groups of an item, of a package, or (neither given) every group.
void GetRegisterGroups(ProcedureContext& call) {
    if (!call.IsNull("@item_no")) {
        call.EmitResultSet(
            "SELECT g.register_group_id, g.description AS Description "
            "FROM vym_register_group_item gi JOIN vym_register_group g "
            "ON g.register_group_id = gi.register_group_id "
            "WHERE gi.item_no = ? ORDER BY g.register_group_id",
            {call.Get("@item_no")});
    } else if (!call.IsNull("@package_no")) {
        call.EmitResultSet(
            "SELECT g.register_group_id, g.description AS Description "
            "FROM vym_register_group_package gp JOIN vym_register_group g "
            "ON g.register_group_id = gp.register_group_id "
            "WHERE gp.package_no = ? ORDER BY g.register_group_id",
            {call.Get("@package_no")});
    } else {
        call.EmitResultSet(
            "SELECT register_group_id, description AS Description "
            "FROM vym_register_group ORDER BY register_group_id");
    }
}

}  // namespace

void RegisterReads(ProcedureCatalog& catalog) {
    // The reads of one item with its type details and of one stock record
    // are the item searches with @item_no alone (item_search_procedures.cpp).

    catalog.Add("VYM_SP_ITEM_GetItemDescription",
                {In("@item_no", DataType::Integer), Out("@description", DataType::VarChar, 80)},
                [](ProcedureContext& call) {
                    call.SetOutput("@description",
                                   call.Session().QueryValue(
                                       "SELECT COALESCE(NULLIF(long_description, ''), "
                                       "short_description, '') FROM vym_item WHERE item_no = ?",
                                       {call.Get("@item_no")}));
                });

    catalog.Add("VYM_SP_ITEM_GetItemExtensions", {In("@item_no", DataType::Integer)},
                GetItemExtensions);

    ItemByNumber(catalog, "VYM_SP_ITEM_ADD_ON_get",
                 "SELECT a.child_item_no, i.long_description, a.format_no, "
                 "pf.description AS format_description, a.access_rule_no, "
                 "ar.description AS access_rule_description, a.price AS Price "
                 "FROM vym_item_add_on a JOIN vym_item i ON i.item_no = a.child_item_no "
                 "LEFT JOIN vym_print_format pf ON pf.format_no = a.format_no "
                 "LEFT JOIN vym_access_rule ar ON ar.access_rule_no = a.access_rule_no "
                 "WHERE a.parent_item_no = ? ORDER BY a.sequence, a.child_item_no");

    catalog.Add("VYM_SP_ITEM_GetRegisterGroups",
                {In("@item_no", DataType::Integer), In("@package_no", DataType::Integer)},
                GetRegisterGroups);

    // The map ids of an item, or the owner of one map id.
    catalog.Add("VYM_SP_ITEM_GetItemStockMaps",
                {In("@item_no", DataType::Integer), In("@map_id", DataType::VarChar, 30)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT map_id, item_no FROM vym_item_stock_map "
                        "WHERE (?1 IS NULL OR item_no = ?1) AND (?2 IS NULL OR map_id = ?2) "
                        "ORDER BY map_id",
                        {call.Get("@item_no"), TextOrNull(call, "@map_id")});
                });

    ItemByNumber(catalog, "VYM_SP_ITEM_GetStockRentalItem",
                 "SELECT r.rental_item_no, i.long_description FROM vym_item_stock_rental r "
                 "JOIN vym_item i ON i.item_no = r.rental_item_no WHERE r.item_no = ? "
                 "ORDER BY r.rental_item_no");
    ItemByNumber(catalog, "VYM_SP_ITEM_GetRentalDetail",
                 "SELECT d.detail_item_no, i.long_description FROM vym_item_rental_detail d "
                 "JOIN vym_item i ON i.item_no = d.detail_item_no WHERE d.item_no = ? "
                 "ORDER BY d.detail_item_no");
}

}  // namespace vym::server::item_catalogue
