#include "base/currency.h"
#include "base/date.h"
#include "server/procedures/item_support_procedures.h"

namespace vym::server {
namespace {

vym::Value Money(double amount) {
    return vym::Currency::FromDouble(amount);
}

vym::Value Day(int year, int month, int day) {
    return vym::Date::FromParts(year, month, day);
}

vym::Value TextOrNull(const char* text) {
    return text != nullptr ? vym::Value(text) : vym::Value::Null();
}

void AddFunctionRows(SqlSession& db) {
    struct Function {
        const char* id;
        const char* description;
        const char* icon;
        bool active;
    };
    static constexpr Function kFunctions[] = {
        {"LIFT", "Lift Tickets", "y", true},
        {"SKISCHOOL", "Ski School", "U", true},
        {"RENTAL", "Rental Shop", "x", true},
        {"RETAIL", "Retail", "$", true},
        {"PHOTO", "Photo Services", "N", true},
        {"SHIP", "Shipping", "!", true},
        {"TUBING", "Tubing Park (closed)", nullptr, false},
    };
    for (const Function& f : kFunctions) {
        db.Run(
            "INSERT INTO vym_function (function_id, description, tree_icon, is_active) "
            "VALUES (?, ?, ?, ?)",
            {f.id, f.description, TextOrNull(f.icon), f.active});
    }
}

void AddCatagoryRows(SqlSession& db) {
    struct Catagory {
        const char* function;
        const char* id;
        const char* description;
        bool active;
        bool requireAccessRule;
    };
    static constexpr Catagory kCatagories[] = {
        {"LIFT", "ADULT", "Adult", true, true},
        {"LIFT", "CHILD", "Child (6-12)", true, true},
        {"LIFT", "SENIOR", "Senior (65+)", true, true},
        {"LIFT", "SEASON", "Season Pass", true, true},
        {"SKISCHOOL", "GROUP", "Group Lesson", true, false},
        {"SKISCHOOL", "PRIVATE", "Private Lesson", true, false},
        {"SKISCHOOL", "KIDS", "Kids Camp", true, false},
        {"RENTAL", "SKI", "Ski Packages", true, false},
        {"RENTAL", "SNOWBOARD", "Snowboard Packages", true, false},
        {"RENTAL", "DEMO", "Demo Equipment", true, false},
        {"RETAIL", "OUTERWEAR", "Outerwear", true, false},
        {"RETAIL", "ACCESS", "Accessories", true, false},
        {"RETAIL", "HARDGOODS", "Hardgoods", true, false},
        {"RETAIL", "SOUVENIR", "Souvenirs", false, false},
        {"PHOTO", "PRINT", "Prints", true, false},
        {"PHOTO", "DIGITAL", "Digital Downloads", true, false},
        {"SHIP", "GROUND", "Ground Shipping", true, false},
        {"SHIP", "EXPRESS", "Express Shipping", true, false},
    };
    for (const Catagory& c : kCatagories) {
        db.Run(
            "INSERT INTO vym_catagory (function_id, catagory_id, description, is_active, "
            "require_access_rule) VALUES (?, ?, ?, ?, ?)",
            {c.function, c.id, c.description, c.active, c.requireAccessRule});
    }
}

// Units of measure, and the units each function sells in.
void AddUnitRows(SqlSession& db) {
    static constexpr const char* kUoms[][2] = {
        {"EA", "Each"}, {"PR", "Pair"}, {"BX", "Box"}, {"CS", "Case"}, {"DZ", "Dozen"},
    };
    for (const auto& uom : kUoms) {
        db.Run("INSERT INTO vym_uom (uom_id, description) VALUES (?, ?)", {uom[0], uom[1]});
    }
    struct Unit {
        const char* function;
        const char* id;
        const char* description;
        const char* uom;
        int qty;
        int acctUnits;
        int printQty;
    };
    static constexpr Unit kUnits[] = {
        {"LIFT", "DAY", "Full Day", "EA", 1, 1, 1},
        {"LIFT", "HALF", "Half Day (from 12:30)", "EA", 1, 1, 1},
        {"LIFT", "3DAY", "3 Day", "EA", 3, 3, 1},
        {"LIFT", "5DAY", "5 Day", "EA", 5, 5, 1},
        {"SKISCHOOL", "LESSON", "One Lesson", "EA", 1, 1, 1},
        {"SKISCHOOL", "3LESSON", "Three Lessons", "EA", 3, 3, 3},
        {"RENTAL", "DAY", "Rental Day", "EA", 1, 1, 1},
        {"RENTAL", "2DAY", "Two Days", "EA", 2, 2, 1},
        {"RENTAL", "WEEK", "Rental Week", "EA", 7, 7, 1},
        {"RETAIL", "EA", "Each", "EA", 1, 1, 1},
        {"RETAIL", "PR", "Pair", "PR", 1, 1, 1},
        {"RETAIL", "DZ", "Dozen", "DZ", 12, 12, 1},
        {"PHOTO", "EA", "Each", "EA", 1, 1, 1},
        {"SHIP", "EA", "Each", "EA", 1, 1, 0},
    };
    for (const Unit& u : kUnits) {
        db.Run(
            "INSERT INTO vym_unit (function_id, unit_id, description, uom_id, qty, acct_units, "
            "print_qty) VALUES (?, ?, ?, ?, ?, ?, ?)",
            {u.function, u.id, u.description, u.uom, u.qty, u.acctUnits, u.printQty});
    }
}

void AddSeasonRows(SqlSession& db) {
    static constexpr const char* kTypes[][2] = {
        {"PEAK", "Peak"}, {"REGULAR", "Regular"}, {"VALUE", "Value"}};
    for (const auto& type : kTypes) {
        db.Run("INSERT INTO vym_season_type (season_type_id, description) VALUES (?, ?)",
               {type[0], type[1]});
    }
    struct Season {
        int no;
        const char* function;
        const char* id;
        const char* type;
        const char* description;
        int start[3];
        int end[3];
    };
    static constexpr Season kSeasons[] = {
        {1, "LIFT", "EARLY", "VALUE", "Early Season", {2024, 11, 22}, {2024, 12, 19}},
        {2, "LIFT", "HOLIDAY", "PEAK", "Holiday Period", {2024, 12, 20}, {2025, 1, 5}},
        {3, "LIFT", "REGULAR", "REGULAR", "Regular Season", {2025, 1, 6}, {2025, 3, 14}},
        {4, "LIFT", "SPRING", "VALUE", "Spring Skiing", {2025, 3, 15}, {2025, 4, 21}},
        {5, "RENTAL", "HOLIDAY", "PEAK", "Holiday Rentals", {2024, 12, 20}, {2025, 1, 5}},
        {6, "SKISCHOOL", "WINTER", "REGULAR", "Winter Lessons", {2024, 12, 1}, {2025, 3, 31}},
    };
    for (const Season& s : kSeasons) {
        db.Run(
            "INSERT INTO vym_season (season_no, function_id, season_id, season_type_id, "
            "season_group_id, description, is_active, start_date, end_date) "
            "VALUES (?, ?, ?, ?, 1, ?, 1, ?, ?)",
            {s.no, s.function, s.id, s.type, s.description, Day(s.start[0], s.start[1], s.start[2]),
             Day(s.end[0], s.end[1], s.end[2])});
    }
}

void AddLocationRows(SqlSession& db) {
    struct Address {
        int no;
        const char* name;
        const char* line1;
        const char* city;
        const char* phone;
    };
    static constexpr Address kAddresses[] = {
        {1, "Base Lodge Shop", "1 Mountain Base Rd", "Pine Ridge", "970-555-0101"},
        {2, "Summit Rental Shop", "Summit Station, Lift 4", "Pine Ridge", "970-555-0102"},
        {3, "Village Sports", "212 Village Square", "Pine Ridge", "970-555-0103"},
        {4, "Ticket Windows", "1 Mountain Base Rd", "Pine Ridge", "970-555-0104"},
        {5, "Resort Receiving Dock", "40 Service Rd", "Pine Ridge", "970-555-0150"},
        {6, "Resort Accounts Payable", "PO Box 880", "Pine Ridge", "970-555-0160"},
        {10, "Alpine Gear Supply Co.", "1450 Industrial Way", "Denver", "303-555-0190"},
        {11, "Snowline Outfitters", "88 Harbor St", "Seattle", "206-555-0122"},
        {12, "Summit Optics", "7 Lens Ct", "Salt Lake City", "801-555-0177"},
        {13, "Peak Print & Photo", "300 Main St", "Boulder", "303-555-0133"},
    };
    for (const Address& a : kAddresses) {
        db.Run(
            "INSERT INTO vym_address (address_no, name, address1, city, state, zip, country, "
            "phone) VALUES (?, ?, ?, ?, 'CO', '80424', 'USA', ?)",
            {a.no, a.name, a.line1, a.city, a.phone});
    }
    struct Location {
        const char* id;
        const char* description;
        int address;
    };
    static constexpr Location kLocations[] = {
        {"BASE", "Base Lodge Shop", 1},
        {"SUMMIT", "Summit Rental Shop", 2},
        {"VILLAGE", "Village Sports", 3},
        {"TICKET", "Ticket Windows", 4},
    };
    for (const Location& l : kLocations) {
        db.Run(
            "INSERT INTO vym_location (location_id, description, address_no, "
            "ship_to_address_no, invoice_to_address_no, confirm_to_address_no) "
            "VALUES (?, ?, ?, 5, 6, ?)",
            {l.id, l.description, l.address, l.address});
    }
    static constexpr const char* kUserLocations[][2] = {
        {"ADMIN", "BASE"},   {"ADMIN", "SUMMIT"},   {"ADMIN", "VILLAGE"},  {"ADMIN", "TICKET"},
        {"JSMITH", "BASE"},  {"JSMITH", "VILLAGE"}, {"RMILLER", "SUMMIT"}, {"RMILLER", "BASE"},
        {"KCHEN", "TICKET"}, {"DBROOKS", "BASE"},
    };
    for (const auto& ul : kUserLocations) {
        db.Run("INSERT INTO vym_security_user_location (vym_user, location_id) VALUES (?, ?)",
               {ul[0], ul[1]});
    }
}

void AddStoreRows(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_store (store_no, description, location_id) VALUES "
        "(1, 'Base Lodge Shop', 'BASE'), (2, 'Village Sports', 'VILLAGE')");
    struct Group {
        int store;
        int group;
        const char* description;
    };
    static constexpr Group kGroups[] = {
        {1, 1, "Outerwear"}, {1, 2, "Accessories"},     {1, 3, "Souvenirs"},
        {2, 1, "Hardgoods"}, {2, 2, "Tuning & Repair"},
    };
    for (const Group& g : kGroups) {
        db.Run(
            "INSERT INTO vym_store_product_group (store_no, product_group_no, description) "
            "VALUES (?, ?, ?)",
            {g.store, g.group, g.description});
    }
    struct Product {
        int store;
        int product;
        int group;
        const char* name;
    };
    static constexpr Product kProducts[] = {
        {1, 101, 1, "Shell Jacket"}, {1, 102, 1, "Insulated Pants"},
        {1, 201, 2, "Goggles"},      {1, 202, 2, "Ski Gloves"},
        {1, 203, 2, "Neck Gaiter"},  {2, 101, 1, "All-Mountain Skis"},
        {2, 102, 1, "Snowboard"},    {2, 201, 2, "Hot Wax"},
    };
    for (const Product& p : kProducts) {
        db.Run(
            "INSERT INTO vym_store_product (store_no, product_no, product_group_no, "
            "product_name) VALUES (?, ?, ?, ?)",
            {p.store, p.product, p.group, p.name});
    }
}

void AddVendorRows(SqlSession& db) {
    static constexpr const char* kAddressTypes[][2] = {
        {"PRIMARY", "Primary"}, {"BILLING", "Billing"}, {"SHIPPING", "Shipping"}};
    for (const auto& type : kAddressTypes) {
        db.Run(
            "INSERT INTO vym_vendor_address_type (vendor_address_type, description) "
            "VALUES (?, ?)",
            {type[0], type[1]});
    }
    struct Vendor {
        const char* id;
        const char* name;
        const char* contact;
        int address;
    };
    static constexpr Vendor kVendors[] = {
        {"ALPINEGEAR", "Alpine Gear Supply Co.", "Marta Lindqvist", 10},
        {"SNOWLINE", "Snowline Outfitters", "Greg Tan", 11},
        {"SUMMITOPT", "Summit Optics", "Priya Raman", 12},
        {"PEAKPRINT", "Peak Print & Photo", "Leo Duarte", 13},
    };
    for (const Vendor& v : kVendors) {
        db.Run(
            "INSERT INTO vym_vendor (vendor_id, vendor_name, contact_name, vendor_address_no) "
            "VALUES (?, ?, ?, ?)",
            {v.id, v.name, v.contact, v.address});
        db.Run(
            "INSERT INTO vym_vendor_address (vendor_id, vendor_address_type, address_no) "
            "VALUES (?, 'PRIMARY', ?)",
            {v.id, v.address});
    }
    struct Product {
        const char* vendor;
        const char* id;
        const char* description;
        const char* uom;
        double price;
        double tax;
    };
    static constexpr Product kProducts[] = {
        {"ALPINEGEAR", "AG-1001", "Shell Jacket, Men's", "EA", 89.50, 0},
        {"ALPINEGEAR", "AG-1002", "Shell Jacket, Women's", "EA", 89.50, 0},
        {"ALPINEGEAR", "AG-2040", "Insulated Ski Gloves", "PR", 14.25, 0},
        {"SNOWLINE", "SL-300", "All-Mountain Ski 170cm", "EA", 212.00, 0},
        {"SNOWLINE", "SL-410", "Rental Boot, Mondo 27", "PR", 64.75, 0},
        {"SNOWLINE", "SL-900", "Hot Wax, 1 lb bar", "CS", 38.00, 2.85},
        {"SUMMITOPT", "SO-77", "Goggle, Low Light Lens", "EA", 31.40, 0},
        {"SUMMITOPT", "SO-78", "Goggle, Mirrored Lens", "EA", 36.90, 0},
        {"PEAKPRINT", "PP-810", "Photo Print Paper 8x10", "BX", 42.00, 3.15},
    };
    for (const Product& p : kProducts) {
        db.Run(
            "INSERT INTO vym_vendor_product (vendor_id, product_id, description, item_no, "
            "base_uom_id, unit_price, unit_tax) VALUES (?, ?, ?, NULL, ?, ?, ?)",
            {p.vendor, p.id, p.description, p.uom, Money(p.price), Money(p.tax)});
    }
}

void AddPurchaseOrderRows(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_po_status (status_id, description) VALUES ('OPEN', 'Open'), "
        "('PARTIAL', 'Partially Received'), ('CLOSED', 'Closed')");
    struct Order {
        int no;
        const char* vendor;
        const char* location;
        const char* status;
        int ordered[3];
        const char* notes;
    };
    static constexpr Order kOrders[] = {
        {1001, "ALPINEGEAR", "BASE", "CLOSED", {2024, 9, 3}, "Fall outerwear restock"},
        {1002, "SNOWLINE", "SUMMIT", "PARTIAL", {2024, 10, 14}, "Rental fleet, boots to follow"},
        {1003, "SUMMITOPT", "VILLAGE", "OPEN", {2024, 11, 2}, "Goggles for the holidays"},
        {1004, "ALPINEGEAR", "BASE", "OPEN", {2024, 11, 18}, "Gloves reorder; deliver to dock"},
    };
    for (const Order& o : kOrders) {
        db.Run(
            "INSERT INTO vym_po (po_no, vendor_id, location_id, status_id, order_date, notes) "
            "VALUES (?, ?, ?, ?, ?, ?)",
            {o.no, o.vendor, o.location, o.status, Day(o.ordered[0], o.ordered[1], o.ordered[2]),
             o.notes});
    }
    struct Line {
        int po;
        int line;
        const char* product;
        int ordered;
        int received;
        double cost;
    };
    static constexpr Line kLines[] = {
        {1001, 1, "AG-1001", 24, 24, 89.50}, {1001, 2, "AG-1002", 24, 24, 89.50},
        {1002, 1, "SL-300", 40, 40, 212.00}, {1002, 2, "SL-410", 60, 0, 64.75},
        {1003, 1, "SO-77", 30, 0, 31.40},    {1003, 2, "SO-78", 20, 0, 36.90},
        {1004, 1, "AG-2040", 48, 0, 14.25},
    };
    for (const Line& l : kLines) {
        db.Run(
            "INSERT INTO vym_po_line (po_no, line_no, product_id, qty_ord, qty_received, "
            "unit_cost) VALUES (?, ?, ?, ?, ?, ?)",
            {l.po, l.line, l.product, l.ordered, l.received, Money(l.cost)});
    }
}

}  // namespace

void AddItemSupportDemoRows(SqlSession& session) {
    AddFunctionRows(session);
    AddCatagoryRows(session);
    AddUnitRows(session);
    AddSeasonRows(session);
    AddLocationRows(session);
    AddStoreRows(session);
    AddVendorRows(session);
    AddPurchaseOrderRows(session);
}

}  // namespace vym::server
