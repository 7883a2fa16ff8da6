#pragma once

#include <QComboBox>
#include <QStringList>

class QStandardItemModel;
class QTableView;

namespace vym::ui {

// A drop-down whose rows have several columns: the list shows them all, the box shows
// the list column, and the bound column is the row's key.
class DataCombo : public QComboBox {
    Q_OBJECT

  public:
    explicit DataCombo(QWidget* parent = nullptr);

    void SetColumns(const QStringList& headings);  // drops every row
    void SetBoundColumn(int col);
    int BoundColumn() const { return boundColumn_; }
    void SetListColumn(int col);  // the column the box shows
    void SetListColumnHidden(int col, bool hidden);

    void ClearRows();
    void AddRow(const QStringList& cells);
    int RowCount() const;

    // The bound column of the chosen row; empty when no row is chosen.
    QString Key() const;
    // Chooses the row with that key; with no such row nothing is chosen and it returns false.
    bool SetKey(const QString& key);
    QString Cell(int col) const;  // of the chosen row
    QString CellAt(int row, int col) const;

  signals:
    void KeyChanged(const QString& key);

  protected:
    void showPopup() override;

  private:
    QStandardItemModel* rows_;
    QTableView* list_;
    int boundColumn_ = 0;
};

}  // namespace vym::ui
