#include <string>

#include "server/procedures/item_catalogue_procedures.h"

namespace vym::server {
namespace {

// A text column that may be empty.
vym::Value Optional(const char* text) {
    return text == nullptr ? vym::Value::Null() : vym::Value(text);
}

void AddDepartmentRows(SqlSession& db) {
    static constexpr const char* kDepartments[][2] = {
        {"LIFT", "Lift Tickets"},  {"SCHOOL", "Ski School"}, {"RENTAL", "Rental Shop"},
        {"RETAIL", "Retail Shop"}, {"PHOTO", "Photo Shop"},  {"SHIP", "Shipping"},
    };
    for (const auto& d : kDepartments) {
        db.Run(
            "INSERT INTO vym_department (department_id, description, department_type_id) "
            "VALUES (?, ?, 'ITEM')",
            {d[0], d[1]});
    }
    static constexpr const char* kReportDepartments[][2] = {
        {"LIFTREV", "Lift Revenue"},
        {"RENTREV", "Rental Revenue"},
        {"SOFTG", "Softgoods"},
        {"HARDG", "Hardgoods"},
    };
    for (const auto& r : kReportDepartments) {
        db.Run(
            "INSERT INTO vym_report_department (report_department_id, description) "
            "VALUES (?, ?)",
            {r[0], r[1]});
    }
    static constexpr const char* kSubDepartments[][3] = {
        {"RENTREV", "SKIRENT", "Ski Rentals"}, {"RENTREV", "BOOTRENT", "Boot Rentals"},
        {"SOFTG", "JACKETS", "Jackets"},       {"SOFTG", "GLOVES", "Gloves"},
        {"HARDG", "GOGGLES", "Goggles"},       {"HARDG", "SKIS", "Skis"},
    };
    for (const auto& s : kSubDepartments) {
        db.Run(
            "INSERT INTO vym_report_sub_department (report_department_id, "
            "report_sub_department_id, description) VALUES (?, ?, ?)",
            {s[0], s[1], s[2]});
    }
    static constexpr const char* kDepartmentReports[][2] = {
        {"LIFT", "LIFTREV"}, {"RENTAL", "RENTREV"}, {"RETAIL", "SOFTG"},
        {"RETAIL", "HARDG"}, {"SCHOOL", "LIFTREV"},
    };
    for (const auto& r : kDepartmentReports) {
        db.Run(
            "INSERT INTO vym_department_report (department_id, report_department_id) "
            "VALUES (?, ?)",
            {r[0], r[1]});
    }
}

// What selling and printing an item refer to.
void AddSaleReferenceRows(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_access_rule (access_rule_no, description) VALUES "
        "(1, 'Full Mountain'), (2, 'Beginner Area Only'), (3, 'Weekdays Only')");
    db.Run(
        "INSERT INTO vym_print_format (format_no, description, print_format_type) VALUES "
        "(1, 'Day Ticket', 'ITEM'), (2, 'Season Pass Card', 'CLUB'), "
        "(3, 'Hang Tag 2x3', 'STOCK'), (4, 'Shelf Label', 'STOCK'), "
        "(5, 'Lesson Voucher', 'ITEM')");
    db.Run(
        "INSERT INTO vym_profile (profile_id, description) VALUES "
        "('AGE', 'Guest Age Check'), ('PASSPHOTO', 'Pass Photo Capture'), "
        "('RETURN', 'Return Reason')");
    db.Run(
        "INSERT INTO vym_register_group (register_group_id, description) VALUES "
        "('TICKETS', 'Ticket Windows'), ('SCHOOL', 'Ski School Desk'), "
        "('RETAIL', 'Retail Registers'), ('RENTAL', 'Rental Counter')");
}

void AddStockReferenceRows(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_item_stock_type (stock_type_id, description, rental_type) VALUES "
        "('APPAREL', 'Apparel', 'RETAIL'), ('ACCESSORY', 'Accessories', 'RETAIL'), "
        "('RENTSKI', 'Rental Skis', 'RENTAL'), ('RENTBOOT', 'Rental Boots', 'RENTAL')");
    db.Run(
        "INSERT INTO vym_item_stock_size_type (stock_size_type_id, description) VALUES "
        "('ALPHA', 'Letter Sizes'), ('MONDO', 'Mondo Point'), ('SKILEN', 'Ski Length')");
    static constexpr const char* kSizes[][2] = {
        {"ALPHA", "XS"}, {"ALPHA", "S"},    {"ALPHA", "M"},    {"ALPHA", "L"},
        {"ALPHA", "XL"}, {"MONDO", "25"},   {"MONDO", "26"},   {"MONDO", "27"},
        {"MONDO", "28"}, {"SKILEN", "150"}, {"SKILEN", "160"}, {"SKILEN", "170"},
    };
    int order = 0;
    for (const auto& s : kSizes) {
        db.Run(
            "INSERT INTO vym_item_stock_size (stock_size_type_id, stock_size, display_order) "
            "VALUES (?, ?, ?)",
            {s[0], s[1], ++order});
    }
    db.Run(
        "INSERT INTO vym_item_stock_model (model_id, stock_type_id, description, "
        "manufacturer, model_serial_prefix, is_active) VALUES "
        "('SHELL', 'APPAREL', 'Summit Shell Jacket', 'Alpine Gear', NULL, 1), "
        "('GLOVE', 'ACCESSORY', 'Insulated Glove', 'Alpine Gear', NULL, 1), "
        "('GOGGLE', 'ACCESSORY', 'Low Light Goggle', 'Summit Optics', NULL, 1), "
        "('RS-ALLMTN', 'RENTSKI', 'All-Mountain Rental Ski', 'Snowline', 'RS', 1), "
        "('RB-COMFORT', 'RENTBOOT', 'Comfort Rental Boot', 'Snowline', 'RB', 1), "
        "('RS-OLD', 'RENTSKI', 'Rental Ski (2019 fleet)', 'Snowline', 'RX', 0)");
    db.Run(
        "INSERT INTO vym_item_stock_serial_type (serial_type_id, description) VALUES "
        "('SKI', 'Ski'), ('SKIBOOT', 'Ski Boot'), ('BINDING', 'Binding')");
    db.Run(
        "INSERT INTO vym_item_stock_binding_type (binding_type_id, description, "
        "display_order) VALUES ('STD', 'Standard Rental', 1), ('DEMO', 'Demo Rail', 2), "
        "('JUNIOR', 'Junior', 3)");
}

