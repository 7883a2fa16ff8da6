#include <string>

#include "server/procedure_context.h"
#include "server/procedures/item_search_procedures.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

std::string TextOf(const ProcedureContext& call, std::string_view name) {
    return call.GetString(name).value_or("");
}

// The fields of an address, as the address control keeps them.
constexpr const char* kAddressFields[] = {"name", "address1", "address2", "city", "state",
                                          "zip",  "country",  "phone",    "fax",  "email"};

// A new address (Null or 0 number) gets the next number, given back.
void UpdateAddress(ProcedureContext& call) {
    SqlSession& session = call.Session();
    const std::int32_t number = call.GetLong("@address_no").value_or(0);
    std::vector<vym::Value> values;
    for (const char* field : kAddressFields) {
        values.push_back(TextOrNull(call, std::string("@") + field));
    }
    if (number == 0) {
        auto insert = session.Prepare(
            "INSERT INTO vym_address (name, address1, address2, city, state, "
            "zip, country, phone, fax, email) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        insert->BindAll(values);
        insert->Step();
        call.SetOutput("@address_no", vym::Value::FromInt64(session.LastInsertId()));
        return;
    }
    values.push_back(number);
    auto update = session.Prepare(
        "UPDATE vym_address SET name = ?, address1 = ?, address2 = ?, city = ?, "
        "state = ?, zip = ?, country = ?, phone = ?, fax = ?, email = ? "
        "WHERE address_no = ?");
    update->BindAll(values);
    update->Step();
    if (session.Changes() == 0) {
        Refuse(call, "Address " + std::to_string(number) + " does not exist.");
    }
}

void RegisterAddresses(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_ADDRESS_get", {In("@address_no", DataType::Integer)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT address_no, name, address1, address2, city, state, zip, "
                        "country, phone, fax, email FROM vym_address WHERE address_no = ?",
                        {call.Get("@address_no")});
                });

    catalog.Add("VYM_SP_ITEM_UpdateAddress",
                {InOut("@address_no", DataType::Integer), In("@name", DataType::VarChar, 60),
                 In("@address1", DataType::VarChar, 60), In("@address2", DataType::VarChar, 60),
                 In("@city", DataType::VarChar, 40), In("@state", DataType::VarChar, 20),
                 In("@zip", DataType::VarChar, 15), In("@country", DataType::VarChar, 40),
                 In("@phone", DataType::VarChar, 25), In("@fax", DataType::VarChar, 25),
                 In("@email", DataType::VarChar, 100), Out("@message", DataType::VarChar, 255)},
                UpdateAddress);
}

// Vendors whose name begins with the filter (every vendor for none).
void SearchVendors(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT vendor_id, vendor_name, contact_name AS Contact_Name "
        "FROM vym_vendor WHERE vendor_name " +
            std::string(call.Session().Engine().Like()) + " ? ESCAPE '\\' ORDER BY " +
            call.Session().Engine().NoCase("vendor_name") + ", vendor_id",
        {StartsWithPattern(TextOf(call, "@filter"))});
}

void GetVendor(ProcedureContext& call) {
    const vym::Value vendor = call.Get("@vendor_id");
    call.EmitResultSet(
        "SELECT vendor_id, vendor_name, contact_name AS Contact_Name, "
        "vendor_address_no AS Vendor_Address_No, row_version FROM vym_vendor "
        "WHERE vendor_id = ?",
        {vendor});
    call.EmitResultSet(
        "SELECT address_no, vendor_address_type FROM vym_vendor_address "
        "WHERE vendor_id = ? ORDER BY vendor_address_type",
        {vendor});
}

void RegisterVendorReads(ProcedureCatalog& catalog) {
    // The primary address comes first: it is the vendor's own address.
    catalog.Add("VYM_SP_ITEM_VENDOR_ADDRESS_TYPE_get", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT vendor_address_type, description AS Description "
            "FROM vym_vendor_address_type "
            "ORDER BY vendor_address_type <> 'PRIMARY', description, vendor_address_type");
    });

    catalog.Add("VYM_SP_ITEM_VENDOR_search", {In("@filter", DataType::VarChar, 60)}, SearchVendors);

    catalog.Add("VYM_SP_ITEM_VENDOR_get", {In("@vendor_id", DataType::VarChar, 15)}, GetVendor);
}

void UpdateVendor(ProcedureContext& call) {
    SqlSession& session = call.Session();
    const std::string id = TextOf(call, "@vendor_id");
    const std::string name = TextOf(call, "@vendor_name");
    const bool isNew = call.GetBool("@new_vendor").value_or(false);
    const GuardedRow row{"vym_vendor", "vendor_id = ?", {id}, "vendor"};
    if (!isNew && !RefuseIfRowChanged(call, row, "@message")) {
        return;
    }
    if (id.empty()) {
        Refuse(call, "A vendor needs a vendor id.");
        return;
    }
    if (name.empty()) {
        Refuse(call, "A vendor needs a name.");
        return;
    }
    const bool exists =
        !session.QueryValue("SELECT 1 FROM vym_vendor WHERE vendor_id = ?", {id}).IsNull();
    if (isNew) {
        if (exists) {
            Refuse(call, "The vendor id " + id + " is already in use.");
            return;
        }
        session.Run(
            "INSERT INTO vym_vendor (vendor_id, vendor_name, contact_name) "
            "VALUES (?, ?, ?)",
            {id, name, TextOrNull(call, "@contact_name")});
        ClaimRow(call, row, "@message");
        return;
    }
    if (!exists) {
        Refuse(call, "The vendor " + id + " does not exist.");
        return;
    }
    if (!ClaimRow(call, row, "@message")) {
        return;
    }
    session.Run("UPDATE vym_vendor SET vendor_name = ?, contact_name = ? WHERE vendor_id = ?",
                {name, TextOrNull(call, "@contact_name"), id});
}

