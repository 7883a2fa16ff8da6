#include <cstdio>
#include <string>
#include <vector>

#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/serial_procedures.h"
#include "server/row_version.h"

namespace vym::server {

using item_catalogue::NumberOrNull;

namespace {

constexpr const char* kNotUnique = "The serial number you have provided is not unique.";

bool UnitExists(SqlSession& db, const vym::Value& item, const vym::Value& serial) {
    return !db.QueryValue("SELECT 1 FROM vym_item_stock_serial WHERE item_no = ? AND serial_id = ?",
                          {item, serial})
                .IsNull();
}

GuardedRow UnitRow(const vym::Value& item, const vym::Value& serial) {
    return {"vym_item_stock_serial", "item_no = ? AND serial_id = ?", {item, serial}, "serial"};
}

const std::vector<item_catalogue::Reference> kUnitReferences = {
    {"@status_id", "vym_serial_status", "status_id", "Status"},
    {"@location_id", "vym_location", "location_id", "Location"},
    {"@mounting_location_id", "vym_location", "location_id", "Mounting location"},
};

// Why the unit's references do not hold, or nullopt.
std::optional<std::string> BadUnit(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value item = call.Get("@item_no");
    if (db.QueryValue("SELECT 1 FROM vym_item_stock WHERE item_no = ? AND serialized <> 0", {item})
            .IsNull()) {
        return "Item " + NullToEmpty(item) + " is not a serialized stock item.";
    }
    if (TextOrNull(call, "@serial_id").IsNull()) {
        return std::string("Serial Id is required");
    }
    if (auto missing = item_catalogue::MissingReference(call, kUnitReferences)) {
        return missing;
    }
    const vym::Value binding = NumberOrNull(call, "@binding_item_no");
    if (!binding.IsNull() && !item_catalogue::RowExists(db, "vym_item_stock", "item_no", binding)) {
        return "Binding item " + binding.ToString() + " does not exist.";
    }
    const vym::Value format = NumberOrNull(call, "@print_format_no");
    if (!format.IsNull() &&
        !item_catalogue::RowExists(db, "vym_print_format", "format_no", format)) {
        return "Print format " + format.ToString() + " does not exist.";
    }
    return std::nullopt;
}

vym::Value Money(ProcedureContext& call, std::string_view name) {
    const auto amount = call.GetCurrency(name);
    return amount ? vym::Value(*amount) : vym::Value::Null();
}

// A new unit goes in only when no unit of the item has its id: the key
// decides, so a station that checked a moment before another saved still
// gets the refusal.
bool InsertUnit(ProcedureContext& call, const std::vector<vym::Value>& unit,
                const std::string& user) {
    SqlSession& db = call.Session();
    const std::string now = db.Engine().Now();
    auto insert = db.Prepare(
        "INSERT INTO vym_item_stock_serial (item_no, serial_id, mfg_serial, mounting_location_id, "
        "print_format_no, location_id, comment_note, binding_item_no, boot_length, status_id, "
        "original_cost, retail_price, depreciated_value, current_location_id, created_by, "
        "created_datetime, last_modified_by, last_modified_datetime) VALUES (?1, ?2, ?3, ?4, ?5, "
        "?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?6, ?14, " +
        now + ", ?14, " + now + ") ON CONFLICT (item_no, serial_id) DO NOTHING");
    int index = 0;
    for (const vym::Value& value : unit) {
        insert->Bind(++index, value);
    }
    insert->Bind(++index, vym::Value(user));
    insert->Step();
    insert.reset();
    return db.Changes() > 0;
}

bool UpdateUnit(ProcedureContext& call, const std::vector<vym::Value>& unit,
                const std::string& user) {
    SqlSession& db = call.Session();
    // A maker's serial that changed stops being a map of the unit.
    db.Run(
        "DELETE FROM vym_item_stock_serial_map WHERE item_no = ?1 AND serial_id = ?2 AND map_id = "
        "(SELECT mfg_serial FROM vym_item_stock_serial WHERE item_no = ?1 AND serial_id = ?2) "
        "AND map_id <> ?2 AND (?3 IS NULL OR map_id <> ?3)",
        {unit[0], unit[1], unit[2]});
    auto update = db.Prepare(
        "UPDATE vym_item_stock_serial SET mfg_serial = ?3, mounting_location_id = ?4, "
        "print_format_no = ?5, location_id = ?6, comment_note = ?7, binding_item_no = ?8, "
        "boot_length = ?9, status_id = ?10, original_cost = ?11, retail_price = ?12, "
        "depreciated_value = ?13, last_modified_by = ?14, last_modified_datetime = " +
        db.Engine().Now() + " WHERE item_no = ?1 AND serial_id = ?2");
    int index = 0;
    for (const vym::Value& value : unit) {
        update->Bind(++index, value);
    }
    update->Bind(++index, vym::Value(user));
    update->Step();
    update.reset();
    return db.Changes() > 0;
}

void UpdateItemStockSerial(ProcedureContext& call) {
    const bool isNew = call.GetLong("@insert").value_or(0) != 0;
    const GuardedRow row = UnitRow(call.Get("@item_no"), TextOrNull(call, "@serial_id"));
    if (!isNew && !RefuseIfRowChanged(call, row, "@message")) {
        return;
    }
    if (auto why = BadUnit(call)) {
        return Refuse(call, "@message", *why);
    }
    const std::string user = call.GetString("@vym_user").value_or(call.UserId());
    const std::vector<vym::Value> unit = {call.Get("@item_no"),
                                          TextOrNull(call, "@serial_id"),
                                          TextOrNull(call, "@mfg_serial"),
                                          TextOrNull(call, "@mounting_location_id"),
                                          NumberOrNull(call, "@print_format_no"),
                                          TextOrNull(call, "@location_id"),
                                          TextOrNull(call, "@comment_note"),
                                          NumberOrNull(call, "@binding_item_no"),
                                          call.Get("@boot_length"),
                                          TextOrNull(call, "@status_id"),
                                          Money(call, "@ORIGINAL_COST"),
                                          Money(call, "@RETAIL_PRICE"),
                                          Money(call, "@DEPRECIATED_VALUE")};
    if (!isNew && !ClaimRow(call, row, "@message")) {
        return;
    }
    if (isNew ? !InsertUnit(call, unit, user) : !UpdateUnit(call, unit, user)) {
        return Refuse(call, "@message",
                      isNew ? std::string(kNotUnique)
                            : "Serial " + unit[1].ToString() + " of item " + unit[0].ToString() +
                                  " no longer exists.");
    }
    SqlSession& db = call.Session();
    serial::AddMap(db, unit[0], unit[1], unit[1], user);
    serial::AddMap(db, unit[0], unit[1], unit[2], user);
    if (isNew) {
        ClaimRow(call, row, "@message");
    }
    call.SetReturnValue(0);
}

void DeleteSerial(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value serialId = TextOrNull(call, "@serial_id");
    const vym::Value item = NumberOrNull(call, "@item_no");
    const std::int32_t units =
        NullToZero(db.QueryValue("SELECT count(*) FROM vym_item_stock_serial WHERE serial_id = ?1 "
                                 "AND (item_no = ?2 OR ?2 IS NULL)",
                                 {serialId, item}))
            .ToLong();
    if (units == 0) {
        return Refuse(call, "@message", "Serial " + NullToEmpty(serialId) + " does not exist.");
    }
    if (units > 1) {
        return Refuse(call, "@message",
                      "Serial " + serialId.ToString() + " belongs to more than one item.");
    }
    const vym::Value contract = db.QueryValue(
        "SELECT contract_no FROM vym_rental_contract_line WHERE serial_id = ?1 AND "
        "(item_no = ?2 OR ?2 IS NULL) AND date_returned IS NULL",
        {serialId, item});
    if (!contract.IsNull()) {
        return Refuse(call, "@message",
                      "Serial " + serialId.ToString() + " is out on rental contract " +
                          contract.ToString() + " and cannot be deleted.");
    }
    const vym::Value itemNo = db.QueryValue(
        "SELECT item_no FROM vym_item_stock_serial WHERE serial_id = ?1 AND "
        "(item_no = ?2 OR ?2 IS NULL)",
        {serialId, item});
    db.Run("DELETE FROM vym_item_stock_serial_map WHERE item_no = ? AND serial_id = ?",
           {itemNo, serialId});
    db.Run("DELETE FROM vym_item_stock_serial WHERE item_no = ? AND serial_id = ?",
           {itemNo, serialId});
    call.SetReturnValue(0);
}

void InsertMapId(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value item = call.Get("@item_no");
    const vym::Value serialId = TextOrNull(call, "@serial_id");
    const vym::Value map = TextOrNull(call, "@map_id");
    if (map.IsNull() || !UnitExists(db, item, serialId)) {
        return Refuse(call, "@message", "Item and Serial Id are required before providing map ids");
    }
    if (std::string("SCPI#").find(map.ToString().front()) != std::string::npos) {
        return Refuse(call, "@message", "Maps can not begin with reserved characters (S,C,P,I,#).");
    }
    const vym::Value owner = db.QueryValue(
        "SELECT serial_id FROM vym_item_stock_serial_map WHERE item_no = ? AND map_id = ?",
        {item, map});
    if (!owner.IsNull()) {
        return Refuse(
            call, "@message",
            "The map " + map.ToString() + " already belongs to serial " + owner.ToString() + ".");
    }
    serial::AddMap(db, item, serialId, map, call.UserId());
    call.SetReturnValue(0);
}

void DeleteMapId(ProcedureContext& call) {
    const std::int64_t gone = call.Session().Run(
        "DELETE FROM vym_item_stock_serial_map WHERE item_no = ? AND serial_id = ? AND map_id = ?",
        {call.Get("@item_no"), TextOrNull(call, "@serial_id"), TextOrNull(call, "@map_id")});
    if (gone == 0) {
        return Refuse(
            call, "@message",
            "The map " + NullToEmpty(call.Get("@map_id")) + " is not a map of this serial.");
    }
    call.SetReturnValue(0);
}

void GenerateUniqueSerial(ProcedureContext& call) {
    const std::string location = call.GetString("@location_id").value_or("");
    if (location.empty()) {
        return Refuse(call, "@message",
                      "You must assign a location before a serial number can be generated.");
    }
    const std::string id =
        serial::NextUniqueSerial(call.Session(), call.GetLong("@item_no").value_or(0), location);
    if (id.empty()) {
        return Refuse(call, "@message",
                      "Item " + NullToEmpty(call.Get("@item_no")) + " is not a stock item.");
    }
    call.SetOutput("@serial_id", id);
    call.SetReturnValue(0);
}

void RegisterChecks(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_SERIAL_IsSerialUnique",
                {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30)},
                [](ProcedureContext& call) {
                    call.SetReturnValue(UnitExists(call.Session(), call.Get("@item_no"),
                                                   TextOrNull(call, "@serial_id"))
                                            ? -1
                                            : 0);
                });
    // Another unit of the item with the maker's serial.
    catalog.Add("VYM_SP_SERIAL_IsMfgSerialUnique",
                {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30),
                 In("@mfg_serial", DataType::VarChar, 30)},
                [](ProcedureContext& call) {
                    const vym::Value other = call.Session().QueryValue(
                        "SELECT 1 FROM vym_item_stock_serial WHERE item_no = ?1 AND "
                        "mfg_serial = ?2 AND (?3 IS NULL OR serial_id <> ?3)",
                        {call.Get("@item_no"), TextOrNull(call, "@mfg_serial"),
                         TextOrNull(call, "@serial_id")});
                    call.SetReturnValue(other.IsNull() ? 0 : -1);
                });
}

}  // namespace

