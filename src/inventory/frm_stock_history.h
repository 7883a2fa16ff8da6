#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmStockHistory;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

namespace ui {
class NullableDateEdit;
}

// "View Stock History": the stock transactions of an item, a location, a
// serial unit and date ranges, with the book date of each editable.
class frmStockHistory : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockHistory(QWidget* parent = nullptr);
    ~frmStockHistory() override;

    // Connection, error object and UpdateBookDate come from itemMaint (not
    // owned). itemNo 0 / empty location / empty serial: no prefill.
    void Setup(ScreenContext* itemMaint, std::int32_t itemNo = 0, const QString& locationId = {},
               const QString& serialId = {});
    // Lists the transactions that match the search fields ("F&ind Now").
    void SearchStockHistory();

    void reject() override;

  private:
    void NewSearch();
    // Saves the book date typed into a row, or puts the old one back.
    void UpdateBookDate(int row);
    void SetFilling(bool filling);

    std::unique_ptr<Ui::frmStockHistory> ui_;
    ErrorTrap trap_{"frmStockHistory"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool filling_ = false;
    QString bookDateBeforeEdit_;
};

}  // namespace vym
