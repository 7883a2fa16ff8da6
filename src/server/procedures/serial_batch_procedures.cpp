#include <string>
#include <utility>
#include <vector>

#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/serial_procedures.h"

namespace vym::server {

using item_catalogue::NumberOrNull;

namespace {

struct BatchLine {
    std::int32_t itemNo;
    std::int32_t qty;
};

std::vector<BatchLine> SerializedLines(SqlSession& db, const vym::Value& batch) {
    auto read = db.Prepare(
        "SELECT bl.item_no, bl.qty FROM vym_inv_batch_line bl JOIN vym_item_stock st "
        "ON st.item_no = bl.item_no WHERE bl.batch_no = ? AND st.serialized <> 0 AND bl.qty > 0 "
        "ORDER BY bl.line_no");
    read->Bind(1, batch);
    std::vector<BatchLine> lines;
    while (read->Step()) {
        lines.push_back({static_cast<std::int32_t>(read->ColumnInt64(0)),
                         static_cast<std::int32_t>(read->ColumnInt64(1))});
    }
    return lines;
}

// Why the batch cannot give units, or nullopt.
std::optional<std::string> BadBatch(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value batch = call.Get("@batch_no");
    const std::string name = "Transfer batch " + NullToEmpty(batch);
    if (db.QueryValue("SELECT 1 FROM vym_inv_batch WHERE batch_no = ?", {batch}).IsNull()) {
        return name + " does not exist.";
    }
    const vym::Value format = NumberOrNull(call, "@print_format_no");
    if (format.IsNull() ||
        !item_catalogue::RowExists(db, "vym_print_format", "format_no", format)) {
        return std::string("Please select a label format before proceeding.");
    }
    return std::nullopt;
}

// All the units of the batch's serialized lines at the location it went to,
// or none: the batch is claimed first, so a second run, even one started at
// the same moment on another station, finds it taken and writes nothing.
void GenerateSerialNumbers(ProcedureContext& call) {
    if (auto why = BadBatch(call)) {
        return Refuse(call, "@message", *why);
    }
    SqlSession& db = call.Session();
    const vym::Value batch = call.Get("@batch_no");
    const std::string& user = call.UserId();
    const std::string now = db.Engine().Now();
    const std::vector<BatchLine> lines = SerializedLines(db, batch);
    if (lines.empty()) {
        return Refuse(call, "@message",
                      "Transfer batch " + batch.ToString() + " holds no serialized stock.");
    }
    if (db.Run("UPDATE vym_inv_batch SET serials_generated_datetime = " + now +
                   ", serials_generated_by = ? WHERE batch_no = ? AND "
                   "serials_generated_datetime IS NULL",
               {user, batch}) == 0) {
        return Refuse(
            call, "@message",
            "Serial numbers were already generated from transfer batch " + batch.ToString() + ".");
    }
    const std::string location = NullToEmpty(
        db.QueryValue("SELECT to_location_id FROM vym_inv_batch WHERE batch_no = ?", {batch}));
    const vym::Value format = call.Get("@print_format_no");
    std::int32_t generated = 0;
    for (const BatchLine& line : lines) {
        for (std::int32_t i = 0; i < line.qty; ++i) {
            const std::string id = serial::NextUniqueSerial(db, line.itemNo, location);
            db.Run(
                "INSERT INTO vym_item_stock_serial (item_no, serial_id, status_id, location_id, "
                "current_location_id, print_format_no, created_by, created_datetime, "
                "last_modified_by, last_modified_datetime) VALUES (?1, ?2, 'NEW', ?3, ?3, ?4, "
                "?5, " +
                    now + ", ?5, " + now + ")",
                {line.itemNo, id, location, format, user});
            serial::AddMap(db, line.itemNo, id, id, user);
            ++generated;
        }
    }
    call.SetOutput("@GeneratedSerialNumbers", generated);
    call.SetReturnValue(generated);
}

}  // namespace

namespace serial {

void RegisterSerialBatch(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_INV_BATCH_GenerateSerialNumbers",
                {In("@batch_no", DataType::Integer), In("@print_format_no", DataType::Integer),
                 Out("@message", DataType::VarChar, 255),
                 Out("@GeneratedSerialNumbers", DataType::Integer)},
                GenerateSerialNumbers);
}

}  // namespace serial

}  // namespace vym::server
