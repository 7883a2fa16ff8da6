#pragma once

#include <string_view>

namespace vym {

class AppServer;

// Whether the signed-in user may use a console: the right to `function` of
// `application` ("Item Maintenance", "ITEM") and a user the server validates.
// When not, the "Security Alert" that says why has been shown.
bool ConsoleRightsGranted(AppServer& server, std::string_view application,
                          std::string_view function);

}  // namespace vym
