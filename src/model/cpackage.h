#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "model/cpackage_item.h"
#include "model/cregister_group.h"

namespace vym {

// A package: a sellable bundle of items, with its lines and the register
// groups it is sold in. Like the item record it holds no connection: every
// database operation takes the connection and the error object, reports an
// error under "CPackage" and returns False.
//
// The lines point back at the package, so a package stays where it was made.
class CPackage {
  public:
    CPackage() = default;
    CPackage(const CPackage&) = delete;
    CPackage& operator=(const CPackage&) = delete;

    std::int32_t PackageNo = 0;  // 0: a package not yet saved
    std::string Description;
    std::int32_t DisplaySeq = 0;
    bool IsActive = true;
    std::string FunctionID;
    std::string FunctionDescription;
    std::string CatagoryID;
    std::string CatagoryDescription;
    bool ShowOnTree = false;
    std::string TreeIcon;
    std::int32_t InstructionNo = 0;
    std::string Instruction;
    std::int32_t RedeemPackageNo = 0;  // 0: not redeemed as another package
    std::string RedeemPackageDesc;
    // The version of the header row that OpenPackage read and Update sends;
    // a successful save takes the new one. 0: not read (a new package).
    std::int32_t RowVersion = 0;

    // The register groups the package is sold in.
    std::vector<CRegisterGroup> RegisterGroups;

    // The lines in collection order; each is known by its sequence number.
    const std::vector<CPackageItem>& Items() const { return items_; }
    // Appends a line and makes this package its parent; the reference holds
    // until the next line is added or removed.
    CPackageItem& AddItem(CPackageItem item);
    // The line with that sequence number; nullptr when there is none.
    CPackageItem* FindItem(std::int16_t seqNo);
    // Replaces every line (with the lines a screen just saved) and makes this
    // package their parent.
    void SetItems(std::vector<CPackageItem> items);

    // Loads the package's header (VYM_SP_ITEM_GetPackage) with its
    // instruction text. True when the package was found.
    bool OpenPackage(Connection* oDB, ErrorObject* oError, std::int32_t lPackageNo);
    // Saves the header. On success PackageNo, InstructionNo and RowVersion
    // hold what the procedure returned; a refusal shows its message titled
    // "Update Package Message", keeps the old numbers and returns False.
    // When another station saved or deleted the package since it was read,
    // nothing is shown and RowConflict() holds the message (who and when),
    // so that the screen can offer a reload once its save is rolled back.
    bool Update(Connection* oDB, ErrorObject* oError);
    // Why the last Update was refused as a conflict; "" otherwise.
    const std::string& RowConflict() const { return rowConflict_; }
    // Replaces the lines with the ones saved for PackageNo.
    bool OpenItems(Connection* oDB, ErrorObject* oError);
    // Saves every line in order (UpdatePackageItem); stops at the first
    // failure and returns False.
    bool UpdateItems(Connection* oDB, ErrorObject* oError);
    // Replaces RegisterGroups with the package's saved groups.
    bool OpenRegisterGroups(Connection* oDB, ErrorObject* oError);
    // Saves RegisterGroups as the package's whole list (an empty list
    // removes every group). A refusal shows the procedure's message titled
    // "Error Updating Register Group Item(s)" and returns False.
    bool UpdateRegisterGroups(Connection* oDB, ErrorObject* oError);

  private:
    std::vector<CPackageItem> items_;
    std::string rowConflict_;
    ErrorTrap trap_{"CPackage"};
};

}  // namespace vym
