#include <cstdint>
#include <string>
#include <vector>

#include "base/currency.h"
#include "server/procedures/serial_procedures.h"

namespace vym::server {
namespace {

// A rental board and the bindings mounted on the skis, besides the skis and
// boots of the catalogue.
void AddRentalStock(SqlSession& db) {
    db.Run("UPDATE vym_location SET serial_prefix = 'B' WHERE location_id = 'BASE'");
    db.Run("UPDATE vym_location SET serial_prefix = 'S' WHERE location_id = 'SUMMIT'");
    db.Run(
        "INSERT INTO vym_item_stock_type (stock_type_id, description, rental_type) VALUES "
        "('RENTBOARD', 'Rental Snowboards', 'RENTAL'), ('RENTBIND', 'Rental Bindings', 'RENTAL')");
    db.Run(
        "INSERT INTO vym_item_stock_serial_type (serial_type_id, description) VALUES "
        "('BOARD', 'Snowboard')");
    db.Run(
        "INSERT INTO vym_item_stock_model (model_id, stock_type_id, description, manufacturer, "
        "model_serial_prefix, is_active) VALUES "
        "('SB-FREERIDE', 'RENTBOARD', 'Freeride Rental Board', 'Snowline', 'SB', 1), "
        "('BD-STD', 'RENTBIND', 'Standard Rental Binding', 'Snowline', 'BD', 1)");
    struct Stock {
        int no;
        const char* catagory;
        const char* description;
        const char* stockType;
        const char* sizeType;
        const char* size;
        const char* model;
        const char* serialType;
        const char* location;
        int qty;
    };
    static constexpr Stock kStock[] = {
        {620, "SNOWBOARD", "Rental Snowboard,SB-FREERIDE,,150", "RENTBOARD", "SKILEN", "150",
         "SB-FREERIDE", "BOARD", "SUMMIT", 3},
        {630, "SKI", "Rental Binding,BD-STD", "RENTBIND", nullptr, nullptr, "BD-STD", "BINDING",
         "BASE", 20},
    };
    for (const Stock& s : kStock) {
        db.Run(
            "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
            "short_description, long_description, department_id, taxable, status_id, "
            "maintain_inventory, show_on_tree, vym_user, create_date, update_date) VALUES "
            "(?, 'STOCK', 'RENTAL', ?, ?, ?, 'RENTAL', 0, 'ACTIVE', 1, 1, 'ADMIN', "
            "'2024-09-01 08:00:00', '2024-09-01 08:00:00')",
            {s.no, s.catagory, std::string(s.description).substr(0, 15), s.description});
        db.Run(
            "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, format_no, "
            "stock_size, manufacturer, model_id, base_uom_id, vendor_id, rental_type, "
            "report_department_id, stock_size_type_id, serial_type_id, binding_type_id, "
            "current_avg_cost, current_cost) VALUES (?, ?, ?, 1, 3, ?, 'Snowline', ?, 'EA', "
            "'SNOWLINE', 'RENTAL', 'RENTREV', ?, ?, 'STD', 180, 180)",
            {s.no, std::to_string(s.no), s.stockType,
             s.size ? vym::Value(s.size) : vym::Value::Null(), s.model,
             s.sizeType ? vym::Value(s.sizeType) : vym::Value::Null(), s.serialType});
        db.Run(
            "INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) "
            "VALUES (?, ?, ?)",
            {s.no, s.location, s.qty});
    }
    db.Run(
        "INSERT INTO vym_item_stock_rental (item_no, rental_item_no, vym_user) "
        "VALUES (620, 703, 'ADMIN')");
}

struct Unit {
    int item;
    const char* location;
    const char* status;
    const char* mfgSerial;
    int binding;
    bool active;
    std::int64_t costCents;  // 0: no optional prices
};

// A share (in percent) of a unit's cost; Null for a unit without prices.
vym::Value Price(std::int64_t costCents, std::int64_t percent) {
    return costCents == 0 ? vym::Value::Null()
                          : vym::Value(vym::Currency::FromRaw(costCents * percent));
}

// Units numbered as the generator numbers them, so that the next generated
// id follows the demo's.
void AddUnits(SqlSession& db) {
    static constexpr Unit kUnits[] = {
        {600, "BASE", "AVAIL", "SL16-40112", 630, true, 21200},
        {600, "BASE", "AVAIL", "SL16-40113", 630, true, 21200},
        {600, "BASE", "OUT", "SL16-40117", 630, true, 21200},
        {600, "BASE", "REPAIR", "SL16-40120", 630, true, 0},
        {600, "BASE", "RETIRED", nullptr, 0, false, 0},
        {601, "SUMMIT", "AVAIL", "SL17-51001", 630, true, 21200},
        {601, "SUMMIT", "OUT", "SL17-51002", 630, true, 21200},
        {610, "SUMMIT", "AVAIL", "RB27-0091", 0, true, 6475},
        {610, "SUMMIT", "AVAIL", "RB27-0092", 0, true, 6475},
        {610, "SUMMIT", "NEW", nullptr, 0, true, 0},
        {620, "SUMMIT", "AVAIL", "FR155-7781", 0, true, 32900},
        {620, "SUMMIT", "AVAIL", "FR155-7782", 0, true, 32900},
        {620, "SUMMIT", "REPAIR", "FR155-7790", 0, true, 32900},
    };
    for (const Unit& u : kUnits) {
        const std::string id = serial::NextUniqueSerial(db, u.item, u.location);
        const vym::Value mfg = u.mfgSerial ? vym::Value(u.mfgSerial) : vym::Value::Null();
        db.Run(
            "INSERT INTO vym_item_stock_serial (item_no, serial_id, mfg_serial, status_id, "
            "location_id, current_location_id, binding_item_no, boot_length, print_format_no, "
            "is_active, original_cost, retail_price, depreciated_value, created_by, "
            "created_datetime, last_modified_by, last_modified_datetime) VALUES (?1, ?2, ?3, ?4, "
            "?5, ?5, ?6, ?7, 3, ?8, ?9, ?10, ?11, 'RMILLER', '2024-11-20 09:30:00', 'RMILLER', "
            "'2024-12-02 16:05:00')",
            {u.item, id, mfg, u.status, u.location,
             u.binding ? vym::Value(u.binding) : vym::Value::Null(),
             u.binding ? vym::Value(305) : vym::Value::Null(), u.active, Price(u.costCents, 100),
             Price(u.costCents, 150), Price(u.costCents, 60)});
        serial::AddMap(db, u.item, id, id, "RMILLER");
        serial::AddMap(db, u.item, id, mfg, "RMILLER");
    }
    db.Run(
        "INSERT INTO vym_item_stock_serial_map (item_no, map_id, serial_id, vym_user) VALUES "
        "(600, 'blue-tag-17', 'RSB00001', 'RMILLER'), (620, 'rack-a-4', 'SBS00001', 'RMILLER')");
}

// Two guests with skis out, and the contracts the fleet came back from.
void AddContracts(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_customer (customer_no, full_name) VALUES (1, 'Dana Whitfield'), "
        "(2, 'Marco Ruiz'), (3, 'Priya Natarajan')");
    db.Run(
        "INSERT INTO vym_rental_contract_line (contract_no, line_no, seq_no, customer_no, "
        "item_no, serial_id, rental_item_no, location_id, date_out, date_returned, "
        "return_location_id) VALUES "
        "(5001, 1, 1, 2, 600, 'RSB00001', 700, 'BASE', '2024-12-14 08:40:00', "
        "'2024-12-14 16:10:00', 'BASE'), "
        "(5007, 2, 1, 3, 600, 'RSB00001', 700, 'BASE', '2024-12-21 09:05:00', "
        "'2024-12-22 15:45:00', 'SUMMIT'), "
        "(5012, 1, 1, 1, 600, 'RSB00003', 700, 'BASE', '2024-12-28 08:55:00', NULL, NULL), "
        "(5013, 1, 1, 3, 601, 'RSS00002', 704, 'SUMMIT', '2024-12-01 10:00:00', NULL, NULL)");
    db.Run(
        "UPDATE vym_item_stock_serial SET current_location_id = 'SUMMIT' "
        "WHERE item_no = 600 AND serial_id = 'RSB00001'");
}

// Skis moved from the village to the base lodge, waiting for their units;
// and an earlier batch whose units were made already.
void AddTransferBatches(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_inv_batch (batch_no, from_location_id, to_location_id, batch_date, "
        "vym_user, serials_generated_datetime, serials_generated_by) VALUES "
        "(9000, 'VILLAGE', 'SUMMIT', '2024-11-18 07:30:00', 'RMILLER', "
        "'2024-11-20 09:30:00', 'RMILLER'), "
        "(9001, 'VILLAGE', 'BASE', '2024-12-30 07:45:00', 'RMILLER', NULL, NULL)");
    db.Run(
        "INSERT INTO vym_inv_batch_line (batch_no, line_no, item_no, qty) VALUES "
        "(9000, 1, 620, 3), (9001, 1, 600, 4), (9001, 2, 510, 10)");
}

}  // namespace

void AddSerialDemoRows(SqlSession& session) {
    AddRentalStock(session);
    AddUnits(session);
    AddContracts(session);
    AddTransferBatches(session);
}

}  // namespace vym::server
