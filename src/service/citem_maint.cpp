#include "service/citem_maint.h"

#include <QWidget>

#include "base/error.h"
#include "base/prompter.h"
#include "base/value.h"
#include "console/frm_item_lookup.h"
#include "editors/frm_stock_matrix.h"
#include "editors/frm_vendor.h"
#include "gateway/app_server.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "gateway/sql_quote.h"
#include "inventory/frm_stock_history.h"
#include "inventory/frm_stock_location.h"
#include "inventory/frm_stock_summary.h"
#include "labels/frm_stock_labels.h"
#include "model/citem.h"
#include "model/record_fields.h"
#include "packages/frm_package_detail_pricing.h"
#include "packages/frm_rental_package_upgrade_pricing.h"
#include "pricing/frm_bulk_price.h"
#include "pricing/frm_edit_prices.h"
#include "pricing/frm_seasons.h"
#include "pricing/frm_select_price.h"
#include "pricing/frm_stock_pricing.h"
#include "reference/frm_profiles.h"
#include "reference/frm_support_tables.h"
#include "sales/frm_special_offer.h"
#include "sales/frm_stock_sales.h"
#include "templates/frm_templates.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"

namespace vym {

using ui::FieldText;
using ui::S;

namespace {

// "Object variable or With block variable not set": a database method called
// before the application server was bound.
constexpr std::int32_t kObjectNotSet = 91;

template <class T>
void Put(T* out, T value) {
    if (out != nullptr) {
        *out = std::move(value);
    }
}

// The pick list's text of a number column; 0 when empty.
std::int32_t ColumnLong(const frmPickList& list, const QString& key) {
    return list.ColumnText(key).toInt();
}

}  // namespace

CItemMaint::CItemMaint(QObject* parent) : ScreenContext(parent) {}

// Lets go of the error object and the application server before it goes.
CItemMaint::~CItemMaint() {
    SetAppServer(nullptr);
}

void CItemMaint::SetAppServer(vym::AppServer* server) {
    appServer_ = server;
    errorObject_ = server != nullptr ? &server->ErrorObject() : nullptr;
    connection_ = server != nullptr ? server->DBConnection() : nullptr;
    // Another server may mean another database.
    reportingDepartmentLoaded_ = false;
    requireReportingDepartment_ = false;
}

Connection& CItemMaint::Db() const {
    if (!connection_) {
        throw Error(kObjectNotSet, trap_.Prefix(),
                    "Object variable or With block variable not set");
    }
    return *connection_;
}

std::unique_ptr<CItem> CItemMaint::CreateItem() const {
    return std::make_unique<CItem>();
}

bool CItemMaint::RequireReportingDepartment() {
    if (reportingDepartmentLoaded_ || !connection_) {
        return requireReportingDepartment_;
    }
    trap_.Run(errorObject_, "RequireReportingDepartment", connection_.get(), [&] {
        auto cmd = NewProcedure(Db(), "VYM_SP_ITEM_SYSTEM_PARM_get");
        if (Db().Execute(*cmd)) {
            requireReportingDepartment_ =
                NullToZero(cmd->Parameters["@req_rpt_dept"].Value).ToBool();
            reportingDepartmentLoaded_ = true;
        }
    });
    return requireReportingDepartment_;
}

bool CItemMaint::CheckStock(std::int32_t& lItemNo, const QString& sStockId, QString* sDesc,
                            double* dUnitPrice) {
    bool found = false;
    trap_.Run(errorObject_, "CheckStock", connection_.get(), [&] {
        const std::string stockId = sStockId.toUpper().toStdString();
        std::string sql;
        if (stockId.empty()) {
            sql =
                "SELECT vym_item.item_no, long_description, (select min(unit_price) from "
                "vym_price where vym_price.item_no = vym_item.item_no and location_id is null "
                "and sale_no is null) unit_price FROM vym_item  WHERE vym_item.item_no = " +
                std::to_string(lItemNo);
        } else {
            sql =
                "SELECT vym_item_stock_map.item_no, long_description, (select min(unit_price) "
                "from vym_price where vym_price.item_no = vym_item_stock_map.item_no and "
                "location_id is null and sale_no is null) unit_price FROM vym_item_stock_map "
                "join vym_item on vym_item.item_no = vym_item_stock_map.item_no  WHERE "
                "vym_item_stock_map.map_id = " +
                SqlQuote(stockId);
        }
        auto rs = Db().OpenRecordset(sql);
        if (rs->Eof()) {
            return;
        }
        lItemNo = fields::Long(*rs, "item_no");
        Put(sDesc, FieldText(*rs, "long_description"));
        Put(dUnitPrice, fields::Double(*rs, "unit_price"));
        found = true;
    });
    return found;
}

bool CItemMaint::CheckLocation(const QString& sLocationID, QString* sDesc, std::int32_t* lAddressID,
                               std::int32_t* lShipTo, std::int32_t* lInvoiceTo,
                               std::int32_t* lConfirmTo) {
    bool found = false;
    trap_.Run(errorObject_, "CheckLocation", connection_.get(), [&] {
        auto rs = Db().OpenRecordset("SELECT * FROM vym_location WHERE {fn UCASE(location_id)} = " +
                                     SqlQuote(sLocationID.toUpper().toStdString()));
        if (rs->Eof()) {
            return;
        }
        Put(sDesc, FieldText(*rs, "Description"));
        Put(lAddressID, fields::Long(*rs, "address_no"));
        Put(lShipTo, fields::Long(*rs, "Ship_To_address_no"));
        Put(lInvoiceTo, fields::Long(*rs, "Invoice_To_address_no"));
        Put(lConfirmTo, fields::Long(*rs, "Confirm_To_address_no"));
        found = true;
    });
    return found;
}

void CItemMaint::GetVendorInfo(const QString& sVendorId, QString& sVendorName,
                               std::int32_t& lVendorAddress) {
    sVendorName.clear();
    lVendorAddress = 0;
    trap_.Run(errorObject_, "GetVendorInfo", connection_.get(), [&] {
        auto rs = Db().OpenRecordset("SELECT * FROM vym_vendor WHERE vendor_id = " +
                                     SqlQuote(sVendorId.toStdString()));
        if (!rs->Eof()) {
            sVendorName = FieldText(*rs, "vendor_name");
            lVendorAddress = fields::Long(*rs, "Vendor_Address_No");
        }
    });
}

bool CItemMaint::ShowPickList(frmPickList& list) {
    ui::RunModal(list);
    return !list.UserCancelled();
}

bool CItemMaint::SelectLocation(QWidget* Parentform, QString& sID, QString& sDesc,
                                std::int32_t& lAddress, std::int32_t& lShipTo,
                                std::int32_t& lInvoiceTo, std::int32_t& lConfirmTo) {
    bool chosen = false;
    trap_.Run(errorObject_, "SelectLocation", connection_.get(), [&] {
        std::string sql =
            "SELECT al.location_id, al.description, al.address_no, al.ship_to_address_no, "
            "al.invoice_to_address_no, al.confirm_to_address_no FROM vym_location al "
            "with(nolock)";
        if (sDesc != QLatin1String("ALL")) {
            sql +=
                " JOIN vym_security_user_location asul ON (asul.location_id = al.location_id "
                " AND asul.vym_user = " +
                SqlQuote(Db().CurrentUserId()) + ")";
        }
        sql += " ORDER BY al.description ";
        auto rs = Db().OpenRecordset(sql);
        frmPickList list(Parentform);
        list.SetFormCaption(QStringLiteral("Select Location"));
        list.FillRecordset(*rs);
        if (!ShowPickList(list) || list.ColumnText(QStringLiteral("location_id")).isEmpty()) {
            return;
        }
        sID = list.ColumnText(QStringLiteral("location_id"));
        sDesc = list.ColumnText(QStringLiteral("description"));
        lAddress = ColumnLong(list, QStringLiteral("address_no"));
        lShipTo = ColumnLong(list, QStringLiteral("ship_to_address_no"));
        lInvoiceTo = ColumnLong(list, QStringLiteral("invoice_to_address_no"));
        lConfirmTo = ColumnLong(list, QStringLiteral("confirm_to_address_no"));
        chosen = true;
    });
    return chosen;
}

bool CItemMaint::SelectPO(std::int32_t& lPONo, const QString& sStatusID, QWidget* Parentform,
                          QString* sVendorId, QString* sVendorName, QString* sReceivingNote) {
    bool chosen = false;
    trap_.Run(errorObject_, "SelectPO", connection_.get(), [&] {
        auto cmd = NewProcedure(Db(), "VyM_SP_INV_PO_GetPO");
        if (!sStatusID.isEmpty()) {
            cmd->Parameters["@status_id"].Value = S(sStatusID);
        }
        auto rs = Db().ExecuteRecordset(*cmd);
        frmPickList list(Parentform);
        list.SetFormCaption(QStringLiteral("Select Purchase Order"));
        list.FillRecordset(*rs);
        // The order's amount.
        if (auto* grid = list.findChild<ui::FlexGrid*>(QStringLiteral("fgPickList"))) {
            grid->SetColumnFormat(5, QStringLiteral("0.0000"));
        }
        list.HideColumn(QStringLiteral("VENDOR_ID"));
        list.HideColumn(QStringLiteral("NOTES"));
        if (!ShowPickList(list) || list.ColumnText(QStringLiteral("po_no")).isEmpty()) {
            return;
        }
        lPONo = ColumnLong(list, QStringLiteral("po_no"));
        Put(sVendorId, list.ColumnText(QStringLiteral("vendor_id")));
        Put(sVendorName, list.ColumnText(QStringLiteral("vendor")));
        Put(sReceivingNote, list.ColumnText(QStringLiteral("notes")));
        chosen = true;
    });
    return chosen;
}

bool CItemMaint::VendorProductLookUp(QWidget* Parentform, const QString& sVendorId,
                                     QString* sProductID, QString* sProdDesc, std::int32_t* lItemNo,
                                     QString* sUnitId, vym::Currency* curprice,
                                     vym::Currency* curTax) {
    bool chosen = false;
    trap_.Run(errorObject_, "VendorProductLookUp", connection_.get(), [&] {
        std::string sql =
            "SELECT product_id, description, item_no, base_uom_id, unit_price, unit_tax FROM "
            "vym_vendor_product";
        if (!sVendorId.isEmpty()) {
            sql += " WHERE vendor_id = " + SqlQuote(sVendorId.toStdString());
        }
        sql += " ORDER BY product_id";
        auto rs = Db().OpenRecordset(sql);
        if (rs->Eof()) {
            return;
        }
        frmPickList list(Parentform);
        list.SetFormCaption(QStringLiteral("Select Vendor Product"));
        list.FillRecordset(*rs);
        if (!ShowPickList(list) || list.ColumnText(QStringLiteral("Product_ID")).isEmpty()) {
            return;
        }
        const auto amount = [&list](const char* key, vym::Currency* out) {
            const QString text = list.ColumnText(QString::fromLatin1(key));
            if (!text.isEmpty()) {
                Put(out, vym::Value(text.toStdString()).ToCurrency());
            }
        };
        Put(sProductID, list.ColumnText(QStringLiteral("Product_ID")));
        Put(sProdDesc, list.ColumnText(QStringLiteral("Description")));
        amount("Unit_Price", curprice);
        amount("Unit_Tax", curTax);
        Put(sUnitId, list.ColumnText(QStringLiteral("base_uom_id")));
        if (const QString item = list.ColumnText(QStringLiteral("item_no")); !item.isEmpty()) {
            Put(lItemNo, item.toInt());
        }
        chosen = true;
    });
    return chosen;
}

bool CItemMaint::SelectPOLines(std::int32_t lPONo, std::vector<frmPickList::POLine>& vPOLines,
                               QWidget* Parentform) {
    bool chosen = false;
    trap_.Run(errorObject_, "SelectPOLines", connection_.get(), [&] {
        auto rs = Db().OpenRecordset(
            "SELECT vym_po_line.line_no, vym_po_line.qty_ord, vym_po_line.qty_received, "
            "vym_po_line.item_no, vym_item_stock.stock_id, vym_po_line.product_id, "
            "vym_item.long_description as ItemDesc  FROM vym_po_line LEFT OUTER JOIN "
            "vym_item_stock ON vym_po_line.item_no = vym_item_stock.item_no LEFT OUTER JOIN "
            "vym_item ON vym_po_line.item_no = vym_item.item_no WHERE po_no = " +
            std::to_string(lPONo) + " ORDER BY line_no");
        frmPickList list(Parentform);
        list.SetFormCaption(QStringLiteral("Select PO Line(s)"));
        list.FillRecordsetPOLines(*rs);
        if (!ShowPickList(list)) {
            return;
        }
        vPOLines = list.SelectedLines();
        chosen = true;
    });
    return chosen;
}

bool CItemMaint::RunUpdate(const char* procedure, const char* method, const char* failureMessage,
                           ProcedureArguments arguments, GuardedSave* guard) {
    bool done = false;
    trap_.Run(errorObject_, method, connection_.get(), [&] {
        auto cmd = NewProcedure(Db(), procedure, arguments);
        if (guard != nullptr) {
            SendRowVersion(cmd->Parameters, guard->version);
        }
        done = Db().Execute(*cmd);
        if (done && guard != nullptr) {
            if (guard->conflict->Refused(cmd->Parameters)) {
                done = false;
                return;
            }
            guard->version = SavedRowVersion(cmd->Parameters);
        }
        if (!done && failureMessage != nullptr) {
            MsgBox(failureMessage, kInformation, "Update Failed");
        }
    });
    return done;
}

bool CItemMaint::RunDelete(const char* procedure, const char* method, const char* errorTitle,
                           ProcedureArguments arguments, GuardedSave* guard) {
    bool done = false;
    trap_.Run(errorObject_, method, connection_.get(), [&] {
        auto cmd = NewProcedure(Db(), procedure, arguments);
        if (guard != nullptr) {
            SendRowVersion(cmd->Parameters, guard->version);
        }
        if (!Db().Execute(*cmd) ||
            (guard != nullptr && guard->conflict->Refused(cmd->Parameters))) {
            return;
        }
        if (NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() == 0) {
            done = true;
            return;
        }
        MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation, errorTitle);
    });
    return done;
}

