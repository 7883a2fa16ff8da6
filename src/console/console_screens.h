#pragma once

namespace vym {

class PlugInRegistry;
class ScreenRegistry;

// Joins the item console to the back office: as its first plug-in
// application, and as the --screenshot screen "console" (the stock tab with
// every stock item found).
void RegisterItemConsole(PlugInRegistry& plugIns, ScreenRegistry& screens);

}  // namespace vym
