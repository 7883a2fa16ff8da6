#include "ui/flex_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "ui/flex_grid_delegate.h"
#include "ui/flex_grid_model.h"
#include "ui/symbol_font.h"

namespace vym::ui {
namespace {

using Kind = FlexGridModel::Kind;
using Align = FlexGridModel::Align;

constexpr int kCellPadding = 12;
constexpr int kMaxAutoWidth = 600;
// AutoSizeColumns measures the first and last rows only, so it stays quick on long grids.
constexpr int kSampleHead = 500;
constexpr int kSampleTail = 100;

}  // namespace

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent), model_(new FlexGridModel(this)), delegate_(new FlexGridDelegate(this)) {
    setModel(model_);
    setItemDelegate(delegate_);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    SetSelectionMode(SelectionMode::Single);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    emit RowColChange(current.row() + 1, current.column());
                }
            });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FlexGrid::SelectionChanged);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        emit CellDoubleClicked(index.row() + 1, index.column());
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        emit CellClicked(index.row() + 1, index.column());
    });
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::SetFormatString(const QString& format) {
    std::vector<FlexGridModel::Column> columns;
    if (!format.isEmpty()) {
        for (QString heading : format.split(QLatin1Char('|'))) {
            FlexGridModel::Column column;
            if (!heading.isEmpty()) {
                switch (heading.front().unicode()) {
                    case '<':
                        column.align = Align::Left;
                        break;
                    case '^':
                        column.align = Align::Center;
                        break;
                    case '>':
                        column.align = Align::Right;
                        break;
                    default:
                        break;
                }
                if (column.align != Align::Default) {
                    heading.remove(0, 1);
                }
            }
            column.heading = heading;
            columns.push_back(std::move(column));
        }
    }
    model_->SetColumns(std::move(columns));
    ApplyHiddenColumns();
    AutoSizeColumns();
}

QString FlexGrid::FormatString() const {
    QStringList headings;
    for (int col = 0; col < Cols(); ++col) {
        const auto& column = model_->ColumnAt(col);
        QString mark;
        switch (column.align) {
            case Align::Left:
                mark = QStringLiteral("<");
                break;
            case Align::Center:
                mark = QStringLiteral("^");
                break;
            case Align::Right:
                mark = QStringLiteral(">");
                break;
            case Align::Default:
                break;
        }
        headings.append(mark + column.heading);
    }
    return headings.join(QLatin1Char('|'));
}

int FlexGrid::Rows() const {
    return model_->DataRows() + 1;
}

void FlexGrid::SetRows(int rows) {
    model_->SetDataRows(std::max(rows, 1) - 1);
}

int FlexGrid::Cols() const {
    return model_->ColumnCount();
}

void FlexGrid::SetCols(int cols) {
    model_->SetColumnCount(cols);
}

QString ComboListEntry(const QString& key, QString text) {
    return "|#" + key + ";" + text.replace('|', '/').replace(';', ',');
}

void FlexGrid::AddItem(const QString& tabSeparated) {
    model_->AppendRow(tabSeparated);
}

void FlexGrid::AddRow(const QStringList& cells) {
    model_->AppendRow(cells);
}

void FlexGrid::ReserveRows(int rows) {
    model_->ReserveRows(rows);
}

void FlexGrid::AddItem(const QString& tabSeparated, int beforeRow) {
    model_->InsertRow(beforeRow, tabSeparated.split(QLatin1Char('\t')));
}

void FlexGrid::RemoveItem(int row) {
    model_->RemoveRow(row);
}

void FlexGrid::Clear() {
    model_->RemoveAllRows();
}

void FlexGrid::BeginBulkLoad() {
    model_->SetHoldBack(true);
    setUpdatesEnabled(false);
}

void FlexGrid::EndBulkLoad() {
    model_->SetHoldBack(false);
    setUpdatesEnabled(true);
}

QString FlexGrid::TextMatrix(int row, int col) const {
    if (row == 0) {
        return ColumnHeading(col);
    }
    return model_->Text(row, col);
}

void FlexGrid::SetTextMatrix(int row, int col, const QString& text) {
    if (row == 0) {
        SetColumnHeading(col, text);
    } else {
        model_->SetText(row, col, text);
    }
}

QString FlexGrid::DisplayText(int row, int col) const {
    if (col < 0 || col >= Cols()) {
        return QString();
    }
    return model_->DisplayText(row, col);
}

int FlexGrid::FindRow(const QString& text, int col, int fromRow) const {
    for (int row = std::max(fromRow, 1); row < Rows(); ++row) {
        if (model_->Text(row, col) == text) {
            return row;
        }
    }
    return -1;
}

QVariant FlexGrid::CellData(int row, int col) const {
    return model_->CellData(row, col);
}

void FlexGrid::SetCellData(int row, int col, const QVariant& data) {
    model_->SetCellData(row, col, data);
}

