#include "server/procedures/serial_procedures.h"

#include <optional>
#include <string>
#include <vector>

#include "server/procedures/item_catalogue_support.h"

namespace vym::server {

namespace {

// A stock item's rental items, by description, joined as one text.
std::string RentalItemDescription(SqlSession& session, const vym::Value& itemNo) {
    auto rows = session.Prepare(
        "SELECT r.long_description FROM vym_item_stock_rental sr JOIN vym_item r "
        "ON r.item_no = sr.rental_item_no WHERE sr.item_no = ? ORDER BY r.long_description");
    rows->Bind(1, itemNo);
    std::string joined;
    while (rows->Step()) {
        joined += (joined.empty() ? "" : ", ") + std::string(rows->ColumnText(0));
    }
    return joined;
}

// The unit with its item's data, where it is and the contract it is out on.
void GetItemStockSerial(ProcedureContext& call) {
    const vym::Value itemNo = call.Get("@item_no");
    call.EmitResultSet(
        "SELECT i.long_description, st.stock_type_id, s.mfg_serial, s.status_id, s.location_id, "
        "l.description AS location_desc, s.current_location_id, "
        "cl.description AS current_location_desc, s.comment_note, s.binding_item_no, "
        "bi.long_description AS binding_item_description, s.boot_length, "
        "st.boot_length AS default_boot_length, st.vendor_id, v.vendor_name, "
        "st.binding_type_id, bt.description AS binding_type_desc, "
        "bst.binding_type_id AS binding_item_binding_type_id, "
        "bbt.description AS binding_item_binding_type_desc, st.serial_type_id, "
        "sty.description AS serial_type_desc, st.stock_size, st.model_id, "
        "m.description AS model_desc, m.model_serial_prefix, "
        "CAST(?1 AS varchar(255)) AS rental_item_description, s.mounting_location_id, "
        "s.print_format_no, s.is_active, s.created_by, s.created_datetime, s.last_modified_by, "
        "s.last_modified_datetime, s.row_version, s.original_cost AS ORIGINAL_COST, "
        "s.retail_price AS RETAIL_Price, s.depreciated_value AS DEPRECIATED_VALUE, "
        "c.customer_no, cu.full_name, c.contract_no, c.line_no, c.seq_no "
        "FROM vym_item_stock_serial s JOIN vym_item i ON i.item_no = s.item_no "
        "JOIN vym_item_stock st ON st.item_no = s.item_no "
        "LEFT JOIN vym_location l ON l.location_id = s.location_id "
        "LEFT JOIN vym_location cl ON cl.location_id = s.current_location_id "
        "LEFT JOIN vym_item bi ON bi.item_no = s.binding_item_no "
        "LEFT JOIN vym_item_stock bst ON bst.item_no = s.binding_item_no "
        "LEFT JOIN vym_item_stock_binding_type bt ON bt.binding_type_id = st.binding_type_id "
        "LEFT JOIN vym_item_stock_binding_type bbt ON bbt.binding_type_id = bst.binding_type_id "
        "LEFT JOIN vym_vendor v ON v.vendor_id = st.vendor_id "
        "LEFT JOIN vym_item_stock_serial_type sty ON sty.serial_type_id = st.serial_type_id "
        "LEFT JOIN vym_item_stock_model m ON m.model_id = st.model_id "
        "LEFT JOIN vym_rental_contract_line c ON c.item_no = s.item_no "
        "AND c.serial_id = s.serial_id AND c.date_returned IS NULL "
        "LEFT JOIN vym_customer cu ON cu.customer_no = c.customer_no "
        "WHERE s.item_no = ?2 AND s.serial_id = ?3",
        {RentalItemDescription(call.Session(), itemNo), itemNo, TextOrNull(call, "@serial_id")});
}

// Up to this many units whose serial id begins as typed are found through its
// index and sorted; more are found by walking the units in the console's
// order, which reaches the first rows shown long before every match is read.
constexpr int kSortedSerials = 5000;

// The serial id column as a search by its beginning `pattern` compares it:
// kept from its index when that would find too many units to sort. Only the
// embedded store is asked; PostgreSQL weighs its statistics itself.
std::string SerialColumn(SqlSession& db, const vym::Value& pattern) {
    const SqlEngine& engine = db.Engine();
    if (engine.IsPostgres()) {
        return "s.serial_id";
    }
    const vym::Value found = db.QueryValue(
        "SELECT count(*) FROM (SELECT 1 FROM vym_item_stock_serial WHERE serial_id " +
            std::string(engine.Like()) + " ? LIMIT " + std::to_string(kSortedSerials + 1) + ") u",
        {pattern});
    return found.ToLong() > kSortedSerials ? engine.NotIndexed("s.serial_id") : "s.serial_id";
}

// Every criterion is optional. Only those given go into the statement, so
// that the planner reaches the units through the index of the one that
// narrows them most; the serial id matches from its start so that a scanned
// or typed beginning finds the unit through its index.
void SearchStockSerial(ProcedureContext& call) {
    const SqlEngine& engine = call.Session().Engine();
    std::string where;
    std::vector<vym::Value> values;
    // `condition` with "?" standing for the value bound.
    const auto add = [&](const std::string& condition, const vym::Value& value) {
        if (value.IsNull()) {
            return;
        }
        values.push_back(value);
        const std::string number = "?" + std::to_string(values.size());
        std::string numbered;
        for (char c : condition) {
            numbered += c == '?' ? number : std::string(1, c);
        }
        where += (where.empty() ? " WHERE " : " AND ") + numbered;
    };
    const vym::Value typed = TextOrNull(call, "@serial_id");
    if (!typed.IsNull()) {
        const vym::Value pattern = typed.ToString() + "%";
        add(SerialColumn(call.Session(), pattern) + " " + std::string(engine.Like()) + " ?",
            pattern);
    }
    add("s.item_no = ?", item_catalogue::NumberOrNull(call, "@item_no"));
    add("(s.mfg_serial = ? OR " + engine.Contains("i.long_description", "?") + ")",
        TextOrNull(call, "@item_description"));
    add("s.location_id = ?", TextOrNull(call, "@location_id"));
    // These find the units through the unit's own indexes, which order them by
    // the unit's item; without them the stock record's criteria (the model)
    // find the units item by item in the stock's order, so that neither way
    // sorts every match before the first rows.
    const bool byUnit = !where.empty();
    add("s.status_id = ?", TextOrNull(call, "@status_id"));
    const std::optional<bool> active = call.GetBool("@is_active");
    add("CASE WHEN s.is_active <> 0 THEN 1 ELSE 0 END = ?",
        active ? vym::Value(*active ? 1 : 0) : vym::Value::Null());
    add("st.stock_size = ?", TextOrNull(call, "@stock_size"));
    add("st.serial_type_id = ?", TextOrNull(call, "@serial_type_id"));
    add("st.model_id = ?", TextOrNull(call, "@model_id"));
    add("EXISTS (SELECT 1 FROM vym_item_stock_rental sr WHERE sr.item_no = s.item_no AND "
        "sr.rental_item_no = ?)",
        item_catalogue::NumberOrNull(call, "@rental_item_no"));
    call.EmitResultSet(
        "SELECT s.item_no, st.stock_type_id, s.serial_id, i.long_description, s.location_id, "
        "m.description AS model_desc, s.status_id, v.vendor_name, "
        "sty.description AS serial_type_description, s.original_cost AS ORIGINAL_COST, "
        "s.retail_price AS RETAIL_Price, s.depreciated_value AS DEPRECIATED_VALUE, "
        "s.mfg_serial, (SELECT min(r.long_description) FROM vym_item_stock_rental sr "
        "JOIN vym_item r ON r.item_no = sr.rental_item_no WHERE sr.item_no = s.item_no) "
        "AS rental_item_description, s.current_location_id "
        "FROM vym_item_stock_serial s JOIN vym_item i ON i.item_no = s.item_no "
        "JOIN vym_item_stock st ON st.item_no = s.item_no "
        "LEFT JOIN vym_item_stock_model m ON m.model_id = st.model_id "
        "LEFT JOIN vym_vendor v ON v.vendor_id = st.vendor_id "
        "LEFT JOIN vym_item_stock_serial_type sty ON sty.serial_type_id = st.serial_type_id" +
            where + " ORDER BY " + (byUnit ? "s" : "st") + ".item_no, s.serial_id",
        values);
}

// What is on hand at the location against the units already serialized
// there (the unit being saved left out): the units that may still be made.
void GetQOH(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value item = call.Get("@item_no");
    const vym::Value location = TextOrNull(call, "@location_id");
    const std::int32_t onHand =
        NullToZero(db.QueryValue("SELECT qty_on_hand FROM vym_item_stock_location "
                                 "WHERE item_no = ? AND location_id = ?",
                                 {item, location}))
            .ToLong();
    const std::int32_t serialized =
        NullToZero(db.QueryValue("SELECT count(*) FROM vym_item_stock_serial WHERE item_no = ?1 "
                                 "AND location_id = ?2 AND (?3 IS NULL OR serial_id <> ?3)",
                                 {item, location, TextOrNull(call, "@serial_id")}))
            .ToLong();
    call.SetOutput("@qoh", onHand);
    call.SetOutput("@qty_serialized", serialized);
    call.SetReturnValue(onHand - serialized);
}

void GetSerialContractHistory(ProcedureContext& call) {
    // The viewer's format string and its rows, cells joined by tabs.
    call.SetOutput("@column_header", std::string("Contract|Line|Customer|Out|Returned|Return Loc"));
    call.EmitResultSet(
        "SELECT CAST(c.contract_no AS varchar(12)) || '\t' || CAST(c.line_no AS varchar(12)) "
        "|| '\t' || COALESCE(cu.full_name, '') || '\t' || CAST(c.date_out AS varchar(30)) "
        "|| '\t' || COALESCE(CAST(c.date_returned AS varchar(30)), '') || '\t' || "
        "COALESCE(c.return_location_id, '') AS grid_line FROM vym_rental_contract_line c "
        "LEFT JOIN vym_customer cu ON cu.customer_no = c.customer_no "
        "WHERE c.serial_id = ? ORDER BY c.date_out DESC, c.contract_no DESC",
        {TextOrNull(call, "@serial_id")});
}

void RegisterLists(ProcedureCatalog& catalog) {
    // Locations that hold stock of the rental kind asked for (all without one).
    catalog.AddRead(
        "VYM_SP_SERIAL_GetLocation", {In("@stock_type_id", DataType::VarChar, 10)},
        [](ProcedureContext& call) {
            call.EmitResultSet(
                "SELECT l.location_id, l.description AS Description, l.serial_prefix "
                "FROM vym_location l WHERE ?1 IS NULL OR EXISTS (SELECT 1 FROM "
                "vym_item_stock_location sl JOIN vym_item_stock st ON st.item_no = "
                "sl.item_no WHERE sl.location_id = l.location_id AND "
                "(st.rental_type = ?1 OR st.stock_type_id = ?1)) ORDER BY l.location_id",
                {TextOrNull(call, "@stock_type_id")});
        });
    catalog.AddRead("VYM_SP_SERIAL_GetSerialStatus", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT status_id, description AS Description FROM vym_serial_status "
            "ORDER BY display_order, status_id");
    });
    catalog.AddRead("VYM_SP_SERIAL_GetSerialType", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT serial_type_id, description AS Description FROM vym_item_stock_serial_type "
            "ORDER BY description");
    });
    catalog.AddRead("VYM_SP_SERIAL_GetStockSizeType", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT stock_size_type_id, description AS Description FROM "
            "vym_item_stock_size_type ORDER BY description");
    });
    catalog.AddRead(
        "VYM_SP_SERIAL_GetStockSize", {In("@stock_size_type_id", DataType::VarChar, 10)},
        [](ProcedureContext& call) {
            call.EmitResultSet(
                "SELECT stock_size FROM vym_item_stock_size WHERE stock_size_type_id = ? "
                "ORDER BY display_order",
                {TextOrNull(call, "@stock_size_type_id")});
        });
    catalog.AddRead("VYM_SP_SERIAL_GetRentalItems", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT i.long_description, i.item_no FROM vym_item i WHERE EXISTS (SELECT 1 FROM "
            "vym_item_stock_rental sr WHERE sr.rental_item_no = i.item_no) "
            "ORDER BY i.long_description");
    });
    catalog.AddRead("VYM_SP_SERIAL_GetPrintFormat",
                    {In("@print_format_type", DataType::VarChar, 10)}, [](ProcedureContext& call) {
                        call.EmitResultSet(
                            "SELECT format_no, description AS Description FROM vym_print_format "
                            "WHERE print_format_type = ? ORDER BY description",
                            {TextOrNull(call, "@print_format_type")});
                    });
}

}  // namespace