struct Item {
    int no;
    const char* type;
    const char* function;
    const char* catagory;
    const char* shortDescription;
    const char* longDescription;
    const char* department;
    bool taxable;
};

void InsertItem(SqlSession& db, const Item& i) {
    db.Run(
        "INSERT INTO vym_item (item_no, item_type, function_id, catagory_id, "
        "short_description, long_description, department_id, taxable, status_id, "
        "maintain_inventory, show_on_tree, vym_user, create_date, update_date) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'ACTIVE', ?, 1, 'ADMIN', "
        "'2024-09-01 08:00:00', '2024-09-01 08:00:00')",
        {i.no, i.type, i.function, i.catagory, i.shortDescription, i.longDescription, i.department,
         i.taxable, std::string(i.type) == "STOCK"});
    db.Run("INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) VALUES (?, ?, 'ADMIN')",
           {std::to_string(i.no), i.no});
}

void AddTicketRows(SqlSession& db) {
    static constexpr Item kTickets[] = {
        {100, "TICKET", "LIFT", "ADULT", "Adult Day", "Adult Day Ticket", "LIFT", true},
        {101, "TICKET", "LIFT", "CHILD", "Child Day", "Child Day Ticket (6-12)", "LIFT", true},
        {102, "TICKET", "LIFT", "SENIOR", "Senior Day", "Senior Day Ticket (65+)", "LIFT", true},
        {103, "TICKET", "LIFT", "ADULT", "Add'l Day", "Additional Consecutive Day", "LIFT", true},
        {104, "TICKET", "LIFT", "SEASON", "Adult Season", "Adult Season Pass", "LIFT", true},
        {105, "TICKET", "LIFT", "ADULT", "Lift Insurance", "Lift Ticket Insurance", "LIFT", false},
        {106, "TICKET", "LIFT", "ADULT", "Night Upgrade", "Night Skiing Upgrade", "LIFT", true},
        {107, "TICKET", "LIFT", "ADULT", "Free Day Voucher", "Voucher: Free Adult Day", "LIFT",
         false},
    };
    for (const Item& t : kTickets) {
        InsertItem(db, t);
        db.Run(
            "INSERT INTO vym_item_ticket (item_no, access_rule_no, access_trans_type_id, "
            "use_negative_format, serialized) VALUES (?, ?, NULL, 0, ?)",
            {t.no, t.no == 105 ? 0 : 1, t.no == 104});
        db.Run(
            "INSERT INTO vym_register_group_item (item_no, register_group_id) "
            "VALUES (?, 'TICKETS')",
            {t.no});
    }
    db.Run("UPDATE vym_item SET format_no = 1 WHERE item_no IN (100, 101, 102, 103, 106)");
    db.Run("UPDATE vym_item SET redeem_item = 100 WHERE item_no = 107");
    db.Run(
        "UPDATE vym_item SET sale_profile_id = 'PASSPHOTO', host_required = 1 "
        "WHERE item_no = 104");
    db.Run(
        "INSERT INTO vym_item_instruction (instruction_no, instruction_body) VALUES "
        "(1, 'Attach the ticket to an outside zipper pull where the lift attendant can "
        "see it. Tickets are not transferable.')");
    db.Run("UPDATE vym_item SET instruction_no = 1 WHERE item_no = 100");
    db.Run(
        "INSERT INTO vym_extension (parent_item_no, child_item_no, create_new_product, "
        "max_qty_per_season, max_qty_per_trans, activating, sequence) VALUES "
        "(100, 103, 0, 0, 6, 0, 1), (100, 106, 0, 0, 1, 1, 2), (101, 103, 0, 0, 6, 0, 1)");
    db.Run(
        "INSERT INTO vym_item_add_on (parent_item_no, child_item_no, format_no, "
        "access_rule_no, price, sequence) VALUES (100, 105, NULL, NULL, 8, 1), "
        "(104, 105, NULL, 3, 49, 1)");
}

