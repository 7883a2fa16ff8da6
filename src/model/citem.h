#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "model/citem_add_on.h"
#include "model/citem_detail.h"
#include "model/citem_extension.h"
#include "model/cregister_group.h"

namespace vym {

class CItemTicket;
class CItemStock;
class CItemSS;
class CItemPhoto;
class CItemShip;
class CItemRent;

// One item (product) of the catalogue: the columns every item type shares,
// exactly one type-specific detail record (owned) and the item's register
// groups, extensions and add-ons. It holds no connection: every database
// operation takes the connection and the error object; an error is reported
// to the error object under "CItem" and the operation returns False, 0 or "".
class CItem {
  public:
    CItem();
    ~CItem();
    CItem(const CItem&) = delete;
    CItem& operator=(const CItem&) = delete;

    std::int32_t ItemNo = 0;  // 0: a new item
    std::string FunctionID;
    std::string FunctionDescription;
    std::string CatagoryID;
    std::string CatagoryDescription;
    std::string ShortDescription;
    std::string LongDescription;
    std::string TreeIcon;
    std::string DepartmentId;
    bool HostRequired = false;
    std::int32_t RedeemItem = 0;
    std::string RedeemItemDescription;
    std::string RedeemItemType;
    bool Taxable = false;
    std::string StatusId = "ACTIVE";
    std::int32_t InstructionNo = 0;
    std::string Instruction;
    std::string CommentNote;
    std::string ReportNotes;
    bool UnitBasedReturn = false;
    double ReturnChargeRate = 0.0;
    bool MaintainInventory = true;
    bool ShowOnTree = false;
    std::string SaleProfileId;
    std::string ReturnProfileId;
    // The version of the item's row that OpenItem read and a save sends, so
    // that a save is refused when another station saved the item in between;
    // a successful save takes the new one. 0: not read (a new item).
    std::int32_t RowVersion = 0;

    // Filled by the Open operations in the order the procedures return rows.
    std::vector<CRegisterGroup> RegisterGroups;
    std::vector<CItemExtension> Extensions;
    std::vector<CItemAddOn> AddOns;

    // "TICKET", "STOCK", "SS", "PHOTO", "SHIP" or "RENTAL". Setting a type
    // when the item has no detail record yet creates the type's record;
    // an item that has one keeps it, whatever the type.
    const std::string& ItemType() const { return itemType_; }
    void SetItemType(const std::string& itemType);

    // The detail record (owned by the item); nullptr when there is none.
    CItemDetail* SubItem() const { return subItem_.get(); }
    // Replaces the detail record and makes this item its parent.
    void SetSubItem(std::unique_ptr<CItemDetail> subItem);
    // The detail record while the type is the accessor's, else nullptr.
    CItemTicket* TicketItem() const;
    CItemStock* StockItem() const;
    CItemSS* SSItem() const;
    CItemPhoto* ItemPhoto() const;
    CItemShip* ItemShip() const;
    CItemRent* RentItem() const;

    // Read from the detail record: False and 0 without one.
    bool PromptForAccessNo() const;
    bool UseNegativeFormat() const;
    std::int32_t FormatNo() const;

    // Sets ItemNo and, with a connection, loads the item (VYM_SP_ITEM_GetItem)
    // with its instruction text and a new detail record of its type, opened
    // for the location. True when the item was found.
    bool OpenItem(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                  const std::string& sLocationID = {});
    // Saves the item and its detail record in one procedure call; on success
    // ItemNo, InstructionNo and RowVersion hold what the procedure returned.
    // A refusal shows the procedure's message and returns False, except when
    // another station saved or deleted the item since it was read: then
    // nothing is shown and RowConflict() holds the message (who and when), so
    // that the screen can offer a reload once its save is rolled back.
    bool Update(Connection* oDB, ErrorObject* oError);
    // Why the last Update was refused as a conflict; "" otherwise.
    const std::string& RowConflict() const { return rowConflict_; }
    // Copies the item with its detail and lists; the new item's number, or 0.
    std::int32_t CreateCopy(Connection* oDB, ErrorObject* oError);
    // True when the item has at least one extension.
    bool HasExtensions(Connection* oDB, ErrorObject* oError);
    // The description of any item; "" when there is none or on an error.
    std::string GetDescription(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo);

    // Reload the child lists of ItemNo.
    bool OpenRegisterGroups(Connection* oDB, ErrorObject* oError);
    bool OpenExtensions(Connection* oDB, ErrorObject* oError);
    bool OpenAddOns(Connection* oDB, ErrorObject* oError);
    // Save a whole child list as one XML document (an empty list removes
    // every row of the item). A refusal shows the procedure's message.
    bool UpdateRegisterGroups(Connection* oDB, ErrorObject* oError);
    bool UpdateExtensions(Connection* oDB, ErrorObject* oError);
    bool UpdateAddOns(Connection* oDB, ErrorObject* oError);
    // Send row elements built by the stock editor (attribute values already
    // escaped) in the document envelope. UpdateMaps does nothing and returns
    // False for no rows.
    bool UpdateRentalDetail(Connection* oDB, ErrorObject* oError, const std::string& sXMLDetail);
    bool UpdateMaps(Connection* oDB, ErrorObject* oError, const std::string& sXMLDetail);

    // Checks a new map id: upper-cases it and removes the characters a map id
    // may not hold (warning when any were), then refuses an empty id, one
    // longer than 30, one beginning with a reserved character and one that
    // another map already uses, each with its message. sMapId comes back
    // cleaned.
    bool ValidateMapId(Connection* oDB, ErrorObject* oError, std::string& sMapId);

  private:
    // The document's result: its message shown under `errorTitle`.
    bool SaveList(Connection* oDB, ErrorObject* oError, std::string_view operation,
                  std::string procedure, std::string_view returnName, std::string_view documentName,
                  const std::string& document, std::string_view errorTitle,
                  bool requireReturnValue);
    template <class Detail>
    Detail* DetailOfType(const char* code) const;

    std::string itemType_;
    std::string rowConflict_;
    std::unique_ptr<CItemDetail> subItem_;
    ErrorTrap trap_;
};

}  // namespace vym
