#include "server/procedures/special_offer_procedures.h"

namespace vym::server {

void RegisterSpecialOfferLookups(ProcedureCatalog& catalog) {
    // The types of the item table's own check, in the order the console lists them.
    catalog.Add("VYM_SP_ITEM_TYPE_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT 'PHOTO' AS item_type UNION ALL SELECT 'RENTAL' UNION ALL SELECT 'SHIP' "
            "UNION ALL SELECT 'SS' UNION ALL SELECT 'STOCK' UNION ALL SELECT 'TICKET'");
    });
    catalog.Add("VYM_SP_ITEM_STORE_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT store_no, description AS Description, location_id FROM vym_store "
            "ORDER BY description");
    });
    catalog.Add("VYM_SP_ITEM_STORE_PRODUCT_GROUP_get", {In("@store_no", DataType::Integer)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT store_no, product_group_no, description AS Description FROM "
                        "vym_store_product_group WHERE store_no = ? ORDER BY description",
                        {call.Get("@store_no")});
                });
    catalog.Add("VYM_SP_ITEM_STORE_PRODUCT_get",
                {In("@store_no", DataType::Integer), In("@product_group_no", DataType::Integer)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT store_no, product_no, product_group_no, product_name FROM "
                        "vym_store_product WHERE store_no = ?1 AND (?2 IS NULL OR "
                        "product_group_no = ?2) ORDER BY product_name",
                        {call.Get("@store_no"), call.Get("@product_group_no")});
                });
    catalog.Add("VYM_SP_ITEM_STORE_PRODUCT_ITEM_get",
                {In("@store_no", DataType::Integer), In("@product_no", DataType::Integer)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT store_no, product_no, seq_no, item_no, package_no, "
                        "product_item_name FROM vym_store_product_item WHERE store_no = ? AND "
                        "product_no = ? ORDER BY seq_no",
                        {call.Get("@store_no"), call.Get("@product_no")});
                });
}

}  // namespace vym::server
