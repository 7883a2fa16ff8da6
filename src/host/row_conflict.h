#pragma once

#include <string>

namespace vym {

// A save was refused, and rolled back, because another station saved or
// deleted the row after this screen opened it. Shows the server's message
// (who and when; nothing was saved) and asks whether to reload the row from
// the database: True for Yes. On No the screen keeps what the user typed, so
// the user can copy it or cancel.
bool AskToReload(const std::string& message);

}  // namespace vym