bool CItemMaint::UpdateBookDate(std::int32_t lTransNo, const vym::Date& dtBookDate) {
    return RunUpdate("VYM_SP_ITEM_UpdateItemStockHistory", "UpdateBookDate", nullptr,
                     {{"@trans_no", lTransNo}, {"@book_date", dtBookDate}});
}

bool CItemMaint::FunctionUpdate(const QString& sFunctionId, const QString& sDesc,
                                const QString& sIcon, bool bIsActive, GuardedSave* guard) {
    if (sFunctionId.isEmpty()) {
        return false;
    }
    if (!RunUpdate("VYM_SP_ITEM_UpdateFunction", "FunctionUpdate", "Unable to update function",
                   {{"@function_id", S(sFunctionId)},
                    {"@description", S(sDesc)},
                    {"@tree_icon", S(sIcon)},
                    {"@is_active", bIsActive}},
                   guard)) {
        return false;
    }
    emit FunctionUpdateEvent(sFunctionId, utUpdate);
    return true;
}

bool CItemMaint::CatagoriesUpdate(const QString& sFunctionId, const QString& sCatagoryID,
                                  const QString& sDesc, bool bActive, bool bRequireAccessRule,
                                  GuardedSave* guard) {
    if (!RunUpdate("VYM_SP_ITEM_UpdateCatagory", "CatagoriesUpdate", "Unable to update catagory",
                   {{"@function_id", S(sFunctionId)},
                    {"@catagory_id", S(sCatagoryID)},
                    {"@description", S(sDesc)},
                    {"@is_active", bActive},
                    {"@require_access_rule", bRequireAccessRule}},
                   guard)) {
        return false;
    }
    emit CatagoryUpdateEvent(sFunctionId, sCatagoryID, utUpdate);
    return true;
}

