#include "host/frm_pick_list.h"

#include <algorithm>

#include "base/error.h"
#include "base/strings.h"
#include "base/value.h"
#include "gateway/recordset.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_pick_list.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;

frmPickList::frmPickList(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmPickList>()) {
    ui_->setupUi(this);
    ui_->cmdSelectAll->setVisible(false);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmPickList::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &frmPickList::reject);
    connect(ui_->cmdSelectAll, &QPushButton::clicked, ui_->fgPickList, &FlexGrid::SelectAllRows);
    connect(ui_->fgPickList, &FlexGrid::CellDoubleClicked, this, [this](int row, int) {
        if (row >= ui_->fgPickList->FixedRows()) {
            cmdOk_Click();
        }
    });
}

frmPickList::~frmPickList() = default;

void frmPickList::SetFormCaption(const QString& caption) {
    setWindowTitle(caption);
}

void frmPickList::StartFill(bool multiSelect) {
    FlexGrid& grid = *ui_->fgPickList;
    grid.Clear();
    grid.SetSelectionMode(multiSelect ? FlexGrid::SelectionMode::MultiRow
                                      : FlexGrid::SelectionMode::Single);
    ui_->cmdSelectAll->setVisible(multiSelect);
}

void frmPickList::FillRecordset(Recordset& recordset) {
    StartFill(false);
    FlexGrid& grid = *ui_->fgPickList;
    const std::int32_t fieldCount = recordset.FieldCount();
    grid.SetCols(fieldCount);
    for (std::int32_t col = 0; col < fieldCount; ++col) {
        const std::string& name = recordset.Fields(col).Name();
        std::string heading = name;
        std::replace(heading.begin(), heading.end(), '_', ' ');
        grid.SetColumnHeading(col, QString::fromStdString(ProperCase(heading)));
        grid.SetColumnKey(col, QString::fromStdString(name));
    }
    grid.BeginBulkLoad();
    for (; !recordset.Eof(); recordset.MoveNext()) {
        grid.AddItem(QString());
        const int row = grid.Rows() - 1;
        for (std::int32_t col = 0; col < fieldCount; ++col) {
            grid.SetTextMatrix(row, col, FieldText(recordset, col));
        }
    }
    grid.EndBulkLoad();
    grid.AutoSizeColumns();
    if (grid.Rows() > grid.FixedRows()) {
        grid.SetCurrentCell(grid.FixedRows(), 0);
    }
}

void frmPickList::FillRecordsetPOLines(Recordset& recordset) {
    static constexpr std::array<const char*, 6> kFields{"line_no", "qty_ord",  "qty_received",
                                                        "item_no", "stock_id", "ItemDesc"};
    StartFill(true);
    FlexGrid& grid = *ui_->fgPickList;
    grid.SetFormatString("Line#|QtyOrd|QtyRec|Item#|StockId|Description");
    for (int col = 0; col < static_cast<int>(kFields.size()); ++col) {
        grid.SetColumnKey(col, QString::fromLatin1(kFields[col]));
    }
    grid.BeginBulkLoad();
    for (; !recordset.Eof(); recordset.MoveNext()) {
        grid.AddItem(QString());
        const int row = grid.Rows() - 1;
        for (int col = 0; col < static_cast<int>(kFields.size()); ++col) {
            grid.SetTextMatrix(row, col, FieldText(recordset, kFields[col]));
        }
    }
    grid.EndBulkLoad();
    grid.AutoSizeColumns();
}

void frmPickList::HideColumn(const QString& name) {
    const int col = ui_->fgPickList->ColumnIndex(name);
    if (col >= 0) {
        ui_->fgPickList->SetColumnHidden(col, true);
    }
}

QString frmPickList::ColumnText(int column) const {
    const FlexGrid& grid = *ui_->fgPickList;
    if (column < 0 || column >= grid.Cols()) {
        throw Error(errc::kItemNotFound, "frmPickList",
                    "The pick list has no column " + std::to_string(column) + ".");
    }
    const int row = grid.Row();
    if (row < grid.FixedRows() || row >= grid.Rows()) {
        return {};
    }
    return grid.TextMatrix(row, column);
}

QString frmPickList::ColumnText(const QString& key) const {
    const int col = ui_->fgPickList->ColumnIndex(key);
    if (col < 0) {
        throw Error(errc::kItemNotFound, "frmPickList",
                    "The pick list has no column " + key.toStdString() + ".");
    }
    return ColumnText(col);
}

std::vector<frmPickList::POLine> frmPickList::SelectedLines() const {
    const FlexGrid& grid = *ui_->fgPickList;
    std::vector<POLine> lines;
    for (const int row : grid.SelectedRows()) {
        if (row < grid.FixedRows()) {
            continue;
        }
        POLine& line = lines.emplace_back();
        const int cols = std::min(static_cast<int>(line.size()), grid.Cols());
        for (int col = 0; col < cols; ++col) {
            line[col] = grid.TextMatrix(row, col);
        }
    }
    return lines;
}

void frmPickList::cmdOk_Click() {
    cancelled_ = false;
    accept();
}

void frmPickList::reject() {
    cancelled_ = true;
    QDialog::reject();
}

}  // namespace vym
