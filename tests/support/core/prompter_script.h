#pragma once

#include "support/core/scripted_prompter.h"

namespace vym::test {

// A scripted prompter that fails the running test on any unexpected, different
// or missing message. Declare it first in a test, script it, then act.
class PrompterScript : public ScriptedPrompter {
  public:
    PrompterScript();
};

}  // namespace vym::test
