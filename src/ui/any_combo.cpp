#include "ui/any_combo.h"

namespace vym::ui {

AnyCombo::AnyCombo(QWidget* parent, const QString& anyText) : QComboBox(parent) {
    Reset(anyText);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit KeyChanged(Key()); });
}

void AnyCombo::Reset(const QString& anyText) {
    anyText_ = anyText;
    clear();
    addItem(anyText_);
    setCurrentIndex(0);
}

void AnyCombo::AddEntry(const QString& key, const QString& text) {
    addItem(text, key);
}

bool AnyCombo::IsAny() const {
    return currentIndex() <= 0;
}

QString AnyCombo::Key() const {
    return IsAny() ? QString() : currentData().toString();
}

bool AnyCombo::SetKey(const QString& key) {
    const int index = key.isNull() ? -1 : findData(key);
    setCurrentIndex(std::max(index, 0));
    return index > 0;
}

}  // namespace vym::ui
