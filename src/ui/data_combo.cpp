#include "ui/data_combo.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

namespace vym::ui {

DataCombo::DataCombo(QWidget* parent)
    : QComboBox(parent), rows_(new QStandardItemModel(this)), list_(new QTableView(this)) {
    setModel(rows_);
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    setView(list_);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit KeyChanged(Key()); });
}

void DataCombo::SetColumns(const QStringList& headings) {
    rows_->clear();
    rows_->setColumnCount(static_cast<int>(headings.size()));
    rows_->setHorizontalHeaderLabels(headings);
}

void DataCombo::SetBoundColumn(int col) {
    boundColumn_ = col;
}

void DataCombo::SetListColumn(int col) {
    setModelColumn(col);
}

void DataCombo::SetListColumnHidden(int col, bool hidden) {
    list_->setColumnHidden(col, hidden);
}

void DataCombo::ClearRows() {
    rows_->removeRows(0, rows_->rowCount());
}

void DataCombo::AddRow(const QStringList& cells) {
    QList<QStandardItem*> items;
    for (int col = 0; col < std::max(rows_->columnCount(), static_cast<int>(cells.size())); ++col) {
        items.append(new QStandardItem(col < cells.size() ? cells[col] : QString()));
    }
    rows_->appendRow(items);
}

int DataCombo::RowCount() const {
    return rows_->rowCount();
}

QString DataCombo::CellAt(int row, int col) const {
    return rows_->index(row, col).data().toString();
}

QString DataCombo::Cell(int col) const {
    return currentIndex() < 0 ? QString() : CellAt(currentIndex(), col);
}

QString DataCombo::Key() const {
    return Cell(boundColumn_);
}

bool DataCombo::SetKey(const QString& key) {
    for (int row = 0; row < rows_->rowCount(); ++row) {
        if (CellAt(row, boundColumn_) == key) {
            setCurrentIndex(row);
            return true;
        }
    }
    setCurrentIndex(-1);
    return false;
}

void DataCombo::showPopup() {
    // The list is as wide as its columns, never narrower than the box.
    list_->resizeColumnsToContents();
    int width = list_->verticalScrollBar()->sizeHint().width() + 4;
    for (int col = 0; col < rows_->columnCount(); ++col) {
        if (!list_->isColumnHidden(col)) {
            width += list_->columnWidth(col);
        }
    }
    list_->setMinimumWidth(std::max(width, this->width()));
    QComboBox::showPopup();
}

}  // namespace vym::ui
