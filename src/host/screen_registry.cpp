#include "host/screen_registry.h"

#include <QWidget>

namespace vym {

std::unique_ptr<QWidget> ScreenRegistry::Create(const QString& name,
                                                const ScreenRequest& request) const {
    const auto found = factories_.find(name);
    if (found == factories_.end()) {
        return nullptr;
    }
    return found->second(request);
}

QStringList ScreenRegistry::Names() const {
    QStringList names;
    for (const auto& [name, factory] : factories_) {
        names.append(name);
    }
    return names;
}

}  // namespace vym
