#pragma once

namespace vym {

class ScreenRegistry;

// The reference screens for --screenshot: "support-tables" on the demo's
// functions and "profiles" on its profile list.
void RegisterReferenceScreens(ScreenRegistry& screens);

}  // namespace vym
