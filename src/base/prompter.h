#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vym {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// How a message box looks: its buttons, its icon and which button (1-based,
// in the order the buttons are named) is the default.
struct MsgStyle {
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 1;

    bool operator==(const MsgStyle&) const = default;
};

// The button a message box answers with when the user just presses Enter.
MsgResult DefaultButton(MsgStyle style);
// Whether the box shows that button.
bool HasButton(MsgStyle style, MsgResult button);

inline constexpr MsgStyle kInformation{MsgButtons::OK, MsgIcon::Information, 1};
inline constexpr MsgStyle kExclamation{MsgButtons::OK, MsgIcon::Exclamation, 1};
inline constexpr MsgStyle kCritical{MsgButtons::OK, MsgIcon::Critical, 1};
inline constexpr MsgStyle kQuestionYesNo{MsgButtons::YesNo, MsgIcon::Question, 1};
// Destructive confirmations default to No.
inline constexpr MsgStyle kQuestionYesNoDefaultNo{MsgButtons::YesNo, MsgIcon::Question, 2};

// The seam between the code and the person at the screen. Record classes and
// screens never talk to a toolkit dialog directly: they go through the current
// Prompter, which the windowing layer implements with real dialogs and tests
// replace with a script.
class Prompter {
  public:
    virtual ~Prompter() = default;

    // An empty title shows the application's title.
    virtual MsgResult Message(std::string_view text, MsgStyle style, std::string_view title) = 0;
    // nullopt when the user cancelled.
    virtual std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                             std::string_view defaultText) = 0;
    // File dialogs take filters as "Text (*.txt)|*.txt|All (*.*)|*.*"; nullopt when cancelled.
    virtual std::optional<std::string> OpenFile(std::string_view title, std::string_view filter,
                                                std::string_view initialPath) = 0;
    virtual std::optional<std::string> SaveFile(std::string_view title, std::string_view filter,
                                                std::string_view initialPath) = 0;
    // The hourglass while long work runs.
    virtual void SetBusy(bool busy) = 0;
    // Lets the screen process pending user input (paint, Stop button).
    virtual void ProcessPendingInput() = 0;
};

// The prompter in force; a headless default that answers every message with
// its default button and cancels every input until one is installed.
Prompter& CurrentPrompter();
// Installs a prompter (not owned) and returns the previous one; nullptr
// restores the headless default.
Prompter* SetPrompter(Prompter* prompter);

// Shortcuts through the current prompter.
MsgResult MsgBox(std::string_view text, MsgStyle style = {}, std::string_view title = {});
std::optional<std::string> InputBox(std::string_view prompt, std::string_view title = {},
                                    std::string_view defaultText = {});
void DoEvents();

// Shows the hourglass for as long as it lives.
class BusyCursor {
  public:
    BusyCursor() { CurrentPrompter().SetBusy(true); }
    ~BusyCursor() { CurrentPrompter().SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace vym
