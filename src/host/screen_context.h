#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/currency.h"
#include "gateway/service_object.h"
#include "host/item_enums.h"
#include "host/package_price_request.h"
#include "host/row_conflict.h"

class QWidget;

namespace vym {

class AppServer;
class CItem;
class Connection;
class Date;
class ErrorObject;

// A price picked from an item's or a package's price list.
struct PriceChoice {
    std::int32_t priceNo = 0;
    Currency price;
    std::int32_t unitQty = 0;
};

// One entry of a list of labels to print: a stock item and, for one of its
// serialized units, the unit's serial id.
struct StockLabelEntry {
    std::int32_t ItemNo = 0;
    QString SerialId;
};

// What a screen stands on: the database connection and error object, the
// signed-in user's server, the pickers, the support-table writes and the
// openers of other screens. Screens know only this interface; the module's
// service object (CItemMaint) implements it and opens the screens, so that
// no screen depends on the object that opens it.
//
// Every operation reports its failures as the service object documents:
// through the error object, returning False (0, empty).
class ScreenContext : public QObject, public ServiceObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // The bound application server, its connection and error object; nullptr
    // while none is bound.
    virtual vym::AppServer* AppServer() const = 0;
    virtual std::shared_ptr<Connection> DBConnection() const = 0;
    virtual vym::ErrorObject* ErrorObject() const = 0;

    // Whether items need a reporting department (read once, then kept).
    virtual bool RequireReportingDepartment() = 0;

    // The vendor's name and address number; "" and 0 when there is no such
    // vendor.
    virtual void GetVendorInfo(const QString& sVendorId, QString& sVendorName,
                               std::int32_t& lVendorAddress) = 0;

    // The item lookup; see CItemMaint::SelectItem.
    virtual bool SelectItem(ItemTypes iSelectType, bool bMulti, std::int32_t* lItemNo = nullptr,
                            QString* sDesc = nullptr,
                            std::vector<std::int32_t>* vSelection = nullptr,
                            const QString& sLocation = {}, bool bDisableStockMatrix = false,
                            const QString& sVendorId = {}, const QString& sStockType = {},
                            const QString& sStockSerialType = {}, bool bRequireBindingType = false,
                            std::optional<bool> bIsAPackage = std::nullopt,
                            bool bSerialized = false, bool bClearLastSearch = false,
                            QString* sItemType = nullptr) = 0;
    // Vendor maintenance opened on the vendor: the chosen vendor's id ("" when
    // cancelled), with its name and "PRIMARY" address number.
    virtual QString SelectVendor(QWidget* Parentform = nullptr,
                                 const QString& sOriginalVendorID = {},
                                 QString* sVendorName = nullptr,
                                 std::int32_t* lVendorAddress = nullptr) = 0;

    // The location picker; see CItemMaint::SelectLocation ("ALL" in sDesc on
    // entry offers every location, else the user's own).
    virtual bool SelectLocation(QWidget* Parentform, QString& sID, QString& sDesc,
                                std::int32_t& lAddress, std::int32_t& lShipTo,
                                std::int32_t& lInvoiceTo, std::int32_t& lConfirmTo) = 0;

