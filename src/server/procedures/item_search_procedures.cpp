#include "server/procedures/item_search_procedures.h"

#include <utility>
#include <vector>

#include "server/procedure_context.h"
#include "server/sql_engine.h"

namespace vym::server {
namespace {

// A search being put together: where its rows come from, its conditions and
// the values they bind, in order.
class Search {
  public:
    Search(const SqlEngine& engine, std::string from) : engine_(&engine), from_(std::move(from)) {}

    const SqlEngine& Engine() const { return *engine_; }

    void Where(std::string condition, std::vector<vym::Value> values = {}) {
        conditions_.push_back(std::move(condition));
        for (vym::Value& value : values) {
            values_.push_back(std::move(value));
        }
    }

    // A description long enough for the trigram index drives the search from
    // the index, so only matching items are read; the cross join keeps the
    // planner from probing the index once per item instead.
    void MatchDescription(const std::string& text) {
        if (FindsNothing(text)) {
            return;
        }
        if (UsesDescriptionIndex(text)) {
            const SqlEngine::TrigramSearch search = engine_->DescriptionSearch();
            from_ = search.join + from_;
            Where(search.condition, {engine_->TrigramArgument(text)});
            // The index hands its matches out by item number: kept, so that
            // the first rows come without sorting every match.
            order_ = search.order;
        } else {
            Where(engine_->Contains("i.long_description", "?"), {text});
        }
    }

    // Rows whose `column` holds the text, ignoring case.
    void MatchContains(std::string_view column, const std::string& text) {
        if (!FindsNothing(text)) {
            Where(engine_->Contains(column, "?"), {text});
        }
    }

    const std::string& From() const { return from_; }
    std::string WhereClause() const {
        std::string clause;
        for (const std::string& condition : conditions_) {
            clause += clause.empty() ? " WHERE " : " AND ";
            clause += condition;
        }
        return clause;
    }
    const std::vector<vym::Value>& Values() const { return values_; }

    std::int32_t Count(SqlSession& session) const {
        auto statement = session.Prepare("SELECT count(*) FROM " + from_ + WhereClause());
        statement->BindAll(values_);
        statement->Step();
        return static_cast<std::int32_t>(statement->ColumnInt64(0));
    }

    // The number of matches goes to @RETURN_VALUE; the rows are read only as
    // the caller walks them, so asking how many costs no row.
    void Answer(ProcedureContext& call, const std::string& columns, const std::string& joins,
                const std::string& orderBy, std::vector<vym::Value> columnValues = {}) const {
        call.SetReturnValue(Count(call.Session()));
        for (const vym::Value& value : values_) {
            columnValues.push_back(value);
        }
        call.EmitResultSet("SELECT " + columns + " FROM " + from_ + joins + WhereClause() +
                               " ORDER BY " + (order_.empty() ? orderBy : order_),
                           columnValues);
    }

  private:
    // A NUL ends a text on PostgreSQL and the full-text query on SQLite. No
    // one types one into a description, so on both engines a text holding
    // one finds nothing, quietly, before either engine sees it.
    bool FindsNothing(const std::string& text) {
        if (text.find('\0') == std::string::npos) {
            return false;
        }
        Where("1 = 0");
        return true;
    }

