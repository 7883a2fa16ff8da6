#include "server/procedures/package_pricing_procedures.h"

#include <optional>
#include <string>

#include "base/currency.h"
#include "server/procedures/item_catalogue_support.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_catalogue::NumberOrNull;

using Check = std::optional<std::string>;

// The lines of a package, each with its price under the package price when
// one is given. A line whose item is gone is still listed, so that the
// package's price is not summed over fewer lines than it sells.
void GetPackageItems(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT pi.item_no, COALESCE(i.long_description, 'Item ' || CAST(pi.item_no AS "
        "varchar(12)) || ' no longer exists') AS long_description, pi.seq_no, i.item_type, "
        "pi.pkg_qty, pi.format_no, pi.redeem_seq_no, i.function_id, i.catagory_id, "
        "lp.price_no, lp.unit_id, lp.unit_qty, lp.unit_price, lp.total_price AS Price, "
        "lp.gross_unit_price, lp.line_discount AS allow_line_discount, lp.acct_units, "
        "lp.print_qty, lp.access_rule_no, COALESCE(t.access_rule_no, ss.access_rule_no) AS "
        "item_access_rule_no "
        "FROM vym_package_item pi "
        "LEFT JOIN vym_item i ON i.item_no = pi.item_no "
        "LEFT JOIN vym_item_ticket t ON t.item_no = pi.item_no "
        "LEFT JOIN vym_item_ss ss ON ss.item_no = pi.item_no "
        "LEFT JOIN vym_price lp ON lp.price_no = (SELECT min(p.price_no) FROM vym_price p "
        "WHERE p.package_price_no = ?2 AND p.item_no = pi.item_no) "
        "WHERE pi.package_no = ?1 ORDER BY pi.seq_no",
        {call.Get("@package_no"), NumberOrNull(call, "@package_price_no")});
}

void GetRentalPackages(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT i.item_no, i.long_description FROM vym_item i "
        "JOIN vym_item_rental r ON r.item_no = i.item_no "
        "WHERE i.item_type = 'RENTAL' AND r.is_package <> 0 "
        "ORDER BY " +
        call.Session().Engine().NoCase("i.long_description") + ", i.item_no");
}

void GetUpgradePrices(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT u.pay_first_package_item_no, f.long_description AS pay_first_description, "
        "u.rental_package_item_no, r.long_description AS rental_description, u.upgrade_price, "
        "u.row_version "
        "FROM vym_rental_upgrade_price u "
        "JOIN vym_item f ON f.item_no = u.pay_first_package_item_no "
        "JOIN vym_item r ON r.item_no = u.rental_package_item_no "
        "ORDER BY " +
        call.Session().Engine().NoCase("f.long_description") + ", u.pay_first_package_item_no, " +
        call.Session().Engine().NoCase("r.long_description") + ", u.rental_package_item_no");
}

// A pair as its two items are called, for messages.
std::string PairText(SqlSession& db, const vym::Value& payFirst, const vym::Value& rental) {
    const auto name = [&](const vym::Value& item) {
        const vym::Value description =
            db.QueryValue("SELECT long_description FROM vym_item WHERE item_no = ?", {item});
        return description.IsNull() ? "item " + NullToEmpty(item) : description.ToString();
    };
    return name(payFirst) + " to " + name(rental);
}

bool PairExists(SqlSession& db, const vym::Value& payFirst, const vym::Value& rental) {
    return !db.QueryValue(
                  "SELECT 1 FROM vym_rental_upgrade_price WHERE pay_first_package_item_no = ? "
                  "AND rental_package_item_no = ?",
                  {payFirst, rental})
                .IsNull();
}

Check NotARentalPackage(SqlSession& db, const vym::Value& item) {
    if (!item.IsNull() &&
        !db.QueryValue("SELECT 1 FROM vym_item i JOIN vym_item_rental r ON r.item_no = "
                       "i.item_no WHERE i.item_no = ? AND i.item_type = 'RENTAL' "
                       "AND r.is_package <> 0",
                       {item})
             .IsNull()) {
        return std::nullopt;
    }
    return "Item " + NullToEmpty(item) + " is not a rental package item.";
}