bool CItemMaint::UnitUpdate(const QString& sFunctionId, const QString& sUnitId,
                            const QString& sDesc, const QString& sUOM, std::int16_t iQty,
                            std::int16_t iAcctUnits, std::int16_t iPrintQty, GuardedSave* guard) {
    if (!RunUpdate("VYM_SP_ITEM_UpdateUnit", "UnitUpdate", "Unable to update unit.",
                   {{"@function_id", S(sFunctionId)},
                    {"@unit_id", S(sUnitId)},
                    {"@description", S(sDesc)},
                    {"@uom_id", S(sUOM)},
                    {"@qty", iQty},
                    {"@acct_units", iAcctUnits},
                    {"@print_qty", iPrintQty}},
                   guard)) {
        return false;
    }
    emit UnitUpdateEvent(sFunctionId, sUnitId, utUpdate);
    return true;
}

bool CItemMaint::SeasonUpdate(const QString& sFunctionId, const QString& sSeason,
                              const QString& sDesc, const vym::Date& dtStart,
                              const vym::Date& dtEnd) {
    if (!RunUpdate("VYM_SP_ITEM_UpdateSeason", "SeasonUpdate", "Unable to update season.",
                   {{"@function_id", S(sFunctionId)},
                    {"@season_id", S(sSeason)},
                    {"@description", S(sDesc)},
                    {"@start_date", dtStart},
                    {"@end_date", dtEnd}})) {
        return false;
    }
    emit SeasonUpdateEvent(sFunctionId, sSeason, utUpdate);
    return true;
}

