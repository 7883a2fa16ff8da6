#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "gateway/error_trap.h"

namespace Ui {
class frmStock;
}

namespace vym {

class CItem;
class ScreenContext;
class CItemRent;
class CItemStock;
class Connection;
class ErrorObject;
struct StockEntry;

namespace ui {
class DataCombo;
class FlexGrid;
}  // namespace ui

// The properties window of a stock or rental item: the common item fields,
// the stock or rental record, the item's map ids and the rental items of a
// rental stock article or rental package. Unit price and margin follow each
// other as the user types; the save checks by stock type and writes
// everything in one transaction.
class frmStock : public QDialog {
    Q_OBJECT

  public:
    explicit frmStock(QWidget* parent = nullptr);
    ~frmStock() override;

    // Fills the lists and shows the item (not owned; outlives the window): a
    // STOCK or RENTAL item the caller opened (CItem::OpenItem), or a new one
    // (ItemNo 0) whose type and presets (function, category, and for stock
    // manufacturer, vendor, model, stock type, department, location, rental
    // package flag) the caller set on the item and its detail. Connection,
    // error object and the pickers come from itemMaint (not owned).
    void Setup(ScreenContext* itemMaint, CItem& item);
    // "&Apply" and OK: checks and saves; False after the message of a failed
    // check or save, with the item's numbers as they were before it.
    bool SaveData();
    // True once the item was saved (by Apply or OK), so the opener refreshes
    // its row.
    bool Saved() const { return saved_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool IsStock() const { return stock_ != nullptr; }
    // The pricing and department fields that stock and rental records share.
    double& UnitPrice();
    double& MinPrice();
    std::string& ReportDepartmentId();
    std::string& ReportSubDepartmentId();

    void SetUpTabs();
    void SetUpFields();
    void ConnectEvents();
    void ShowFieldsOfType();
    void FillLists();
    void LoadFields();
    void LoadPrintFormats();
    void LoadModels();
    void LoadSizes();
    void LoadDepartments();
    void LoadReportDepartments();
    void LoadSubReportDepartments();
    void LoadMapIds();
    void LoadRentalItems();
    void SetTitle();
    void ShowRentalTab();
    bool RentalTabApplies() const;
    QString StockRentalType() const;

    void txtUnitPrice_Change();
    void txtMargin_Change();
    void txtMinPrice_LostFocus();
    void cmbStockType_Change();
    void cmbSizeType_Change();
    void cmbModel_Change();
    void cmbDepartment_Change();
    void fgRptDept_RowColChange(int row);
    void SelectVendor();
    void LocationPricing();
    void AddMap();
    void DeleteMap();
    void AddRentalItem();
    void RemoveRentalItem();
    void cmdOk_Click();

    // What the save checks look at.
    StockEntry Entry();
    void CopyFields();
    // The changed rows of a grid whose column 0 tells new rows ("-1") from
    // loaded ones ("0"), one element each; `key` names the value column 1.
    std::string ChangedRows(const ui::FlexGrid& grid, const char* element,
                            const std::string& itemNo, const char* key) const;

    std::unique_ptr<Ui::frmStock> ui_;
    ErrorTrap trap_{"frmStock"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CItem* item_ = nullptr;
    CItemStock* stock_ = nullptr;
    CItemRent* rent_ = nullptr;
    bool loading_ = false;  // lists are being filled, not chosen by the user
    bool mapsChanged_ = false;
    bool saved_ = false;
};

}  // namespace vym
