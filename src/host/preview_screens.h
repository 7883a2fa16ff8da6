#pragma once

namespace vym {

class ScreenRegistry;

// The label designer and the preview pane, on the demo shelf label.
void RegisterPreviewScreens(ScreenRegistry& screens);

}  // namespace vym
