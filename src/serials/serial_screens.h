#pragma once

namespace vym {

class PlugInRegistry;
class ScreenRegistry;

// Joins the serial console to the back office as its second plug-in
// application, and registers the --screenshot screens "serial-console"
// (the demo's base lodge skis found), "serial-properties" (a rented-out ski)
// and "batch-format".
void RegisterSerialScreens(PlugInRegistry& plugIns, ScreenRegistry& screens);

}  // namespace vym
