#include "server/procedures/item_editor_procedures.h"

namespace vym::server {

void RegisterItemEditorProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetPhotoSize", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT photo_size_id, description AS Description FROM vym_photo_size "
            "ORDER BY description");
    });
    catalog.Add("VYM_SP_ITEM_GetPhotoLabCode", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT lab_code_id, description AS Description FROM vym_photo_lab_code "
            "ORDER BY description");
    });
    catalog.Add("VYM_SP_ITEM_GetAccessRules", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT access_rule_no, description FROM vym_access_rule ORDER BY description");
    });
    // The formats of one type ("ITEM", "STOCK", "CLUB"); every format for Null.
    catalog.Add("VYM_SP_ITEM_GetPrintFormats", {In("@print_format_type", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT format_no, description AS Description, print_format_type "
                        "FROM vym_print_format WHERE ?1 IS NULL OR print_format_type = ?1 "
                        "ORDER BY description",
                        {call.Get("@print_format_type")});
                });
}

}  // namespace vym::server
