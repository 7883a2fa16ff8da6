#include "server/procedures/item_stock_matrix_procedures.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/date.h"
#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/xml_rows.h"

namespace vym::server {
namespace {

using item_catalogue::Number;
using item_catalogue::NumberOrNull;
using item_catalogue::ReadRows;
using item_catalogue::Refusal;
using item_catalogue::RowExists;
using item_catalogue::Text;

struct MatrixCell {
    std::string attribute;
    std::string size;
    std::int32_t qty = 0;
};

// The long description stock is found by, cut to its column's 80 characters
// (counted as characters, not bytes).
std::string LongDescription(const std::string& description, const std::string& model,
                            const MatrixCell& cell) {
    const std::string whole = description + "," + model + "," + cell.attribute + "," + cell.size;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < whole.size(); ++at) {
        const bool starts = (static_cast<unsigned char>(whole[at]) & 0xC0) != 0x80;
        if (starts && ++characters > 80) {
            return whole.substr(0, at);
        }
    }
    return whole;
}

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

void CheckReferences(ProcedureContext& call) {
    SqlSession& db = call.Session();
    if (call.GetString("@item_type").value_or("") != "STOCK") {
        throw Refusal{"The stock matrix creates STOCK items only."};
    }
    if (call.GetString("@short_description").value_or("").empty()) {
        throw Refusal{"Short description is required."};
    }
    if (TextOrNull(call, "@department_id").IsNull()) {
        throw Refusal{"Department is required."};
    }
    const std::vector<item_catalogue::Reference> department = {
        {"@department_id", "vym_department", "department_id", "Department"}};
    for (const auto* references : {&department, &item_catalogue::kStockReferences}) {
        if (auto missing = item_catalogue::MissingReference(call, *references)) {
            throw Refusal{*missing};
        }
    }
    const vym::Value format = NumberOrNull(call, "@format_no");
    if (!format.IsNull() && !RowExists(db, "vym_print_format", "format_no", format)) {
        throw Refusal{"Print format " + format.ToString() + " does not exist."};
    }
}

// The purchase order the stock goes on order on; nullopt when none is given.
std::optional<std::int32_t> CheckPurchaseOrder(ProcedureContext& call) {
    const vym::Value po = NumberOrNull(call, "@po_no");
    if (po.IsNull()) {
        return std::nullopt;
    }
    const vym::Value status =
        call.Session().QueryValue("SELECT status_id FROM vym_po WHERE po_no = ?", {po});
    if (status.IsNull()) {
        throw Refusal{"Purchase order " + po.ToString() + " does not exist."};
    }
    if (status.ToString() == "CLOSED") {
        throw Refusal{"Purchase order " + po.ToString() + " is closed."};
    }
    return po.ToLong();
}

// The sizes of the size type, read once for the whole matrix; nullopt when
// no size type is given and any size will do.
std::optional<std::set<std::string>> SizesOf(SqlSession& db, const vym::Value& sizeType) {
    if (sizeType.IsNull()) {
        return std::nullopt;
    }
    std::set<std::string> sizes;
    auto read =
        db.Prepare("SELECT stock_size FROM vym_item_stock_size WHERE stock_size_type_id = ?");
    read->Bind(1, sizeType);
    while (read->Step()) {
        sizes.emplace(read->ColumnText(0));
    }
    return sizes;
}

void CheckCell(const std::optional<std::set<std::string>>& sizes, const vym::Value& sizeType,
               const MatrixCell& cell) {
    if (cell.attribute.empty() || Characters(cell.attribute) > 30) {
        throw Refusal{"Attribute \"" + cell.attribute + "\" must have 1 to 30 characters."};
    }
    if (cell.size.empty() || Characters(cell.size) > 10) {
        throw Refusal{"Size \"" + cell.size + "\" must have 1 to 10 characters."};
    }
    if (sizes && !sizes->contains(cell.size)) {
        throw Refusal{"Size " + cell.size + " is not a size of size type " + sizeType.ToString() +
                      "."};
    }
    if (cell.qty < 0) {
        throw Refusal{"The quantity of " + cell.attribute + " " + cell.size +
                      " can not be negative."};
    }
}

std::vector<MatrixCell> ReadMatrix(ProcedureContext& call) {
    pugi::xml_document document;
    const vym::Value sizeType = TextOrNull(call, "@stock_size_type_id");
    const auto sizes = SizesOf(call.Session(), sizeType);
    std::vector<MatrixCell> cells;
    std::set<std::pair<std::string, std::string>> seen;
    for (pugi::xml_node row :
         ReadRows(document, call.GetString("@stock_matrix_xml").value_or(""), "stock_matrix")) {
        MatrixCell cell{Text(row, "attribute"), Text(row, "stock_size"), Number(row, "qty")};
        CheckCell(sizes, sizeType, cell);
        if (!seen.emplace(cell.attribute, cell.size).second) {
            throw Refusal{"Attribute " + cell.attribute + " in size " + cell.size +
                          " is in the matrix twice."};
        }
        cells.push_back(std::move(cell));
    }
    if (cells.empty()) {
        throw Refusal{"The matrix has no quantities."};
    }
    return cells;
}

std::vector<std::int32_t> ReadRentalItems(ProcedureContext& call) {
    const auto text = call.GetString("@stock_rental_xml");
    std::vector<std::int32_t> items;
    if (!text || text->empty()) {
        return items;
    }
    pugi::xml_document document;
    for (pugi::xml_node row : ReadRows(document, *text, "vym_item_stock_rental")) {
        const std::int32_t item = Number(row, "rental_item_no");
        if (!RowExists(call.Session(), "vym_item", "item_no", item)) {
            throw Refusal{"Rental item " + std::to_string(item) + " does not exist."};
        }
        items.push_back(item);
    }
    return items;
}

// The prepared writes of one matrix, run once per item.
class MatrixWriter {
  public:
    MatrixWriter(ProcedureContext& call, std::optional<std::int32_t> po)
        : call_(call), db_(call.Session()), po_(po) {
        item_ = db_.Prepare(
            "INSERT INTO vym_item (item_type, function_id, catagory_id, short_description, "
            "long_description, department_id, taxable, status_id, maintain_inventory, vym_user, "
            "create_date, update_date) VALUES ('STOCK', 'STOCK', 'STOCK', ?, ?, ?, ?, ?, ?, ?, "
            "?, ?)");
        stock_ = db_.Prepare(
            "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, format_no, "
            "stock_size, attribute, style, manufacturer, model_id, min_price, unit_price, "
            "allow_line_discount, allow_seller_pricing, current_cost, vendor_id, rental_type, "
            "report_department_id, report_sub_department_id, stock_size_type_id, serial_type_id, "
            "binding_type_id, boot_length) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?)");
        map_ = db_.Prepare(
            "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) VALUES (?, ?, ?) "
            "ON CONFLICT (map_id) DO NOTHING");
        rental_ = db_.Prepare(
            "INSERT INTO vym_item_stock_rental (item_no, rental_item_no, vym_user) "
            "VALUES (?, ?, ?)");
        line_ = db_.Prepare(
            "INSERT INTO vym_po_line (po_no, line_no, item_no, qty_ord, qty_received, "
            "unit_cost, discount_rate) VALUES (?, ?, ?, ?, 0, ?, ?)");
        if (po_) {
            lastLine_ =
                db_.QueryValue("SELECT COALESCE(MAX(line_no), 0) FROM vym_po_line WHERE po_no = ?",
                               {*po_})
                    .ToLong();
        }
        const vym::Value stockType = TextOrNull(call, "@stock_type_id");
        rentalType_ = stockType.IsNull() ? vym::Value::Null()
                                         : db_.QueryValue(
                                               "SELECT rental_type FROM vym_item_stock_type WHERE "
                                               "stock_type_id = ?",
                                               {stockType});
    }