    const SqlEngine* engine_;
    std::string from_;
    std::string order_;  // the order of the driving index, when it decides
    std::vector<std::string> conditions_;
    std::vector<vym::Value> values_;
};

std::optional<std::string> Text(const ProcedureContext& call, std::string_view name) {
    auto text = call.GetString(name);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return text;
}

vym::Value TextValue(const ProcedureContext& call, std::string_view name) {
    const auto text = Text(call, name);
    return text ? vym::Value(*text) : vym::Value::Null();
}

// Criteria every item tab shares.
void AddItemCriteria(const ProcedureContext& call, Search& search) {
    if (const auto number = call.GetLong("@item_no")) {
        search.Where("i.item_no = ?", {*number});
    }
    if (const auto description = Text(call, "@description")) {
        search.MatchDescription(*description);
    }
    if (const auto function = Text(call, "@function_id")) {
        search.Where("i.function_id = ?", {*function});
    }
    if (const auto catagory = Text(call, "@catagory_id")) {
        search.Where("i.catagory_id = ?", {*catagory});
    }
    if (const auto status = Text(call, "@status_id")) {
        search.Where("i.status_id = ?", {*status});
    }
}

void AddRegisterGroupCriterion(const ProcedureContext& call, Search& search) {
    if (const auto group = Text(call, "@register_group_id")) {
        search.Where(
            "EXISTS (SELECT 1 FROM vym_register_group_item g WHERE g.item_no = i.item_no "
            "AND g.register_group_id = ?)",
            {*group});
    }
}

// Columns every item tab returns: what a result row shows of any item.
const std::string kItemColumns =
    "i.item_no, i.item_type, i.function_id, i.catagory_id, i.long_description, i.status_id, "
    "i.item_color, i.tree_icon AS Tree_ICON, f.tree_icon AS fun_tree_icon";
const std::string kFunctionJoin = " LEFT JOIN vym_function f ON f.function_id = i.function_id";
// Rows come grouped by function and category; a function search reads them
// in this order straight from the function index.
const std::string kItemOrder = "i.function_id, i.catagory_id, i.item_no";

// Also the read of one item (@item_no alone) by the item record.
void GetItem(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_item i");
    AddItemCriteria(call, search);
    AddRegisterGroupCriterion(call, search);
    search.Answer(call,
                  "i.item_no, i.item_type, i.function_id, f.description AS fun_desc, "
                  "i.catagory_id, c.description AS cat_desc, i.short_description, "
                  "i.long_description, i.tree_icon AS Tree_ICON, f.tree_icon AS fun_tree_icon, "
                  "i.item_color, i.department_id, i.host_required, i.redeem_item, "
                  "r.long_description AS redeem_item_description, "
                  "r.item_type AS redeem_item_type, i.taxable AS Taxable, i.status_id, "
                  "i.instruction_no, n.instruction_body AS Instruction_Body, i.comment_note, "
                  "i.report_note, i.unit_based_return, i.return_charge_rate, "
                  "i.maintain_inventory, i.show_on_tree, i.sale_profile_id, i.return_profile_id, "
                  "i.format_no, i.row_version",
                  kFunctionJoin +
                      " LEFT JOIN vym_catagory c ON c.function_id = i.function_id "
                      "AND c.catagory_id = i.catagory_id "
                      "LEFT JOIN vym_item r ON r.item_no = i.redeem_item "
                      "LEFT JOIN vym_item_instruction n ON n.instruction_no = i.instruction_no",
                  kItemOrder);
}

void RegisterAllItems(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_GetItem",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@register_group_id", DataType::VarChar, 10)},
        GetItem);
}

void GetItemTicket(ProcedureContext& call) {
    Search search(call.Session().Engine(),
                  "vym_item i JOIN vym_item_ticket t ON t.item_no = i.item_no");
    AddItemCriteria(call, search);
    AddRegisterGroupCriterion(call, search);
    search.Answer(call,
                  kItemColumns +
                      ", t.access_rule_no, t.access_trans_type_id, i.format_no, "
                      "t.use_negative_format, t.serialized AS Serialized",
                  kFunctionJoin, kItemOrder);
}

// The item record sends a location it does not use; it selects nothing.
void GetItemSS(ProcedureContext& call) {
    Search search(call.Session().Engine(),
                  "vym_item i JOIN vym_item_ss ss ON ss.item_no = i.item_no");
    AddItemCriteria(call, search);
    if (const auto resource = Text(call, "@resource_type_id")) {
        search.Where("ss.resource_type_id = ?", {*resource});
    }
    search.Answer(call,
                  kItemColumns +
                      ", i.format_no, ss.labor_code_id, ss.event_type_id, "
                      "ss.serialized AS Serialized, ss.access_rule_no, ss.access_trans_type_id, "
                      "ss.confirmation_letter_report, ss.resource_type_id, ss.lesson_code_id, "
                      "ss.labor_hours, ss.schedule_hours, "
                      "rt.description AS resource_type_description, "
                      "lc.description AS labor_code_description",
                  kFunctionJoin +
                      " LEFT JOIN vym_resource_type rt ON rt.resource_type_id = ss.resource_type_id"
                      " LEFT JOIN vym_labor_code lc ON lc.labor_code_id = ss.labor_code_id",
                  kItemOrder);
}

