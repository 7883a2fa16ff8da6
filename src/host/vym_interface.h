#pragma once

#include <QString>

namespace vym {

class AppServer;

// The title of the message with which a console's setup refuses the user; a
// program that renders screens unattended fails on it.
inline constexpr const char* kSecurityAlertTitle = "Security Alert";

// The host's plug-in interface: what a console the back office hosts as one
// of its applications offers, in the order the host uses it. The host binds
// the application server, sets the console up (which checks the user's
// rights), enables it, and shuts it down before releasing it.
class VYMInterface {
  public:
    virtual ~VYMInterface() = default;

    // Keeps the server (not owned; it must outlive the console) unless one is
    // bound already, and takes its error object.
    virtual void implements_SetAppServer(AppServer* server) = 0;
    // Checks the user's rights and loads what the console needs; a console
    // the user may not use stays disabled.
    virtual void implements_Setup() = 0;
    virtual void implements_Enable() = 0;
    virtual void implements_ShowAbout() = 0;
    virtual QString implements_GetApplicationName() const = 0;
    virtual QString implements_ProgID() const = 0;
    // Releases the server, its connection and error object.
    virtual void Implements_ShutDown() = 0;
};

}  // namespace vym
