#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vym::ui {

// One entry of a grid column's drop-down list: the cell keeps the key, the grid shows the text.
struct ComboEntry {
    QString key;
    QString text;
};

// Parses "#key;text|#key;text" (a leading or trailing "|" is allowed). Entries without
// "#" are plain choices whose key is their text.
QList<ComboEntry> ParseComboList(const QString& list);

// The rows of a FlexGrid. Grid row r (1-based, row 0 being the header) is model row r - 1.
//
// Rows appended one by one are announced to the views in batches: the grid keeps them at
// once (so TextMatrix and Rows see them) and tells the views on the next turn of the event
// loop or when a view needs them (Flush), so a fill of many thousand rows costs one
// insertion per batch instead of one per row.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum class Kind { Text, CheckBox, ComboList, Button };
    enum class Align { Default, Left, Center, Right };

    struct Column {
        QString heading;
        QString key;
        Align align = Align::Default;
        QString format;
        Kind kind = Kind::Text;
        QList<ComboEntry> combo;
        bool editable = true;
        bool hidden = false;
        bool merge = false;
        bool symbolFont = false;
        std::optional<QFont> font;
        int fontFromRow = 1;
    };

    // Looks that few cells carry are kept apart from the cell texts.
    struct CellLook {
        std::optional<QFont> font;
        QColor background;
        QColor foreground;
    };

    struct RowStyle {
        QColor background;
        QColor foreground;
    };

    explicit FlexGridModel(QObject* parent = nullptr);
    ~FlexGridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Structure; grid rows are 1-based.
    void SetColumns(std::vector<Column> columns);  // drops every row
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    void SetColumnCount(int count);
    const Column& ColumnAt(int col) const { return columns_.at(col); }
    Column& EditColumn(int col);  // the caller reports the change through ColumnChanged
    void ColumnChanged(int col);
    int DataRows() const { return static_cast<int>(rows_.size()); }
    void SetDataRows(int rows);

    // Room for `rows` rows in all, taken at once rather than doubled as they come.
    void ReserveRows(int rows);
    void AppendRow(const QStringList& cells);
    // The same for cells separated by tabs, without splitting them first.
    void AppendRow(const QString& tabSeparated);
    void InsertRow(int row, const QStringList& cells);
    void RemoveRow(int row);
    void RemoveAllRows();
    void Flush();                 // tells the views about rows appended so far
    void SetHoldBack(bool hold);  // while set, appended rows wait for an explicit Flush

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    QString DisplayText(int row, int col) const;
    QVariant CellData(int row, int col) const;
    void SetCellData(int row, int col, const QVariant& data);
    QVariant RowData(int row) const;
    void SetRowData(int row, const QVariant& data);
    bool RowHidden(int row) const;
    void SetRowHidden(int row, bool hidden);
    void SetRowStyleName(int row, const QString& name);
    void DefineRowStyle(const QString& name, const RowStyle& style);
    void SetCellFont(int row, int col, const QFont& font);
    void SetCellBackground(int row, int col, const QColor& colour);
    void SetCellForeground(int row, int col, const QColor& colour);
    void SetGridEditable(bool editable);
    bool CellEditable(int row, int col) const;

    static bool IsTrueText(const QString& text);

  private:
    // What few rows carry: cell looks and cell data, by column, and row data
    // other than a number.
    struct RowExtras {
        std::vector<std::pair<int, CellLook>> looks;
        std::vector<std::pair<int, QVariant>> cellData;
        QVariant data;
    };
    // A grid holds a row as one UTF-8 string of its cells, so that a million
    // rows cost a million small strings, not one string per cell. Cells end
    // at a tab; a tab or backslash inside a cell is escaped as \t or \\.
    // The row data most grids keep, a record's number, is held in the row
    // itself: 40 bytes a row rather than 72 with a QVariant.
    struct Row {
        QByteArray packed;
        std::unique_ptr<RowExtras> extras;
        std::int32_t number = 0;  // the row data when `numbered`
        std::uint16_t style = 0;  // index into styleNames_; 0 = none
        bool hidden = false;
        bool numbered = false;
    };

    Row MakeRow(const QStringList& cells) const;
    const CellLook* FindLook(const Row& row, int col) const;
    CellLook& LookAt(int row, int col);
    RowExtras& ExtrasOf(Row& row);
    void NotifyCell(int row, int col);
    void NotifyRow(int row);
    QString FormatText(const Column& column, const QString& text) const;
    bool SameAsRowAbove(int row, int col) const;
    const RowStyle* StyleOf(const Row& row) const;

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int announced_ = 0;  // rows the views know of
    bool holdBack_ = false;
    bool gridEditable_ = false;
    QHash<QString, RowStyle> rowStyles_;
    QStringList styleNames_{QString()};  // the row style names used so far
    QTimer flushTimer_;
};

}  // namespace vym::ui
