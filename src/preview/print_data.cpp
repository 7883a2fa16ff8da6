#include "preview/print_data.h"

namespace vym::preview {

CPrintData::CPrintData(const QStringList& names) {
    CreateIfNotFound = true;
    for (const QString& name : names) {
        SetField(name, QString());
    }
    CreateIfNotFound = false;
}

QString CPrintData::Field(const QString& name) const {
    const auto found = index_.constFind(name.toCaseFolded());
    return found == index_.cend() ? QString() : values_[*found];
}

bool CPrintData::Contains(const QString& name) const {
    return index_.contains(name.toCaseFolded());
}

bool CPrintData::SetField(const QString& name, const QString& value) {
    const QString key = name.toCaseFolded();
    const auto found = index_.constFind(key);
    if (found != index_.cend()) {
        values_[*found] = value;
        return true;
    }
    if (!CreateIfNotFound || name.isEmpty()) {
        return false;
    }
    index_.insert(key, names_.size());
    names_.append(name);
    values_.append(value);
    return true;
}

}  // namespace vym::preview
