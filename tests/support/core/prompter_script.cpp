#include "support/core/prompter_script.h"

#include <gtest/gtest.h>

namespace vym::test {

PrompterScript::PrompterScript()
    : ScriptedPrompter([](const std::string& failure) { ADD_FAILURE() << failure; }) {}

}  // namespace vym::test
