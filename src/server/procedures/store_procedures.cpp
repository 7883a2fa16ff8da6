#include "server/procedures/store_procedures.h"

#include <string>

#include "base/error.h"
#include "server/procedures/item_support_references.h"

namespace vym::server {
namespace {

using item_support::Count;

constexpr std::int32_t kRefused = 50000;

std::string GroupName(std::int32_t store, std::int32_t group) {
    return "Product group " + std::to_string(group) + " of store " + std::to_string(store);
}

// A Null or 0 group number adds a group under the store's next number.
void UpdateStoreGroup(ProcedureContext& call) {
    static constexpr const char* kName = "VYM_SP_STORE_UpdateStoreGroup";
    SqlSession& db = call.Session();
    const std::int32_t store = call.GetLong("@store_no").value_or(0);
    if (Count(db, "SELECT count(*) FROM vym_store WHERE store_no = ?", {store}) == 0) {
        throw vym::Error(kRefused, kName, "Store " + std::to_string(store) + " does not exist.");
    }
    const std::int32_t group = call.GetLong("@product_group_no").value_or(0);
    if (group == 0) {
        const vym::Value next = db.QueryValue(
            "SELECT COALESCE(MAX(product_group_no), 0) + 1 FROM "
            "vym_store_product_group WHERE store_no = ?",
            {store});
        db.Run(
            "INSERT INTO vym_store_product_group (store_no, product_group_no, "
            "description) VALUES (?, ?, ?)",
            {store, next, call.Get("@description")});
        call.SetOutput("@product_group_no", next);
        return;
    }
    if (db.Run("UPDATE vym_store_product_group SET description = ? WHERE "
               "store_no = ? AND product_group_no = ?",
               {call.Get("@description"), store, group}) == 0) {
        throw vym::Error(kRefused, kName, GroupName(store, group) + " does not exist.");
    }
    call.SetOutput("@product_group_no", group);
}

void DeleteStoreGroup(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t store = call.GetLong("@store_no").value_or(0);
    const std::int32_t group = call.GetLong("@product_group_no").value_or(0);
    const std::string subject = GroupName(store, group);
    if (Count(db,
              "SELECT count(*) FROM vym_store_product_group WHERE store_no = ? "
              "AND product_group_no = ?",
              {store, group}) == 0) {
        Refuse(call, subject + " does not exist.");
        return;
    }
    const auto products = Count(db,
                                "SELECT count(*) FROM vym_store_product WHERE "
                                "store_no = ? AND product_group_no = ?",
                                {store, group});
    if (auto used = item_support::UsedBy(subject, {{products, "product", "products"}})) {
        Refuse(call, *used);
        return;
    }
    db.Run(
        "DELETE FROM vym_store_product_group WHERE store_no = ? AND "
        "product_group_no = ?",
        {store, group});
    call.SetOutput("@message", "");
}

}  // namespace

void RegisterStoreProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_STORE_UpdateStoreGroup",
                {In("@store_no", DataType::Integer), InOut("@product_group_no", DataType::Integer),
                 In("@description", DataType::VarChar, 60)},
                UpdateStoreGroup);

    catalog.Add("VYM_SP_STORE_DeleteStoreGroup",
                {In("@store_no", DataType::Integer), In("@product_group_no", DataType::Integer),
                 Out("@message", DataType::VarChar, 255)},
                DeleteStoreGroup);
}

}  // namespace vym::server