bool CItemMaint::UpdateStoreGroup(std::int32_t lStoreNo, std::int32_t& lGroupNo,
                                  const QString& sDescription) {
    bool done = false;
    trap_.Run(errorObject_, "UpdateStoreGroup", connection_.get(), [&] {
        auto cmd = NewProcedure(Db(), "VYM_SP_STORE_UpdateStoreGroup",
                                {{"@store_no", lStoreNo},
                                 {"@product_group_no", lGroupNo},
                                 {"@description", S(sDescription)}});
        if (Db().Execute(*cmd)) {
            lGroupNo = NullToZero(cmd->Parameters["@product_group_no"].Value).ToLong();
            done = true;
        }
    });
    return done;
}

bool CItemMaint::DeleteFunction(const QString& sFunctionId, GuardedSave* guard) {
    if (!RunDelete("VYM_SP_ITEM_DeleteFunction", "DeleteFunction", "Delete Function Error",
                   {{"@function_id", S(sFunctionId)}}, guard)) {
        return false;
    }
    emit FunctionUpdateEvent(sFunctionId, utDelete);
    return true;
}

bool CItemMaint::DeleteCatagory(const QString& sFunctionId, const QString& sCatagoryID,
                                GuardedSave* guard) {
    if (!RunDelete("VYM_SP_ITEM_DeleteCatagory", "DeleteCatagory", "Delete Catagory Error",
                   {{"@function_id", S(sFunctionId)}, {"@catagory_id", S(sCatagoryID)}}, guard)) {
        return false;
    }
    emit CatagoryUpdateEvent(sFunctionId, sCatagoryID, utDelete);
    return true;
}

