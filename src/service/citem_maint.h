#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/currency.h"
#include "base/date.h"
#include "base/value.h"
#include "gateway/error_trap.h"
#include "gateway/procedure_call.h"
#include "host/frm_pick_list.h"
#include "host/item_enums.h"
#include "host/screen_context.h"

class QWidget;

namespace vym {

class AppServer;
class CItem;
class Connection;
class frmItemLookup;
class ErrorObject;

// The service object through which a host program uses item maintenance
// without embedding the item console, and the context the module's screens
// stand on: it holds the application server's
// connection and error object, looks stock numbers, locations and vendors up,
// lets the user pick from lists, and writes the support-table rows.
//
// Every public operation runs under the "ItemMaint" error trap: an error is
// reported to the error object and the operation returns False (0, empty).
// Database operations need a bound application server (SetAppServer).
//
// Arguments the caller gets values back in are references when the caller
// must always pass them, pointers (nullptr = not wanted) when optional.
//
// Events are Qt signals named after the event with "Event" appended
// (FunctionUpdateEvent for the event FunctionUpdate), since the names of the
// events are also names of methods. They are raised only after a successful
// write. ItemStockAddedEvent comes from the screen context, since the item
// console passes it on.
class CItemMaint : public ScreenContext {
    Q_OBJECT

  public:
    explicit CItemMaint(QObject* parent = nullptr);
    ~CItemMaint() override;

    // Binding -----------------------------------------------------------------
    // Keeps the application server (not owned: it must outlive this object or
    // be replaced), then takes its error object and its connection. nullptr
    // releases all three.
    void SetAppServer(vym::AppServer* server);
    vym::AppServer* AppServer() const override { return appServer_; }
    std::shared_ptr<Connection> DBConnection() const override { return connection_; }
    vym::ErrorObject* ErrorObject() const override { return errorObject_; }

    // Nothing in this object grants them: both report False.
    bool AllowStockEditSerial() const { return allowStockEditSerial_; }
    bool AllowStockDelSerial() const { return allowStockDelSerial_; }

    // Whether items need a reporting department. Read once from the system
    // parameters (Null as False) and then kept; False without asking while no
    // connection is bound.
    bool RequireReportingDepartment() override;

    void RequestStop() { stopRequested_ = true; }

    // A new, empty item record; the caller owns it.
    std::unique_ptr<CItem> CreateItem() const;

    // Lookups -----------------------------------------------------------------
    // Finds an item by its stock id (upper-cased, matched against the map ids)
    // or, when the stock id is empty, by lItemNo. True when found: lItemNo,
    // sDesc and dUnitPrice (the lowest base price, 0 when none) receive it.
    bool CheckStock(std::int32_t& lItemNo, const QString& sStockId, QString* sDesc = nullptr,
                    double* dUnitPrice = nullptr);
    // Finds a location by id without regard to case; True when found, and the
    // outputs receive its description and address numbers (Null as 0).
    bool CheckLocation(const QString& sLocationID, QString* sDesc = nullptr,
                       std::int32_t* lAddressID = nullptr, std::int32_t* lShipTo = nullptr,
                       std::int32_t* lInvoiceTo = nullptr, std::int32_t* lConfirmTo = nullptr);
    // The vendor's name and address number; "" and 0 when there is no such
    // vendor.
    void GetVendorInfo(const QString& sVendorId, QString& sVendorName,
                       std::int32_t& lVendorAddress) override;

    // Pick lists --------------------------------------------------------------
    // Each shows the pick list modally (owned by Parentform when given) and
    // returns True when the user chose a row with "&Ok"; only then are the
    // outputs written.
    //
    // The user's own locations, or every location when sDesc is "ALL" on entry.
    bool SelectLocation(QWidget* Parentform, QString& sID, QString& sDesc, std::int32_t& lAddress,
                        std::int32_t& lShipTo, std::int32_t& lInvoiceTo,
                        std::int32_t& lConfirmTo) override;
    // The purchase orders, of one status when sStatusID is not empty.
    bool SelectPO(std::int32_t& lPONo, const QString& sStatusID = {}, QWidget* Parentform = nullptr,
                  QString* sVendorId = nullptr, QString* sVendorName = nullptr,
                  QString* sReceivingNote = nullptr);
    // The vendor's products (every vendor's when sVendorId is empty); no list
    // is shown, and False returned, when there are none. sUnitId receives the
    // product's base unit of measure; lItemNo is left alone when the product
    // has no item.
    bool VendorProductLookUp(QWidget* Parentform = nullptr, const QString& sVendorId = {},
                             QString* sProductID = nullptr, QString* sProdDesc = nullptr,
                             std::int32_t* lItemNo = nullptr, QString* sUnitId = nullptr,
                             vym::Currency* curprice = nullptr, vym::Currency* curTax = nullptr);
    // The lines of a purchase order, several of which may be chosen; each
    // chosen line is indexed by POLineVariant.
    bool SelectPOLines(std::int32_t lPONo, std::vector<frmPickList::POLine>& vPOLines,
                       QWidget* Parentform = nullptr);