void AddSchoolPhotoShipRows(SqlSession& db) {
    static constexpr Item kItems[] = {
        {200, "SS", "SKISCHOOL", "GROUP", "Group Lesson", "Group Lesson, 2 Hours", "SCHOOL", true},
        {201, "SS", "SKISCHOOL", "PRIVATE", "Private Lesson", "Private Lesson, 1 Hour", "SCHOOL",
         true},
        {202, "SS", "SKISCHOOL", "KIDS", "Kids Camp", "Kids Camp, Full Day with Lunch", "SCHOOL",
         true},
        {300, "PHOTO", "PHOTO", "PRINT", "Photo 5x7", "On-Mountain Action Photo 5x7", "PHOTO",
         true},
        {301, "PHOTO", "PHOTO", "PRINT", "Photo 8x10", "On-Mountain Action Photo 8x10", "PHOTO",
         true},
        {302, "PHOTO", "PHOTO", "DIGITAL", "Photo Download", "Digital Photo Download", "PHOTO",
         true},
        {400, "SHIP", "SHIP", "GROUND", "Ground Ship", "Ground Shipping (5-7 days)", "SHIP", false},
        {401, "SHIP", "SHIP", "EXPRESS", "Express Ship", "Express Shipping (next day)", "SHIP",
         false},
        {402, "SHIP", "SHIP", "GROUND", "Guest Pickup", "Pickup at Guest Services", "SHIP", false},
    };
    for (const Item& i : kItems) {
        InsertItem(db, i);
    }
    db.Run(
        "INSERT INTO vym_item_ss (item_no, labor_code_id, serialized, access_rule_no, "
        "confirmation_letter_report, resource_type_id, labor_hours, schedule_hours) VALUES "
        "(200, 'GRPLES', 0, 2, 'LessonConfirm', 'INSTR', 2, 2), "
        "(201, 'PRVLES', 0, 1, 'LessonConfirm', 'INSTR', 1, 1), "
        "(202, 'CAMP', 1, 2, 'CampConfirm', 'INSTR', 6, 7)");
    db.Run("UPDATE vym_item SET format_no = 5 WHERE item_no IN (200, 201, 202)");
    db.Run(
        "INSERT INTO vym_register_group_item (item_no, register_group_id) VALUES "
        "(200, 'SCHOOL'), (201, 'SCHOOL'), (202, 'SCHOOL'), (202, 'TICKETS')");
    db.Run(
        "INSERT INTO vym_item_instruction (instruction_no, instruction_body) VALUES "
        "(2, 'Meet your instructor at the Ski School bell 15 minutes before the lesson. "
        "Lift ticket not included.')");
    db.Run("UPDATE vym_item SET instruction_no = 2 WHERE item_no = 200");
    db.Run(
        "INSERT INTO vym_item_photo (item_no, photo_size_id, auto_rush, mail_not_allowed, "
        "require_ship_charge, lab_code_id) VALUES (300, '5X7', 0, 0, 1, 'ONSITE'), "
        "(301, '8X10', 1, 0, 1, 'ONSITE'), (302, NULL, 0, 1, 0, NULL)");
    db.Run(
        "INSERT INTO vym_item_ship (item_no, rush, pickup) VALUES (400, 0, 0), "
        "(401, 1, 0), (402, 0, 1)");
}

