#include "support/core/scripted_prompter.h"

#include <utility>

namespace vym {

namespace {

const char* ButtonsName(MsgButtons b) {
    static const char* const kNames[] = {"OK",          "OKCancel",    "YesNo",
                                         "YesNoCancel", "RetryCancel", "AbortRetryIgnore"};
    return kNames[static_cast<int>(b)];
}

const char* IconName(MsgIcon i) {
    static const char* const kNames[] = {"no icon", "Information", "Question", "Exclamation",
                                         "Critical"};
    return kNames[static_cast<int>(i)];
}

std::string DescribeMessage(std::string_view text, std::string_view title, MsgStyle style) {
    return "message \"" + std::string(text) + "\" titled \"" + std::string(title) + "\" (" +
           ButtonsName(style.buttons) + ", " + IconName(style.icon) + ", default button " +
           std::to_string(style.defaultButton) + ")";
}

}  // namespace

ScriptedPrompter::ScriptedPrompter(FailureSink onFailure)
    : onFailure_(std::move(onFailure)), previous_(SetPrompter(this)) {}

ScriptedPrompter::~ScriptedPrompter() {
    Verify();
    SetPrompter(previous_);
}

ScriptedPrompter& ScriptedPrompter::ExpectMessage(std::string text, std::string title,
                                                  MsgStyle style, MsgResult answer) {
    if (!HasButton(style, answer)) {
        onFailure_("scripted answer is not a button of the " + DescribeMessage(text, title, style));
    }
    expected_.push_back({Kind::Message, std::move(text), std::move(title), style, answer, {}});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectInput(std::string prompt,
                                                std::optional<std::string> answer) {
    expected_.push_back({Kind::Input, std::move(prompt), {}, {}, MsgResult::OK, std::move(answer)});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectOpenFile(std::optional<std::string> path) {
    expected_.push_back({Kind::OpenFile, {}, {}, {}, MsgResult::OK, std::move(path)});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectSaveFile(std::optional<std::string> path) {
    expected_.push_back({Kind::SaveFile, {}, {}, {}, MsgResult::OK, std::move(path)});
    return *this;
}

void ScriptedPrompter::Verify() {
    for (const Expectation& e : expected_) {
        const std::string what = e.kind == Kind::Message ? DescribeMessage(e.text, e.title, e.style)
                                 : e.kind == Kind::Input ? "input box \"" + e.text + "\""
                                 : e.kind == Kind::OpenFile ? "open-file dialog"
                                                            : "save-file dialog";
        std::string shown;
        for (const std::string& line : transcript_) {
            shown += "\n  " + line;
        }
        onFailure_("expected " + what +
                   " was never shown; shown:" + (shown.empty() ? " nothing" : shown));
    }
    expected_.clear();
}

std::optional<ScriptedPrompter::Expectation> ScriptedPrompter::Next(Kind kind,
                                                                    const std::string& shown) {
    transcript_.push_back(shown);
    if (expected_.empty() || expected_.front().kind != kind) {
        onFailure_("unexpected " + shown +
                   (expected_.empty() ? std::string(" (nothing more was expected)")
                                      : std::string(" (something else was expected first)")));
        return std::nullopt;
    }
    Expectation e = std::move(expected_.front());
    expected_.pop_front();
    return e;
}

MsgResult ScriptedPrompter::Message(std::string_view text, MsgStyle style, std::string_view title) {
    const std::string shown = DescribeMessage(text, title, style);
    const std::optional<Expectation> e = Next(Kind::Message, shown);
    if (!e) {
        return DefaultButton(style);
    }
    if (e->text != text || e->title != title || e->style != style) {
        onFailure_("shown " + shown + "\n but expected " +
                   DescribeMessage(e->text, e->title, e->style));
    }
    return e->answer;
}

std::optional<std::string> ScriptedPrompter::Input(std::string_view prompt, std::string_view,
                                                   std::string_view) {
    const std::string shown = "input box \"" + std::string(prompt) + "\"";
    const std::optional<Expectation> e = Next(Kind::Input, shown);
    if (!e) {
        return std::nullopt;
    }
    if (e->text != prompt) {
        onFailure_("shown " + shown + " but expected input box \"" + e->text + "\"");
    }
    return e->reply;
}

std::optional<std::string> ScriptedPrompter::OpenFile(std::string_view title,
                                                      std::string_view filter, std::string_view) {
    const std::optional<Expectation> e = Next(
        Kind::OpenFile, "open-file dialog \"" + std::string(title) + "\" " + std::string(filter));
    return e ? e->reply : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::SaveFile(std::string_view title,
                                                      std::string_view filter, std::string_view) {
    const std::optional<Expectation> e = Next(
        Kind::SaveFile, "save-file dialog \"" + std::string(title) + "\" " + std::string(filter));
    return e ? e->reply : std::nullopt;
}

}  // namespace vym
