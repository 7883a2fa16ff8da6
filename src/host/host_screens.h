#pragma once

namespace vym {

class ScreenRegistry;

// Registers the back office's own screens for --screenshot: "main" (the main
// window), "about", "symbol" and "picklist" (the demo users).
void RegisterHostScreens(ScreenRegistry& screens);

}  // namespace vym
