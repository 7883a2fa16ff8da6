#include "ui/key_tab_bar.h"

namespace vym::ui {

KeyTabBar::KeyTabBar(QWidget* parent) : QTabBar(parent) {
    connect(this, &QTabBar::currentChanged, this,
            [this](int index) { emit CurrentKeyChanged(TabKey(index)); });
}

int KeyTabBar::AddTab(const QString& key, const QString& caption) {
    const int index = addTab(caption);
    setTabData(index, key);
    return index;
}

int KeyTabBar::TabIndex(const QString& key) const {
    for (int i = 0; i < count(); ++i) {
        if (TabKey(i) == key) {
            return i;
        }
    }
    return -1;
}

QString KeyTabBar::TabKey(int index) const {
    return index >= 0 && index < count() ? tabData(index).toString() : QString();
}

QString KeyTabBar::CurrentKey() const {
    return TabKey(currentIndex());
}

bool KeyTabBar::SetCurrentKey(const QString& key) {
    const int index = TabIndex(key);
    if (index < 0) {
        return false;
    }
    setCurrentIndex(index);
    return true;
}

bool KeyTabBar::RemoveTabByKey(const QString& key) {
    const int index = TabIndex(key);
    if (index < 0) {
        return false;
    }
    removeTab(index);
    return true;
}

bool KeyTabBar::SetTabCaption(const QString& key, const QString& caption) {
    const int index = TabIndex(key);
    if (index < 0) {
        return false;
    }
    setTabText(index, caption);
    return true;
}

}  // namespace vym::ui