// Why the upgrade price may not be written; @is_new asks for a pair that
// does not exist yet, so that adding never overwrites a price.
Check CheckUpgrade(ProcedureContext& call, const vym::Value& payFirst, const vym::Value& rental) {
    SqlSession& db = call.Session();
    for (const vym::Value& item : {payFirst, rental}) {
        if (auto why = NotARentalPackage(db, item)) {
            return why;
        }
    }
    if (payFirst.ToLong() == rental.ToLong()) {
        return std::string("A rental package can not be upgraded to itself.");
    }
    const auto price = call.GetCurrency("@upgrade_price");
    if (!price) {
        return std::string("An upgrade price is required.");
    }
    if (*price < vym::Currency()) {
        return std::string("An upgrade price can not be negative.");
    }
    const bool exists = PairExists(db, payFirst, rental);
    if (call.GetBool("@is_new").value_or(false) && exists) {
        return "An upgrade price from " + PairText(db, payFirst, rental) +
               " already exists.  Change its price in the list.";
    }
    if (!call.GetBool("@is_new").value_or(false) && !exists) {
        return "The upgrade price from " + PairText(db, payFirst, rental) + " no longer exists.";
    }
    return std::nullopt;
}

GuardedRow UpgradeRow(const vym::Value& payFirst, const vym::Value& rental) {
    return {"vym_rental_upgrade_price",
            "pay_first_package_item_no = ? AND rental_package_item_no = ?",
            {payFirst, rental},
            "upgrade price"};
}

void UpdateUpgradePrice(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value payFirst = NumberOrNull(call, "@pay_first_package_item_no");
    const vym::Value rental = NumberOrNull(call, "@rental_package_item_no");
    const bool isNew = call.GetBool("@is_new").value_or(false);
    if (!isNew && !RefuseIfRowChanged(call, UpgradeRow(payFirst, rental), kMessage)) {
        return;
    }
    if (auto why = CheckUpgrade(call, payFirst, rental)) {
        Refuse(call, kMessage, *why);
        return;
    }
    const std::initializer_list<vym::Value> values = {*call.GetCurrency("@upgrade_price"),
                                                      call.UserId(), payFirst, rental};
    WriteClaimed(call, UpgradeRow(payFirst, rental), kMessage, [&] {
        if (isNew) {
            db.Run(
                "INSERT INTO vym_rental_upgrade_price (upgrade_price, vym_user, "
                "pay_first_package_item_no, rental_package_item_no, update_date) "
                "VALUES (?, ?, ?, ?, " +
                    db.Engine().Now() + ")",
                values);
        } else {
            db.Run(
                "UPDATE vym_rental_upgrade_price SET upgrade_price = ?, vym_user = ?, "
                "update_date = " +
                    db.Engine().Now() +
                    " WHERE pay_first_package_item_no = ? AND rental_package_item_no = ?",
                values);
        }
        call.SetOutput(kMessage, std::string());
    });
}

void DeleteUpgradePrice(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const vym::Value payFirst = NumberOrNull(call, "@pay_first_package_item_no");
    const vym::Value rental = NumberOrNull(call, "@rental_package_item_no");
    if (!PairExists(db, payFirst, rental)) {
        Refuse(call, kMessage,
               "The upgrade price from " + PairText(db, payFirst, rental) + " does not exist.");
        return;
    }
    if (!RefuseIfRowChanged(call, UpgradeRow(payFirst, rental), kMessage)) {
        return;
    }
    db.Run(
        "DELETE FROM vym_rental_upgrade_price WHERE pay_first_package_item_no = ? "
        "AND rental_package_item_no = ?",
        {payFirst, rental});
    call.SetOutput(kMessage, std::string());
}

}  // namespace

void RegisterPackagePricingProcedures(ProcedureCatalog& catalog) {
    // The package editor reads the lines alone; the package detail pricing
    // reads them with their prices under @package_price_no.
    catalog.Add("VYM_SP_ITEM_GetPackageItems",
                {In("@package_no", DataType::Integer), In("@package_price_no", DataType::Integer)},
                GetPackageItems);
    catalog.Add("VYM_SP_ITEM_RENTAL_PACKAGE_get", {}, GetRentalPackages);
    catalog.Add("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_get", {}, GetUpgradePrices);
    catalog.Add("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_update",
                {In("@pay_first_package_item_no", DataType::Integer),
                 In("@rental_package_item_no", DataType::Integer),
                 In("@upgrade_price", DataType::Currency), In("@is_new", DataType::Boolean),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                UpdateUpgradePrice);
    catalog.Add("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_delete",
                {In("@pay_first_package_item_no", DataType::Integer),
                 In("@rental_package_item_no", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
                DeleteUpgradePrice);
}

}  // namespace vym::server
