#include <string>

#include "server/procedure_context.h"
#include "server/procedures/item_search_procedures.h"

namespace vym::server {
namespace {

bool Any(SqlSession& session, const std::string& sql, const vym::Value& key) {
    return !session.QueryValue(sql, {key}).IsNull();
}

// Why the item may not go, or "" when nothing but its own rows refer to it.
std::string ItemInUse(SqlSession& session, const vym::Value& item, const std::string& name) {
    const vym::Value package = session.QueryValue(
        "SELECT p.description FROM vym_package_item pi JOIN vym_package p "
        "ON p.package_no = pi.package_no WHERE pi.item_no = ? LIMIT 1",
        {item});
    if (!package.IsNull()) {
        return name + " is a line of the package " + package.ToString() + " and cannot be deleted.";
    }
    if (Any(session, "SELECT 1 FROM vym_price WHERE item_no = ?1 OR child_item_no = ?1 LIMIT 1",
            item)) {
        return name + " has prices and cannot be deleted.";
    }
    if (Any(session, "SELECT 1 FROM vym_item_stock_history WHERE item_no = ? LIMIT 1", item)) {
        return name + " has stock history and cannot be deleted.";
    }
    if (Any(session, "SELECT 1 FROM vym_item_stock_serial WHERE item_no = ? LIMIT 1", item)) {
        return name + " has serial units and cannot be deleted.";
    }
    if (Any(session, "SELECT 1 FROM vym_po_line WHERE item_no = ? LIMIT 1", item)) {
        return name + " is on a purchase order and cannot be deleted.";
    }
    // Links that belong to other items: deleting would change those items.
    struct Link {
        const char* sql;
        const char* what;
    };
    static constexpr Link kLinks[] = {
        {"SELECT 1 FROM vym_extension WHERE child_item_no = ? LIMIT 1",
         " is an extension of another item"},
        {"SELECT 1 FROM vym_item_add_on WHERE child_item_no = ? LIMIT 1",
         " is an add-on of another item"},
        {"SELECT 1 FROM vym_item_rental_detail WHERE detail_item_no = ? LIMIT 1",
         " is part of a rental package"},
        {"SELECT 1 FROM vym_item_stock_rental WHERE rental_item_no = ? LIMIT 1",
         " is the rental item of a stock article"},
        {"SELECT 1 FROM vym_item WHERE redeem_item = ?1 AND item_no <> ?1 LIMIT 1",
         " is the redemption item of another item"},
    };
    for (const Link& link : kLinks) {
        if (Any(session, link.sql, item)) {
            return name + link.what + " and cannot be deleted.";
        }
    }
    return {};
}

bool PackageHasPrices(SqlSession& session, const vym::Value& package) {
    return Any(session, "SELECT 1 FROM vym_price WHERE package_no = ? LIMIT 1", package);
}

// An instruction text goes with the last item or package that used it.
void DeleteUnsharedInstruction(SqlSession& session, const vym::Value& instruction) {
    if (instruction.IsNull()) {
        return;
    }
    session.Run(
        "DELETE FROM vym_item_instruction WHERE instruction_no = ?1 AND NOT EXISTS "
        "(SELECT 1 FROM vym_item WHERE instruction_no = ?1) AND NOT EXISTS "
        "(SELECT 1 FROM vym_package WHERE instruction_no = ?1)",
        {instruction});
}

void DeleteItem(ProcedureContext& call) {
    const vym::Value item = call.Get("@item_no");
    SqlSession& session = call.Session();
    const vym::Value description = session.QueryValue(
        "SELECT COALESCE(NULLIF(long_description, ''), short_description, "
        "'Item ' || item_no) FROM vym_item WHERE item_no = ?",
        {item});
    if (description.IsNull()) {
        Refuse(call, "Item " + NullToEmpty(item) + " does not exist.");
        return;
    }
    const std::string why = ItemInUse(session, item, description.ToString());
    if (!why.empty()) {
        Refuse(call, why);
        return;
    }
    const vym::Value instruction =
        session.QueryValue("SELECT instruction_no FROM vym_item WHERE item_no = ?", {item});
    // Type details, stock, quantities, map ids, its own extensions, add-ons and
    // register groups go with the item (cascade).
    session.Run("DELETE FROM vym_item WHERE item_no = ?", {item});
    DeleteUnsharedInstruction(session, instruction);
}

void DeletePackage(ProcedureContext& call) {
    const vym::Value package = call.Get("@package_no");
    SqlSession& session = call.Session();
    const vym::Value description = session.QueryValue(
        "SELECT COALESCE(description, 'Package ' || package_no) FROM vym_package "
        "WHERE package_no = ?",
        {package});
    if (description.IsNull()) {
        Refuse(call, "Package " + NullToEmpty(package) + " does not exist.");
        return;
    }
    const vym::Value redeemer = session.QueryValue(
        "SELECT description FROM vym_package WHERE redeem_package_no = ?1 "
        "AND package_no <> ?1 LIMIT 1",
        {package});
    if (!redeemer.IsNull()) {
        Refuse(call, description.ToString() + " is the redemption package of " +
                         redeemer.ToString() + " and cannot be deleted.");
        return;
    }
    if (PackageHasPrices(session, package)) {
        Refuse(call, description.ToString() + " has prices and cannot be deleted.");
        return;
    }
    const vym::Value instruction = session.QueryValue(
        "SELECT instruction_no FROM vym_package WHERE package_no = ?", {package});
    session.Run("DELETE FROM vym_register_group_package WHERE package_no = ?", {package});
    session.Run("DELETE FROM vym_package WHERE package_no = ?", {package});
    DeleteUnsharedInstruction(session, instruction);
}

}  // namespace

void RegisterItemDeleteProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VyM_SP_ITEM_DeleteItem",
                {In("@item_no", DataType::Integer), Out("@message", DataType::VarChar, 255)},
                DeleteItem);
    catalog.Add("VyM_SP_ITEM_DeletePackage",
                {In("@package_no", DataType::Integer), Out("@message", DataType::VarChar, 255)},
                DeletePackage);
}

}  // namespace vym::server
