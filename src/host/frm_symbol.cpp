#include "host/frm_symbol.h"

#include <QHeaderView>

#include "ui/flex_grid.h"
#include "ui/symbol_font.h"
#include "ui_frm_symbol.h"

namespace vym {

using ui::FlexGrid;
using ui::SymbolFont;

namespace {
constexpr int kColumns = 10;
}

frmSymbol::frmSymbol(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmSymbol>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgSymbols;
    grid.SetCols(kColumns);
    grid.horizontalHeader()->setVisible(false);
    // One symbol is chosen, not a row of them.
    grid.setSelectionBehavior(QAbstractItemView::SelectItems);

    QFont font = SymbolFont::Font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    const int cell = QFontMetrics(font).height() + 12;
    grid.verticalHeader()->setDefaultSectionSize(cell);

    const int codes = SymbolFont::kLastCode - SymbolFont::kFirstCode + 1;
    grid.BeginBulkLoad();
    for (int i = 0; i < codes; ++i) {
        const int row = grid.FixedRows() + i / kColumns;
        const int col = i % kColumns;
        if (col == 0) {
            grid.AddItem(QString());
        }
        const int code = SymbolFont::kFirstCode + i;
        grid.SetTextMatrix(row, col, SymbolFont::DisplayText(code));
        grid.SetCellData(row, col, code);
    }
    grid.EndBulkLoad();
    for (int col = 0; col < kColumns; ++col) {
        grid.SetColumnFont(col, font);
        grid.SetColumnAlignment(col, FlexGrid::Alignment::Center);
        grid.SetColumnWidth(col, cell);
    }

    connect(&grid, &FlexGrid::RowColChange, this, &frmSymbol::fgSymbols_RowColChange);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmSymbol::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &frmSymbol::reject);
    grid.SetCurrentCell(grid.FixedRows(), 0);
    fgSymbols_RowColChange(grid.Row(), grid.Col());
}

frmSymbol::~frmSymbol() = default;

void frmSymbol::fgSymbols_RowColChange(int row, int col) {
    const QVariant code = ui_->fgSymbols->CellData(row, col);
    ui_->lblCharacter->setText(code.isValid() ? "Character: " + QString::number(code.toInt())
                                              : QString());
}

void frmSymbol::cmdOk_Click() {
    const FlexGrid& grid = *ui_->fgSymbols;
    const QVariant code =
        grid.Row() >= grid.FixedRows() ? grid.CellData(grid.Row(), grid.Col()) : QVariant();
    code_ = code.isValid() ? std::optional<int>(code.toInt()) : std::nullopt;
    cancelled_ = false;
    accept();
}

void frmSymbol::reject() {
    code_.reset();
    cancelled_ = true;
    QDialog::reject();
}

}  // namespace vym