struct Stock {
    int no;
    const char* catagory;
    const char* shortDescription;
    const char* longDescription;
    const char* stockType;
    const char* sizeType;
    const char* size;
    const char* attribute;
    const char* model;
    const char* vendor;
    double cost;
    double price;
    const char* reportDepartment;
    const char* reportSubDepartment;
};

// Rental articles are serialized fleet items: no line discount, reorder
// quantity or UPC.
void InsertStock(SqlSession& db, const Stock& s, bool rental) {
    db.Run(
        "INSERT INTO vym_item_stock (item_no, stock_id, stock_type_id, serialized, "
        "format_no, stock_size, attribute, manufacturer, model_id, min_price, "
        "unit_price, allow_line_discount, allow_seller_pricing, base_uom_id, "
        "current_avg_cost, current_avg_freight, current_avg_discount, current_cost, "
        "min_qty, vendor_id, rental_type, report_department_id, "
        "report_sub_department_id, stock_size_type_id, serial_type_id, "
        "binding_type_id, boot_length, upc_code) VALUES (?, ?, ?, ?, 3, ?, ?, "
        "(SELECT manufacturer FROM vym_item_stock_model WHERE model_id = ?), ?, ?, ?, "
        "1, ?, 'EA', ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {s.no,
         std::to_string(s.no),
         s.stockType,
         rental,
         Optional(s.size),
         Optional(s.attribute),
         s.model,
         s.model,
         s.price * 0.8,
         s.price,
         !rental,
         s.cost,
         rental ? 0.0 : 1.25,
         s.cost,
         rental ? 0 : 4,
         s.vendor,
         rental ? "RENTAL" : "RETAIL",
         s.reportDepartment,
         s.reportSubDepartment,
         Optional(s.sizeType),
         Optional(rental ? (s.no == 610 ? "SKIBOOT" : "SKI") : nullptr),
         Optional(rental && s.no != 610 ? "STD" : nullptr),
         s.no == 610 ? 305 : 0,
         rental ? vym::Value::Null() : vym::Value("0712345" + std::to_string(s.no * 10 + 7))});
}

