#include "host/screen_registry.h"

#include <QWidget>

namespace vym {

std::unique_ptr<QWidget> ScreenRegistry::Create(const QString& name,
                                                const ScreenContext& context) const {
    const auto found = factories_.find(name);
    if (found == factories_.end()) {
        return nullptr;
    }
    return found->second(context);
}

QStringList ScreenRegistry::Names() const {
    QStringList names;
    for (const auto& [name, factory] : factories_) {
        names.append(name);
    }
    return names;
}

}  // namespace vym
