#include "host/console_binding.h"

#include <string>

#include "base/prompter.h"
#include "gateway/app_server.h"
#include "host/screen_context.h"
#include "host/vym_interface.h"
#include "ui/qt_text.h"

namespace vym {

ConsoleBinding::ConsoleBinding() = default;
ConsoleBinding::~ConsoleBinding() = default;

void ConsoleBinding::Bind(AppServer* server) {
    if (server_ == nullptr) {
        server_ = server;
    }
    if (server_ != nullptr) {
        errors_ = &server_->ErrorObject();
    }
}

bool ConsoleBinding::Granted(std::string_view application, std::string_view function) const {
    if (server_ == nullptr) {
        return false;
    }
    if (!server_->CheckPermission("", application, function)) {
        MsgBox("You do not have permission to use " + std::string(application) +
                   ".  Please contact your System Administrator to set up appropriate "
                   "permissions.",
               kInformation, kSecurityAlertTitle);
        return false;
    }
    // Both consoles name the item maintenance here.
    if (!server_->ValidateUser()) {
        MsgBox(
            "You do not have permission to use Item Maintenance.  Your user id could not be "
            "validated.",
            kInformation, kSecurityAlertTitle);
        return false;
    }
    return true;
}

ScreenContext* ConsoleBinding::Context() {
    if (server_ == nullptr) {
        return nullptr;
    }
    if (auto* shared = dynamic_cast<ScreenContext*>(server_->SharedServiceObject())) {
        return shared;
    }
    if (!ownContext_) {
        ownContext_ = MakeScreenContext(server_);
    }
    return ownContext_.get();
}

void ConsoleBinding::SetStatus(const QString& text) const {
    if (server_ != nullptr) {
        server_->SetStatusText(ui::S(text));
    }
}

void ConsoleBinding::Release() {
    ownContext_.reset();
    errors_ = nullptr;
    server_ = nullptr;
}

}  // namespace vym