bool CItemMaint::DeleteUnit(const QString& sFunctionId, const QString& sUnitId,
                            GuardedSave* guard) {
    if (!RunDelete("VYM_SP_ITEM_DeleteUnit", "DeleteUnit", "Delete Unit Error",
                   {{"@function_id", S(sFunctionId)}, {"@unit_id", S(sUnitId)}}, guard)) {
        return false;
    }
    emit UnitUpdateEvent(sFunctionId, sUnitId, utDelete);
    return true;
}

bool CItemMaint::DeleteSeason(const QString& sFunctionId, const QString& sSeasonID) {
    if (!RunDelete("VYM_SP_ITEM_DeleteSeason", "DeleteSeason", "Delete Season Error",
                   {{"@function_id", S(sFunctionId)}, {"@season_id", S(sSeasonID)}})) {
        return false;
    }
    emit SeasonUpdateEvent(sFunctionId, sSeasonID, utDelete);
    return true;
}

bool CItemMaint::DeleteStoreGroup(std::int32_t lStoreNo, std::int32_t lGroupNo) {
    return RunDelete("VYM_SP_STORE_DeleteStoreGroup", "DeleteStoreGroup",
                     "Delete Store Group Error",
                     {{"@store_no", lStoreNo}, {"@product_group_no", lGroupNo}});
}

