#pragma once

namespace vym {

class ScreenRegistry;

// The season screen --screenshot can show: "seasons" (the demo back office's
// winter seasons).
void RegisterSeasonScreens(ScreenRegistry& screens);

}  // namespace vym