void AddStockRows(SqlSession& db) {
    static constexpr Stock kStock[] = {
        {500, "OUTERWEAR", "Shell Jacket", "Shell Jacket,SHELL,Red,M", "APPAREL", "ALPHA", "M",
         "Red", "SHELL", "ALPINEGEAR", 89.5, 159, "SOFTG", "JACKETS"},
        {501, "OUTERWEAR", "Shell Jacket", "Shell Jacket,SHELL,Red,L", "APPAREL", "ALPHA", "L",
         "Red", "SHELL", "ALPINEGEAR", 89.5, 159, "SOFTG", "JACKETS"},
        {502, "OUTERWEAR", "Shell Jacket", "Shell Jacket,SHELL,Blue,M", "APPAREL", "ALPHA", "M",
         "Blue", "SHELL", "ALPINEGEAR", 89.5, 159, "SOFTG", "JACKETS"},
        {503, "OUTERWEAR", "Shell Jacket", "Shell Jacket,SHELL,Blue,L", "APPAREL", "ALPHA", "L",
         "Blue", "SHELL", "ALPINEGEAR", 89.5, 159, "SOFTG", "JACKETS"},
        {510, "ACCESS", "Ski Gloves", "Ski Gloves,GLOVE,Black,L", "ACCESSORY", "ALPHA", "L",
         "Black", "GLOVE", "ALPINEGEAR", 14.25, 29.95, "SOFTG", "GLOVES"},
        {511, "ACCESS", "Goggle", "Goggle,GOGGLE,Low Light,", "ACCESSORY", nullptr, nullptr,
         "Low Light", "GOGGLE", "SUMMITOPT", 31.4, 59, "HARDG", "GOGGLES"},
        {600, "SKI", "Rental Ski", "Rental Ski,RS-ALLMTN,,160", "RENTSKI", "SKILEN", "160", nullptr,
         "RS-ALLMTN", "SNOWLINE", 212, 0, "RENTREV", "SKIRENT"},
        {601, "SKI", "Rental Ski", "Rental Ski,RS-ALLMTN,,170", "RENTSKI", "SKILEN", "170", nullptr,
         "RS-ALLMTN", "SNOWLINE", 212, 0, "RENTREV", "SKIRENT"},
        {610, "SKI", "Rental Boot", "Rental Boot,RB-COMFORT,,27", "RENTBOOT", "MONDO", "27",
         nullptr, "RB-COMFORT", "SNOWLINE", 64.75, 0, "RENTREV", "BOOTRENT"},
    };
    for (const Stock& s : kStock) {
        const bool rental = s.no >= 600;
        InsertItem(db, {s.no, "STOCK", rental ? "RENTAL" : "RETAIL", s.catagory, s.shortDescription,
                        s.longDescription, rental ? "RENTAL" : "RETAIL", !rental});
        InsertStock(db, s, rental);
        db.Run("INSERT INTO vym_register_group_item (item_no, register_group_id) VALUES (?, ?)",
               {s.no, rental ? "RENTAL" : "RETAIL"});
        if (!rental) {
            db.Run(
                "INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) "
                "VALUES (?, 'BASE', ?), (?, 'VILLAGE', ?)",
                {s.no, 6 + s.no % 5, s.no, 2 + s.no % 3});
        }
    }
    db.Run(
        "INSERT INTO vym_item_stock_location (item_no, location_id, qty_on_hand) VALUES "
        "(600, 'BASE', 40), (601, 'BASE', 35), (601, 'SUMMIT', 12), (610, 'SUMMIT', 60)");
    db.Run(
        "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) VALUES "
        "('JKT-RED-M', 500, 'ADMIN'), ('JKT-RED-L', 501, 'ADMIN'), "
        "('JKT-BLUE-M', 502, 'ADMIN'), ('JKT-BLUE-L', 503, 'ADMIN'), "
        "('071234550107', 510, 'ADMIN'), ('GOGGLE LL', 511, 'ADMIN')");
}

// The vendors' catalogues and orders name these articles.
void LinkVendorProducts(SqlSession& db) {
    static constexpr const char* kVendorProducts[][2] = {
        {"AG-1001", "500"}, {"AG-2040", "510"}, {"SO-77", "511"},
        {"SL-300", "601"},  {"SL-410", "610"},
    };
    for (const auto& p : kVendorProducts) {
        db.Run("UPDATE vym_vendor_product SET item_no = ? WHERE product_id = ?",
               {std::stoi(p[1]), p[0]});
        db.Run("UPDATE vym_po_line SET item_no = ? WHERE product_id = ?", {std::stoi(p[1]), p[0]});
    }
}

void AddRentalRows(SqlSession& db) {
    static constexpr Item kRentals[] = {
        {700, "RENTAL", "RENTAL", "SKI", "Adult Skis", "Adult Ski Rental", "RENTAL", true},
        {701, "RENTAL", "RENTAL", "SKI", "Adult Boots", "Adult Boot Rental", "RENTAL", true},
        {702, "RENTAL", "RENTAL", "SKI", "Adult Ski Pkg", "Adult Ski Package (Skis, Boots)",
         "RENTAL", true},
        {703, "RENTAL", "RENTAL", "SNOWBOARD", "Board Pkg", "Snowboard Package", "RENTAL", true},
        {704, "RENTAL", "RENTAL", "DEMO", "Demo Skis", "Demo Ski, Season Lease", "RENTAL", true},
    };
    for (const Item& r : kRentals) {
        InsertItem(db, r);
        db.Run(
            "INSERT INTO vym_register_group_item (item_no, register_group_id) "
            "VALUES (?, 'RENTAL')",
            {r.no});
    }
    db.Run(
        "INSERT INTO vym_item_rental (item_no, report_department_id, "
        "report_sub_department_id, unit_price, min_price, allow_line_discount, "
        "allow_seller_pricing, is_package, season_rental) VALUES "
        "(700, 'RENTREV', 'SKIRENT', 38, 30, 1, 0, 0, 0), "
        "(701, 'RENTREV', 'BOOTRENT', 22, 18, 1, 0, 0, 0), "
        "(702, 'RENTREV', 'SKIRENT', 52, 45, 1, 1, 1, 0), "
        "(703, 'RENTREV', NULL, 48, 40, 1, 0, 1, 0), "
        "(704, 'RENTREV', 'SKIRENT', 399, 350, 0, 0, 0, 1)");
    db.Run(
        "INSERT INTO vym_item_rental_detail (item_no, detail_item_no, vym_user) VALUES "
        "(702, 700, 'ADMIN'), (702, 701, 'ADMIN')");
    db.Run(
        "INSERT INTO vym_item_stock_rental (item_no, rental_item_no, vym_user) VALUES "
        "(600, 700, 'ADMIN'), (601, 700, 'ADMIN'), (601, 704, 'ADMIN'), "
        "(610, 701, 'ADMIN')");
}

