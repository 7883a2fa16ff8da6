#pragma once

namespace vym {

class ScreenRegistry;

// The template screens --screenshot can show: "templates" (the manager over
// every format type, on the demo's text-only bin tag) and "new-template" (a
// new template of the first stock label format).
void RegisterTemplateScreens(ScreenRegistry& screens);

}  // namespace vym