    // Screens, each shown modally and closed before the call returns.
    virtual void ShowStockHistory(QWidget* Parentform, std::int32_t lItemNo = 0,
                                  const QString& sLocationID = {},
                                  const QString& sSerialId = {}) = 0;
    virtual void StockLocation(QWidget* Parentform, std::int32_t lItemNo = 0,
                               const QString& sLocationID = {}) = 0;
    virtual void StockSummary(QWidget* Parentform = nullptr) = 0;
    // The label screen with a row for every entry; bSerialized labels units.
    virtual void PrintStockLabels(const std::vector<StockLabelEntry>& vStockList,
                                  bool bSerialized = false) = 0;
    // Stock pricing of a saved stock or rental item (not owned); nothing for
    // an item not saved yet (number 0).
    virtual void StockLocationPricing(CItem& oItem) = 0;
    // The overview of every price.
    virtual void EditPrices(QWidget* Parentform = nullptr) = 0;
    virtual void StockSalePricing(QWidget* Parentform = nullptr) = 0;
    virtual void EditSupportTables() = 0;
    // The stock matrix, presetting the purchase order (0 for none), vendor
    // and stock type; False when the user cancelled. vList receives the
    // items created.
    virtual bool StockMatrix(QWidget* Parentform, std::int32_t lPONo = 0,
                             std::vector<std::int32_t>* vList = nullptr,
                             const QString& sVendorId = {}, const QString& sStockTypeId = {}) = 0;
    virtual void ShowSeasons() = 0;
    virtual void ShowSpecialOffer() = 0;
    // The price list of the item, or of the package when lItemNo is 0: the
    // price the user chose, or nothing when cancelled or unreadable.
    virtual std::optional<PriceChoice> SelectPrice(QWidget* Parentform, std::int32_t lItemNo,
                                                   std::int32_t lPackageNo) = 0;
    // The template manager for one format type ("STOCK", "ITEM", "CLUB"), or
    // for all of them when empty.
    virtual void EditTemplates(const QString& sFormatType = {}) = 0;
    virtual void RentalPackageUpgradePricing(QWidget* Parentform = nullptr) = 0;
    // Profile maintenance.
    virtual void EditProfiles(QWidget* Parentform = nullptr) = 0;
    // The bulk price change, over the given items (a search's result) or, when
    // there are none, over what the user chooses on the screen.
    virtual void BulkPriceChange(QWidget* Parentform,
                                 const std::vector<std::int32_t>& vItems = {}) = 0;
    // The package detail pricing of one package price: the saved price, or
    // nothing when the user cancelled or nothing could be saved.
    virtual std::optional<PackagePriceResult> PackageDetailPricing(
        QWidget* Parentform, const PackagePriceRequest& request) = 0;

    // Support-table writes: False, after the database's message, when refused;
    // the service object raises its events after a successful write. A
    // screen that read the row passes `guard` to have the save checked.
    virtual bool UpdateBookDate(std::int32_t lTransNo, const vym::Date& dtBookDate) = 0;
    virtual bool FunctionUpdate(const QString& sFunctionId, const QString& sDesc,
                                const QString& sIcon, bool bIsActive,
                                GuardedSave* guard = nullptr) = 0;
    virtual bool CatagoriesUpdate(const QString& sFunctionId, const QString& sCatagoryID,
                                  const QString& sDesc, bool bActive, bool bRequireAccessRule,
                                  GuardedSave* guard = nullptr) = 0;
    virtual bool UnitUpdate(const QString& sFunctionId, const QString& sUnitId,
                            const QString& sDesc, const QString& sUOM, std::int16_t iQty,
                            std::int16_t iAcctUnits, std::int16_t iPrintQty,
                            GuardedSave* guard = nullptr) = 0;
    // A guard's version makes the delete refuse a row another station saved since.
    virtual bool DeleteFunction(const QString& sFunctionId, GuardedSave* guard = nullptr) = 0;
    virtual bool DeleteCatagory(const QString& sFunctionId, const QString& sCatagoryID,
                                GuardedSave* guard = nullptr) = 0;
    virtual bool DeleteUnit(const QString& sFunctionId, const QString& sUnitId,
                            GuardedSave* guard = nullptr) = 0;

  signals:
    // A stock item added by the stock matrix, passed on unchanged.
    void ItemStockAddedEvent(std::int32_t ItemNo, const QString& Description, vym::Currency Cost,
                             double Price, std::int32_t QtyOnOrder, const QString& VendorId);
};

// A context of the module's own on `server`, for a console whose application
// server shares none. Defined by the service object's library unit, which
// stands above the screens.
std::unique_ptr<ScreenContext> MakeScreenContext(vym::AppServer* server);

}  // namespace vym
