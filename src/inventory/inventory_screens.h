#pragma once

namespace vym {

class ScreenRegistry;

// The inventory views for --screenshot: "stock-history" on the demo's red
// shell jacket, "stock-location" on every article, "stock-summary".
void RegisterInventoryScreens(ScreenRegistry& screens);

}  // namespace vym
