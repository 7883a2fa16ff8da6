#pragma once

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <initializer_list>

#include "ui/flex_grid.h"

namespace vym::test {

// Replaces what a box holds as a user does: selects it all, deletes it, types.
inline void ReplaceText(QLineEdit& box, const QString& text) {
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, text);
}

// Types into a grid cell as a user does: the cell's editor, then Enter.
// False when the grid does not let the cell be edited.
inline bool TypeIntoCell(ui::FlexGrid& grid, int row, int col, const QString& text) {
    grid.SetCurrentCell(row, col);
    if (!grid.EditCell(row, col)) {
        return false;
    }
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.model()->index(row - 1, col)));
    if (editor == nullptr) {
        return false;
    }
    ReplaceText(*editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
}

// A column's texts under the header, the hidden rows left out when asked.
inline QStringList ColumnTexts(const ui::FlexGrid& grid, int col, bool shownOnly = false) {
    QStringList texts;
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
        if (!shownOnly || !grid.IsRowHidden(row)) {
            texts << grid.TextMatrix(row, col);
        }
    }
    return texts;
}

// A row's cells as the grid holds them, "a|b|c", to check many in one expectation.
inline QString CellTexts(const ui::FlexGrid& grid, int row, std::initializer_list<int> cols) {
    QStringList texts;
    for (const int col : cols) {
        texts << grid.TextMatrix(row, col);
    }
    return texts.join(u'|');
}

// Picks an entry of a cell's drop-down list by its text.
inline bool ChooseInCell(ui::FlexGrid& grid, int row, int col, const QString& shown) {
    grid.SetCurrentCell(row, col);
    if (!grid.EditCell(row, col)) {
        return false;
    }
    auto* combo = qobject_cast<QComboBox*>(grid.indexWidget(grid.model()->index(row - 1, col)));
    if (combo == nullptr || combo->findText(shown) < 0) {
        return false;
    }
    combo->setCurrentIndex(combo->findText(shown));
    QTest::keyClick(combo, Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
}

}  // namespace vym::test
