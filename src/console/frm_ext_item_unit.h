#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmExtItemUnit;
}

namespace vym {

class Connection;
class ErrorObject;

// The extension item and unit chooser ("Add New Extension Price"): one of a
// parent item's extension items, then one unit of that item's function.
class frmExtItemUnit : public QDialog {
    Q_OBJECT

  public:
    explicit frmExtItemUnit(QWidget* parent = nullptr);
    ~frmExtItemUnit() override;

    // Lists the parent's extension items (connection and error object not
    // owned; they must outlive the dialog) and counts as cancelled until
    // "&Ok".
    void Setup(Connection* db, ErrorObject* errors, std::int32_t parentItemNo);

    // The chosen rows: the item's FuncDesc, CatDesc, long_description,
    // item_no, function_id and access_rule_no; the unit's unit_id, Qty,
    // Description, uom_id, acct_units and print_qty. Empty when none.
    QStringList ItemRow() const { return itemRow_; }
    QStringList UnitRow() const { return unitRow_; }
    bool UserCancelled() const { return cancelled_; }

  private:
    void FillUnits(int itemRow);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmExtItemUnit> ui_;
    ErrorTrap trap_{"frmExtItemUnit"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool cancelled_ = true;
    QStringList itemRow_;
    QStringList unitRow_;
};

}  // namespace vym
