#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <QVariant>
#include <optional>

class QMenu;

namespace vym::ui {

// A drop-down list entry of a grid column's combo list: "|" and ";" in the
// text would end the entry early, so they show as "/" and ",".
QString ComboListEntry(const QString& key, QString text);

class FlexGridDelegate;
class FlexGridModel;

// The grid every screen uses, declared by a format string ("Function|<Vendor|>Model|^Size"):
// headings separated by "|", each optionally led by "<" (left), "^" (centred) or ">"
// (right). Row 0 is the fixed header row, so the row numbers the code uses are the
// numbers users see in messages; data rows start at 1. Rows are added as
// tab-separated text. Each cell keeps a text and a data value; each row a data value.
//
// Columns may carry a display format ("0.0000", "Currency", "mm/dd/yyyy" ...), be
// Boolean check boxes, drop-down lists ("#key;text|#key;text", the key kept and the
// text shown), cell buttons, hidden, or editable. Editing raises BeforeEdit,
// ValidateEdit (cancellable, with the new text) and AfterEdit, in that order.
class FlexGrid : public QTableView {
    Q_OBJECT

  public:
    enum class ColumnKind { Text, CheckBox, ComboList, Button };
    enum class Alignment { Default, Left, Center, Right };
    enum class SelectionMode { Single, MultiRow };

    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Structure ------------------------------------------------------------
    void SetFormatString(const QString& format);  // sets columns, headings, alignment; rows = 1
    QString FormatString() const;
    int Rows() const;  // including the header row
    void SetRows(int rows);
    int Cols() const;
    void SetCols(int cols);
    int FixedRows() const { return 1; }

    // Rows --------------------------------------------------------------------
    void AddItem(const QString& tabSeparated);                 // appends a row
    void AddItem(const QString& tabSeparated, int beforeRow);  // inserts before a row
    // Appends a row cell by cell, so that a tab in a text cannot shift the columns.
    void AddRow(const QStringList& cells);
    // Room for `rows` data rows in all, before a load whose size is known.
    void ReserveRows(int rows);
    void RemoveItem(int row);
    void Clear();          // removes every data row, keeps the columns
    void BeginBulkLoad();  // many AddItem calls: no repaint until EndBulkLoad
    void EndBulkLoad();

    // Cells -------------------------------------------------------------------
    QString TextMatrix(int row, int col) const;
    // The text as shown: formatted, the list text of a key, a symbol for a code.
    QString DisplayText(int row, int col) const;
    // First data row from fromRow on whose cell text equals text; -1 if none.
    int FindRow(const QString& text, int col, int fromRow = 1) const;
    void SetTextMatrix(int row, int col, const QString& text);
    QVariant CellData(int row, int col) const;
    void SetCellData(int row, int col, const QVariant& data);
    QVariant RowData(int row) const;
    void SetRowData(int row, const QVariant& data);
    // Boolean columns: a cell is checked when its text is "True" or a non-zero number;
    // checking writes "-1" and clearing "0", as Booleans are held.
    bool CellChecked(int row, int col) const;
    void SetCellChecked(int row, int col, bool checked);
    void SetCellFont(int row, int col, const QFont& font);
    void SetColumnFont(int col, const QFont& font, int fromRow = 1);
    void SetCellBackground(int row, int col, const QColor& colour);
    void SetCellForeground(int row, int col, const QColor& colour);

    // Columns -----------------------------------------------------------------
    QString ColumnHeading(int col) const;
    void SetColumnHeading(int col, const QString& heading);
    QString ColumnKey(int col) const;  // a name the code finds the column by
    void SetColumnKey(int col, const QString& key);
    int ColumnIndex(const QString& key) const;  // by key, without regard to case; -1 if none
    void SetColumnAlignment(int col, Alignment alignment);
    void SetColumnFormat(int col, const QString& format);  // display format of the cell text
    QString ColumnFormat(int col) const;
    void SetColumnKind(int col, ColumnKind kind);
    ColumnKind ColumnKindOf(int col) const;
    // "#key;text|#key;text" (a leading "|" is allowed); the cell keeps the key.
    void SetColumnComboList(int col, const QString& list);
    void SetColumnEditable(int col, bool editable);
    bool ColumnEditable(int col) const;
    void SetColumnHidden(int col, bool hidden);
    bool IsColumnHidden(int col) const;
    void SetColumnWidth(int col, int width);
    void AutoSizeColumns();                    // to content (header included)
    void SetMergeColumn(int col, bool merge);  // equal neighbouring cells shown as one
    // Shows the column's characters as tree symbols (SymbolFont); the text keeps the codes.
    void SetColumnSymbolFont(int col, bool symbolFont = true);

    // Rows shown --------------------------------------------------------------
    void SetRowHidden(int row, bool hidden);
    bool IsRowHidden(int row) const;
    // Named row styles: DefineRowStyle("inactive", QColor(255, 255, 192)).
    void DefineRowStyle(const QString& name, const QColor& background,
                        const QColor& foreground = QColor());
    void SetRowStyle(int row, const QString& name);  // empty name: no style

    // Current cell and selection ----------------------------------------------
    int Row() const;  // current row, 0 when none
    int Col() const;
    void SetCurrentCell(int row, int col);
    void SetSelectionMode(SelectionMode mode);
    QList<int> SelectedRows() const;  // ascending
    void SelectRow(int row, bool selected = true);
    void SelectAllRows();
    bool IsRowSelected(int row) const;

    // Editing -----------------------------------------------------------------
    void SetEditable(bool editable);  // grid-wide switch; columns still decide
    bool EditCell(int row, int col);  // starts an edit as a user would (F2)
    bool IsEditing() const;           // a cell editor is open

    // Out to other programs ---------------------------------------------------
    // Every grid's context menu ends with "Copy" (also Ctrl+C) and "Export to CSV...";
    // a screen's own popup menu is shown above them.
    void SetContextMenu(QMenu* menu);
    // The selected cells (the current cell when none is selected) as shown, a line
    // per row and a tab between cells, as a spreadsheet pastes them.
    QString SelectedText() const;
    // The heading row and every row shown, as shown, written as CSV (UTF-8) to the
    // file, which is replaced only when all of it was written. The reason when not.
    std::optional<QString> ExportCsv(const QString& path) const;

  signals:
    void RowColChange(int row, int col);
    void SelectionChanged();
    void BeforeEdit(int row, int col, bool& cancel);
    void ValidateEdit(int row, int col, const QString& newText, bool& cancel);
    void AfterEdit(int row, int col);
    void CellButtonClick(int row, int col);
    void CellDoubleClicked(int row, int col);
    void CellClicked(int row, int col);
    void DeleteKeyPressed(int row, int col);
    void EnterPressed(int row, int col);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    friend class FlexGridDelegate;

    // The editing path every change of a cell by the user takes.
    bool AllowEdit(int row, int col);
    void CommitEdit(int row, int col, const QString& newText);
    void ApplyHiddenColumns();
    int ColumnContentWidth(int col) const;
    QString ExportText(int row, int col) const;
    void CopySelection() const;
    void AskExportCsv();

    FlexGridModel* model_;
    FlexGridDelegate* delegate_;
    QMenu* screenMenu_ = nullptr;
};

}  // namespace vym::ui
