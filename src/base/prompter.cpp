#include "base/prompter.h"

#include <vector>

namespace vym {

namespace {

// The buttons of a message box in the order they are named.
std::vector<MsgResult> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return {MsgResult::OK};
        case MsgButtons::OKCancel:
            return {MsgResult::OK, MsgResult::Cancel};
        case MsgButtons::YesNo:
            return {MsgResult::Yes, MsgResult::No};
        case MsgButtons::YesNoCancel:
            return {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
        case MsgButtons::RetryCancel:
            return {MsgResult::Retry, MsgResult::Cancel};
        case MsgButtons::AbortRetryIgnore:
            return {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore};
    }
    return {MsgResult::OK};
}

// Without a screen nobody can answer: every message takes its default button
// and every input and file dialog is cancelled.
class HeadlessPrompter : public Prompter {
  public:
    MsgResult Message(std::string_view, MsgStyle style, std::string_view) override {
        return DefaultButton(style);
    }
    std::optional<std::string> Input(std::string_view, std::string_view,
                                     std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(std::string_view, std::string_view,
                                        std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(std::string_view, std::string_view,
                                        std::string_view) override {
        return std::nullopt;
    }
    void SetBusy(bool) override {}
    void ProcessPendingInput() override {}
};

HeadlessPrompter& Headless() {
    static HeadlessPrompter headless;
    return headless;
}

Prompter* current = nullptr;

}  // namespace

bool HasButton(MsgStyle style, MsgResult button) {
    for (MsgResult b : ButtonsOf(style.buttons)) {
        if (b == button) {
            return true;
        }
    }
    return false;
}

MsgResult DefaultButton(MsgStyle style) {
    const std::vector<MsgResult> buttons = ButtonsOf(style.buttons);
    const bool inRange =
        style.defaultButton >= 1 && style.defaultButton <= static_cast<int>(buttons.size());
    return buttons[inRange ? style.defaultButton - 1 : 0];
}

Prompter& CurrentPrompter() {
    return current != nullptr ? *current : Headless();
}

Prompter* SetPrompter(Prompter* prompter) {
    Prompter* previous = current;
    current = prompter;
    return previous;
}

MsgResult MsgBox(std::string_view text, MsgStyle style, std::string_view title) {
    return CurrentPrompter().Message(text, style, title);
}

std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                    std::string_view defaultText) {
    return CurrentPrompter().Input(prompt, title, defaultText);
}

void DoEvents() {
    CurrentPrompter().ProcessPendingInput();
}

}  // namespace vym
