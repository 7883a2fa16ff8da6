#include "ui/check_list.h"

namespace vym::ui {
namespace {

constexpr int kKeyRole = Qt::UserRole;

}  // namespace

CheckList::CheckList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { emit CheckChanged(row(item)); });
}

int CheckList::AddEntry(const QString& text, const QString& key, bool checked) {
    auto* entry = new QListWidgetItem(text, this);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    entry->setData(kKeyRole, key.isNull() ? text : key);
    entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return count() - 1;
}

QString CheckList::EntryKey(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry ? entry->data(kKeyRole).toString() : QString();
}

bool CheckList::IsChecked(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry && entry->checkState() == Qt::Checked;
}

void CheckList::SetChecked(int index, bool checked) {
    if (QListWidgetItem* entry = item(index)) {
        entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

void CheckList::SetAllChecked(bool checked) {
    for (int i = 0; i < count(); ++i) {
        SetChecked(i, checked);
    }
}

QStringList CheckList::CheckedKeys() const {
    QStringList keys;
    for (int i = 0; i < count(); ++i) {
        if (IsChecked(i)) {
            keys.append(EntryKey(i));
        }
    }
    return keys;
}

}  // namespace vym::ui
