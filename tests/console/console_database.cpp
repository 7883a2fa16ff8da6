#include "console/console_database.h"

namespace vym::test {

ConsoleDatabase::ConsoleDatabase() {
    for (const char* sql : {
             "INSERT INTO vym_security_user (vym_user, name) VALUES ('ADMIN', 'Admin'), "
             "('KCHEN', 'Kelly Chen')",
             "INSERT INTO vym_security_permission (vym_user, application, code) VALUES "
             "('ADMIN', 'Item Maintenance', 'ITEM')",
             "INSERT INTO vym_function (function_id, description, tree_icon) VALUES "
             "('LIFT', 'Lift Tickets', 'y'), ('SKISCHOOL', 'Ski School', 'U'), "
             "('PHOTO', 'Photo', 'N'), ('SHIP', 'Shipping', '!'), ('RENTAL', 'Rental', 'x'), "
             "('RETAIL', 'Retail', '$')",
             "INSERT INTO vym_catagory (function_id, catagory_id, description) VALUES "
             "('LIFT', 'ADULT', 'Adult'), ('LIFT', 'CHILD', 'Child'), "
             "('RETAIL', 'OUTER', 'Outerwear')",
             "INSERT INTO vym_location (location_id, description) VALUES ('BASE', 'Base Lodge')",
             "INSERT INTO vym_vendor (vendor_id, vendor_name) VALUES ('ALPINE', 'Alpine Gear')",
             "INSERT INTO vym_item_stock_type (stock_type_id, description) VALUES "
             "('APPAREL', 'Apparel')",
             "INSERT INTO vym_register_group (register_group_id, description) VALUES "
             "('WINDOW', 'Ticket Window')",
             "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
             "long_description, short_description, status_id) VALUES "
             "(1, 'TICKET', 'LIFT', 'ADULT', 'Adult Full Day', 'Adult Day', 'ACTIVE'), "
             "(2, 'TICKET', 'LIFT', 'CHILD', 'Child Full Day', 'Child Day', 'ACTIVE'), "
             "(3, 'TICKET', 'LIFT', 'ADULT', 'Adult Half Day', 'Adult Half', 'INACTIVE'), "
             "(4, 'SS', 'SKISCHOOL', NULL, 'Private Lesson', 'Private', 'ACTIVE'), "
             "(5, 'PHOTO', 'PHOTO', NULL, 'Summit Photo', 'Photo', 'ACTIVE'), "
             "(6, 'SHIP', 'SHIP', NULL, 'Express Shipping', 'Express', 'ACTIVE'), "
             "(7, 'RENTAL', 'RENTAL', NULL, 'Ski Package', 'Ski Pkg', 'ACTIVE'), "
             "(8, 'RENTAL', 'RENTAL', NULL, 'Demo Skis', 'Demo', 'ACTIVE'), "
             "(10, 'STOCK', 'RETAIL', 'OUTER', 'Shell Jacket M', 'Jacket M', 'ACTIVE'), "
             "(11, 'STOCK', 'RETAIL', 'OUTER', 'Shell Jacket L', 'Jacket L', 'ACTIVE'), "
             "(12, 'STOCK', 'RETAIL', 'OUTER', 'Wool Hat', 'Hat', 'ACTIVE')",
             "INSERT INTO vym_item_ticket (item_no) VALUES (1), (2), (3)",
             "INSERT INTO vym_item_ss (item_no) VALUES (4)",
             "INSERT INTO vym_item_photo (item_no) VALUES (5)",
             "INSERT INTO vym_item_ship (item_no) VALUES (6)",
             "INSERT INTO vym_item_rental (item_no, is_package) VALUES (7, 1), (8, 0)",
             "INSERT INTO vym_item_stock (item_no, stock_id, vendor_id, stock_type_id, "
             "unit_price, current_cost) VALUES (10, 'JKT-M', 'ALPINE', 'APPAREL', 120, 60), "
             "(11, 'JKT-L', 'ALPINE', 'APPAREL', 120, 60), (12, 'HAT', NULL, NULL, 25, 10)",
             "INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) VALUES "
             "(10, 'BASE', 4)",
             "INSERT INTO vym_package (package_no, description, function_id) VALUES "
             "(1, 'Family Week', 'LIFT'), (2, 'Ski Weekend', 'LIFT'), (3, 'Family Day', 'LIFT')",
             "INSERT INTO vym_package_item (package_no, seq_no, item_no) VALUES (1, 1, 3)",
         }) {
        Sql(sql);
    }
}

void ConsoleDatabase::AddTickets(int count, const std::string& text) {
    const std::int32_t first = Scalar("SELECT max(item_no) + 1 FROM vym_item");
    Sql("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
        std::to_string(count) +
        ") INSERT INTO vym_item (item_no, item_type, function_id, long_description) "
        "SELECT " +
        std::to_string(first) + " + i, 'TICKET', 'LIFT', '" + text + " ' || i FROM n");
    Sql("INSERT INTO vym_item_ticket (item_no) SELECT item_no FROM vym_item WHERE item_no >= " +
        std::to_string(first));
}

}  // namespace vym::test
