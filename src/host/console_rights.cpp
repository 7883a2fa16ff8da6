#include "host/console_rights.h"

#include <string>

#include "base/prompter.h"
#include "gateway/app_server.h"
#include "host/vym_interface.h"

namespace vym {

bool ConsoleRightsGranted(AppServer& server, std::string_view application,
                          std::string_view function) {
    if (!server.CheckPermission("", application, function)) {
        MsgBox("You do not have permission to use " + std::string(application) +
                   ".  Please contact your System Administrator to set up appropriate "
                   "permissions.",
               kInformation, kSecurityAlertTitle);
        return false;
    }
    // Both consoles name the item maintenance here.
    if (!server.ValidateUser()) {
        MsgBox(
            "You do not have permission to use Item Maintenance.  Your user id could not be "
            "validated.",
            kInformation, kSecurityAlertTitle);
        return false;
    }
    return true;
}

}  // namespace vym
