#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "server/procedures/item_catalogue_support.h"
#include "server/row_version.h"

namespace vym::server::item_catalogue {
namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The item editor offers these functions and categories even where the
// support tables do not list them, so a save must accept them.
bool IsBuiltInFunction(const std::string& function) {
    return function == "STOCK" || function == "RENTAL" || function == "PHOTO" || function == "SS";
}
bool IsBuiltInCatagory(const std::string& function, const std::string& catagory) {
    return (function == "STOCK" && catagory == "STOCK") ||
           (function == "PHOTO" && catagory == "SHIP") ||
           (function == "RENTAL" && catagory == "RENTAL");
}

using Check = std::optional<std::string>;

// What one item type adds to the common save.
struct DetailSave {
    const char* itemType = nullptr;  // nullptr: the save of an item without detail
    std::function<Check(ProcedureContext&)> check;
    std::function<void(ProcedureContext&, std::int32_t)> write;
};

// A reference that must exist when given; nullopt when it does.
Check Missing(SqlSession& session, const vym::Value& value, std::string_view table,
              std::string_view column, const std::string& what) {
    if (value.IsNull() || RowExists(session, table, column, value)) {
        return std::nullopt;
    }
    return what + " " + value.ToString() + " does not exist.";
}

Check CheckCommon(ProcedureContext& call, const char* procedureType) {
    SqlSession& db = call.Session();
    const std::string type = Upper(call.GetString("@item_type").value_or(""));
    static constexpr std::array<const char*, 6> kTypes = {"TICKET", "STOCK", "SS",
                                                          "PHOTO",  "SHIP",  "RENTAL"};
    if (std::find(kTypes.begin(), kTypes.end(), type) == kTypes.end()) {
        return "Item type " + type + " is not a valid item type.";
    }
    if (procedureType != nullptr && type != procedureType) {
        return "A " + type + " item can not be saved as a " + procedureType + " item.";
    }
    const std::int32_t itemNo = call.GetLong("@item_no").value_or(0);
    if (itemNo != 0) {
        const vym::Value stored =
            db.QueryValue("SELECT item_type FROM vym_item WHERE item_no = ?", {itemNo});
        if (stored.IsNull()) {
            return "Item " + std::to_string(itemNo) + " does not exist.";
        }
        if (Upper(stored.ToString()) != type) {
            return "The type of item " + std::to_string(itemNo) + " can not be changed from " +
                   stored.ToString() + " to " + type + ".";
        }
    }
    if (call.GetString("@short_description").value_or("").empty()) {
        return std::string("Short description is required.");
    }
    const std::string function = Upper(call.GetString("@function_id").value_or(""));
    if (function.empty()) {
        return std::string("Function is required.");
    }
    if (!IsBuiltInFunction(function) && !RowExists(db, "vym_function", "function_id", function)) {
        return "Function " + function + " does not exist.";
    }
    const std::string catagory = Upper(call.GetString("@catagory_id").value_or(""));
    if (!catagory.empty() && !IsBuiltInCatagory(function, catagory) &&
        db.QueryValue("SELECT 1 FROM vym_catagory WHERE function_id = ? AND catagory_id = ?",
                      {function, catagory})
            .IsNull()) {
        return "Catagory " + catagory + " does not exist for function " + function + ".";
    }
    const vym::Value redeem = NumberOrNull(call, "@redeem_item");
    if (!redeem.IsNull() && redeem.ToLong() == itemNo) {
        return std::string("An item can not be redeemed for itself.");
    }
    if (auto m = Missing(db, redeem, "vym_item", "item_no", "Redemption item")) {
        return m;
    }
    if (auto m = Missing(db, TextOrNull(call, "@department_id"), "vym_department", "department_id",
                         "Department")) {
        return m;
    }
    if (auto m = Missing(db, TextOrNull(call, "@sale_profile_id"), "vym_profile", "profile_id",
                         "Sale profile")) {
        return m;
    }
    return Missing(db, TextOrNull(call, "@return_profile_id"), "vym_profile", "profile_id",
                   "Return profile");
}

GuardedRow ItemRow(std::int32_t itemNo) {
    return {"vym_item", "item_no = ?", {itemNo}, "item"};
}

// Inserts the item (number 0) or updates it; returns its number.
std::int32_t WriteItem(ProcedureContext& call, std::int32_t itemNo, const vym::Value& instruction) {
    SqlSession& db = call.Session();
    const std::string status = call.GetString("@status_id").value_or("");
    const std::initializer_list<vym::Value> values = {
        Upper(call.GetString("@item_type").value_or("")),
        Upper(call.GetString("@function_id").value_or("")),
        TextOrNull(call, "@catagory_id"),
        call.Get("@short_description"),
        call.Get("@long_description"),
        TextOrNull(call, "@tree_icon"),
        TextOrNull(call, "@department_id"),
        call.GetBool("@host_required").value_or(false),
        NumberOrNull(call, "@redeem_item"),
        call.GetBool("@taxable").value_or(false),
        status.empty() ? std::string("ACTIVE") : status,
        instruction,
        call.Get("@comment_note"),
        call.Get("@report_note"),
        call.GetBool("@unit_based_return").value_or(false),
        call.GetDouble("@return_charge_rate").value_or(0.0),
        call.GetBool("@maintain_inventory").value_or(false),
        call.GetBool("@show_on_tree").value_or(false),
        TextOrNull(call, "@sale_profile_id"),
        TextOrNull(call, "@return_profile_id"),
        TextOrNull(call, "@vym_user")};
    constexpr const char* kColumns =
        "item_type, function_id, catagory_id, short_description, long_description, "
        "tree_icon, department_id, host_required, redeem_item, taxable, status_id, "
        "instruction_no, comment_note, report_note, unit_based_return, return_charge_rate, "
        "maintain_inventory, show_on_tree, sale_profile_id, return_profile_id, vym_user";
    if (itemNo == 0) {
        auto insert = db.Prepare(std::string("INSERT INTO vym_item (") + kColumns +
                                 ", create_date, update_date) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, " +
                                 db.Engine().Now() + ", " + db.Engine().Now() + ")");
        insert->BindAll(values);
        insert->Step();
        itemNo = static_cast<std::int32_t>(db.LastInsertId());
        // The item's own number is always one of its map ids, so it can be scanned.
        db.Run(
            "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) "
            "VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
            {std::to_string(itemNo), itemNo, TextOrNull(call, "@vym_user")});
        ClaimRow(call, ItemRow(itemNo), kMessage);
    } else {
        auto update = db.Prepare(
            "UPDATE vym_item SET item_type = ?, function_id = ?, catagory_id = ?, "
            "short_description = ?, long_description = ?, tree_icon = ?, department_id = ?, "
            "host_required = ?, redeem_item = ?, taxable = ?, status_id = ?, "
            "instruction_no = ?, comment_note = ?, report_note = ?, unit_based_return = ?, "
            "return_charge_rate = ?, maintain_inventory = ?, show_on_tree = ?, "
            "sale_profile_id = ?, return_profile_id = ?, vym_user = ?, update_date = " +
            db.Engine().Now() + " WHERE item_no = ?");
        update->BindAll(values);
        update->Bind(static_cast<int>(values.size()) + 1, itemNo);
        update->Step();
    }
    return itemNo;
}

void Save(ProcedureContext& call, const DetailSave& detail) {
    SqlSession& db = call.Session();
    std::int32_t itemNo = call.GetLong("@item_no").value_or(0);
    if (itemNo != 0 && !RefuseIfRowChanged(call, ItemRow(itemNo), kMessage)) {
        return;
    }
    Check refusal = CheckCommon(call, detail.itemType);
    if (!refusal && detail.check) {
        refusal = detail.check(call);
    }
    if (refusal) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (itemNo != 0 && !ClaimRow(call, ItemRow(itemNo), kMessage)) {
        return;
    }

    const vym::Value previousInstruction =
        itemNo == 0
            ? vym::Value::Null()
            : db.QueryValue("SELECT instruction_no FROM vym_item WHERE item_no = ?", {itemNo});
    const vym::Value instruction = WriteInstruction(call, previousInstruction);
    itemNo = WriteItem(call, itemNo, instruction);
    DeleteDroppedInstruction(db, previousInstruction, instruction);
    if (detail.write) {
        detail.write(call, itemNo);
    }
    call.SetOutput("@item_no", itemNo);
    call.SetOutput("@instruction_no", instruction);
    call.SetOutput(kMessage, std::string());
}

// Makes sure the detail row exists, then sets its columns.
void WriteDetail(SqlSession& db, std::string_view table, std::int32_t itemNo,
                 const std::string& assignments, std::initializer_list<vym::Value> values) {
    db.Run("INSERT INTO " + std::string(table) +
               " (item_no) VALUES (?) ON CONFLICT (item_no) DO NOTHING",
           {itemNo});
    auto update =
        db.Prepare("UPDATE " + std::string(table) + " SET " + assignments + " WHERE item_no = ?");
    update->BindAll(values);
    update->Bind(static_cast<int>(values.size()) + 1, itemNo);
    update->Step();
}

Check CheckFormatAndRule(ProcedureContext& call) {
    if (auto m = Missing(call.Session(), NumberOrNull(call, "@format_no"), "vym_print_format",
                         "format_no", "Print format")) {
        return m;
    }
    return Missing(call.Session(), NumberOrNull(call, "@access_rule_no"), "vym_access_rule",
                   "access_rule_no", "Access rule");
}

void SetItemFormat(ProcedureContext& call, std::int32_t itemNo) {
    call.Session().Run("UPDATE vym_item SET format_no = ? WHERE item_no = ?",
                       {NumberOrNull(call, "@format_no"), itemNo});
}

template <class... Own>
void AddItemSave(ProcedureCatalog& catalog, std::string name, DetailSave detail, Own... own) {
    catalog.Add(std::move(name),
                {own...,
                 In("@vym_user", DataType::VarChar, 20),
                 InOut("@item_no", DataType::Integer),
                 In("@item_type", DataType::VarChar, 10),
                 In("@function_id", DataType::VarChar, 10),
                 In("@catagory_id", DataType::VarChar, 10),
                 In("@short_description", DataType::VarChar, 30),
                 In("@long_description", DataType::VarChar, 80),
                 In("@tree_icon", DataType::VarChar, 10),
                 In("@department_id", DataType::VarChar, 10),
                 In("@host_required", DataType::Boolean),
                 In("@redeem_item", DataType::Integer),
                 In("@taxable", DataType::Boolean),
                 In("@status_id", DataType::VarChar, 10),
                 In("@comment_note", DataType::VarChar, 255),
                 In("@report_note", DataType::VarChar, 255),
                 In("@unit_based_return", DataType::Boolean),
                 In("@return_charge_rate", DataType::Double),
                 In("@maintain_inventory", DataType::Boolean),
                 In("@show_on_tree", DataType::Boolean),
                 In("@sale_profile_id", DataType::VarChar, 10),
                 In("@return_profile_id", DataType::VarChar, 10),
                 InOut("@instruction_no", DataType::Integer),
                 In("@instruction_body", DataType::LongVarChar),
                 Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                [detail = std::move(detail)](ProcedureContext& call) { Save(call, detail); });
}

void WriteTicket(ProcedureContext& call, std::int32_t itemNo) {
    WriteDetail(call.Session(), "vym_item_ticket", itemNo,
                "access_rule_no = ?, access_trans_type_id = ?, use_negative_format = ?, "
                "serialized = ?",
                {call.Get("@access_rule_no"), call.Get("@access_trans_type_id"),
                 call.GetBool("@use_negative_format").value_or(false),
                 call.GetBool("@serialized").value_or(false)});
    SetItemFormat(call, itemNo);
}

void WriteSkiSchool(ProcedureContext& call, std::int32_t itemNo) {
    WriteDetail(
        call.Session(), "vym_item_ss", itemNo,
        "labor_code_id = ?, event_type_id = ?, serialized = ?, access_rule_no = ?, "
        "access_trans_type_id = ?, confirmation_letter_report = ?, "
        "resource_type_id = ?, lesson_code_id = ?, labor_hours = ?, "
        "schedule_hours = ?",
        {TextOrNull(call, "@labor_code_id"), TextOrNull(call, "@event_type_id"),
         call.GetBool("@serialized").value_or(false), NumberOrNull(call, "@access_rule_no"),
         TextOrNull(call, "@access_trans_type_id"), TextOrNull(call, "@confirmation_letter_report"),
         TextOrNull(call, "@resource_type_id"), TextOrNull(call, "@lesson_code_id"),
         call.GetLong("@labor_hours").value_or(0), call.GetLong("@schedule_hours").value_or(0)});
    SetItemFormat(call, itemNo);
}

void WritePhoto(ProcedureContext& call, std::int32_t itemNo) {
    WriteDetail(
        call.Session(), "vym_item_photo", itemNo,
        "photo_size_id = ?, auto_rush = ?, mail_not_allowed = ?, "
        "require_ship_charge = ?, lab_code_id = ?",
        {TextOrNull(call, "@photo_size_id"), call.GetBool("@auto_rush").value_or(false),
         call.GetBool("@mail_not_allowed").value_or(false),
         call.GetBool("@require_ship_charge").value_or(false), TextOrNull(call, "@lab_code_id")});
}

void WriteShip(ProcedureContext& call, std::int32_t itemNo) {
    WriteDetail(call.Session(), "vym_item_ship", itemNo, "rush = ?, pickup = ?",
                {call.GetBool("@rush").value_or(false), call.GetBool("@pickup").value_or(false)});
}

Check CheckRental(ProcedureContext& call) {
    return Missing(call.Session(), TextOrNull(call, "@report_department_id"),
                   "vym_report_department", "report_department_id", "Reporting department");
}

void WriteRental(ProcedureContext& call, std::int32_t itemNo) {
    WriteDetail(
        call.Session(), "vym_item_rental", itemNo,
        "report_department_id = ?, report_sub_department_id = ?, unit_price = ?, "
        "min_price = ?, allow_line_discount = ?, allow_seller_pricing = ?, "
        "is_package = ?, season_rental = ?",
        {TextOrNull(call, "@report_department_id"), TextOrNull(call, "@report_sub_department_id"),
         call.GetDouble("@unit_price").value_or(0.0), call.GetDouble("@min_price").value_or(0.0),
         call.GetBool("@allow_line_discount").value_or(false),
         call.GetBool("@allow_seller_pricing").value_or(false),
         call.GetBool("@is_package").value_or(false),
         call.GetBool("@season_rental").value_or(false)});
}

Check CheckStock(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::string rentalType = Upper(call.GetString("@rental_type").value_or(""));
    if (!rentalType.empty() && rentalType != "RETAIL" && rentalType != "RENTAL") {
        return "Rental type " + rentalType + " is not RETAIL or RENTAL.";
    }
    if (auto m = MissingReference(call, kStockReferences)) {
        return m;
    }
    if (auto m =
            Missing(db, TextOrNull(call, "@base_uom_id"), "vym_uom", "uom_id", "Unit of measure")) {
        return m;
    }
    return Missing(db, NumberOrNull(call, "@format_no"), "vym_print_format", "format_no",
                   "Print format");
}

void WriteStock(ProcedureContext& call, std::int32_t itemNo) {
    SqlSession& db = call.Session();
    WriteDetail(db, "vym_item_stock", itemNo,
                "stock_type_id = ?, serialized = ?, format_no = ?, stock_size = ?, attribute = ?, "
                "style = ?, manufacturer = ?, model_id = ?, min_price = ?, unit_price = ?, "
                "allow_line_discount = ?, allow_seller_pricing = ?, base_uom_id = ?, "
                "current_cost = ?, min_qty = ?, vendor_id = ?, rental_type = ?, "
                "report_department_id = ?, report_sub_department_id = ?, group_no = ?, "
                "stock_size_type_id = ?, serial_type_id = ?, binding_type_id = ?, boot_length = ?, "
                "upc_code = ?",
                {TextOrNull(call, "@stock_type_id"),
                 call.GetLong("@serialized").value_or(0) != 0,
                 NumberOrNull(call, "@format_no"),
                 TextOrNull(call, "@stock_size"),
                 TextOrNull(call, "@attribute"),
                 TextOrNull(call, "@style"),
                 TextOrNull(call, "@manufacturer"),
                 TextOrNull(call, "@model_id"),
                 call.GetDouble("@min_price").value_or(0.0),
                 call.GetDouble("@unit_price").value_or(0.0),
                 call.GetLong("@allow_line_discount").value_or(0) != 0,
                 call.GetLong("@allow_seller_pricing").value_or(0) != 0,
                 TextOrNull(call, "@base_uom_id"),
                 call.GetDouble("@current_cost").value_or(0.0),
                 call.GetLong("@min_qty").value_or(0),
                 TextOrNull(call, "@vendor_id"),
                 TextOrNull(call, "@rental_type"),
                 TextOrNull(call, "@report_department_id"),
                 TextOrNull(call, "@report_sub_department_id"),
                 NumberOrNull(call, "@group_no"),
                 TextOrNull(call, "@stock_size_type_id"),
                 TextOrNull(call, "@serial_type_id"),
                 TextOrNull(call, "@binding_type_id"),
                 call.GetLong("@boot_length").value_or(0),
                 TextOrNull(call, "@upc_code")});
    db.Run("UPDATE vym_item_stock SET stock_id = ? WHERE item_no = ? AND stock_id IS NULL",
           {std::to_string(itemNo), itemNo});
}

// The columns of a table other than those named, in table order.
std::vector<std::string> ColumnsExcept(SqlSession& db, std::string_view table,
                                       std::initializer_list<std::string_view> except) {
    std::vector<std::string> columns;
    auto info = db.Prepare(db.Engine().TableColumnsSql());
    info->Bind(1, std::string(table));
    while (info->Step()) {
        std::string name(info->ColumnText(0));
        if (std::find(except.begin(), except.end(), name) == except.end()) {
            columns.push_back(std::move(name));
        }
    }
    return columns;
}

// Copies the rows of `table` whose `key` is `from` as rows of `to`.
void CopyRows(SqlSession& db, std::string_view table, std::string_view key, std::int32_t from,
              std::int32_t to) {
    std::string list;
    for (const std::string& column : ColumnsExcept(db, table, {key})) {
        list += ", " + column;
    }
    db.Run("INSERT INTO " + std::string(table) + " (" + std::string(key) + list + ") SELECT ?" +
               list + " FROM " + std::string(table) + " WHERE " + std::string(key) + " = ?",
           {to, from});
}

void CreateCopy(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t from = call.GetLong("@item_no").value_or(0);
    if (auto missing = CheckItemExists(db, from)) {
        Refuse(call, kMessage, *missing);
        return;
    }
    const vym::Value user = TextOrNull(call, "@new_vym_user");
    std::string list;
    for (const std::string& column :
         ColumnsExcept(db, "vym_item",
                       {"item_no", "instruction_no", "vym_user", "create_date", "update_date",
                        "row_version", "row_saved_by", "row_saved_at"})) {
        list += column + ", ";
    }
    // The copy is a row of its own: saved once, by whoever made it.
    db.Run("INSERT INTO vym_item (" + list +
               "vym_user, create_date, update_date, row_saved_by, row_saved_at) SELECT " + list +
               "?, " + db.Engine().Now() + ", " + db.Engine().Now() + ", ?, " + db.Engine().Now() +
               " FROM vym_item WHERE item_no = ?",
           {user, call.UserId(), from});
    const auto to = static_cast<std::int32_t>(db.LastInsertId());
    const vym::Value body = db.QueryValue(
        "SELECT n.instruction_body FROM vym_item i JOIN vym_item_instruction n "
        "ON n.instruction_no = i.instruction_no WHERE i.item_no = ?",
        {from});
    if (!body.IsNull()) {
        db.Run("INSERT INTO vym_item_instruction (instruction_body) VALUES (?)", {body});
        db.Run("UPDATE vym_item SET instruction_no = ? WHERE item_no = ?",
               {vym::Value::FromInt64(db.LastInsertId()), to});
    }
    for (const char* table : {"vym_item_ticket", "vym_item_ss", "vym_item_photo", "vym_item_ship",
                              "vym_item_rental", "vym_item_stock", "vym_register_group_item",
                              "vym_item_stock_rental", "vym_item_rental_detail"}) {
        CopyRows(db, table, "item_no", from, to);
    }
    CopyRows(db, "vym_extension", "parent_item_no", from, to);
    CopyRows(db, "vym_item_add_on", "parent_item_no", from, to);
    db.Run("UPDATE vym_item_stock SET stock_id = ? WHERE item_no = ?", {std::to_string(to), to});
    db.Run(
        "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) "
        "VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
        {std::to_string(to), to, user});
    call.SetOutput("@new_item_no", to);
    call.SetOutput(kMessage, std::string());
}

}  // namespace

void RegisterUpdates(ProcedureCatalog& catalog) {
    AddItemSave(catalog, "vym_sp_ITEM_UpdateItem", DetailSave{});
    AddItemSave(
        catalog, "VYM_SP_ITEM_UpdateItemTicket", {"TICKET", CheckFormatAndRule, WriteTicket},
        In("@access_rule_no", DataType::Integer),
        In("@access_trans_type_id", DataType::VarChar, 10), In("@format_no", DataType::Integer),
        In("@use_negative_format", DataType::Boolean), In("@serialized", DataType::Boolean));
    AddItemSave(catalog, "VYM_SP_ITEM_UpdateItemSS", {"SS", CheckFormatAndRule, WriteSkiSchool},
                In("@format_no", DataType::Integer), In("@labor_code_id", DataType::VarChar, 10),
                In("@event_type_id", DataType::VarChar, 10), In("@serialized", DataType::Boolean),
                In("@access_rule_no", DataType::Integer),
                In("@access_trans_type_id", DataType::VarChar, 10),
                In("@confirmation_letter_report", DataType::VarChar, 60),
                In("@resource_type_id", DataType::VarChar, 10),
                In("@lesson_code_id", DataType::VarChar, 10),
                In("@labor_hours", DataType::SmallInt), In("@schedule_hours", DataType::SmallInt));
    AddItemSave(catalog, "VYM_SP_ITEM_UpdateItemPhoto", {"PHOTO", {}, WritePhoto},
                In("@photo_size_id", DataType::VarChar, 10), In("@auto_rush", DataType::Boolean),
                In("@mail_not_allowed", DataType::Boolean),
                In("@require_ship_charge", DataType::Boolean),
                In("@lab_code_id", DataType::VarChar, 10));
    AddItemSave(catalog, "VYM_SP_ITEM_UpdateItemShip", {"SHIP", {}, WriteShip},
                In("@rush", DataType::Boolean), In("@pickup", DataType::Boolean));
    AddItemSave(catalog, "VYM_SP_ITEM_UpdateItemRental", {"RENTAL", CheckRental, WriteRental},
                In("@report_department_id", DataType::VarChar, 10),
                In("@report_sub_department_id", DataType::VarChar, 10),
                In("@unit_price", DataType::Double), In("@min_price", DataType::Double),
                In("@allow_line_discount", DataType::Boolean),
                In("@allow_seller_pricing", DataType::Boolean),
                In("@is_package", DataType::Boolean), In("@season_rental", DataType::Boolean));
    AddItemSave(
        catalog, "vym_sp_ITEM_UpdateItemStock", {"STOCK", CheckStock, WriteStock},
        In("@stock_type_id", DataType::VarChar, 10), In("@serialized", DataType::SmallInt),
        In("@format_no", DataType::Integer), In("@stock_size", DataType::VarChar, 10),
        In("@attribute", DataType::VarChar, 30), In("@style", DataType::VarChar, 30),
        In("@manufacturer", DataType::VarChar, 30), In("@model_id", DataType::VarChar, 20),
        In("@min_price", DataType::Double), In("@unit_price", DataType::Double),
        In("@allow_line_discount", DataType::SmallInt),
        In("@allow_seller_pricing", DataType::SmallInt), In("@base_uom_id", DataType::VarChar, 10),
        In("@current_cost", DataType::Double), In("@min_qty", DataType::SmallInt),
        In("@vendor_id", DataType::VarChar, 15), In("@rental_type", DataType::VarChar, 10),
        In("@report_department_id", DataType::VarChar, 10),
        In("@report_sub_department_id", DataType::VarChar, 10), In("@group_no", DataType::Integer),
        In("@stock_size_type_id", DataType::VarChar, 10),
        In("@serial_type_id", DataType::VarChar, 10), In("@binding_type_id", DataType::VarChar, 10),
        In("@boot_length", DataType::SmallInt), In("@upc_code", DataType::VarChar, 30));

    catalog.Add("VYM_SP_ITEM_CreateCopy",
                {In("@item_no", DataType::Integer), In("@new_vym_user", DataType::VarChar, 20),
                 Out("@new_item_no", DataType::Integer), Out(kMessage, DataType::VarChar, 255)},
                CreateCopy);
}

}  // namespace vym::server::item_catalogue
