#include "ui/modal_runner.h"

#include <QDialog>

namespace vym::ui {
namespace {

class ExecModalRunner : public ModalRunner {
  public:
    int Run(QDialog& dialog) override { return dialog.exec(); }
};

ExecModalRunner& ExecRunner() {
    static ExecModalRunner runner;
    return runner;
}

ModalRunner* current = nullptr;

}  // namespace

ModalRunner& CurrentModalRunner() {
    return current ? *current : ExecRunner();
}

ModalRunner* SetModalRunner(ModalRunner* runner) {
    ModalRunner* previous = current;
    current = runner;
    return previous;
}

int RunModal(QDialog& dialog) {
    return CurrentModalRunner().Run(dialog);
}

}  // namespace vym::ui
