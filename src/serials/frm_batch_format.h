#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmBatchFormat;
}

namespace vym {

class Connection;
class ErrorObject;

// "Generate Serials From Transfer": asks for the transfer batch whose
// serialized stock gets its units and the label format they print with.
class frmBatchFormat : public QDialog {
    Q_OBJECT

  public:
    explicit frmBatchFormat(QWidget* parent = nullptr);
    ~frmBatchFormat() override;

    // Loads the stock label formats.
    void Setup(Connection* oDB, ErrorObject* oError);
    // What "&Ok" accepted; 0 before.
    std::int32_t BatchNo() const { return batchNo_; }
    std::int32_t PrintFormatNo() const { return printFormatNo_; }
    bool Cancelled() const { return result() != QDialog::Accepted; }

  private:
    void cmdOk_Click();

    std::unique_ptr<Ui::frmBatchFormat> ui_;
    ErrorTrap trap_{"frmBatchFormat"};
    std::int32_t batchNo_ = 0;
    std::int32_t printFormatNo_ = 0;
};

}  // namespace vym
