#pragma once

#include <optional>
#include <string>

#include "base/prompter.h"

namespace vym {

// Why a screen will not save what the user entered. A screen's rules decide
// it from the entry alone, so they can be checked without widgets; the screen
// then shows the message and puts the user on the field at fault.
struct Refusal {
    std::string message;
    std::string title;
    std::string tab;    // key of the tab that holds the field; empty when none
    std::string field;  // object name of the widget at fault
    int column = -1;    // for a grid row: the column at fault
    MsgStyle style = kInformation;

    bool operator==(const Refusal&) const = default;
};

// Nothing when the entry may be saved.
using Verdict = std::optional<Refusal>;

}  // namespace vym
