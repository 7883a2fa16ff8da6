#include <string>

#include "base/date.h"
#include "server/procedures/special_offer_procedures.h"

namespace vym::server {
namespace {

// The jackets and goggles sold at the Base Lodge Shop, and the family week
// sold at Village Sports.
void AddProductItems(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_store_product_item (store_no, product_no, seq_no, item_no, "
        "product_item_name) SELECT 1, 101, item_no - 499, item_no, long_description FROM "
        "vym_item WHERE item_no IN (500, 501, 502)");
    db.Run(
        "INSERT INTO vym_store_product_item (store_no, product_no, seq_no, item_no, "
        "product_item_name) SELECT 1, 201, item_no - 509, item_no, long_description FROM "
        "vym_item WHERE item_no IN (510, 511)");
    db.Run(
        "INSERT INTO vym_store_product_item (store_no, product_no, seq_no, package_no, "
        "product_item_name) SELECT 2, 102, 1, package_no, description FROM vym_package "
        "WHERE package_no = 1");
}

void AddOffers(SqlSession& db) {
    const double today = vym::Date::Today().Serial();
    struct Offer {
        int no;
        const char* code;
        const char* description;
        bool active;
        int startsIn;  // days from the day the demo is created
        int days;
    };
    static constexpr Offer kOffers[] = {
        {1, "WINTER10", "Winter Warm-Up", true, -10, 60},
        {2, "SPRING22", "Spring Break 2022", false, -400, 30},
    };
    for (const Offer& o : kOffers) {
        db.Run(
            "INSERT INTO vym_special_offer (special_offer_no, special_offer_code, description, "
            "is_active, start_date, end_date, vym_user) VALUES (?, ?, ?, ?, ?, ?, 'ADMIN')",
            {o.no, o.code, o.description, o.active ? 1 : 0, vym::Date(today + o.startsIn),
             vym::Date(today + o.startsIn + o.days)});
    }
}

void AddLines(SqlSession& db) {
    auto line = [&](int offer, int seq, const char* columns, const char* values) {
        db.Run("INSERT INTO vym_special_offer_detail (special_offer_no, seq_no, vym_user, " +
                   std::string(columns) + ") SELECT ?, ?, 'ADMIN', " + values,
               {offer, seq});
    };
    line(1, 1, "percentage_discount, item_type, location_id", "0.1, 'STOCK', 'BASE'");
    line(1, 2, "fixed_discount, min_amount, store_no, product_group_no", "5, 50, 1, 2");
    line(1, 3, "exclude, item_no", "1, 510");
    line(1, 4, "percentage_discount, store_no, product_group_no, product_no, product_item_seq_no",
         "0.15, 1, 1, 101, 1");
    line(1, 5, "fixed_discount, package_no", "20, 1");
    line(1, 6, "percentage_discount, package_no, price_no",
         "0.05, 1, MIN(price_no) FROM vym_price WHERE package_no = 1 HAVING MIN(price_no) IS "
         "NOT NULL");
    line(2, 1, "fixed_discount, item_type", "10, 'TICKET'");
    // The family week's $20 off: 4 lift tickets at $3 and 4 rentals at $2.
    db.Run(
        "INSERT INTO vym_special_offer_detail_package (special_offer_no, seq_no, item_no, "
        "fixed_discount) SELECT 1, 5, pi.item_no, CASE i.item_type WHEN 'TICKET' THEN 3 ELSE 2 "
        "END FROM vym_package_item pi JOIN vym_item i ON i.item_no = pi.item_no WHERE "
        "pi.package_no = 1");
}

}  // namespace

void AddSpecialOfferDemoRows(SqlSession& session) {
    AddProductItems(session);
    AddOffers(session);
    AddLines(session);
}

}  // namespace vym::server
