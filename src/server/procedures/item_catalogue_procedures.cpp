#include "server/procedures/item_catalogue_procedures.h"

#include "server/procedures/item_catalogue_support.h"

namespace vym::server {

void RegisterItemCatalogueProcedures(ProcedureCatalog& catalog) {
    item_catalogue::RegisterReads(catalog);
    item_catalogue::RegisterUpdates(catalog);
    item_catalogue::RegisterListSaves(catalog);
}

namespace item_catalogue {

vym::Value NumberOrNull(const ProcedureContext& call, std::string_view name) {
    const auto number = call.GetLong(name);
    if (!number || *number == 0) {
        return vym::Value::Null();
    }
    return *number;
}

bool RowExists(SqlSession& session, std::string_view table, std::string_view column,
               const vym::Value& value) {
    // Written into the thread's own buffer: a save checks several references.
    thread_local std::string sql;
    sql.assign("SELECT 1 FROM ").append(table).append(" WHERE ").append(column);
    sql.append(" = ? LIMIT 1");
    return !session.QueryValue(sql, {value}).IsNull();
}

const std::vector<Reference> kStockReferences = {
    {"@stock_type_id", "vym_item_stock_type", "stock_type_id", "Stock type"},
    {"@model_id", "vym_item_stock_model", "model_id", "Model"},
    {"@vendor_id", "vym_vendor", "vendor_id", "Vendor"},
    {"@stock_size_type_id", "vym_item_stock_size_type", "stock_size_type_id", "Size type"},
    {"@serial_type_id", "vym_item_stock_serial_type", "serial_type_id", "Serial type"},
    {"@binding_type_id", "vym_item_stock_binding_type", "binding_type_id", "Binding type"},
    {"@report_department_id", "vym_report_department", "report_department_id",
     "Reporting department"},
};

std::optional<std::string> MissingReference(ProcedureContext& call,
                                            const std::vector<Reference>& references) {
    for (const Reference& r : references) {
        const vym::Value value = TextOrNull(call, r.parameter);
        if (!value.IsNull() && !RowExists(call.Session(), r.table, r.column, value)) {
            return std::string(r.what) + " " + value.ToString() + " does not exist.";
        }
    }
    return std::nullopt;
}

vym::Value WriteInstruction(ProcedureContext& call, const vym::Value& previous) {
    SqlSession& db = call.Session();
    const vym::Value body = TextOrNull(call, "@instruction_body");
    if (body.IsNull()) {
        return vym::Value::Null();
    }
    if (!previous.IsNull()) {
        db.Run("UPDATE vym_item_instruction SET instruction_body = ? WHERE instruction_no = ?",
               {body, previous});
        return previous;
    }
    db.Run("INSERT INTO vym_item_instruction (instruction_body) VALUES (?)", {body});
    return vym::Value::FromInt64(db.LastInsertId());
}

void DeleteDroppedInstruction(SqlSession& session, const vym::Value& previous,
                              const vym::Value& current) {
    if (!previous.IsNull() && current.IsNull()) {
        session.Run("DELETE FROM vym_item_instruction WHERE instruction_no = ?", {previous});
    }
}

std::optional<std::string> CheckItemExists(SqlSession& session, std::int32_t itemNo) {
    if (RowExists(session, "vym_item", "item_no", itemNo)) {
        return std::nullopt;
    }
    return "Item " + std::to_string(itemNo) + " does not exist.";
}

}  // namespace item_catalogue
}  // namespace vym::server
