#pragma once

#include <QString>
#include <array>

#include "base/refusal.h"
#include "preview/print_data.h"

namespace vym {

class CItemStock;

// One row of the label grid, as the print reads it.
struct StockLabelRow {
    QString StockNo, SerialId, ManfSerialId, StockDesc;
    int Qty = 1;
    QString FormatID, FormatDesc, UPC, HomeLocId, HomeLocDesc;
    QString Printer, Page;  // both empty for the default printer
    std::array<QString, 4> User;
};

// Refuses a row whose format is not a number: no label can be printed for it.
Verdict CheckLabelRow(const StockLabelRow& row);

// The named fields a stock label's template may use, from the row and the
// stock record of its item.
preview::CPrintData StockLabelRecord(const StockLabelRow& row, const CItemStock& stock);

}  // namespace vym
