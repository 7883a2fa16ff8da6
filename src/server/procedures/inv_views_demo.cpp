#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/date.h"
#include "base/value.h"
#include "server/procedures/inv_procedures.h"

namespace vym::server {
namespace {

struct Movement {
    int year, month, day, hour, minute;
    const char* location;
    const char* type;
    int qty;  // 0 in a first receipt: what makes the location end at its quantity
    const char* toLocation;
    const char* user;
    const char* serial;
    int batch;      // batch scans (receipts, transfers, counts) share a batch number
    int receiving;  // receipts only
    int bookShift;  // days the book date lies before the movement
    bool shifted;   // counter movements fall on other days for other articles
};

// The same season for every shop article; the opening receipts come out so
// that each location ends at the quantity it holds.
constexpr Movement kRetail[] = {
    {2024, 11, 4, 9, 15, "BASE", "RECEIVE", 0, nullptr, "JSMITH", nullptr, 7001, 3001, 0, false},
    {2024, 11, 5, 10, 30, "VILLAGE", "RECEIVE", 0, nullptr, "JSMITH", nullptr, 7002, 3002, 0,
     false},
    {2024, 11, 22, 14, 2, "BASE", "SALE", -1, nullptr, "JSMITH", nullptr, 0, 0, 0, true},
    {2024, 11, 24, 12, 12, "VILLAGE", "SALE", -1, nullptr, "ADMIN", nullptr, 0, 0, 0, true},
    {2024, 12, 13, 11, 40, "BASE", "SALE", -2, nullptr, "JSMITH", nullptr, 0, 0, 0, true},
    {2024, 12, 16, 8, 30, "BASE", "XFER OUT", -3, "VILLAGE", "JSMITH", nullptr, 7010, 0, 0, false},
    {2024, 12, 16, 11, 0, "VILLAGE", "XFER IN", 3, nullptr, "JSMITH", nullptr, 7010, 0, 0, false},
    {2024, 12, 21, 15, 10, "BASE", "SALE", -1, nullptr, "ADMIN", nullptr, 0, 0, 0, true},
    {2024, 12, 23, 16, 20, "VILLAGE", "SALE", -2, nullptr, "JSMITH", nullptr, 0, 0, 0, true},
    {2025, 1, 4, 10, 5, "BASE", "RETURN", 1, nullptr, "JSMITH", nullptr, 0, 0, 0, true},
    {2025, 1, 17, 13, 25, "BASE", "SALE", -1, nullptr, "JSMITH", nullptr, 0, 0, 0, true},
    {2025, 1, 22, 12, 45, "VILLAGE", "SALE", -1, nullptr, "ADMIN", nullptr, 0, 0, 0, true},
    {2025, 1, 31, 17, 45, "BASE", "COUNT", -1, nullptr, "ADMIN", nullptr, 7021, 0, 0, false},
    // Arrived in February, invoiced and booked in January.
    {2025, 2, 3, 9, 0, "BASE", "RECEIVE", 6, nullptr, "JSMITH", nullptr, 7024, 3011, 3, false},
    {2025, 2, 10, 15, 35, "VILLAGE", "SALE", -1, nullptr, "JSMITH", nullptr, 0, 0, 0, true},
};

// Rental units are received and moved as whole batches, written off one by one.
struct RentalMovement {
    int itemNo;
    Movement movement;
};
constexpr RentalMovement kRental[] = {
    {600,
     {2024, 11, 2, 8, 0, "BASE", "RECEIVE", 0, nullptr, "RMILLER", nullptr, 7000, 3000, 0, false}},
    {601,
     {2024, 11, 2, 8, 5, "BASE", "RECEIVE", 0, nullptr, "RMILLER", nullptr, 7000, 3000, 0, false}},
    {610,
     {2024, 11, 3, 10, 0, "SUMMIT", "RECEIVE", 0, nullptr, "RMILLER", nullptr, 7003, 3003, 0,
      false}},
    {601,
     {2024, 12, 1, 7, 30, "BASE", "XFER OUT", -13, "SUMMIT", "RMILLER", nullptr, 7008, 0, 0,
      false}},
    {601,
     {2024, 12, 1, 9, 10, "SUMMIT", "XFER IN", 13, nullptr, "RMILLER", nullptr, 7008, 0, 0, false}},
    {610, {2025, 1, 8, 15, 0, "SUMMIT", "ADJUST", -2, nullptr, "RMILLER", nullptr, 0, 0, 0, false}},
    {600,
     {2025, 1, 12, 16, 40, "BASE", "ADJUST", -1, nullptr, "RMILLER", "RS160-0031", 0, 0, 0, false}},
    {601,
     {2025, 1, 20, 17, 30, "SUMMIT", "XFER OUT", -1, "BASE", "RMILLER", "RS170-0044", 7019, 0, 0,
      false}},
    {601,
     {2025, 1, 20, 18, 5, "BASE", "XFER IN", 1, nullptr, "RMILLER", "RS170-0044", 7019, 0, 0,
      false}},
    {600,
     {2025, 2, 3, 9, 20, "BASE", "ADJUST", -1, nullptr, "RMILLER", "RS160-0017", 0, 0, 0, false}},
};

constexpr int kRetailItems[] = {500, 501, 502, 503, 510, 511};

vym::Value Optional(const char* text) {
    return text != nullptr ? vym::Value(text) : vym::Value::Null();
}
vym::Value Optional(int number) {
    return number != 0 ? vym::Value(number) : vym::Value::Null();
}

// Writes one item's movements in time order, carrying each location's
// quantity from row to row.
void AddHistory(SqlSession& db, int itemNo, const std::vector<Movement>& moves, int offset,
                int& transNo) {
    const double cost =
        db.QueryValue("SELECT current_cost FROM vym_item_stock WHERE item_no = ?", {itemNo})
            .ToDouble();
    std::map<std::string, int> opening;  // what the first receipt must bring
    for (const Movement& m : moves) {
        opening.try_emplace(m.location, 0);
        opening[m.location] -= m.qty;
    }
    for (auto& [location, qty] : opening) {
        qty += db.QueryValue(
                     "SELECT qty_on_hand FROM vym_item_stock_location WHERE item_no = ? "
                     "AND location_id = ?",
                     {itemNo, location})
                   .ToLong();
    }
    // Counter movements shift by article, so the order comes from the times.
    std::vector<std::pair<double, Movement>> timed;
    for (const Movement& m : moves) {
        timed.emplace_back(vym::Date::FromParts(m.year, m.month, m.day, m.hour, m.minute).Serial() +
                               (m.shifted ? offset : 0),
                           m);
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::map<std::string, int> onHand;
    int invoice = 4100 + offset * 37;
    for (const auto& [when, m] : timed) {
        const int qty = m.qty != 0 ? m.qty : opening[m.location];
        const int before = onHand[m.location];
        onHand[m.location] = before + qty;
        const bool counter = std::string(m.type) == "SALE" || std::string(m.type) == "RETURN";
        const std::string till = std::string(m.location) == "BASE" ? "01" : "03";
        db.Run(
            "INSERT INTO vym_item_stock_history (trans_no, item_no, location_id, trans_type, "
            "batch_no, "
            "to_location_id, vym_user, qty, before_qty, after_qty, serial_id, receiving_no, "
            "trans_date, book_date, value, avg_cost, avg_freight, avg_disc, current_cost, "
            "reg_ctrl_inv) SELECT ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, current_avg_cost, "
            "current_avg_freight, current_avg_discount, current_cost, ? FROM vym_item_stock "
            "WHERE item_no = ?",
            {transNo++, itemNo, m.location, m.type, Optional(m.batch), Optional(m.toLocation),
             m.user, qty, before, before + qty, Optional(m.serial), Optional(m.receiving),
             vym::Date(when), vym::Date(when - m.bookShift).DateOnly(), qty * cost,
             counter ? vym::Value(till + "-" + std::to_string(1180 + m.month) + "-00" +
                                  std::to_string(invoice++))
                     : vym::Value::Null(),
             itemNo});
    }
}

}  // namespace

void AddInvDemoRows(SqlSession& db) {
    // Numbered from 1001, leaving the low numbers free.
    int transNo = 1001;
    int offset = 0;
    for (int itemNo : kRetailItems) {
        AddHistory(db, itemNo, {std::begin(kRetail), std::end(kRetail)}, offset++, transNo);
    }
    for (int itemNo : {600, 601, 610}) {
        std::vector<Movement> moves;
        for (const RentalMovement& r : kRental) {
            if (r.itemNo == itemNo) {
                moves.push_back(r.movement);
            }
        }
        AddHistory(db, itemNo, moves, 0, transNo);
    }
    // What the locations remember of the movements.
    db.Run(
        "UPDATE vym_item_stock_location SET "
        "last_date_sold = (SELECT max(trans_date) FROM vym_item_stock_history h WHERE "
        "h.item_no = vym_item_stock_location.item_no AND h.location_id = "
        "vym_item_stock_location.location_id AND h.trans_type = 'SALE'), "
        "last_inventory_date = (SELECT max(" +
        db.Engine().DateOf("trans_date") +
        ") FROM vym_item_stock_history h "
        "WHERE h.item_no = vym_item_stock_location.item_no AND h.location_id = "
        "vym_item_stock_location.location_id AND h.trans_type = 'COUNT')");
    db.Run(
        "UPDATE vym_item_stock_location SET min_qty = CASE location_id WHEN 'BASE' THEN 2 "
        "ELSE 1 END, order_qty = CASE location_id WHEN 'BASE' THEN 6 ELSE 3 END WHERE item_no "
        "IN (SELECT item_no FROM vym_item_stock WHERE serialized = 0)");
    db.Run(
        "UPDATE vym_item_stock_location SET qty_serialized = qty_on_hand, last_date_used = ? "
        "WHERE item_no IN (SELECT item_no FROM vym_item_stock WHERE serialized <> 0)",
        {vym::Date::FromParts(2025, 2, 15)});
    // The village shop is counting its goggles.
    db.Run(
        "UPDATE vym_item_stock_location SET locked = 1 WHERE item_no = 511 AND location_id = "
        "'VILLAGE'");
}

}  // namespace vym::server
