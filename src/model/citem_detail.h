#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"

namespace vym {

class CItem;

// The type-specific detail record of an item (ticket, ski school, photo,
// ship, rental, stock). It opens its own row by item number and, on a save,
// prepares the item record's command so that one procedure call saves the
// item and its detail together.
class CItemDetail {
  public:
    virtual ~CItemDetail();
    CItemDetail(const CItemDetail&) = delete;
    CItemDetail& operator=(const CItemDetail&) = delete;

    std::int32_t ItemNo() const { return itemNo_; }
    virtual void SetItemNo(std::int32_t itemNo) { itemNo_ = itemNo; }

    // The owning item record (not owned); nullptr when there is none.
    virtual CItem* ParentItem() { return parent_; }
    void SetParentItem(CItem* parent) { parent_ = parent; }

    // Whether the sales side asks for an access number when the item is sold.
    virtual bool PromptForAccessNo() const = 0;
    // False and 0 for details that have no ticket format.
    virtual bool UseNegativeFormat() const { return false; }
    virtual std::int32_t FormatNo() const { return 0; }

    // Opens the detail row of `lItemNo` through the class's open operation
    // (`sLocationID` is used by those that read by location). False when
    // there is no connection, no row or an error (reported to oError).
    virtual bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                      const std::string& sLocationID) = 0;

    // Sets the command's text to the type's update procedure, refreshes its
    // parameters and sets the type's own; executes nothing. False on an error,
    // reported to oError under the class's module name.
    bool Update(Command& cmd, ErrorObject* oError = nullptr);

  protected:
    explicit CItemDetail(ErrorTrap::Module module) : trap_(module) {}

    virtual void PrepareUpdate(Command& cmd) = 0;

    // The common open: stores the number, runs `procedure` with @item_no and
    // hands the first row to `load`; False when there is no row.
    bool OpenRow(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                 std::string_view operation, std::string_view procedure,
                 const std::function<void(Recordset&)>& load);

    ErrorTrap& Trap() { return trap_; }

  private:
    std::int32_t itemNo_ = 0;
    CItem* parent_ = nullptr;
    ErrorTrap trap_;
};

}  // namespace vym
