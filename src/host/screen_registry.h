#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace vym {

class AppServer;
class PlugInRegistry;
class ScreenContext;

// What a screen needs to open itself on the program's database: the server,
// the context the program's screens share, and the hosted consoles.
struct ScreenRequest {
    AppServer& server;
    ScreenContext& context;
    const PlugInRegistry& plugIns;
    QString databasePath;
};

// A record a rendered screen works with, kept as long as the screen's window.
template <class Record>
Record& KeepWith(QObject& window) {
    struct Holder : QObject {
        using QObject::QObject;
        Record record;
    };
    return (new Holder(&window))->record;
}

// Screens that --screenshot can render by name. Each subsystem registers its
// screens with a factory that opens the screen on the demo data.
class ScreenRegistry {
  public:
    using Factory = std::function<std::unique_ptr<QWidget>(const ScreenRequest&)>;

    void Register(const QString& name, Factory factory) { factories_[name] = std::move(factory); }
    bool Contains(const QString& name) const { return factories_.contains(name); }
    // Throws like the factory does; nullptr for an unknown name.
    std::unique_ptr<QWidget> Create(const QString& name, const ScreenRequest& request) const;
    QStringList Names() const;  // sorted

  private:
    std::map<QString, Factory> factories_;
};

}  // namespace vym
