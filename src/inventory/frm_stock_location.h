#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmStockLocation;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

// "View Stock Location": what each location holds of an item, its reorder
// quantities and when the stock last moved.
class frmStockLocation : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockLocation(QWidget* parent = nullptr);
    ~frmStockLocation() override;

    // Connection and error object come from itemMaint (not owned). itemNo 0 /
    // empty location: no prefill.
    void Setup(ScreenContext* itemMaint, std::int32_t itemNo = 0, const QString& locationId = {});
    // Lists the locations' stock that matches the search fields ("F&ind Now").
    void SearchStockLocation();

    void reject() override;

  private:
    void SetFilling(bool filling);

    std::unique_ptr<Ui::frmStockLocation> ui_;
    ErrorTrap trap_{"frmStockLocation"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool filling_ = false;
};

}  // namespace vym
