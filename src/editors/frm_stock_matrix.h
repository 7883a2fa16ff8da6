#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/currency.h"
#include "gateway/error_trap.h"

namespace Ui {
class frmStockMatrix;
}

class QLineEdit;

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// "Stock Properties and Matrix": one article described once (type, vendor,
// prices, departments, serial and rental settings) and a matrix of attributes
// by the sizes of a size type, with the quantity of each to order. OK creates
// one stock item per filled cell in a single procedure call, all or none.
class frmStockMatrix : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockMatrix(QWidget* parent = nullptr);
    ~frmStockMatrix() override;

    // Fills the lists on itemMaint's connection (not owned) and presets the
    // purchase order the stock goes on order on (0 for none), the vendor and
    // the stock type; the last matrix's attribute names become the rows.
    void Setup(ScreenContext* itemMaint, std::int32_t lPONo = 0, const QString& sVendorId = {},
               const QString& sStockTypeId = {});
    // Checks and creates the matrix's items; False after the message of a
    // failed check or save, with everything the user entered kept.
    bool SaveData();
    // The items the last save created, in the matrix's order.
    const std::vector<std::int32_t>& ItemsCreated() const { return created_; }

  signals:
    // One created item, with what the matrix ordered of it.
    void ItemStockAdded(std::int32_t ItemNo, const QString& Description, vym::Currency Cost,
                        double Price, std::int32_t QtyOnOrder, const QString& VendorId);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Cell {
        QString attribute;
        QString size;
        std::string qtyText;  // as sent: the whole number, or the text typed
        std::int32_t qty = 0;
    };

    void SetUpLists();
    void FillLists();
    void LoadModels();
    void LoadDepartments();
    void LoadReportDepartments();
    void LoadSubReportDepartments();
    void ShowRentalTab();
    QString RentalType() const;

    void AmountTyped(QLineEdit* box, vym::Currency& amount);
    void txtMargin_Change();
    void CalculateMarginFromCurrentCost();
    void CalculateUnitPriceFromCurrentCost();
    void ShowAmounts(QLineEdit* left);
    void cmbStockType_Change();
    void cmbSizeType_Change();
    void SelectVendor();
    void AddRentalItem();
    void RemoveRentalItem();

    void RefreshSizes();
    void AddRow();
    void DeleteRow();
    void fgMatrix_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void SaveMatrixDefaults();
    void LoadMatrixDefaults();
    std::vector<Cell> MatrixCells() const;

    void cmdOk_Click();
    bool Refuse(const char* message, const char* title, const QString& tab, QWidget* field);
    bool CheckFields();
    bool CheckRental(std::string& rentalRows);
    bool Generate(const std::vector<Cell>& cells, const std::string& matrix,
                  const std::string& rentalRows);

    std::unique_ptr<Ui::frmStockMatrix> ui_;
    ErrorTrap trap_{"frmStockMatrix"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::int32_t poNo_ = 0;
    QString vendorId_;
    vym::Currency cost_;
    vym::Currency unitPrice_;
    vym::Currency minPrice_;
    vym::Currency margin_;  // a fraction to four places
    bool loading_ = false;  // lists are being filled, not chosen by the user
    std::vector<std::int32_t> created_;
};

}  // namespace vym