void GetItemPhoto(ProcedureContext& call) {
    Search search(call.Session().Engine(),
                  "vym_item i JOIN vym_item_photo ph ON ph.item_no = i.item_no");
    AddItemCriteria(call, search);
    if (const auto size = Text(call, "@photo_size_id")) {
        search.Where("ph.photo_size_id = ?", {*size});
    }
    search.Answer(call,
                  kItemColumns +
                      ", ph.photo_size_id, ph.auto_rush, ph.mail_not_allowed, "
                      "ph.require_ship_charge, ph.lab_code_id",
                  kFunctionJoin, kItemOrder);
}

void GetItemShip(ProcedureContext& call) {
    Search search(call.Session().Engine(),
                  "vym_item i JOIN vym_item_ship sh ON sh.item_no = i.item_no");
    AddItemCriteria(call, search);
    search.Answer(call, kItemColumns + ", sh.rush AS Rush, sh.pickup AS Pickup", kFunctionJoin,
                  kItemOrder);
}

void GetItemRental(ProcedureContext& call) {
    Search search(call.Session().Engine(),
                  "vym_item i JOIN vym_item_rental r ON r.item_no = i.item_no");
    AddItemCriteria(call, search);
    if (const auto map = Text(call, "@map_id")) {
        search.Where(
            "i.item_no IN (SELECT item_no FROM vym_item_stock_map WHERE "
            "map_id = ?)",
            {*map});
    }
    if (const auto package = call.GetBool("@is_package")) {
        search.Where(*package ? "r.is_package <> 0" : "r.is_package = 0");
    }
    search.Answer(call,
                  kItemColumns +
                      ", r.report_department_id, r.report_sub_department_id, "
                      "r.unit_price, r.min_price, r.allow_line_discount, "
                      "r.allow_seller_pricing, r.is_package, "
                      "r.season_rental AS Season_Rental",
                  kFunctionJoin, kItemOrder);
}

void RegisterTypedItems(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_GetItemTicket",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@register_group_id", DataType::VarChar, 10)},
        GetItemTicket);

    catalog.Add(
        "VYM_SP_ITEM_GetItemSS",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@resource_type_id", DataType::VarChar, 10),
         In("@location_id", DataType::VarChar, 10)},
        GetItemSS);

    catalog.Add(
        "VYM_SP_ITEM_GetItemPhoto",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@photo_size_id", DataType::VarChar, 10)},
        GetItemPhoto);

    catalog.Add(
        "VYM_SP_ITEM_GetItemShip",
        {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10)},
        GetItemShip);

    catalog.Add("VYM_SP_ITEM_GetItemRental",
                {In("@item_no", DataType::Integer), In("@description", DataType::VarChar, 80),
                 In("@function_id", DataType::VarChar, 10),
                 In("@catagory_id", DataType::VarChar, 10), In("@status_id", DataType::VarChar, 10),
                 In("@map_id", DataType::VarChar, 30), In("@is_package", DataType::Boolean)},
                GetItemRental);
}

