#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "gateway/error_trap.h"
#include "host/screen_context.h"
#include "labels/stock_label_row.h"

namespace Ui {
class frmStockLabels;
}

namespace vym {

class Connection;
class ErrorObject;

// "Print Stock Labels" (or "Print Serialized Stock Labels"): one row per
// item or unit to label, with its format, printer, copies and four free
// fields, each printed through its print format.
class frmStockLabels : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockLabels(QWidget* parent = nullptr);
    ~frmStockLabels() override;

    // Connection and error object come from itemMaint (not owned). Loads the
    // format and printer lists and adds a row for every entry of the list.
    void Setup(ScreenContext* itemMaint, const std::vector<StockLabelEntry>& vStockList = {},
               bool bSerialized = false);
    // Adds the label row of the item (of its unit when a serial id is given);
    // tells the user when it has no label format. The number of rows added.
    int AddItem(std::int32_t lItemNo, const QString& sSerialId = {});
    // Prints the selected rows, or every row, top to bottom; a row that
    // cannot be printed is reported and the next one printed all the same.
    // Neighbouring rows of one format, printer and page go as one job.
    void PrintSelectedStock();
    void PrintAllStock();

    // Closing (Esc, Close) while a receiving loads stops the load instead.
    void reject() override;

  private:
    struct LabelJob;

    void LoadFormats();
    void LoadPrinters();
    void mnuSelectByReceivingNo_Click();
    // Adds the lines' rows with their quantities, showing progress; Stop
    // takes them all away again. False when stopped.
    bool LoadReceivingLines(const std::vector<std::pair<std::int32_t, QString>>& lines);
    void SetLoading(bool loading);
    void PrintRows(const QList<int>& rows);
    // Adds the row to the job, printing the job first when the row cannot
    // join it; a row that cannot be printed is reported after the job.
    void PrintCurrentRow(int row, LabelJob& job);
    void PrintJob(LabelJob& job);
    void dbgStockLabels_BtnClick(int row, int col);
    StockLabelRow RowAt(int row) const;

    std::unique_ptr<Ui::frmStockLabels> ui_;
    ErrorTrap trap_{"frmStockLabels"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    // The printer drop-down's rows after "Default": printer and page size.
    std::vector<std::pair<QString, QString>> printers_;
    bool loading_ = false;
    bool stopRequested_ = false;
};

}  // namespace vym
