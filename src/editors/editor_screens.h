#pragma once

namespace vym {

class ScreenRegistry;

// The editors for --screenshot: "item-editor" on the demo's adult day ticket,
// "stock-editor" on its rental ski article, "import" with the dry run of a
// small vendor file.
void RegisterEditorScreens(ScreenRegistry& screens);

}  // namespace vym
