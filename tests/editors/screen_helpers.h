#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <initializer_list>

#include "support/qt/grid_typing.h"
#include "support/qt/scripted_modal_runner.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/key_tab_bar.h"

namespace vym::test {

// The item lookup as a user drives it: the tab, if given, the number typed,
// Find, and the one item found chosen.
inline ScriptedModalRunner::Handler PickItem(int itemNo, const char* tab = nullptr) {
    return [=](QDialog& lookup) {
        if (tab != nullptr) {
            lookup.findChild<ui::KeyTabBar*>("tabSearch")->SetCurrentKey(tab);
        }
        ReplaceText(*lookup.findChild<QLineEdit*>("txtItemNo"), QString::number(itemNo));
        lookup.findChild<QPushButton*>("cmdFind")->click();
        auto& grid = *lookup.findChild<ui::FlexGrid*>("fgItems");
        ASSERT_EQ(grid.Rows(), 2) << itemNo;
        grid.SelectRow(1);
        lookup.findChild<QPushButton*>("cmdOk")->click();
    };
}

// The vendor list as a user drives it: every vendor listed, `id` chosen.
inline ScriptedModalRunner::Handler PickVendor(const char* id) {
    return [=](QDialog& vendors) {
        auto& grid = *vendors.findChild<ui::FlexGrid*>("fgVendors");
        vendors.findChild<QToolButton*>("cmdIndex26")->click();
        grid.SetCurrentCell(grid.FindRow(id, 0), 0);
        vendors.findChild<QPushButton*>("cmdOk")->click();
    };
}

// Leaves a box as a user does, tabbing on.
inline void Leave(QLineEdit& box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &out);
}

inline QStringList TabKeys(const ui::KeyTabBar& tabs) {
    QStringList keys;
    for (int i = 0; i < tabs.count(); ++i) {
        keys << tabs.TabKey(i);
    }
    return keys;
}

// What the named boxes, labels and lists show, "a|b|c", to check a screen's
// fields in one expectation.
inline QString Shown(const QWidget& screen, std::initializer_list<const char*> names) {
    QStringList shown;
    for (const char* name : names) {
        const auto* widget = screen.findChild<QWidget*>(name);
        if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
            shown << box->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            shown << label->text();
        } else if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
            shown << list->currentText();
        } else {
            shown << QString("<no %1>").arg(name);
        }
    }
    return shown.join(u'|');
}

// The keys the named data lists hold, "a|b|c".
inline QString Keys(const QWidget& screen, std::initializer_list<const char*> names) {
    QStringList keys;
    for (const char* name : names) {
        const auto* combo = screen.findChild<ui::DataCombo*>(name);
        keys << (combo != nullptr ? combo->Key() : QString("<no %1>").arg(name));
    }
    return keys.join(u'|');
}

}  // namespace vym::test