QVariant FlexGrid::RowData(int row) const {
    return model_->RowData(row);
}

void FlexGrid::SetRowData(int row, const QVariant& data) {
    model_->SetRowData(row, data);
}

bool FlexGrid::CellChecked(int row, int col) const {
    return FlexGridModel::IsTrueText(model_->Text(row, col));
}

void FlexGrid::SetCellChecked(int row, int col, bool checked) {
    model_->SetText(row, col, checked ? QStringLiteral("-1") : QStringLiteral("0"));
}

void FlexGrid::SetCellFont(int row, int col, const QFont& font) {
    model_->SetCellFont(row, col, font);
}

void FlexGrid::SetColumnFont(int col, const QFont& font, int fromRow) {
    if (col < 0 || col >= Cols()) {
        return;
    }
    auto& column = model_->EditColumn(col);
    column.font = font;
    column.fontFromRow = std::max(fromRow, 1);
    model_->ColumnChanged(col);
}

void FlexGrid::SetCellBackground(int row, int col, const QColor& colour) {
    model_->SetCellBackground(row, col, colour);
}

void FlexGrid::SetCellForeground(int row, int col, const QColor& colour) {
    model_->SetCellForeground(row, col, colour);
}

QString FlexGrid::ColumnHeading(int col) const {
    return col >= 0 && col < Cols() ? model_->ColumnAt(col).heading : QString();
}

void FlexGrid::SetColumnHeading(int col, const QString& heading) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).heading = heading;
        model_->ColumnChanged(col);
    }
}

QString FlexGrid::ColumnKey(int col) const {
    return col >= 0 && col < Cols() ? model_->ColumnAt(col).key : QString();
}

void FlexGrid::SetColumnKey(int col, const QString& key) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).key = key;
    }
}

int FlexGrid::ColumnIndex(const QString& key) const {
    for (int col = 0; col < Cols(); ++col) {
        if (model_->ColumnAt(col).key.compare(key, Qt::CaseInsensitive) == 0) {
            return col;
        }
    }
    return -1;
}

void FlexGrid::SetColumnAlignment(int col, Alignment alignment) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).align = static_cast<Align>(alignment);
        model_->ColumnChanged(col);
    }
}

void FlexGrid::SetColumnFormat(int col, const QString& format) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).format = format;
        model_->ColumnChanged(col);
    }
}

QString FlexGrid::ColumnFormat(int col) const {
    return col >= 0 && col < Cols() ? model_->ColumnAt(col).format : QString();
}

void FlexGrid::SetColumnKind(int col, ColumnKind kind) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).kind = static_cast<Kind>(kind);
        model_->ColumnChanged(col);
    }
}

FlexGrid::ColumnKind FlexGrid::ColumnKindOf(int col) const {
    return col >= 0 && col < Cols() ? static_cast<ColumnKind>(model_->ColumnAt(col).kind)
                                    : ColumnKind::Text;
}

void FlexGrid::SetColumnComboList(int col, const QString& list) {
    if (col >= 0 && col < Cols()) {
        auto& column = model_->EditColumn(col);
        column.combo = ParseComboList(list);
        column.kind = Kind::ComboList;
        model_->ColumnChanged(col);
    }
}

void FlexGrid::SetColumnEditable(int col, bool editable) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).editable = editable;
        model_->ColumnChanged(col);
    }
}

bool FlexGrid::ColumnEditable(int col) const {
    return col >= 0 && col < Cols() && model_->ColumnAt(col).editable;
}

void FlexGrid::SetColumnHidden(int col, bool hidden) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).hidden = hidden;
        setColumnHidden(col, hidden);
    }
}

bool FlexGrid::IsColumnHidden(int col) const {
    return col >= 0 && col < Cols() && model_->ColumnAt(col).hidden;
}

void FlexGrid::ApplyHiddenColumns() {
    for (int col = 0; col < Cols(); ++col) {
        setColumnHidden(col, model_->ColumnAt(col).hidden);
    }
}

void FlexGrid::SetColumnWidth(int col, int width) {
    setColumnWidth(col, width);
}

void FlexGrid::SetMergeColumn(int col, bool merge) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).merge = merge;
        model_->ColumnChanged(col);
    }
}

void FlexGrid::SetColumnSymbolFont(int col, bool symbolFont) {
    if (col >= 0 && col < Cols()) {
        model_->EditColumn(col).symbolFont = symbolFont;
        model_->ColumnChanged(col);
    }
}

