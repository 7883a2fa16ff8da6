#pragma once

#include <QStyledItemDelegate>

namespace vym::ui {

class FlexGrid;

// Draws and edits FlexGrid cells: a line editor for text, a drop-down of the column's
// list (showing texts, committing keys), centred check boxes and cell buttons. Every
// change goes back through the grid so that it raises its edit events.
class FlexGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    explicit FlexGridDelegate(FlexGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where a button cell draws its button inside the cell.
    static QRect ButtonRect(const QRect& cell);

  protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

  private:
    FlexGrid* grid_;
};

}  // namespace vym::ui
