#include "ui/image_combo.h"

namespace vym::ui {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;
constexpr int kIndentWidth = 4;

}  // namespace

ImageCombo::ImageCombo(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit KeyChanged(Key()); });
}

void ImageCombo::SetImage(const QString& name, const QIcon& icon) {
    images_.insert(name, icon);
}

void ImageCombo::AddEntry(const QString& key, const QString& text, const QString& image,
                          int indent) {
    addItem(images_.value(image),
            QString(std::max(indent, 0) * kIndentWidth, QLatin1Char(' ')) + text, key);
    setItemData(count() - 1, text, kTextRole);
}

QString ImageCombo::EntryKey(int index) const {
    return itemData(index, kKeyRole).toString();
}

QString ImageCombo::EntryText(int index) const {
    return itemData(index, kTextRole).toString();
}

QString ImageCombo::Key() const {
    return currentIndex() < 0 ? QString() : EntryKey(currentIndex());
}

int ImageCombo::FindKey(const QString& key) const {
    for (int i = 0; i < count(); ++i) {
        if (EntryKey(i) == key) {
            return i;
        }
    }
    return -1;
}

bool ImageCombo::SetKey(const QString& key) {
    const int index = FindKey(key);
    setCurrentIndex(index);
    return index >= 0;
}

}  // namespace vym::ui