int FlexGrid::ColumnContentWidth(int col) const {
    const auto& column = model_->ColumnAt(col);
    QFont headerFont = font();
    headerFont.setBold(true);
    int width = QFontMetrics(headerFont).horizontalAdvance(column.heading) + kCellPadding;
    if (column.kind == Kind::CheckBox) {
        return std::max(width, style()->pixelMetric(QStyle::PM_IndicatorWidth) + kCellPadding);
    }
    QFont cellFont = column.font ? *column.font : column.symbolFont ? SymbolFont::Font() : font();
    const QFontMetrics metrics(cellFont);
    const int rows = model_->DataRows();
    auto measure = [&](int row) {
        width = std::max(width,
                         metrics.horizontalAdvance(model_->DisplayText(row, col)) + kCellPadding);
    };
    for (int row = 1; row <= std::min(rows, kSampleHead); ++row) {
        measure(row);
    }
    for (int row = std::max(kSampleHead + 1, rows - kSampleTail + 1); row <= rows; ++row) {
        measure(row);
    }
    if (column.kind == Kind::Button) {
        width += FlexGridDelegate::ButtonRect(QRect(0, 0, width, rowHeight(0))).width();
    }
    return std::min(width, kMaxAutoWidth);
}

void FlexGrid::AutoSizeColumns() {
    for (int col = 0; col < Cols(); ++col) {
        setColumnWidth(col, ColumnContentWidth(col));
    }
}

void FlexGrid::SetRowHidden(int row, bool hidden) {
    if (row < 1 || row >= Rows()) {
        return;
    }
    model_->Flush();
    model_->SetRowHidden(row, hidden);
    setRowHidden(row - 1, hidden);
}

bool FlexGrid::IsRowHidden(int row) const {
    return model_->RowHidden(row);
}

void FlexGrid::DefineRowStyle(const QString& name, const QColor& background,
                              const QColor& foreground) {
    model_->DefineRowStyle(name, {background, foreground});
}

void FlexGrid::SetRowStyle(int row, const QString& name) {
    model_->SetRowStyleName(row, name);
}

int FlexGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int FlexGrid::Col() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void FlexGrid::SetCurrentCell(int row, int col) {
    model_->Flush();
    if (row < 1 || row >= Rows()) {
        selectionModel()->clearCurrentIndex();
        return;
    }
    setCurrentIndex(model_->index(row - 1, std::clamp(col, 0, std::max(Cols() - 1, 0))));
}

void FlexGrid::SetSelectionMode(SelectionMode mode) {
    setSelectionMode(mode == SelectionMode::MultiRow ? QAbstractItemView::ExtendedSelection
                                                     : QAbstractItemView::SingleSelection);
}

QList<int> FlexGrid::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.append(index.row() + 1);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FlexGrid::SelectRow(int row, bool selected) {
    if (row < 1 || row >= Rows() || Cols() == 0) {
        return;
    }
    model_->Flush();
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Rows;
    if (!selected) {
        flags |= QItemSelectionModel::Deselect;
    } else if (selectionMode() == QAbstractItemView::SingleSelection) {
        flags |= QItemSelectionModel::ClearAndSelect;
    } else {
        flags |= QItemSelectionModel::Select;
    }
    selectionModel()->select(model_->index(row - 1, 0), flags);
}

void FlexGrid::SelectAllRows() {
    model_->Flush();
    if (selectionMode() != QAbstractItemView::SingleSelection) {
        selectAll();
    }
}

bool FlexGrid::IsRowSelected(int row) const {
    return row >= 1 && row <= model_->rowCount() &&
           selectionModel()->isRowSelected(row - 1, QModelIndex());
}

void FlexGrid::SetEditable(bool editable) {
    model_->SetGridEditable(editable);
}

bool FlexGrid::EditCell(int row, int col) {
    model_->Flush();
    if (!model_->CellEditable(row, col) || model_->ColumnAt(col).kind == Kind::CheckBox) {
        return false;
    }
    const QModelIndex index = model_->index(row - 1, col);
    setCurrentIndex(index);
    edit(index);
    return IsEditing();
}

bool FlexGrid::IsEditing() const {
    return state() == QAbstractItemView::EditingState;
}

bool FlexGrid::AllowEdit(int row, int col) {
    bool cancel = false;
    emit BeforeEdit(row, col, cancel);
    return !cancel;
}

void FlexGrid::CommitEdit(int row, int col, const QString& newText) {
    bool cancel = false;
    emit ValidateEdit(row, col, newText, cancel);
    if (cancel) {
        return;
    }
    model_->SetText(row, col, newText);
    emit AfterEdit(row, col);
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    if (IsEditing()) {
        QTableView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Delete:
            emit DeleteKeyPressed(Row(), Col());
            event->accept();
            return;
        case Qt::Key_C:
            if (event->matches(QKeySequence::Copy)) {
                CopySelection();
                event->accept();
                return;
            }
            QTableView::keyPressEvent(event);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const int row = Row();
            const int col = Col();
            emit EnterPressed(row, col);
            if (row > 0) {
                EditCell(row, col);
            }
            event->accept();
            return;
        }
        default:
            QTableView::keyPressEvent(event);
    }
}

}  // namespace vym::ui
