#include "server/procedures/stock_label_procedures.h"

#include "server/procedures/item_catalogue_support.h"

namespace vym::server {

const char* const kStockLabelSelect =
    "SELECT COALESCE(ser.serial_id, '') AS serial_id, "
    "COALESCE(ser.mfg_serial, '') AS mfg_serial, i.long_description, "
    "COALESCE(ser.retail_price, s.unit_price) AS Price, "
    "COALESCE(ser.print_format_no, s.format_no) AS format_no, s.upc_code, "
    "ser.location_id, l.description AS location_desc "
    "FROM vym_item_stock s JOIN vym_item i ON i.item_no = s.item_no "
    "LEFT JOIN vym_item_stock_serial ser ON ser.item_no = s.item_no AND ser.serial_id = ?2 "
    "LEFT JOIN vym_location l ON l.location_id = ser.location_id "
    "WHERE s.item_no = ?1 AND (?2 IS NULL OR ser.serial_id IS NOT NULL)";

namespace {

void GetStockLabels(ProcedureContext& call) {
    call.EmitResultSet(kStockLabelSelect, {call.Get("@item_no"), TextOrNull(call, "@serial_id")});
}

}  // namespace

void RegisterStockLabelProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetStockLabels",
                {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30)},
                GetStockLabels);
    // A printer is named by its printer type: the station's print queue of
    // that name takes the page sizes the type lists.
    catalog.Add("VYM_SP_ITEM_GetPrinters", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT printer_type_id AS Printer, page_size_id AS Page "
            "FROM vym_printer_type_page_size ORDER BY printer_type_id, page_size_id");
    });
}

void AddReceivingDemoRows(SqlSession& session) {
    session.Run("UPDATE vym_item_stock SET format_no = 4 WHERE item_no IN (503, 510, 511)");
    session.Run(
        "INSERT INTO vym_receiving (receiving_no, po_no, date_received, location_id, vendor_id, "
        "received_by) VALUES (1001, NULL, '2024-10-02 09:30:00', 'BASE', 'ALPINEGEAR', "
        "'JSMITH'), (1002, NULL, '2024-11-14 14:05:00', 'VILLAGE', 'ALPINEGEAR', 'RMILLER')");
    session.Run(
        "INSERT INTO vym_receiving_line (receiving_no, line_no, item_no, qty_received) VALUES "
        "(1001, 1, 500, 6), (1001, 2, 501, 6), "
        "(1002, 1, 503, 4), (1002, 2, 510, 12), (1002, 3, 511, 3)");
}

}  // namespace vym::server