void AddStockCriteria(const ProcedureContext& call, Search& search) {
    const auto from = call.GetLong("@item_no");
    const auto to = call.GetLong("@item_no_end_range");
    if (to) {
        search.Where("i.item_no BETWEEN ? AND ?", {from.value_or(0), *to});
    } else if (from) {
        search.Where("i.item_no = ?", {*from});
    }
    if (const auto description = Text(call, "@description")) {
        search.MatchDescription(*description);
    }
    if (const auto map = Text(call, "@map_id")) {
        search.Where("i.item_no IN (SELECT item_no FROM vym_item_stock_map WHERE map_id = ?)",
                     {*map});
    }
    struct Equal {
        const char* parameter;
        const char* column;
    };
    static constexpr Equal kEquals[] = {
        {"@function_id", "i.function_id"},
        {"@catagory_id", "i.catagory_id"},
        {"@status_id", "i.status_id"},
        {"@stock_type_id", "s.stock_type_id"},
        {"@vendor_id", "s.vendor_id"},
        {"@model_id", "s.model_id"},
        {"@department_id", "i.department_id"},
        {"@report_department_id", "s.report_department_id"},
        {"@report_sub_department_id", "s.report_sub_department_id"},
        {"@serial_type_id", "s.serial_type_id"},
    };
    for (const Equal& equal : kEquals) {
        if (const auto value = Text(call, equal.parameter)) {
            search.Where(std::string(equal.column) + " = ?", {*value});
        }
    }
    if (const auto manufacturer = Text(call, "@manufacturer")) {
        search.Where("s.manufacturer " + std::string(search.Engine().Like()) + " ? ESCAPE '\\'",
                     {StartsWithPattern(*manufacturer)});
    }
    // One item asked for by number is found wherever it is stocked; the
    // location then only chooses the quantity shown.
    if (const auto location = Text(call, "@location_id"); location && !(from && !to)) {
        search.Where(
            "EXISTS (SELECT 1 FROM vym_item_stock_location l WHERE l.item_no = i.item_no "
            "AND l.location_id = ?)",
            {*location});
    }
    if (const auto since = call.GetDate("@last_date_sold")) {
        search.Where(
            "NOT EXISTS (SELECT 1 FROM vym_item_stock_history h WHERE h.item_no = i.item_no "
            "AND h.trans_type = 'SALE' AND h.trans_date >= ?)",
            {*since});
    }
    if (const auto serialized = call.GetBool("@serialized")) {
        search.Where(*serialized ? "s.serialized <> 0" : "s.serialized = 0");
    }
    if (call.GetBool("@require_binding_type").value_or(false)) {
        search.Where("s.binding_type_id IS NOT NULL");
    }
}

// Also the read of one stock record (@item_no, @location_id) by the
// stock record.
void GetItemStock(ProcedureContext& call) {
    const std::string stockFrom = "vym_item i JOIN vym_item_stock s ON s.item_no = i.item_no";
    Search matches(call.Session().Engine(), stockFrom);
    AddStockCriteria(call, matches);
    // Fellow group members: every stock item of a matrix group that
    // has a match.
    Search search = matches;
    if (call.GetBool("@group_member").value_or(false)) {
        search = Search(call.Session().Engine(), stockFrom);
        std::vector<vym::Value> twice = matches.Values();
        twice.insert(twice.end(), matches.Values().begin(), matches.Values().end());
        search.Where("(i.item_no IN (SELECT i.item_no FROM " + matches.From() +
                         matches.WhereClause() + ") OR s.group_no IN (SELECT s.group_no FROM " +
                         matches.From() + matches.WhereClause() + "))",
                     std::move(twice));
    }
    const std::string hasSerial = call.Session().TableExists("vym_item_stock_serial")
                                      ? "EXISTS (SELECT 1 FROM vym_item_stock_serial ser "
                                        "WHERE ser.item_no = s.item_no)"
                                      : "0";
    const std::string quantity =
        "(SELECT COALESCE(SUM(l.qty_on_hand), 0) FROM vym_item_stock_location l "
        "WHERE l.item_no = s.item_no AND (?1 IS NULL OR l.location_id = ?1))";
    // Stock comes by item number, the order of its vendor, type and
    // model indexes, so the first rows need no sort of every match.
    search.Answer(call,
                  kItemColumns +
                      ", s.stock_id, s.stock_type_id, st.description AS stock_type_desc, "
                      "s.serialized AS Serialized, s.format_no, s.stock_size, "
                      "s.attribute AS Attribute, s.style AS Style, s.manufacturer AS Manufacturer, "
                      "s.model_id AS Model, m.description AS model_description, "
                      "m.model_serial_prefix, s.min_price, s.unit_price, s.allow_line_discount, "
                      "s.allow_seller_pricing, s.base_uom_id AS Base_UOM_Id, "
                      "u.description AS uom_desc, s.current_avg_cost AS Current_Avg_Cost, "
                      "s.current_avg_freight AS Current_Avg_Freight, "
                      "s.current_avg_discount AS Current_Avg_Discount, "
                      "s.current_cost AS Current_Cost, s.current_cost AS Cost, "
                      "s.min_qty AS Min_Qty, s.vendor_id, v.vendor_name, s.rental_type, "
                      "s.report_department_id, s.report_sub_department_id, s.group_no, "
                      "s.stock_size_type_id, sz.description AS stock_size_type_desc, " +
                      quantity + " AS qty_on_hand, " + quantity + " AS qoh_column, " + hasSerial +
                      " AS has_serial, s.serial_type_id, se.description AS serial_type_desc, "
                      "s.binding_type_id, b.description AS binding_type_desc, s.boot_length, "
                      "s.upc_code",
                  kFunctionJoin +
                      " LEFT JOIN vym_item_stock_type st ON st.stock_type_id = s.stock_type_id"
                      " LEFT JOIN vym_item_stock_model m ON m.model_id = s.model_id"
                      " LEFT JOIN vym_uom u ON u.uom_id = s.base_uom_id"
                      " LEFT JOIN vym_vendor v ON v.vendor_id = s.vendor_id"
                      " LEFT JOIN vym_item_stock_size_type sz"
                      " ON sz.stock_size_type_id = s.stock_size_type_id"
                      " LEFT JOIN vym_item_stock_serial_type se"
                      " ON se.serial_type_id = s.serial_type_id"
                      " LEFT JOIN vym_item_stock_binding_type b"
                      " ON b.binding_type_id = s.binding_type_id",
                  "s.item_no", {TextValue(call, "@location_id")});
}

