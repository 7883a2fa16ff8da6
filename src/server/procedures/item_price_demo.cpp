#include "server/procedures/item_price_procedures.h"

#include <cstdint>

#include "base/currency.h"

namespace vym::server {
namespace {

void AddDiscountRows(SqlSession& db) {
    static constexpr const char* kTypes[][2] = {
        {"CORP", "Corporate"}, {"GROUP", "Group"}, {"PROMO", "Promotion"}, {"STAFF", "Staff"}};
    for (const auto& type : kTypes) {
        db.Run("INSERT INTO vym_discount_type (discount_type_id, description) VALUES (?, ?)",
               {type[0], type[1]});
    }
    struct Discount {
        const char* id;
        const char* type;
        const char* description;
        bool active;
    };
    static constexpr Discount kDiscounts[] = {
        {"CORP", "CORP", "Corporate Partner", true},
        {"GROUP20", "GROUP", "Groups of 20 or More", true},
        {"MILITARY", "PROMO", "Active Military", true},
        {"COLLEGE", "PROMO", "College Student (2023)", false},
        {"EMPLOYEE", "STAFF", "Resort Employee", true},
    };
    for (const Discount& d : kDiscounts) {
        db.Run(
            "INSERT INTO vym_discount (discount_id, discount_type_id, description, is_active) "
            "VALUES (?, ?, ?, ?)",
            {d.id, d.type, d.description, d.active});
    }
}

struct Price {
    int item;
    int season;            // 0: any season
    const char* discount;  // nullptr: the base price
    const char* unit;
    int qty;
    double unitPrice;
    double gross;
    int rule;  // 0: none
};

void InsertPrice(SqlSession& db, const Price& p, const vym::Value& package = vym::Value::Null(),
                 const vym::Value& packagePrice = vym::Value::Null()) {
    db.Run(
        "INSERT INTO vym_price (item_no, package_no, package_price_no, season_id, discount_id, "
        "unit_id, unit_qty, total_price, unit_price, gross_unit_price, line_discount, "
        "seller_pricing, acct_units, print_qty, access_rule_no, vym_user) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 0, ?, 1, ?, 'ADMIN')",
        {p.item == 0 ? vym::Value::Null() : vym::Value(p.item), package, packagePrice,
         p.season == 0 ? vym::Value::Null() : vym::Value(p.season),
         p.discount == nullptr ? vym::Value::Null() : vym::Value(p.discount), p.unit, p.qty,
         p.unitPrice * (p.qty == 0 ? 1 : p.qty), p.unitPrice, p.gross, p.qty,
         p.rule == 0 ? vym::Value::Null() : vym::Value(p.rule)});
}

// Lift tickets by season (1 early, 2 holiday, 3 regular, 4 spring) and
// discount, and the winter's lessons; the any-season prices are the
// catalogue's.
void AddSeasonPrices(SqlSession& db) {
    static constexpr Price kPrices[] = {
        {100, 1, nullptr, "DAY", 1, 79, 79, 1},      {100, 2, nullptr, "DAY", 1, 115, 115, 1},
        {100, 2, nullptr, "3DAY", 3, 105, 115, 1},   {100, 3, nullptr, "DAY", 1, 99, 99, 1},
        {100, 3, "GROUP20", "DAY", 1, 84, 99, 1},    {100, 3, "MILITARY", "DAY", 1, 69, 99, 1},
        {100, 3, "CORP", "DAY", 1, 89, 99, 1},       {100, 4, nullptr, "DAY", 1, 75, 75, 1},
        {100, 0, "EMPLOYEE", "DAY", 1, 0, 89, 3},    {101, 1, nullptr, "DAY", 1, 49, 49, 2},
        {101, 2, nullptr, "DAY", 1, 75, 75, 2},      {101, 3, nullptr, "DAY", 1, 65, 65, 2},
        {101, 3, "GROUP20", "DAY", 1, 55, 65, 2},    {101, 4, nullptr, "DAY", 1, 45, 45, 2},
        {200, 6, nullptr, "LESSON", 1, 89, 89, 2},   {200, 6, nullptr, "3LESSON", 3, 79, 89, 2},
        {201, 6, nullptr, "LESSON", 1, 149, 149, 1},
    };
    for (const Price& p : kPrices) {
        InsertPrice(db, p);
    }
    // The catalogue's three-day ticket is sold as three days at a third each.
    db.Run(
        "UPDATE vym_price SET unit_qty = 3, acct_units = 3, unit_price = 83, "
        "gross_unit_price = 83 WHERE item_no = 100 AND unit_id = '3DAY' AND season_id IS NULL");
    db.Run("UPDATE vym_price SET access_rule_no = 1 WHERE item_no = 100 AND season_id IS NULL");
}

// The family week (package 1: four adult tickets and four ski rentals) for
// any season and for the regular season, each made of its line prices.
void AddPackagePrices(SqlSession& db) {
    struct PackagePrice {
        int season;
        double ticket;  // a day of one ticket line
        double rental;  // a day of one rental line
    };
    static constexpr PackagePrice kPackagePrices[] = {{0, 69, 29}, {3, 79, 32}};
    for (const PackagePrice& pp : kPackagePrices) {
        const double total = 4 * 5 * pp.ticket + 4 * 5 * pp.rental;
        InsertPrice(db, {0, pp.season, nullptr, "5DAY", 1, total, total, 0}, vym::Value(1));
        const vym::Value packagePrice = vym::Value::FromInt64(db.LastInsertId());
        InsertPrice(db, {100, pp.season, nullptr, "5DAY", 5, pp.ticket, 89, 1}, vym::Value(1),
                    packagePrice);
        InsertPrice(db, {700, pp.season, nullptr, "DAY", 5, pp.rental, 38, 0}, vym::Value(1),
                    packagePrice);
    }
}

// The shell jacket (500) and the ski gloves (510) by quantity and location
// beside their catalogue price for any location, and the goggle (511) with a
// line-discount-free seller price at the village.
void AddStockPrices(SqlSession& db) {
    struct StockPrice {
        int item;
        const char* uom;
        int qty;
        const char* location;  // nullptr: any location
        std::int64_t cents;    // the unit price
        bool lineDiscount;
        bool sellerPricing;
    };
    static constexpr StockPrice kPrices[] = {
        {500, "EA", 1, "SUMMIT", 16900, true, false},  {500, "EA", 3, nullptr, 14900, true, false},
        {500, "EA", 3, "VILLAGE", 14500, true, false}, {510, "PR", 1, "BASE", 3195, true, false},
        {510, "PR", 3, nullptr, 2750, true, false},    {510, "PR", 6, "BASE", 2495, true, false},
        {511, "EA", 1, "VILLAGE", 6400, false, true},
    };
    for (const StockPrice& p : kPrices) {
        const vym::Currency unit = vym::Currency::FromRaw(p.cents * 100);
        db.Run(
            "INSERT INTO vym_price (item_no, unit_qty, uom_id, location_id, total_price, "
            "unit_price, gross_unit_price, line_discount, seller_pricing, vym_user) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'ADMIN')",
            {p.item, p.qty, p.uom,
             p.location == nullptr ? vym::Value::Null() : vym::Value(p.location), unit * p.qty,
             unit, unit, p.lineDiscount, p.sellerPricing});
    }
}

}  // namespace

void AddItemPriceDemoRows(SqlSession& session) {
    AddDiscountRows(session);
    AddSeasonPrices(session);
    AddPackagePrices(session);
    AddStockPrices(session);
}

}  // namespace vym::server
