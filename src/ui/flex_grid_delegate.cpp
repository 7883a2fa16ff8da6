#include "ui/flex_grid_delegate.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "ui/flex_grid.h"
#include "ui/flex_grid_model.h"

namespace vym::ui {
namespace {

constexpr int kButtonWidth = 20;

const FlexGridModel* GridModel(const QModelIndex& index) {
    return qobject_cast<const FlexGridModel*>(index.model());
}

FlexGridModel::Kind KindOf(const QModelIndex& index) {
    const FlexGridModel* model = GridModel(index);
    return model ? model->ColumnAt(index.column()).kind : FlexGridModel::Kind::Text;
}

}  // namespace

FlexGridDelegate::FlexGridDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QRect FlexGridDelegate::ButtonRect(const QRect& cell) {
    const int width = std::min(kButtonWidth, cell.width());
    return {cell.right() - width + 1, cell.top(), width, cell.height()};
}

QWidget* FlexGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                        const QModelIndex& index) const {
    const int row = index.row() + 1;
    const int col = index.column();
    if (!grid_->AllowEdit(row, col)) {
        return nullptr;  // the view then stays out of editing
    }
    if (KindOf(index) == FlexGridModel::Kind::ComboList) {
        auto* combo = new QComboBox(parent);
        for (const ComboEntry& entry : GridModel(index)->ColumnAt(col).combo) {
            combo->addItem(entry.text, entry.key);
        }
        // Picking an entry is the whole edit: commit it at once.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            auto* self = const_cast<FlexGridDelegate*>(this);
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        return combo;
    }
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    line->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) &
                       Qt::AlignHorizontal_Mask);
    return line;
}

void FlexGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findData(text));
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        // A key typed to start the edit arrives after this and replaces the selection.
        line->setText(text);
        line->selectAll();
    }
}

void FlexGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                    const QModelIndex& index) const {
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() < 0) {
            return;
        }
        text = combo->currentData().toString();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        text = line->text();
    } else {
        return;
    }
    grid_->CommitEdit(index.row() + 1, index.column(), text);
}

void FlexGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const FlexGridModel::Kind kind = KindOf(index);
    if (kind != FlexGridModel::Kind::CheckBox && kind != FlexGridModel::Kind::Button) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();

    if (kind == FlexGridModel::Kind::Button) {
        const QRect button = ButtonRect(opt.rect);
        opt.rect.setRight(button.left() - 1);
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        QStyleOptionButton push;
        push.rect = button;
        push.text = QStringLiteral("...");
        push.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &push, painter, widget);
        return;
    }

    // Check boxes are drawn on their own so that they follow the column's alignment.
    const Qt::CheckState state = opt.checkState;
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    QStyleOptionViewItem check = opt;
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &opt, widget);
    check.rect = QStyle::alignedRect(opt.direction, opt.displayAlignment | Qt::AlignVCenter,
                                     QSize(w, h), opt.rect.adjusted(3, 0, -3, 0));
    check.state = (opt.state & ~QStyle::State_HasFocus) |
                  (state == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
}

QSize FlexGridDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (KindOf(index) == FlexGridModel::Kind::Button) {
        size.rwidth() += kButtonWidth;
    }
    return size;
}

bool FlexGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    const FlexGridModel::Kind kind = KindOf(index);
    const int row = index.row() + 1;
    const int col = index.column();
    const bool release = event->type() == QEvent::MouseButtonRelease &&
                         static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;

    if (kind == FlexGridModel::Kind::Button) {
        // Space presses the current cell's button, as it ticks a check box.
        const bool pressed =
            release ? ButtonRect(option.rect)
                          .contains(static_cast<QMouseEvent*>(event)->position().toPoint())
                    : event->type() == QEvent::KeyPress &&
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
        if (pressed) {
            emit grid_->CellButtonClick(row, col);
        }
        return pressed;
    }
    if (kind != FlexGridModel::Kind::CheckBox) {
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
    const FlexGridModel* gridModel = GridModel(index);
    if (!gridModel->CellEditable(row, col)) {
        return false;
    }
    bool toggle = release;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
    }
    if (!toggle) {
        return event->type() == QEvent::MouseButtonDblClick;
    }
    if (grid_->AllowEdit(row, col)) {
        const bool checked = FlexGridModel::IsTrueText(gridModel->Text(row, col));
        grid_->CommitEdit(row, col, checked ? QStringLiteral("0") : QStringLiteral("-1"));
    }
    return true;
}

}  // namespace vym::ui