void RegisterStock(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetItemStock",
                {In("@item_no", DataType::Integer),
                 In("@location_id", DataType::VarChar, 10),
                 In("@item_no_end_range", DataType::Integer),
                 In("@description", DataType::VarChar, 80),
                 In("@function_id", DataType::VarChar, 10),
                 In("@catagory_id", DataType::VarChar, 10),
                 In("@map_id", DataType::VarChar, 30),
                 In("@stock_type_id", DataType::VarChar, 10),
                 In("@manufacturer", DataType::VarChar, 30),
                 In("@vendor_id", DataType::VarChar, 15),
                 In("@model_id", DataType::VarChar, 20),
                 In("@department_id", DataType::VarChar, 10),
                 In("@report_department_id", DataType::VarChar, 10),
                 In("@report_sub_department_id", DataType::VarChar, 10),
                 In("@last_date_sold", DataType::DBTimeStamp),
                 In("@serialized", DataType::Boolean),
                 In("@require_binding_type", DataType::Boolean),
                 In("@group_member", DataType::Boolean),
                 In("@status_id", DataType::VarChar, 10),
                 In("@serial_type_id", DataType::VarChar, 10)},
                GetItemStock);
}

// Also the read of one package (@package_no alone) by the package record.
void GetPackage(ProcedureContext& call) {
    Search search(call.Session().Engine(), "vym_package p");
    if (const auto number = call.GetLong("@package_no")) {
        search.Where("p.package_no = ?", {*number});
    }
    if (const auto description = Text(call, "@description")) {
        search.MatchContains("p.description", *description);
    }
    if (const auto function = Text(call, "@function_id")) {
        search.Where("p.function_id = ?", {*function});
    }
    if (const auto catagory = Text(call, "@catagory_id")) {
        search.Where("p.catagory_id = ?", {*catagory});
    }
    if (const auto status = Text(call, "@status_id")) {
        search.Where(status == "ACTIVE" ? "p.is_active <> 0" : "p.is_active = 0");
    }
    if (const auto group = Text(call, "@register_group_id")) {
        search.Where(
            "EXISTS (SELECT 1 FROM vym_register_group_package g WHERE "
            "g.package_no = p.package_no AND g.register_group_id = ?)",
            {*group});
    }
    search.Answer(call,
                  "p.package_no, 'PACKAGE' AS item_type, p.function_id, f.description AS fun_desc, "
                  "p.catagory_id, c.description AS cat_desc, p.description AS Description, "
                  "p.display_seq, p.is_active, "
                  "CASE WHEN p.is_active <> 0 THEN 'ACTIVE' ELSE 'INACTIVE' END AS status_id, "
                  "NULL AS item_color, p.show_on_tree, p.tree_icon AS Tree_ICON, "
                  "f.tree_icon AS fun_tree_icon, p.instruction_no, "
                  "n.instruction_body AS Instruction_Body, p.redeem_package_no, "
                  "rp.description AS redeem_package_desc, p.row_version",
                  " LEFT JOIN vym_function f ON f.function_id = p.function_id"
                  " LEFT JOIN vym_catagory c ON c.function_id = p.function_id"
                  " AND c.catagory_id = p.catagory_id"
                  " LEFT JOIN vym_item_instruction n ON n.instruction_no = p.instruction_no"
                  " LEFT JOIN vym_package rp ON rp.package_no = p.redeem_package_no",
                  "p.function_id, p.catagory_id, p.display_seq, p.package_no");
}