namespace serial {

std::string NextUniqueSerial(SqlSession& db, std::int32_t itemNo, const std::string& locationId) {
    const vym::Value prefix = db.QueryValue(
        "SELECT COALESCE(m.model_serial_prefix, '') || COALESCE((SELECT l.serial_prefix FROM "
        "vym_location l WHERE l.location_id = ?2), '') FROM vym_item_stock st LEFT JOIN "
        "vym_item_stock_model m ON m.model_id = st.model_id WHERE st.item_no = ?1",
        {itemNo, locationId});
    if (prefix.IsNull()) {
        return {};
    }
    // Items without prefixes number their units under the item's number.
    const std::string stem =
        prefix.ToString().empty() ? std::to_string(itemNo) + "-" : prefix.ToString();
    const std::string sequence = "SERIAL " + stem;
    db.Run(
        "INSERT INTO vym_sequence (sequence_name, last_value) VALUES (?, 0)"
        " ON CONFLICT (sequence_name) DO NOTHING",
        {sequence});
    // Ids typed by hand may have taken numbers of the sequence: skip those.
    for (;;) {
        const std::int32_t next =
            db.QueryValue(
                  "UPDATE vym_sequence SET last_value = last_value + 1 WHERE sequence_name = ?"
                  " RETURNING last_value",
                  {sequence})
                .ToLong();
        char number[16];
        std::snprintf(number, sizeof number, "%05d", next);
        const std::string id = stem + number;
        if (!UnitExists(db, itemNo, id)) {
            return id;
        }
    }
}

void AddMap(SqlSession& db, const vym::Value& item, const vym::Value& serial, const vym::Value& map,
            const std::string& user) {
    if (map.IsNull()) {
        return;
    }
    db.Run(
        "INSERT INTO vym_item_stock_serial_map (item_no, map_id, serial_id, vym_user) "
        "VALUES (?, ?, ?, ?) ON CONFLICT (item_no, map_id) DO NOTHING",
        {item, map, serial, user});
}

void RegisterSerialWrites(ProcedureCatalog& catalog) {
    RegisterChecks(catalog);
    catalog.Add(
        "VYM_SP_SERIAL_UpdateItemStockSerial",
        {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30),
         In("@mfg_serial", DataType::VarChar, 30),
         In("@mounting_location_id", DataType::VarChar, 10),
         In("@print_format_no", DataType::Integer), In("@location_id", DataType::VarChar, 10),
         In("@comment_note", DataType::VarChar, 255), In("@binding_item_no", DataType::Integer),
         In("@boot_length", DataType::SmallInt), In("@vym_user", DataType::VarChar, 20),
         In("@insert", DataType::SmallInt), In("@status_id", DataType::VarChar, 10),
         In("@ORIGINAL_COST", DataType::Currency), In("@RETAIL_PRICE", DataType::Currency),
         In("@DEPRECIATED_VALUE", DataType::Currency), Out("@message", DataType::VarChar, 255),
         RowVersionParameter()},
        UpdateItemStockSerial);
    // The console's prices are a save of the unit too: its version moves on,
    // so that an editor open on the unit elsewhere does not write over them.
    catalog.Add(
        "VYM_SP_SERIAL_OPTIONALPRICE_update",
        {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30),
         In("@depreciated_value", DataType::Currency), In("@original_cost", DataType::Currency),
         In("@retail_price", DataType::Currency), Out("@message", DataType::VarChar, 255),
         RowVersionParameter()},
        [](ProcedureContext& call) {
            if (!ClaimRow(call, UnitRow(call.Get("@item_no"), TextOrNull(call, "@serial_id")),
                          "@message")) {
                return;
            }
            const std::int64_t changed = call.Session().Run(
                "UPDATE vym_item_stock_serial SET depreciated_value = ?, "
                "original_cost = ?, retail_price = ? WHERE item_no = ? AND serial_id = ?",
                {Money(call, "@depreciated_value"), Money(call, "@original_cost"),
                 Money(call, "@retail_price"), call.Get("@item_no"),
                 TextOrNull(call, "@serial_id")});
            call.SetReturnValue(changed > 0 ? 0 : -1);
        });
    // @item_no is optional: a serial id alone names the unit when only one
    // item has it.
    catalog.Add("VYM_SP_SERIAL_DeleteSerial",
                {In("@serial_id", DataType::VarChar, 30), In("@vym_user", DataType::VarChar, 20),
                 Out("@message", DataType::VarChar, 255), In("@item_no", DataType::Integer)},
                DeleteSerial);
    catalog.Add("VYM_SP_SERIAL_GenerateUniqueSerial",
                {In("@item_no", DataType::Integer), In("@location_id", DataType::VarChar, 10),
                 Out("@serial_id", DataType::VarChar, 30), Out("@message", DataType::VarChar, 255)},
                GenerateUniqueSerial);
    catalog.Add("VYM_SP_SERIAL_InsertStockSerialMapIds",
                {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30),
                 In("@map_id", DataType::VarChar, 30), Out("@message", DataType::VarChar, 255)},
                InsertMapId);
    catalog.Add("VYM_SP_SERIAL_DeleteStockSerialMapIds",
                {In("@item_no", DataType::Integer), In("@serial_id", DataType::VarChar, 30),
                 In("@map_id", DataType::VarChar, 30), Out("@message", DataType::VarChar, 255)},
                DeleteMapId);
}

}  // namespace serial

}  // namespace vym::server