bool CItemMaint::SelectItem(ItemTypes iSelectType, bool bMulti, std::int32_t* lItemNo,
                            QString* sDesc, std::vector<std::int32_t>* vSelection,
                            const QString& sLocation, bool bDisableStockMatrix,
                            const QString& sVendorId, const QString& sStockType,
                            const QString& sStockSerialType, bool bRequireBindingType,
                            std::optional<bool> bIsAPackage, bool bSerialized,
                            bool bClearLastSearch, QString* sItemType) {
    bool chosen = false;
    trap_.Run(errorObject_, "SelectItem", nullptr, [&] {
        if (bClearLastSearch || !itemLookup_) {
            itemLookup_ = std::make_unique<frmItemLookup>();
        }
        frmItemLookup& lookup = *itemLookup_;
        lookup.Setup(appServer_, this, bMulti, iSelectType, sLocation, bDisableStockMatrix,
                     sVendorId, sStockType, sStockSerialType, bRequireBindingType, bIsAPackage,
                     bSerialized, bClearLastSearch);
        ui::RunModal(lookup);
        if (lookup.Cancelled()) {
            return;
        }
        if (bMulti) {
            Put(vSelection, lookup.Selection());
            chosen = true;
            return;
        }
        Put(lItemNo, lookup.ItemNo());
        Put(sDesc, lookup.Description());
        Put(sItemType, lookup.ItemType());
        chosen = lookup.ItemNo() != 0;
    });
    return chosen;
}

QString CItemMaint::SelectVendor(QWidget* Parentform, const QString& sOriginalVendorID,
                                 QString* sVendorName, std::int32_t* lVendorAddress) {
    QString vendor;
    trap_.Run(errorObject_, "SelectVendor", nullptr, [&] {
        frmVendor vendors(Parentform);
        vendors.Setup(this, sOriginalVendorID);
        ui::RunModal(vendors);
        if (vendors.UserCancelled()) {
            return;
        }
        vendor = vendors.VendorId();
        Put(sVendorName, vendors.VendorName());
        Put(lVendorAddress, vendors.PrimaryAddressNo());
    });
    return vendor;
}

namespace {

// Shows a screen set up on the service object and the given arguments.
template <class Screen, class... Args>
void ShowScreen(CItemMaint& maint, QWidget* Parentform, const Args&... args) {
    Screen screen(Parentform);
    screen.Setup(&maint, args...);
    ui::RunModal(screen);
}

}  // namespace

void CItemMaint::ShowStockHistory(QWidget* Parentform, std::int32_t lItemNo,
                                  const QString& sLocationID, const QString& sSerialId) {
    trap_.Run(errorObject_, "ShowStockHistory", nullptr, [&] {
        ShowScreen<frmStockHistory>(*this, Parentform, lItemNo, sLocationID, sSerialId);
    });
}

void CItemMaint::StockLocation(QWidget* Parentform, std::int32_t lItemNo,
                               const QString& sLocationID) {
    trap_.Run(errorObject_, "StockLocation", nullptr,
              [&] { ShowScreen<frmStockLocation>(*this, Parentform, lItemNo, sLocationID); });
}

void CItemMaint::StockSummary(QWidget* Parentform) {
    trap_.Run(errorObject_, "StockSummary", nullptr,
              [&] { ShowScreen<frmStockSummary>(*this, Parentform); });
}

void CItemMaint::PrintStockLabels(const std::vector<StockLabelEntry>& vStockList,
                                  bool bSerialized) {
    trap_.Run(errorObject_, "PrintStockLabels", nullptr,
              [&] { ShowScreen<frmStockLabels>(*this, nullptr, vStockList, bSerialized); });
}

bool CItemMaint::StockMatrix(QWidget* Parentform, std::int32_t lPONo,
                             std::vector<std::int32_t>* vList, const QString& sVendorId,
                             const QString& sStockTypeId) {
    bool accepted = false;
    trap_.Run(errorObject_, "StockMatrix", nullptr, [&] {
        frmStockMatrix matrix(Parentform);
        connect(&matrix, &frmStockMatrix::ItemStockAdded, this,
                &ScreenContext::ItemStockAddedEvent);
        matrix.Setup(this, lPONo, sVendorId, sStockTypeId);
        accepted = ui::RunModal(matrix) == QDialog::Accepted;
        if (accepted) {
            Put(vList, matrix.ItemsCreated());
        }
    });
    return accepted;
}

