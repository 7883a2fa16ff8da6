#pragma once

namespace vym {

class ScreenRegistry;

// The label screen for --screenshot: "stock-labels" with the demo's shelf
// labelled gloves, goggles and blue shell jacket.
void RegisterLabelScreens(ScreenRegistry& screens);

}  // namespace vym
