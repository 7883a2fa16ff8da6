#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/prompter.h"

namespace vym {

// A Prompter for tests: every message box, input box and file dialog the code
// shows must have been expected, in order, with the exact text, title and
// style; each is answered as scripted. Anything unexpected, different or left
// over is reported through the failure sink (tests pass one that fails the
// test). It installs itself on construction and restores the previous prompter
// when it goes.
class ScriptedPrompter : public Prompter {
  public:
    using FailureSink = std::function<void(const std::string&)>;

    explicit ScriptedPrompter(FailureSink onFailure);
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    ScriptedPrompter& ExpectMessage(std::string text, std::string title, MsgStyle style,
                                    MsgResult answer = MsgResult::OK);
    ScriptedPrompter& ExpectInput(std::string prompt, std::optional<std::string> answer);
    ScriptedPrompter& ExpectOpenFile(std::optional<std::string> path);
    ScriptedPrompter& ExpectSaveFile(std::optional<std::string> path);

    // Reports every expectation not yet met (once: they are dropped); the
    // destructor calls it too.
    void Verify();
    bool AllMet() const { return expected_.empty(); }
    // Everything shown so far, one line each (a file dialog with its title
    // and filter), for failure messages and checks.
    const std::vector<std::string>& Transcript() const { return transcript_; }

    MsgResult Message(std::string_view text, MsgStyle style, std::string_view title) override;
    std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                     std::string_view defaultText) override;
    std::optional<std::string> OpenFile(std::string_view title, std::string_view filter,
                                        std::string_view initialPath) override;
    std::optional<std::string> SaveFile(std::string_view title, std::string_view filter,
                                        std::string_view initialPath) override;
    void SetBusy(bool) override {}
    void ProcessPendingInput() override {}

  private:
    enum class Kind { Message, Input, OpenFile, SaveFile };
    struct Expectation {
        Kind kind;
        std::string text;
        std::string title;
        MsgStyle style;
        MsgResult answer = MsgResult::OK;
        std::optional<std::string> reply;
    };
    std::optional<Expectation> Next(Kind kind, const std::string& shown);

    FailureSink onFailure_;
    Prompter* previous_ = nullptr;
    std::deque<Expectation> expected_;
    std::vector<std::string> transcript_;
};

}  // namespace vym
