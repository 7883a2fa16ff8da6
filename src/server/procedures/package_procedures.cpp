#include "server/procedures/package_procedures.h"

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/xml_rows.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_catalogue::DeleteDroppedInstruction;
using item_catalogue::Number;
using item_catalogue::NumberOrNull;
using item_catalogue::ReadRows;
using item_catalogue::Refusal;
using item_catalogue::RowExists;
using item_catalogue::Text;
using item_catalogue::WriteInstruction;

using Check = std::optional<std::string>;

Check PackageMissing(SqlSession& db, std::int32_t packageNo) {
    if (RowExists(db, "vym_package", "package_no", packageNo)) {
        return std::nullopt;
    }
    return "Package " + std::to_string(packageNo) + " does not exist.";
}

Check CheckHeader(ProcedureContext& call, std::int32_t packageNo) {
    SqlSession& db = call.Session();
    if (packageNo != 0) {
        if (auto missing = PackageMissing(db, packageNo)) {
            return missing;
        }
    }
    if (call.GetString("@description").value_or("").find_first_not_of(' ') == std::string::npos) {
        return std::string("Description is required.");
    }
    const vym::Value function = TextOrNull(call, "@function_id");
    if (!function.IsNull() && !RowExists(db, "vym_function", "function_id", function)) {
        return "Function " + function.ToString() + " does not exist.";
    }
    const vym::Value catagory = TextOrNull(call, "@catagory_id");
    if (!catagory.IsNull() &&
        db.QueryValue("SELECT 1 FROM vym_catagory WHERE function_id = ? AND catagory_id = ?",
                      {function, catagory})
            .IsNull()) {
        return "Catagory " + catagory.ToString() + " does not exist for function " +
               NullToEmpty(function) + ".";
    }
    const vym::Value redeem = NumberOrNull(call, "@redeem_package_no");
    if (!redeem.IsNull()) {
        if (redeem.ToLong() == packageNo) {
            return std::string("A package can not be redeemed as itself.");
        }
        if (!RowExists(db, "vym_package", "package_no", redeem)) {
            return "Redemption package " + redeem.ToString() + " does not exist.";
        }
    }
    return std::nullopt;
}

void UpdatePackage(ProcedureContext& call) {
    SqlSession& db = call.Session();
    std::int32_t packageNo = call.GetLong("@package_no").value_or(0);
    const auto row = [&packageNo] {
        return GuardedRow{"vym_package", "package_no = ?", {packageNo}, "package"};
    };
    if (packageNo != 0 && !RefuseIfRowChanged(call, row(), kMessage)) {
        return;
    }
    if (auto refusal = CheckHeader(call, packageNo)) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (packageNo != 0 && !ClaimRow(call, row(), kMessage)) {
        return;
    }
    vym::Value previousInstruction = vym::Value::Null();
    vym::Value previousRedeem = vym::Value::Null();
    if (packageNo != 0) {
        previousInstruction = db.QueryValue(
            "SELECT instruction_no FROM vym_package WHERE package_no = ?", {packageNo});
        previousRedeem = db.QueryValue(
            "SELECT redeem_package_no FROM vym_package WHERE package_no = ?", {packageNo});
    }
    const vym::Value instruction = WriteInstruction(call, previousInstruction);
    const vym::Value redeem = NumberOrNull(call, "@redeem_package_no");
    const std::initializer_list<vym::Value> values = {call.Get("@description"),
                                                      call.GetLong("@display_seq").value_or(0),
                                                      call.GetBool("@is_active").value_or(true),
                                                      TextOrNull(call, "@function_id"),
                                                      TextOrNull(call, "@catagory_id"),
                                                      call.GetBool("@show_on_tree").value_or(false),
                                                      TextOrNull(call, "@tree_icon"),
                                                      instruction,
                                                      redeem,
                                                      TextOrNull(call, "@vym_user")};
    if (packageNo == 0) {
        auto insert = db.Prepare(
            "INSERT INTO vym_package (description, display_seq, is_active, function_id, "
            "catagory_id, show_on_tree, tree_icon, instruction_no, redeem_package_no, vym_user, "
            "create_date, update_date) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, " +
            db.Engine().Now() + ", " + db.Engine().Now() + ")");
        insert->BindAll(values);
        insert->Step();
        packageNo = static_cast<std::int32_t>(db.LastInsertId());
        ClaimRow(call, row(), kMessage);
    } else {
        auto update = db.Prepare(
            "UPDATE vym_package SET description = ?, display_seq = ?, is_active = ?, "
            "function_id = ?, catagory_id = ?, show_on_tree = ?, tree_icon = ?, "
            "instruction_no = ?, redeem_package_no = ?, vym_user = ?, update_date = " +
            db.Engine().Now() + " WHERE package_no = ?");
        update->BindAll(values);
        update->Bind(static_cast<int>(values.size()) + 1, packageNo);
        update->Step();
        // The lines were mapped to the lines of the old redemption package.
        if (NullToZero(previousRedeem).ToLong() != NullToZero(redeem).ToLong()) {
            db.Run("UPDATE vym_package_item SET redeem_seq_no = NULL WHERE package_no = ?",
                   {packageNo});
        }
    }
    DeleteDroppedInstruction(db, previousInstruction, instruction);
    call.SetOutput("@package_no", packageNo);
    call.SetOutput("@instruction_no", instruction);
    call.SetOutput(kMessage, std::string());
}

