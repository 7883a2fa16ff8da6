#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/citem_detail.h"

namespace vym {

// The stock (inventory) record of a stock item: classification, costs,
// prices and margin, vendor, reporting departments, serial and rental
// settings, and the quantity on hand at one location.
class CItemStock : public CItemDetail {
  public:
    CItemStock();
    ~CItemStock() override;

    // Setting the number also sets the parent item's.
    void SetItemNo(std::int32_t itemNo) override;
    // The owning item; when none was set, an item of this stock's number is
    // created (and owned) on first use.
    CItem* ParentItem() override;

    // Setting the status also sets the parent item's.
    const std::string& StatusId() const { return statusId_; }
    void SetStatusId(const std::string& statusId);

    std::int32_t FormatNo() const override { return formatNo_; }
    void SetFormatNo(std::int32_t formatNo) { formatNo_ = formatNo; }

    bool PromptForAccessNo() const override { return false; }

    std::string LocationId;  // the location the record was opened for
    std::string StockId;
    std::string StockTypeId;
    std::string StockTypeDesc;
    std::string StockSize;
    std::string StockAttribute;
    std::string Style;
    std::string Manufacturer;
    std::string Model;
    std::string StockModelDesc;
    std::string ModelSerialPrefix;
    std::string BaseUOMId;
    std::string BaseUOMDesc;
    std::string VendorId;
    std::string VendorName;
    std::string RentalType;
    std::string ReportDepartmentId;
    std::string ReportSubDepartmentId;
    std::string StockSizeTypeId;
    std::string StockSizeTypeDesc;
    std::string SerialTypeId;
    std::string SerialTypeDesc;
    std::string BindingTypeId;
    std::string BindingTypeDesc;
    std::string UPC;
    std::string SerialNo;
    double MinPrice = 0.0;
    double UnitPrice = 0.0;
    double CurrentAvgCost = 0.0;
    double CurrentAvgFreight = 0.0;
    double CurrentAvgDiscount = 0.0;
    double CurrentCost = 0.0;
    double Margin = 0.0;  // a fraction: 0.35 is 35 %
    // The numbers and flags together: the record stays small enough for the
    // allocator's per-thread cache, as it is made anew for every stock item
    // opened.
    std::int32_t GroupNo = 0;
    std::int32_t PONo = 0;
    std::int16_t MinQty = 0;
    std::int16_t QOH = 0;  // quantity on hand at LocationId
    std::int16_t BootLength = 0;
    bool Taxable = false;  // the item's, read with the stock for its labels
    bool Serialized = false;
    bool AllowLineDiscount = false;
    bool AllowSellerPricing = false;
    bool HasSerialNumbers = false;
    bool DataChanged = false;

    // Reads VYM_SP_ITEM_GetItemStock for the location (all locations when
    // empty). Item 0 is a new article: nothing is read, line discount and
    // seller pricing become allowed and the result is True. With bOpenQOH
    // the quantity is read again from the location's stock row. False when
    // there is no connection, no row or an error (reported to oError).
    bool OpenStock(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                   const std::string& sLocationID = {}, bool bOpenQOH = false);
    bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
              const std::string& sLocationID) override;

    // Unit price from margin over the landed cost (average cost + freight -
    // discount), rounded half to even to 4 places; 0 when the margin is 1.
    // Returns it as "$0.0000" ("" on an error).
    std::string CalculateUnitPrice();
    // Margin from unit price over the landed cost, rounded half to even to 4
    // places; 0 when the price is 0. Returns it in the "Percent" format.
    std::string CalculateMargin();
    // Sets the parent's long description to short description, model,
    // attribute and size joined by commas (empty parts keep their commas)
    // and returns it.
    std::string MakeLongDescription();

    // Saves the rental items of a rental article: `sRentalXML` holds the row
    // elements. False (the procedure's message shown) when it refuses, or on
    // an error.
    bool UpdateRentalItems(Connection* oDB, ErrorObject* oError, const std::string& sRentalXML);

  protected:
    void PrepareUpdate(Command& cmd) override;

  private:
    double LandedCost() const;

    std::unique_ptr<CItem> ownParent_;
    std::string statusId_;
    std::int32_t formatNo_ = 0;
};

}  // namespace vym