    // The item lookup, kept between calls so that the last search survives
    // (bClearLastSearch starts afresh). True when the user chose: a single
    // selection gives lItemNo, sDesc and sItemType (True only for a number
    // other than 0), a multiple one the numbers in vSelection.
    bool SelectItem(ItemTypes iSelectType, bool bMulti, std::int32_t* lItemNo = nullptr,
                    QString* sDesc = nullptr, std::vector<std::int32_t>* vSelection = nullptr,
                    const QString& sLocation = {}, bool bDisableStockMatrix = false,
                    const QString& sVendorId = {}, const QString& sStockType = {},
                    const QString& sStockSerialType = {}, bool bRequireBindingType = false,
                    std::optional<bool> bIsAPackage = std::nullopt, bool bSerialized = false,
                    bool bClearLastSearch = false, QString* sItemType = nullptr) override;
    // Vendor maintenance opened on the vendor: the chosen vendor's id ("" when
    // cancelled), with its name and "PRIMARY" address number.
    QString SelectVendor(QWidget* Parentform = nullptr, const QString& sOriginalVendorID = {},
                         QString* sVendorName = nullptr,
                         std::int32_t* lVendorAddress = nullptr) override;

    // Screens -----------------------------------------------------------------
    // Each shows its screen modally (owned by Parentform when given) on this
    // object's connection and error object, and returns when it is closed.
    //
    // The stock history, prefilled with the item, location and serial unit.
    void ShowStockHistory(QWidget* Parentform, std::int32_t lItemNo = 0,
                          const QString& sLocationID = {}, const QString& sSerialId = {}) override;
    // The stock quantities by location, prefilled with the item and location.
    void StockLocation(QWidget* Parentform, std::int32_t lItemNo = 0,
                       const QString& sLocationID = {}) override;
    // The monthly stock summary and its posting.
    void StockSummary(QWidget* Parentform = nullptr) override;
    // The label screen (frmStockLabels) with a row for every entry.
    void PrintStockLabels(const std::vector<StockLabelEntry>& vStockList,
                          bool bSerialized = false) override;
    // Stock pricing of the item (not owned), by unit of measure, quantity and
    // location; nothing when the item is not saved yet.
    void StockLocationPricing(CItem& oItem) override;
    // Every price of every item.
    void EditPrices(QWidget* Parentform = nullptr) override;
    // The stock sale list (its pricing and qualification screens open from it).
    void StockSalePricing(QWidget* Parentform = nullptr) override;
    // Functions, categories and units.
    void EditSupportTables() override;
    // The stock matrix; each item it creates is announced as
    // ItemStockAddedEvent. True unless the user cancelled;
    // vList then receives the items created.
    bool StockMatrix(QWidget* Parentform, std::int32_t lPONo = 0,
                     std::vector<std::int32_t>* vList = nullptr, const QString& sVendorId = {},
                     const QString& sStockTypeId = {}) override;
    // Season maintenance.
    void ShowSeasons() override;
    // Special offer maintenance ("Special Offer Maintenance").
    void ShowSpecialOffer() override;
    // The price list ("Select Price") of the item, else of the package.
    std::optional<PriceChoice> SelectPrice(QWidget* Parentform, std::int32_t lItemNo,
                                           std::int32_t lPackageNo) override;
    // The template manager for one format type ("STOCK", "ITEM" or "CLUB"),
    // every type when empty.
    void EditTemplates(const QString& sFormatType = {}) override;
    // The template manager for choosing a format: the format of the node
    // selected on OK; 0, with bUserCanceled set, when the user cancelled.
    std::int32_t SelectFormat(const QString& sFormatType = {}, bool* bUserCanceled = nullptr);
    // The rental package upgrade pricing.
    void RentalPackageUpgradePricing(QWidget* Parentform = nullptr) override;
    // Profile maintenance ("Profile Maintenance").
    void EditProfiles(QWidget* Parentform = nullptr) override;
    // The bulk price change ("Bulk Price Change").
    void BulkPriceChange(QWidget* Parentform,
                         const std::vector<std::int32_t>& vItems = {}) override;
    std::optional<PackagePriceResult> PackageDetailPricing(
        QWidget* Parentform, const PackagePriceRequest& request) override;

