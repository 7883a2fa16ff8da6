#pragma once

#include <QString>
#include <memory>
#include <string_view>

namespace vym {

class AppServer;
class ErrorObject;
class ScreenContext;

// What a console plugged into the back office keeps of its host: the
// application server it was bound to, that server's error object, and the
// screen context it works through (the one the server shares, or one of its
// own when the server shares none).
class ConsoleBinding {
  public:
    ConsoleBinding();
    ~ConsoleBinding();
    ConsoleBinding(const ConsoleBinding&) = delete;
    ConsoleBinding& operator=(const ConsoleBinding&) = delete;

    // A console is bound once: a later server is ignored.
    void Bind(AppServer* server);
    AppServer* Server() const { return server_; }
    // The bound server's error object, or the one a picker's host handed over.
    ErrorObject* Errors() const { return errors_; }
    void SetErrors(ErrorObject* errors) { errors_ = errors; }

    // Whether a server is bound and the signed-in user may use the console:
    // the right to `function` of `application` ("Item Maintenance", "ITEM")
    // and a user the server validates. When not, the "Security Alert" that
    // says why has been shown.
    bool Granted(std::string_view application, std::string_view function) const;

    // The server's shared screen context, else one made here and kept until
    // Release; nullptr while no server is bound.
    ScreenContext* Context();

    // The text on the host's status bar, when bound.
    void SetStatus(const QString& text) const;

    // Forgets the server and drops a screen context made here.
    void Release();

  private:
    AppServer* server_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::unique_ptr<ScreenContext> ownContext_;
};

}  // namespace vym