    std::int32_t Write(const MatrixCell& cell, const std::vector<std::int32_t>& rentalItems);

  private:
    static void Run(SqlStatement& statement, std::initializer_list<vym::Value> values) {
        statement.Reset();
        statement.BindAll(values);
        statement.Step();
    }
    void WriteStock(std::int32_t itemNo, const MatrixCell& cell);

    ProcedureContext& call_;
    SqlSession& db_;
    std::optional<std::int32_t> po_;
    std::int32_t lastLine_ = 0;
    vym::Value rentalType_;
    vym::Value now_ = vym::Date::Now();
    StatementRef item_, stock_, map_, rental_, line_;
};

std::int32_t MatrixWriter::Write(const MatrixCell& cell,
                                 const std::vector<std::int32_t>& rentalItems) {
    const ProcedureContext& call = call_;
    const vym::Value user = TextOrNull(call, "@vym_user");
    Run(*item_,
        {call.Get("@short_description"),
         LongDescription(call.GetString("@short_description").value_or(""),
                         call.GetString("@model_id").value_or(""), cell),
         TextOrNull(call, "@department_id"), call.GetLong("@taxable").value_or(0) != 0,
         TextOrNull(call, "@status_id").IsNull() ? vym::Value("ACTIVE") : call.Get("@status_id"),
         call.GetLong("@maintain_inventory").value_or(0) != 0, user, now_, now_});
    const auto itemNo = static_cast<std::int32_t>(db_.LastInsertId());
    WriteStock(itemNo, cell);
    Run(*map_, {std::to_string(itemNo), itemNo, user});
    for (const std::int32_t rentalItem : rentalItems) {
        Run(*rental_, {itemNo, rentalItem, user});
    }
    if (po_ && cell.qty > 0) {
        Run(*line_, {*po_, ++lastLine_, itemNo, cell.qty,
                     call.GetCurrency("@current_cost").value_or(vym::Currency()),
                     call.GetDouble("@discount_rate").value_or(0.0)});
    }
    return itemNo;
}

void MatrixWriter::WriteStock(std::int32_t itemNo, const MatrixCell& cell) {
    const ProcedureContext& call = call_;
    const auto money = [&call](const char* name) {
        return vym::Value(call.GetCurrency(name).value_or(vym::Currency()));
    };
    Run(*stock_, {itemNo,
                  std::to_string(itemNo),
                  TextOrNull(call, "@stock_type_id"),
                  call.GetLong("@serialized").value_or(0) != 0,
                  NumberOrNull(call, "@format_no"),
                  cell.size,
                  cell.attribute,
                  TextOrNull(call, "@style"),
                  TextOrNull(call, "@manufacturer"),
                  TextOrNull(call, "@model_id"),
                  money("@min_price"),
                  money("@unit_price"),
                  call.GetLong("@allow_line_discount").value_or(0) != 0,
                  call.GetLong("@allow_seller_pricing").value_or(0) != 0,
                  money("@current_cost"),
                  TextOrNull(call, "@vendor_id"),
                  rentalType_,
                  TextOrNull(call, "@report_department_id"),
                  TextOrNull(call, "@report_sub_department_id"),
                  TextOrNull(call, "@stock_size_type_id"),
                  TextOrNull(call, "@serial_type_id"),
                  TextOrNull(call, "@binding_type_id"),
                  call.GetLong("@boot_length").value_or(0)});
}

// Everything is read and checked before the first item is written, so a
// refusal writes nothing; a failure while writing rolls the whole call back.
void UpdateItemStockMatrix(ProcedureContext& call) {
    std::vector<MatrixCell> cells;
    std::vector<std::int32_t> rentalItems;
    std::optional<std::int32_t> po;
    try {
        CheckReferences(call);
        po = CheckPurchaseOrder(call);
        cells = ReadMatrix(call);
        rentalItems = ReadRentalItems(call);
    } catch (const Refusal& refusal) {
        Refuse(call, kMessage, refusal.message);
        return;
    }
    MatrixWriter writer(call, po);
    std::vector<vym::Value> created;
    std::string list;
    for (const MatrixCell& cell : cells) {
        created.emplace_back(writer.Write(cell, rentalItems));
        list += list.empty() ? "?" : ", ?";
    }
    call.EmitResultSet("SELECT item_no, long_description FROM vym_item WHERE item_no IN (" + list +
                           ") ORDER BY item_no",
                       created);
    call.SetOutput(kMessage, std::string());
    call.SetReturnValue(0);
}

}  // namespace

void RegisterItemStockMatrixProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_UpdateItemStockMatrix",
                {In("@po_no", DataType::Integer),
                 In("@vym_user", DataType::VarChar, 20),
                 In("@item_type", DataType::VarChar, 10),
                 In("@short_description", DataType::VarChar, 30),
                 In("@department_id", DataType::VarChar, 10),
                 In("@taxable", DataType::SmallInt),
                 In("@status_id", DataType::VarChar, 10),
                 In("@maintain_inventory", DataType::SmallInt),
                 In("@stock_type_id", DataType::VarChar, 10),
                 In("@serialized", DataType::SmallInt),
                 In("@format_no", DataType::Integer),
                 In("@style", DataType::VarChar, 30),
                 In("@manufacturer", DataType::VarChar, 30),
                 In("@model_id", DataType::VarChar, 20),
                 In("@min_price", DataType::Double),
                 In("@unit_price", DataType::Double),
                 In("@discount_rate", DataType::Double),
                 In("@allow_line_discount", DataType::SmallInt),
                 In("@allow_seller_pricing", DataType::SmallInt),
                 In("@current_cost", DataType::Currency),
                 In("@vendor_id", DataType::VarChar, 15),
                 In("@report_department_id", DataType::VarChar, 10),
                 In("@report_sub_department_id", DataType::VarChar, 10),
                 In("@stock_size_type_id", DataType::VarChar, 10),
                 In("@serial_type_id", DataType::VarChar, 10),
                 In("@binding_type_id", DataType::VarChar, 10),
                 In("@boot_length", DataType::SmallInt),
                 In("@stock_rental_xml", DataType::LongVarChar),
                 In("@stock_matrix_xml", DataType::LongVarChar),
                 Out(kMessage, DataType::VarChar, 255)},
                UpdateItemStockMatrix);
}

}  // namespace vym::server
