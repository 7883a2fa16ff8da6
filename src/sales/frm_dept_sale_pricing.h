#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "gateway/error_trap.h"
#include "gateway/procedure_call.h"
#include "host/row_conflict.h"
#include "sales/sale_pricing_header.h"

namespace Ui {
class frmDeptSalePricing;
}

namespace vym {

class CSale;
class ScreenContext;

// "Department Sale Pricing": the lines of a department sale, each naming a
// department, report department and sub-department, model and/or vendor
// with a percentage or a flat discount. Ok saves the header, deletes the
// removed lines and saves the changed ones, together.
class frmDeptSalePricing : public QDialog {
    Q_OBJECT

  public:
    explicit frmDeptSalePricing(QWidget* parent = nullptr);
    ~frmDeptSalePricing() override;

    // Shows `sale` (not owned; it must outlive the screen) with its lines.
    void Setup(ScreenContext* itemMaint, CSale* sale);
    bool UserCanceled() const { return userCanceled_; }

  private:
    enum Column {
        kSeqNo,
        kChanged,
        kModel,
        kVendor,
        kDepartment,
        kRptDept,
        kRptSubDept,
        kPercentage,
        kDiscount,
        kVendorId
    };

    void LoadLists();
    void LoadLines();
    // The list of a column from a procedure's key and description columns.
    QString ListOf(const char* procedure, const char* key, const QString& first,
                   ProcedureArguments arguments);
    template <class Set>
    void ApplyToSelected(Set set);
    void cmdAdd_Click();
    void DeleteRows();
    void fgDept_BeforeEdit(int row, int col, bool& cancel);
    void fgDept_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgDept_CellButtonClick(int row, int col);
    bool SaveData();
    bool SaveRow(int row);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmDeptSalePricing> ui_;
    std::unique_ptr<SalePricingHeader> header_;
    ErrorTrap trap_{"frmDeptSalePricing"};
    SaleScreen screen_;
    // A save refused because another station saved the sale or a line since.
    RowConflict conflict_;
    bool userCanceled_ = true;
};

}  // namespace vym
