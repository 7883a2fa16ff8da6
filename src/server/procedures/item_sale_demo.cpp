#include "base/date.h"
#include "server/procedures/item_sale_procedures.h"

namespace vym::server {
namespace {

struct Sale {
    int no;
    const char* type;
    const char* description;
    const char* location;  // nullptr: every location
    int startsIn;          // days from the day the demo is created
    int days;
    bool itemQualified;
    bool customerQualified;
};

// Two sales run now and two start in three weeks, so the list always shows
// both kinds of dates.
constexpr Sale kSales[] = {
    {1, "StockNo", "End of Season Jackets", "BASE", -3, 14, false, true},
    {2, "StockNo", "Spring Glove and Goggle Days", nullptr, 21, 14, true, false},
    {3, "Dept", "Village Retail 20% Off", "VILLAGE", -1, 10, false, false},
    {4, "Dept", "Rental Fleet Clearance", nullptr, 21, 30, false, true},
};

void AddSales(SqlSession& db) {
    const double today = vym::Date::Today().Serial();
    for (const Sale& s : kSales) {
        db.Run(
            "INSERT INTO vym_sale (sale_no, sale_type, description, location_id, "
            "sale_start_date, sale_end_date, item_qualified, customer_qualified, vym_user) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'ADMIN')",
            {s.no, s.type, s.description, s.location ? vym::Value(s.location) : vym::Value::Null(),
             vym::Date(today + s.startsIn), vym::Date(today + s.startsIn + s.days),
             s.itemQualified ? 1 : 0, s.customerQualified ? 1 : 0});
    }
}

// Item prices of the two item sales: the jackets at a quarter off their
// regular price, the goggles at a price of their own.
void AddSalePrices(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_price (item_no, sale_no, location_id, uom_id, unit_qty, unit_price, "
        "total_price, gross_unit_price, vym_user) SELECT st.item_no, 1, 'BASE', "
        "st.base_uom_id, 1, st.unit_price * 0.75, st.unit_price * 0.75, "
        "st.unit_price * 0.75, 'ADMIN' FROM vym_item_stock st WHERE st.item_no IN "
        "(500, 501, 502, 503)");
    db.Run(
        "INSERT INTO vym_price (item_no, sale_no, uom_id, unit_qty, unit_price, total_price, "
        "gross_unit_price, vym_user) SELECT st.item_no, 2, st.base_uom_id, 1, 19.99, 19.99, "
        "19.99, 'ADMIN' FROM vym_item_stock st WHERE st.item_no IN (510, 511)");
}

void AddDeptLines(SqlSession& db) {
    struct Line {
        int sale;
        int seq;
        const char* department;
        const char* model;
        const char* rentalType;
        double percent;
        double amount;
    };
    static constexpr Line kLines[] = {
        {3, 1, "RETAIL", nullptr, nullptr, 0.20, 0.0},
        {3, 2, nullptr, "GOGGLE", nullptr, 0.0, 5.0},
        {4, 1, "RENTAL", nullptr, "RENTAL", 0.30, 0.0},
    };
    auto textOrNull = [](const char* text) { return text ? vym::Value(text) : vym::Value::Null(); };
    for (const Line& l : kLines) {
        db.Run(
            "INSERT INTO vym_sale_dept (sale_no, seq_no, unit_qty, rental_type, department_id, "
            "model_id, location_id, sale_start_date, sale_end_date, sale_fixed_discount, "
            "sale_fixed_percent, item_qualified) SELECT sale_no, ?, 1, ?, ?, ?, location_id, "
            "sale_start_date, sale_end_date, ?, ?, item_qualified FROM vym_sale "
            "WHERE sale_no = ?",
            {l.seq, textOrNull(l.rentalType), textOrNull(l.department), textOrNull(l.model),
             l.amount != 0.0 ? vym::Value(vym::Currency::FromDouble(l.amount)) : vym::Value::Null(),
             l.percent != 0.0 ? vym::Value(l.percent) : vym::Value::Null(), l.sale});
    }
}

void AddQualifications(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_customer_group (customer_group_id, group_desc) VALUES "
        "('EMPLOYEE', 'Resort Employees'), ('PASSHOLD', 'Season Pass Holders'), "
        "('SKICLUB', 'Ski Club Members'), ('MILITARY', 'Military and Veterans')");
    db.Run(
        "INSERT INTO vym_sale_customer (sale_no, customer_group_id) VALUES (1, 'PASSHOLD'), "
        "(1, 'SKICLUB'), (4, 'EMPLOYEE')");
    // Goggle days are for season pass holders, who prove it with the pass.
    db.Run("INSERT INTO vym_sale_item (sale_no, item_no) VALUES (2, 104)");
}

}  // namespace

void AddItemSaleDemoRows(SqlSession& session) {
    AddSales(session);
    AddSalePrices(session);
    AddDeptLines(session);
    AddQualifications(session);
}

}  // namespace vym::server
