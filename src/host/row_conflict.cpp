#include "host/row_conflict.h"

#include "base/prompter.h"

namespace vym {

bool AskToReload(const std::string& message) {
    return MsgBox(message + "\r\n\r\nReload it now? No keeps what you typed on this screen.",
                  kQuestionYesNoDefaultNo, "Changed by Another User") == MsgResult::Yes;
}

}  // namespace vym
