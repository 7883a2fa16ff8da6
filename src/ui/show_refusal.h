#pragma once

#include "base/refusal.h"

class QWidget;

namespace vym::ui {

class KeyTabBar;

// Tells the user why `form` will not save: the message box, then the tab
// that holds the field (when `tabs` is given) and the focus on the field.
// Returns false, so a save can end with `return ShowRefusal(...)`.
bool ShowRefusal(const Refusal& refusal, QWidget& form, KeyTabBar* tabs = nullptr);

}  // namespace vym::ui