namespace serial {

void RegisterSerialReads(ProcedureCatalog& catalog) {
    RegisterLists(catalog);
    catalog.AddRead("VYM_SP_SERIAL_GetItemStockSerial",
                    {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30)},
                    GetItemStockSerial);
    catalog.AddRead(
        "VYM_SP_SERIAL_SearchStockSerial",
        {In("@serial_id", DataType::VarChar, 30), In("@item_no", DataType::Integer),
         In("@item_description", DataType::VarChar, 80), In("@location_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@is_active", DataType::Boolean),
         In("@stock_size", DataType::VarChar, 10), In("@serial_type_id", DataType::VarChar, 10),
         In("@model_id", DataType::VarChar, 20), In("@rental_item_no", DataType::Integer)},
        SearchStockSerial);
    catalog.AddRead("VYM_SP_SERIAL_GetQOH",
                    {In("@item_no", DataType::Integer), In("@location_id", DataType::VarChar, 10),
                     In("@serial_id", DataType::VarChar, 30), Out("@qoh", DataType::Integer),
                     Out("@qty_serialized", DataType::Integer)},
                    GetQOH);
    catalog.AddRead(
        "VYM_SP_SERIAL_GetSerialContractHistory",
        {In("@serial_id", DataType::VarChar, 30), Out("@column_header", DataType::VarChar, 255)},
        GetSerialContractHistory);
    catalog.AddRead(
        "VYM_SP_SERIAL_GetRentalItemDesc",
        {In("@item_no", DataType::Integer), Out("@rental_item_desc", DataType::VarChar, 255)},
        [](ProcedureContext& call) {
            call.SetOutput("@rental_item_desc",
                           RentalItemDescription(call.Session(), call.Get("@item_no")));
            call.SetReturnValue(0);
        });
    catalog.AddRead("VYM_SP_SERIAL_GetStockSerialMapIds",
                    {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30)},
                    [](ProcedureContext& call) {
                        call.EmitResultSet(
                            "SELECT map_id FROM vym_item_stock_serial_map WHERE item_no = ? AND "
                            "serial_id = ? ORDER BY map_id",
                            {call.Get("@item_no"), TextOrNull(call, "@serial_id")});
                    });
}

}  // namespace serial

void RegisterSerialProcedures(ProcedureCatalog& catalog) {
    serial::RegisterSerialReads(catalog);
    serial::RegisterSerialWrites(catalog);
    serial::RegisterSerialBatch(catalog);
}

}  // namespace vym::server
