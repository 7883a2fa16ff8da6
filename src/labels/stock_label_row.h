#pragma once

#include <QString>
#include <array>
#include <optional>

#include "base/refusal.h"
#include "preview/print_data.h"

namespace vym {

class CItemStock;

// One row of the label grid, as the print reads it.
struct StockLabelRow {
    QString StockNo, SerialId, ManfSerialId, StockDesc;
    QString Qty = QStringLiteral("1");  // the number of labels, as typed
    QString FormatID, FormatDesc, UPC, HomeLocId, HomeLocDesc;
    QString Printer, Page;  // both empty for the default printer
    std::array<QString, 4> User;
};

// The number of labels as typed in the Qty column ("3", "1,250"): a whole
// number from 1 to kMostCopies; nullopt for anything else.
inline constexpr int kMostCopies = 99999;
std::optional<int> ParseCopies(const QString& typed);
// Why a typed Qty cannot be the number of labels of the stock; nullopt when it can.
Verdict CheckCopies(const QString& typed, const QString& stockNo);

// Refuses a row whose format is not a number or whose number of labels is not
// at least one: no label could be printed for it.
Verdict CheckLabelRow(const StockLabelRow& row);

// The named fields a stock label's template may use, from the row and the
// stock record of its item.
preview::CPrintData StockLabelRecord(const StockLabelRow& row, const CItemStock& stock);

}  // namespace vym
