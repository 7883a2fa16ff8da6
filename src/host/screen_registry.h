#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace vym {

class AppServer;
class PlugInRegistry;

// What a screen needs to open itself on the program's database.
struct ScreenContext {
    AppServer& server;
    const PlugInRegistry& plugIns;
    QString databasePath;
};

// Screens that --screenshot can render by name. Each subsystem registers its
// screens with a factory that opens the screen on the demo data.
class ScreenRegistry {
  public:
    using Factory = std::function<std::unique_ptr<QWidget>(const ScreenContext&)>;

    void Register(const QString& name, Factory factory) { factories_[name] = std::move(factory); }
    bool Contains(const QString& name) const { return factories_.contains(name); }
    // Throws like the factory does; nullptr for an unknown name.
    std::unique_ptr<QWidget> Create(const QString& name, const ScreenContext& context) const;
    QStringList Names() const;  // sorted

  private:
    std::map<QString, Factory> factories_;
};

}  // namespace vym