// The primary address is also the vendor's own address number.
void UpdateVendorAddress(ProcedureContext& call) {
    SqlSession& session = call.Session();
    const vym::Value vendor = call.Get("@vendor_id");
    const vym::Value address = call.Get("@vendor_address_no");
    const vym::Value type = call.Get("@vendor_address_type");
    if (session.QueryValue("SELECT 1 FROM vym_vendor WHERE vendor_id = ?", {vendor}).IsNull()) {
        Refuse(call, "The vendor " + NullToEmpty(vendor) + " does not exist.");
        return;
    }
    if (session.QueryValue("SELECT 1 FROM vym_address WHERE address_no = ?", {address}).IsNull()) {
        Refuse(call, "Address " + NullToEmpty(address) + " does not exist.");
        return;
    }
    if (session
            .QueryValue("SELECT 1 FROM vym_vendor_address_type WHERE "
                        "vendor_address_type = ?",
                        {type})
            .IsNull()) {
        Refuse(call, "There is no address type " + NullToEmpty(type) + ".");
        return;
    }
    session.Run(
        "INSERT INTO vym_vendor_address (vendor_id, vendor_address_type, address_no) "
        "VALUES (?1, ?2, ?3) ON CONFLICT (vendor_id, vendor_address_type) "
        "DO UPDATE SET address_no = ?3",
        {vendor, type, address});
    session.Run(
        "UPDATE vym_vendor SET vendor_address_no = ?2 WHERE vendor_id = ?1 AND "
        "upper(?3) = 'PRIMARY'",
        {vendor, address, type});
}

void DeleteVendor(ProcedureContext& call) {
    SqlSession& session = call.Session();
    const vym::Value vendor = call.Get("@vendor_id");
    const vym::Value name =
        session.QueryValue("SELECT vendor_name FROM vym_vendor WHERE vendor_id = ?", {vendor});
    if (name.IsNull()) {
        Refuse(call, "The vendor " + NullToEmpty(vendor) + " does not exist.");
        return;
    }
    if (!RefuseIfRowChanged(call, {"vym_vendor", "vendor_id = ?", {vendor}, "vendor"},
                            "@message")) {
        return;
    }
    struct Use {
        const char* sql;
        const char* what;
    };
    static constexpr Use kUses[] = {
        {"SELECT count(*) FROM vym_item_stock WHERE vendor_id = ?", " stock item(s)"},
        {"SELECT count(*) FROM vym_po WHERE vendor_id = ?", " purchase order(s)"},
        {"SELECT count(*) FROM vym_vendor_product WHERE vendor_id = ?", " vendor product(s)"},
    };
    for (const Use& use : kUses) {
        const std::int32_t count = session.QueryValue(use.sql, {vendor}).ToLong();
        if (count > 0) {
            Refuse(call, name.ToString() + " is the vendor of " + std::to_string(count) + use.what +
                             " and cannot be deleted.");
            return;
        }
    }
    // Its addresses go with it unless something else uses them.
    std::vector<std::int64_t> addresses;
    auto linked = session.Prepare(
        "SELECT address_no FROM vym_vendor_address WHERE vendor_id = ?1 UNION "
        "SELECT vendor_address_no FROM vym_vendor WHERE vendor_id = ?1 AND "
        "vendor_address_no IS NOT NULL");
    linked->Bind(1, vendor);
    while (linked->Step()) {
        addresses.push_back(linked->ColumnInt64(0));
    }
    linked->Reset();
    session.Run("DELETE FROM vym_vendor_address WHERE vendor_id = ?", {vendor});
    session.Run("DELETE FROM vym_vendor WHERE vendor_id = ?", {vendor});
    for (const std::int64_t address : addresses) {
        session.Run(
            "DELETE FROM vym_address WHERE address_no = ?1 AND NOT EXISTS "
            "(SELECT 1 FROM vym_vendor_address WHERE address_no = ?1) AND NOT EXISTS "
            "(SELECT 1 FROM vym_vendor WHERE vendor_address_no = ?1) AND NOT EXISTS "
            "(SELECT 1 FROM vym_location WHERE ?1 IN (address_no, ship_to_address_no, "
            "invoice_to_address_no, confirm_to_address_no))",
            {vym::Value::FromInt64(address)});
    }
}

void RegisterVendorWrites(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_UpdateVendor",
        {In("@new_vendor", DataType::Boolean), In("@vendor_id", DataType::VarChar, 15),
         In("@vendor_name", DataType::VarChar, 60), In("@contact_name", DataType::VarChar, 60),
         Out("@message", DataType::VarChar, 255), RowVersionParameter()},
        UpdateVendor);

    catalog.Add(
        "VYM_SP_ITEM_UpdateVendorAddress",
        {In("@vendor_id", DataType::VarChar, 15), In("@vendor_address_no", DataType::Integer),
         In("@vendor_address_type", DataType::VarChar, 15),
         Out("@message", DataType::VarChar, 255)},
        UpdateVendorAddress);

    catalog.Add("VYM_SP_ITEM_VENDOR_delete",
                {In("@vendor_id", DataType::VarChar, 15), Out("@message", DataType::VarChar, 255),
                 RowVersionParameter()},
                DeleteVendor);
}

}  // namespace

void RegisterVendorProcedures(ProcedureCatalog& catalog) {
    RegisterAddresses(catalog);
    RegisterVendorReads(catalog);
    RegisterVendorWrites(catalog);
}

}  // namespace vym::server