void CItemMaint::StockLocationPricing(CItem& oItem) {
    if (oItem.ItemNo == 0) {
        return;
    }
    trap_.Run(errorObject_, "StockLocationPricing", nullptr, [&] {
        frmStockPricing screen;
        if (screen.Setup(this, &oItem)) {
            ui::RunModal(screen);
        }
    });
}

void CItemMaint::EditPrices(QWidget* Parentform) {
    trap_.Run(errorObject_, "EditPrices", nullptr,
              [&] { ShowScreen<frmEditPrices>(*this, Parentform); });
}

void CItemMaint::StockSalePricing(QWidget* Parentform) {
    trap_.Run(errorObject_, "StockSalePricing", nullptr,
              [&] { ShowScreen<frmStockSales>(*this, Parentform); });
}

void CItemMaint::EditSupportTables() {
    trap_.Run(errorObject_, "EditSupportTables", nullptr,
              [&] { ShowScreen<frmSupportTables>(*this, nullptr); });
}

void CItemMaint::ShowSeasons() {
    trap_.Run(errorObject_, "ShowSeasons", nullptr,
              [&] { ShowScreen<frmSeasons>(*this, nullptr); });
}

void CItemMaint::ShowSpecialOffer() {
    trap_.Run(errorObject_, "ShowSpecialOffer", nullptr,
              [&] { ShowScreen<frmSpecialOffer>(*this, nullptr); });
}

std::optional<PriceChoice> CItemMaint::SelectPrice(QWidget* Parentform, std::int32_t lItemNo,
                                                   std::int32_t lPackageNo) {
    std::optional<PriceChoice> choice;
    trap_.Run(errorObject_, "SelectPrice", nullptr, [&] {
        frmSelectPrice prices(Parentform);
        if (prices.Setup(this, lItemNo, lPackageNo) && ui::RunModal(prices) == QDialog::Accepted &&
            !prices.Cancelled()) {
            choice = PriceChoice{prices.PriceNo(), prices.Price(), prices.UnitQty()};
        }
    });
    return choice;
}

void CItemMaint::EditTemplates(const QString& sFormatType) {
    trap_.Run(errorObject_, "EditTemplates", nullptr,
              [&] { ShowScreen<frmTemplates>(*this, nullptr, sFormatType); });
}

std::int32_t CItemMaint::SelectFormat(const QString& sFormatType, bool* bUserCanceled) {
    std::int32_t format = 0;
    bool canceled = true;
    trap_.Run(errorObject_, "SelectFormat", nullptr, [&] {
        frmTemplates screen;
        if (screen.Setup(this, sFormatType) && ui::RunModal(screen) == QDialog::Accepted) {
            format = screen.SelectedFormat();
            canceled = false;
        }
    });
    if (bUserCanceled != nullptr) {
        *bUserCanceled = canceled;
    }
    return format;
}

void CItemMaint::RentalPackageUpgradePricing(QWidget* Parentform) {
    trap_.Run(errorObject_, "RentalPackageUpgradePricing", nullptr,
              [&] { ShowScreen<frmRentalPackageUpgradePricing>(*this, Parentform); });
}

void CItemMaint::EditProfiles(QWidget* Parentform) {
    trap_.Run(errorObject_, "EditProfiles", nullptr,
              [&] { ShowScreen<frmProfiles>(*this, Parentform); });
}

void CItemMaint::BulkPriceChange(QWidget* Parentform, const std::vector<std::int32_t>& vItems) {
    trap_.Run(errorObject_, "BulkPriceChange", nullptr,
              [&] { ShowScreen<frmBulkPrice>(*this, Parentform, vItems); });
}

std::optional<PackagePriceResult> CItemMaint::PackageDetailPricing(
    QWidget* Parentform, const PackagePriceRequest& request) {
    std::optional<PackagePriceResult> result;
    trap_.Run(errorObject_, "PackageDetailPricing", nullptr, [&] {
        frmPackageDetailPricing screen(Parentform);
        if (screen.Setup(this, request) && ui::RunModal(screen) == QDialog::Accepted) {
            result = screen.Result();
        }
    });
    return result;
}

std::unique_ptr<ScreenContext> MakeScreenContext(vym::AppServer* server) {
    auto context = std::make_unique<CItemMaint>();
    context->SetAppServer(server);
    return context;
}

}  // namespace vym