void RegisterPackages(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_GetPackage",
        {In("@package_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@status_id", DataType::VarChar, 10), In("@register_group_id", DataType::VarChar, 10)},
        GetPackage);
}

void GetSearchCombos(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT 'DEPARTMENT' AS data_type, d.department_id, dr.report_department_id, "
        "sd.report_sub_department_id, d.description AS Description, "
        "rd.description AS report_description, sd.description AS sub_description "
        "FROM vym_department d "
        "LEFT JOIN vym_department_report dr ON dr.department_id = d.department_id "
        "LEFT JOIN vym_report_department rd "
        "ON rd.report_department_id = dr.report_department_id "
        "LEFT JOIN vym_report_sub_department sd "
        "ON sd.report_department_id = dr.report_department_id "
        "ORDER BY d.department_id, dr.report_department_id, sd.report_sub_department_id");
    call.EmitResultSet(
        "SELECT 'STOCK_TYPE' AS data_type, stock_type_id, description AS Description "
        "FROM vym_item_stock_type ORDER BY description");
    call.EmitResultSet(
        "SELECT 'RESOURCE_TYPE' AS data_type, resource_type_id, description AS Description "
        "FROM vym_resource_type ORDER BY description");
    call.EmitResultSet(
        "SELECT 'REGISTER_GROUP' AS data_type, register_group_id, "
        "description AS Description FROM vym_register_group ORDER BY description");
    call.EmitResultSet(
        "SELECT 'LOCATION' AS data_type, location_id, description AS Description "
        "FROM vym_location ORDER BY description");
    call.EmitResultSet(
        "SELECT 'PHOTO_SIZE' AS data_type, photo_size_id, description AS Description "
        "FROM vym_photo_size ORDER BY description");
}

// The stock type may also be a rental type ("RETAIL", "RENTAL"): the
// models of every stock type of that kind.
void GetItemStockModel(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT m.model_id, m.description AS Description, m.manufacturer, "
        "m.stock_type_id, m.is_active FROM vym_item_stock_model m "
        "WHERE (?1 IS NULL OR m.stock_type_id = ?1 OR EXISTS (SELECT 1 FROM "
        "vym_item_stock_type st WHERE st.stock_type_id = m.stock_type_id "
        "AND st.rental_type = ?1)) AND (?2 = 0 OR m.is_active <> 0) "
        "ORDER BY m.description",
        {TextValue(call, "@stock_type_id"), call.GetBool("@is_active").value_or(false)});
}

void RegisterLists(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_getSearchCombos", {}, GetSearchCombos);

    // The active functions that have items of the type (every active function
    // when no type is given).
    catalog.Add("VYM_SP_ITEM_GetTypeFunction", {In("@item_type", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT f.function_id, f.description AS Description, f.tree_icon "
                        "FROM vym_function f WHERE f.is_active <> 0 AND (?1 IS NULL OR EXISTS "
                        "(SELECT 1 FROM vym_item i WHERE i.function_id = f.function_id "
                        "AND i.item_type = ?1)) ORDER BY f.description",
                        {TextValue(call, "@item_type")});
                });

    catalog.Add("VYM_SP_ITEM_GetItemStockModel",
                {In("@stock_type_id", DataType::VarChar, 10), In("@is_active", DataType::Boolean)},
                GetItemStockModel);
}

}  // namespace

std::string StartsWithPattern(std::string_view text) {
    std::string pattern;
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern + '%';
}

bool UsesDescriptionIndex(std::string_view text) {
    std::size_t characters = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++characters;
        }
    }
    return characters >= 3;
}

void RegisterItemSearchProcedures(ProcedureCatalog& catalog) {
    RegisterAllItems(catalog);
    RegisterTypedItems(catalog);
    RegisterStock(catalog);
    RegisterPackages(catalog);
    RegisterLists(catalog);
}

void RegisterItemConsoleProcedures(ProcedureCatalog& catalog) {
    RegisterItemSearchProcedures(catalog);
    RegisterItemDeleteProcedures(catalog);
    RegisterVendorProcedures(catalog);
}

}  // namespace vym::server
