#include "server/procedures/package_pricing_procedures.h"

namespace vym::server {
namespace {

// A line's price totals the line: its unit price for each unit of each of
// the line's package quantity, as the package detail pricing saves it.
void TotalLinePrices(SqlSession& db) {
    db.Run(
        "UPDATE vym_price SET total_price = unit_price * "
        "(CASE WHEN unit_qty = 0 THEN 1 ELSE unit_qty END) * "
        "(SELECT min(pi.pkg_qty) FROM vym_package_item pi "
        "WHERE pi.package_no = vym_price.package_no AND pi.item_no = vym_price.item_no) "
        "WHERE package_price_no IS NOT NULL");
}

void InsertLinePrice(SqlSession& db, const vym::Value& packagePrice, int item, const char* unit,
                     double unitPrice, double gross, int rule) {
    db.Run(
        "INSERT INTO vym_price (item_no, package_no, package_price_no, season_id, unit_id, "
        "unit_qty, total_price, unit_price, gross_unit_price, line_discount, seller_pricing, "
        "acct_units, print_qty, access_rule_no, vym_user) SELECT ?, p.package_no, p.price_no, "
        "p.season_id, ?, 1, ?, ?, ?, 0, 0, 1, 1, ?, 'ADMIN' FROM vym_price p WHERE p.price_no = ?",
        {item, unit, unitPrice, unitPrice, gross, rule == 0 ? vym::Value::Null() : vym::Value(rule),
         packagePrice});
}

// The lesson package (2: a day ticket, a group lesson and a ski rental) for
// any season and for the ski school's winter season.
void AddLessonPackagePrices(SqlSession& db) {
    struct LessonDay {
        int season;  // 0: any season
        double ticket;
        double lesson;
        double rental;
    };
    static constexpr LessonDay kDays[] = {{0, 59, 75, 25}, {6, 69, 79, 29}};
    for (const LessonDay& d : kDays) {
        const double total = d.ticket + d.lesson + d.rental;
        db.Run(
            "INSERT INTO vym_price (package_no, season_id, unit_id, unit_qty, total_price, "
            "unit_price, gross_unit_price, line_discount, seller_pricing, acct_units, print_qty, "
            "vym_user) VALUES (2, ?, 'LESSON', 1, ?, ?, ?, 0, 0, 1, 1, 'ADMIN')",
            {d.season == 0 ? vym::Value::Null() : vym::Value(d.season), total, total, total});
        const vym::Value packagePrice = vym::Value::FromInt64(db.LastInsertId());
        InsertLinePrice(db, packagePrice, 100, "DAY", d.ticket, 99, 1);
        InsertLinePrice(db, packagePrice, 200, "LESSON", d.lesson, 89, 2);
        InsertLinePrice(db, packagePrice, 700, "DAY", d.rental, 38, 0);
    }
}

}  // namespace

void AddPackagePricingDemoRows(SqlSession& session) {
    TotalLinePrices(session);
    AddLessonPackagePrices(session);
    // Between the ski package and the snowboard package, either way.
    session.Run(
        "INSERT INTO vym_rental_upgrade_price (pay_first_package_item_no, "
        "rental_package_item_no, upgrade_price, vym_user) VALUES "
        "(702, 703, 12.5, 'ADMIN'), (703, 702, 8, 'ADMIN')");
}

}  // namespace vym::server