Check CheckLine(ProcedureContext& call, std::int32_t packageNo, std::int32_t seqNo) {
    SqlSession& db = call.Session();
    if (auto missing = PackageMissing(db, packageNo)) {
        return missing;
    }
    if (seqNo != 0 &&
        db.QueryValue("SELECT 1 FROM vym_package_item WHERE package_no = ? AND seq_no = ?",
                      {packageNo, seqNo})
            .IsNull()) {
        return "Line " + std::to_string(seqNo) + " of package " + std::to_string(packageNo) +
               " does not exist.";
    }
    const std::int32_t itemNo = call.GetLong("@item_no").value_or(0);
    if (auto missing = item_catalogue::CheckItemExists(db, itemNo)) {
        return missing;
    }
    if (call.GetLong("@qty").value_or(0) < 1) {
        return std::string("The quantity of a package line must be at least 1.");
    }
    const vym::Value format = NumberOrNull(call, "@format_no");
    if (!format.IsNull() && !RowExists(db, "vym_print_format", "format_no", format)) {
        return "Print format " + format.ToString() + " does not exist.";
    }
    const vym::Value redeemSeq = NumberOrNull(call, "@redeem_seq_no");
    if (!redeemSeq.IsNull() &&
        db.QueryValue("SELECT 1 FROM vym_package p JOIN vym_package_item r "
                      "ON r.package_no = p.redeem_package_no WHERE p.package_no = ? "
                      "AND r.seq_no = ?",
                      {packageNo, redeemSeq})
            .IsNull()) {
        return "Line " + redeemSeq.ToString() + " of the redemption package does not exist.";
    }
    return std::nullopt;
}

void UpdatePackageDetail(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t packageNo = call.GetLong("@package_no").value_or(0);
    std::int32_t seqNo = call.GetLong("@seq_no").value_or(0);
    if (auto refusal = CheckLine(call, packageNo, seqNo)) {
        Refuse(call, kMessage, *refusal);
        return;
    }
    if (seqNo == 0) {
        seqNo =
            db.QueryValue(
                  "SELECT COALESCE(MAX(seq_no), 0) + 1 FROM vym_package_item WHERE package_no = ?",
                  {packageNo})
                .ToLong();
        db.Run(
            "INSERT INTO vym_package_item (package_no, seq_no, item_no, pkg_qty, format_no, "
            "redeem_seq_no) VALUES (?, ?, ?, ?, ?, ?)",
            {packageNo, seqNo, call.Get("@item_no"), call.Get("@qty"),
             NumberOrNull(call, "@format_no"), NumberOrNull(call, "@redeem_seq_no")});
    } else {
        db.Run(
            "UPDATE vym_package_item SET item_no = ?, pkg_qty = ?, format_no = ?, "
            "redeem_seq_no = ? WHERE package_no = ? AND seq_no = ?",
            {call.Get("@item_no"), call.Get("@qty"), NumberOrNull(call, "@format_no"),
             NumberOrNull(call, "@redeem_seq_no"), packageNo, seqNo});
    }
    call.SetOutput("@seq_no", static_cast<std::int16_t>(seqNo));
    call.SetOutput(kMessage, std::string());
}

