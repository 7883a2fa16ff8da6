#include "server/procedures/item_template_procedures.h"

#include <string>

#include "server/row_version.h"
#include "server/sql_engine.h"

namespace vym::server {
namespace {

constexpr std::int32_t kKeySize = 20;
constexpr std::int32_t kLevelSize = 10;

// Formats of one type (every type for Null) with their templates, one row per
// template; a format without templates gives one row with printer and page
// "-1", which the manager shows without branches below the format.
void GetPrintFormatPrinterPage(ProcedureContext& call) {
    const SqlEngine& engine = call.Session().Engine();
    call.EmitResultSet(
        "SELECT f.format_no, f.description AS Description, "
        "COALESCE(t.printer_type_id, '-1') AS printer_type_id, "
        "COALESCE(t.page_size_id, '-1') AS page_size_id, "
        "t.customer_level_id, t.description AS temp_desc "
        "FROM vym_print_format f "
        "LEFT JOIN vym_print_format_template t ON t.format_no = f.format_no "
        "WHERE ?1 IS NULL OR f.print_format_type = ?1 ORDER BY " +
            engine.NoCase("f.description") + ", f.format_no, " +
            engine.NoCase("t.printer_type_id") + ", " + engine.NoCase("t.page_size_id") + ", " +
            engine.NoCase("t.customer_level_id"),
        {call.Get("@print_format_type")});
}

// The template of one key: returns 1 with its row when it exists, 0 and no
// rows when it does not.
void GetPrintFormatTemplate(ProcedureContext& call) {
    const vym::Value& no = call.Get("@format_no");
    const vym::Value& printer = call.Get("@printer_type_id");
    const vym::Value& page = call.Get("@page_size_id");
    const vym::Value& level = call.Get("@customer_level_id");
    const bool exists =
        call.Session()
            .QueryValue(
                "SELECT count(*) FROM vym_print_format_template"
                " WHERE format_no = ?1 AND printer_type_id = ?2 AND page_size_id = ?3"
                " AND customer_level_id = ?4",
                {no, printer, page, level})
            .ToLong() > 0;
    call.SetReturnValue(exists ? 1 : 0);
    call.EmitResultSet(
        "SELECT description AS Description, template_type, template_size, format_template, "
        "row_version FROM vym_print_format_template"
        " WHERE format_no = ?1 AND printer_type_id = ?2 AND page_size_id = ?3"
        " AND customer_level_id = ?4",
        {no, printer, page, level});
}

// Adds or updates one template. A Null @format_template keeps the stored
// content; otherwise the content and its size are replaced together. A save
// of a template another station saved since it was read is refused.
void UpdatePrintFormatTemplate(ProcedureContext& call) {
    const vym::Value& content = call.Get("@format_template");
    const vym::Value size = content.IsNull()
                                ? vym::Value::Null()
                                : vym::Value(static_cast<std::int32_t>(content.ToBytes().size()));
    const GuardedRow row{"vym_print_format_template",
                         "format_no = ? AND printer_type_id = ? AND page_size_id = ? AND "
                         "customer_level_id = ?",
                         {call.Get("@format_no"), call.Get("@printer_type_id"),
                          call.Get("@page_size_id"), call.Get("@customer_level_id")},
                         "template"};
    WriteClaimed(call, row, "@message", [&] {
        // ?7 and ?8 are Null for a content kept: a new row then starts empty.
        call.Session().Run(
            "INSERT INTO vym_print_format_template (format_no, printer_type_id, page_size_id, "
            "customer_level_id, description, template_type, format_template, template_size) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, COALESCE(?8, 0)) "
            "ON CONFLICT (format_no, printer_type_id, page_size_id, customer_level_id) "
            "DO UPDATE SET description = excluded.description, "
            "template_type = excluded.template_type, "
            "format_template = CASE WHEN ?8 IS NULL THEN "
            "vym_print_format_template.format_template ELSE excluded.format_template END, "
            "template_size = CASE WHEN ?8 IS NULL THEN vym_print_format_template.template_size "
            "ELSE excluded.template_size END",
            {row.key[0], row.key[1], row.key[2], row.key[3], call.Get("@description"),
             call.Get("@template_type"), content, size});
    });
}

void DeletePrintFormatTemplate(ProcedureContext& call) {
    call.Session().Run(
        "DELETE FROM vym_print_format_template"
        " WHERE format_no = ?1 AND printer_type_id = ?2 AND page_size_id = ?3"
        " AND customer_level_id = ?4",
        {call.Get("@format_no"), call.Get("@printer_type_id"), call.Get("@page_size_id"),
         call.Get("@customer_level_id")});
}

}  // namespace

void RegisterItemTemplateProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetPrintFormatPrinterPage",
                {In("@print_format_type", DataType::VarChar, 10)}, GetPrintFormatPrinterPage);
    catalog.Add(
        "VYM_SP_ITEM_GetPrintFormatTemplate",
        {In("@format_no", DataType::Integer), In("@printer_type_id", DataType::VarChar, kKeySize),
         In("@page_size_id", DataType::VarChar, kKeySize),
         In("@customer_level_id", DataType::VarChar, kLevelSize)},
        GetPrintFormatTemplate);
    catalog.Add(
        "VYM_SP_ITEM_UpdatePrintFormatTemplate",
        {In("@format_no", DataType::Integer), In("@printer_type_id", DataType::VarChar, kKeySize),
         In("@page_size_id", DataType::VarChar, kKeySize),
         In("@customer_level_id", DataType::VarChar, kLevelSize),
         In("@description", DataType::VarChar, 60), In("@template_type", DataType::VarChar, 10),
         In("@format_template", DataType::LongVarBinary), Out("@message", DataType::VarChar, 255),
         RowVersionParameter()},
        UpdatePrintFormatTemplate);
    catalog.Add(
        "VYM_SP_ITEM_DeletePrintFormatTemplate",
        {In("@format_no", DataType::Integer), In("@printer_type_id", DataType::VarChar, kKeySize),
         In("@page_size_id", DataType::VarChar, kKeySize),
         In("@customer_level_id", DataType::VarChar, kLevelSize)},
        DeletePrintFormatTemplate);
}

}  // namespace vym::server
