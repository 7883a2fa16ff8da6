#pragma once

namespace vym {

class ScreenRegistry;

// The package screens --screenshot can show: "package-editor" (the family
// week package of the demo back office).
void RegisterPackageScreens(ScreenRegistry& screens);

}  // namespace vym
