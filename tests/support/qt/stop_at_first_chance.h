#pragma once

#include <QPushButton>
#include <QWidget>

#include "support/core/prompter_script.h"

namespace vym::test {

// A user who presses the window's Stop button (cmdStop) the first time a
// long load lets them.
class StopAtFirstChance : public PrompterScript {
  public:
    explicit StopAtFirstChance(QWidget& window) : window_(window) {}
    void ProcessPendingInput() override {
        if (auto* stop = window_.findChild<QPushButton*>("cmdStop"); stop && stop->isEnabled()) {
            stop->click();
        }
    }

  private:
    QWidget& window_;
};

}  // namespace vym::test