    // Support-table writes ----------------------------------------------------
    // A write that the database refuses shows its message box and returns
    // False without raising an event.
    bool UpdateBookDate(std::int32_t lTransNo, const vym::Date& dtBookDate) override;
    // Adds or changes a row; False without a call when sFunctionId is empty.
    // With a guard, a row that another station saved since its screen read it
    // is refused without a message, the refusal kept in the guard.
    bool FunctionUpdate(const QString& sFunctionId, const QString& sDesc, const QString& sIcon,
                        bool bIsActive, GuardedSave* guard = nullptr) override;
    bool CatagoriesUpdate(const QString& sFunctionId, const QString& sCatagoryID,
                          const QString& sDesc, bool bActive, bool bRequireAccessRule,
                          GuardedSave* guard = nullptr) override;
    bool UnitUpdate(const QString& sFunctionId, const QString& sUnitId, const QString& sDesc,
                    const QString& sUOM, std::int16_t iQty, std::int16_t iAcctUnits,
                    std::int16_t iPrintQty, GuardedSave* guard = nullptr) override;
    bool SeasonUpdate(const QString& sFunctionId, const QString& sSeason, const QString& sDesc,
                      const vym::Date& dtStart, const vym::Date& dtEnd);
    // lGroupNo 0 adds a group; lGroupNo then receives its number.
    bool UpdateStoreGroup(std::int32_t lStoreNo, std::int32_t& lGroupNo,
                          const QString& sDescription);

    // A delete the database refuses (a row still in use) shows the database's
    // message and returns False; with a guard, a row another station saved
    // since is refused into the guard's conflict, not shown.
    bool DeleteFunction(const QString& sFunctionId, GuardedSave* guard = nullptr) override;
    bool DeleteCatagory(const QString& sFunctionId, const QString& sCatagoryID,
                        GuardedSave* guard = nullptr) override;
    bool DeleteUnit(const QString& sFunctionId, const QString& sUnitId,
                    GuardedSave* guard = nullptr) override;
    bool DeleteSeason(const QString& sFunctionId, const QString& sSeasonID);
    bool DeleteStoreGroup(std::int32_t lStoreNo, std::int32_t lGroupNo);

  signals:
    void FunctionUpdateEvent(const QString& sFunctionId, vym::UpdateType utUpdate);
    void CatagoryUpdateEvent(const QString& sFunctionId, const QString& sCatagoryID,
                             vym::UpdateType utUpdate);
    void UnitUpdateEvent(const QString& sFunctionId, const QString& sUnitId,
                         vym::UpdateType utUpdate);
    void SeasonUpdateEvent(const QString& sFunctionId, const QString& sSeasonID,
                           vym::UpdateType utUpdate);

  private:
    Connection& Db() const;
    // Runs a maintenance write; on a failed execution shows the message.
    bool RunUpdate(const char* procedure, const char* method, const char* failureMessage,
                   ProcedureArguments arguments, GuardedSave* guard = nullptr);
    // Runs a delete; good when the procedure returned 0, else shows its
    // @message under the title.
    bool RunDelete(const char* procedure, const char* method, const char* errorTitle,
                   ProcedureArguments arguments, GuardedSave* guard = nullptr);
    // Shows the pick list and reports whether a row was chosen.
    static bool ShowPickList(frmPickList& list);

    ErrorTrap trap_{"ItemMaint"};
    vym::AppServer* appServer_ = nullptr;
    vym::ErrorObject* errorObject_ = nullptr;
    std::shared_ptr<Connection> connection_;
    bool requireReportingDepartment_ = false;
    bool reportingDepartmentLoaded_ = false;
    bool allowStockEditSerial_ = false;
    bool allowStockDelSerial_ = false;
    bool stopRequested_ = false;
    std::unique_ptr<frmItemLookup> itemLookup_;  // kept between SelectItem calls
};

}  // namespace vym
