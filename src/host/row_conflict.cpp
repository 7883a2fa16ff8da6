#include "host/row_conflict.h"

#include <utility>

#include "base/prompter.h"
#include "gateway/row_version.h"

namespace vym {

bool AskToReload(const std::string& message) {
    return MsgBox(message + "\r\n\r\nReload it now? No keeps what you typed on this screen.",
                  kQuestionYesNoDefaultNo, "Changed by Another User") == MsgResult::Yes;
}

bool RowConflict::Refused(const ParameterList& parameters, std::string_view messageParameter) {
    return RowChanged(parameters) && Refused(NullToEmpty(parameters[messageParameter].Value));
}

bool RowConflict::Refused(const std::string& recordConflict) {
    if (message_.empty()) {
        message_ = recordConflict;
    }
    return !recordConflict.empty();
}

bool RowConflict::OfferReload() {
    const std::string message = std::exchange(message_, {});
    return !message.empty() && AskToReload(message);
}

}  // namespace vym