void AddPriceRows(SqlSession& db) {
    struct Price {
        int item;
        int child;
        const char* parentUnit;
        const char* unit;
        const char* uom;
        double price;
    };
    static constexpr Price kPrices[] = {
        {100, 0, nullptr, "DAY", nullptr, 89},     {100, 0, nullptr, "HALF", nullptr, 69},
        {100, 0, nullptr, "3DAY", nullptr, 249},   {100, 103, "DAY", "DAY", nullptr, 79},
        {100, 106, "DAY", "DAY", nullptr, 15},     {101, 0, nullptr, "DAY", nullptr, 59},
        {102, 0, nullptr, "DAY", nullptr, 69},     {104, 0, nullptr, "DAY", nullptr, 899},
        {105, 0, nullptr, "DAY", nullptr, 8},      {200, 0, nullptr, "LESSON", nullptr, 85},
        {201, 0, nullptr, "LESSON", nullptr, 140}, {202, 0, nullptr, "LESSON", nullptr, 165},
        {300, 0, nullptr, "EA", nullptr, 19.95},   {301, 0, nullptr, "EA", nullptr, 29.95},
        {302, 0, nullptr, "EA", nullptr, 14.95},   {400, 0, nullptr, "EA", nullptr, 9.5},
        {401, 0, nullptr, "EA", nullptr, 24},      {402, 0, nullptr, "EA", nullptr, 0},
        {500, 0, nullptr, "EA", "EA", 159},        {501, 0, nullptr, "EA", "EA", 159},
        {502, 0, nullptr, "EA", "EA", 159},        {503, 0, nullptr, "EA", "EA", 159},
        {510, 0, nullptr, "PR", "PR", 29.95},      {511, 0, nullptr, "EA", "EA", 59},
        {700, 0, nullptr, "DAY", nullptr, 38},     {700, 0, nullptr, "WEEK", nullptr, 210},
        {701, 0, nullptr, "DAY", nullptr, 22},     {702, 0, nullptr, "DAY", nullptr, 52},
        {703, 0, nullptr, "DAY", nullptr, 48},
    };
    for (const Price& p : kPrices) {
        db.Run(
            "INSERT INTO vym_price (item_no, child_item_no, parent_unit_id, unit_id, "
            "unit_qty, uom_id, total_price, unit_price, gross_unit_price, line_discount, "
            "seller_pricing, acct_units, print_qty, vym_user) "
            "VALUES (?, ?, ?, ?, 1, ?, ?, ?, ?, 1, 0, 1, 1, 'ADMIN')",
            {p.item, p.child == 0 ? vym::Value::Null() : vym::Value(p.child),
             p.parentUnit == nullptr ? vym::Value::Null() : vym::Value(p.parentUnit), p.unit,
             p.uom == nullptr ? vym::Value::Null() : vym::Value(p.uom), p.price, p.price, p.price});
    }
}

}  // namespace

void AddItemCatalogueDemoRows(SqlSession& session) {
    AddDepartmentRows(session);
    AddSaleReferenceRows(session);
    AddStockReferenceRows(session);
    AddTicketRows(session);
    AddSchoolPhotoShipRows(session);
    AddStockRows(session);
    LinkVendorProducts(session);
    AddRentalRows(session);
    AddPriceRows(session);
}

}  // namespace vym::server