void DeletePackageDetail(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::int32_t packageNo = call.GetLong("@package_no").value_or(0);
    const std::int32_t seqNo = call.GetLong("@seq_no").value_or(0);
    if (db.QueryValue("SELECT 1 FROM vym_package_item WHERE package_no = ? AND seq_no = ?",
                      {packageNo, seqNo})
            .IsNull()) {
        Refuse(call, kMessage,
               "Line " + std::to_string(seqNo) + " of package " + std::to_string(packageNo) +
                   " does not exist.");
        return;
    }
    // Another package's line redeemed as this one would be left pointing at nothing.
    const vym::Value redeemedBy = db.QueryValue(
        "SELECT p.description FROM vym_package p JOIN vym_package_item pi "
        "ON pi.package_no = p.package_no WHERE p.redeem_package_no = ? AND pi.redeem_seq_no = ? "
        "LIMIT 1",
        {packageNo, seqNo});
    if (!redeemedBy.IsNull()) {
        Refuse(call, kMessage,
               "A line of the package " + redeemedBy.ToString() + " is redeemed as line " +
                   std::to_string(seqNo) + ", which can not be removed.");
        return;
    }
    db.Run("DELETE FROM vym_package_item WHERE package_no = ? AND seq_no = ?", {packageNo, seqNo});
    call.SetOutput(kMessage, std::string());
}

// Each package named in the document gets exactly the groups listed for it;
// a row with an empty group id stands for a package without groups. The
// whole document is read and checked before anything is written.
void UpdateRegisterGroupPackages(ProcedureContext& call) {
    SqlSession& db = call.Session();
    pugi::xml_document document;
    std::set<std::int32_t> packages;
    std::vector<std::pair<std::int32_t, std::string>> rows;
    try {
        for (pugi::xml_node row : ReadRows(document, call.GetString("@XMLDOC").value_or(""),
                                           "vym_register_group_package")) {
            const std::int32_t packageNo = Number(row, "package_no");
            if (auto missing = PackageMissing(db, packageNo)) {
                throw Refusal{*missing};
            }
            packages.insert(packageNo);
            std::string group = Text(row, "register_group_id");
            if (group.empty()) {
                continue;
            }
            if (!RowExists(db, "vym_register_group", "register_group_id", group)) {
                throw Refusal{"Register group " + group + " does not exist."};
            }
            rows.emplace_back(packageNo, std::move(group));
        }
    } catch (const Refusal& refusal) {
        Refuse(call, kMessage, refusal.message);
        return;
    }
    for (std::int32_t packageNo : packages) {
        db.Run("DELETE FROM vym_register_group_package WHERE package_no = ?", {packageNo});
    }
    for (const auto& [packageNo, group] : rows) {
        db.Run(
            "INSERT INTO vym_register_group_package (package_no, register_group_id) "
            "VALUES (?, ?) ON CONFLICT DO NOTHING",
            {packageNo, group});
    }
    call.SetOutput(kMessage, std::string());
}

}  // namespace

void RegisterPackageProcedures(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_UpdatePackage",
        {InOut("@package_no", DataType::Integer), In("@description", DataType::VarChar, 80),
         In("@display_seq", DataType::Integer), In("@is_active", DataType::Boolean),
         In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@show_on_tree", DataType::Boolean), In("@tree_icon", DataType::VarChar, 10),
         In("@redeem_package_no", DataType::Integer), In("@vym_user", DataType::VarChar, 20),
         InOut("@instruction_no", DataType::Integer),
         In("@instruction_body", DataType::LongVarChar), Out(kMessage, DataType::VarChar, 255),
         RowVersionParameter()},
        UpdatePackage);
    catalog.Add("VYM_SP_ITEM_UpdatePackageDetail",
                {In("@package_no", DataType::Integer), InOut("@seq_no", DataType::SmallInt),
                 In("@item_no", DataType::Integer), In("@qty", DataType::SmallInt),
                 In("@format_no", DataType::Integer), In("@redeem_seq_no", DataType::Integer),
                 Out(kMessage, DataType::VarChar, 255)},
                UpdatePackageDetail);
    catalog.Add("VYM_SP_ITEM_DeletePackageDetail",
                {In("@package_no", DataType::Integer), In("@seq_no", DataType::SmallInt),
                 Out(kMessage, DataType::VarChar, 255)},
                DeletePackageDetail);
    catalog.Add("VYM_SP_ITEM_UpdateRegisterGroupPackageXML",
                {In("@XMLDOC", DataType::LongVarChar), Out(kMessage, DataType::VarWChar, 256)},
                UpdateRegisterGroupPackages);
}

}  // namespace vym::server
