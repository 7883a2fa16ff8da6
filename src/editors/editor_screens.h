#pragma once

namespace vym {

class ScreenRegistry;

// The editors for --screenshot: "item-editor" on the demo's adult day ticket,
// "stock-editor" on its rental ski article.
void RegisterEditorScreens(ScreenRegistry& screens);

}  // namespace vym
