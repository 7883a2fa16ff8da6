#pragma once

class QDialog;

namespace vym::ui {

// Every screen opens another screen modally through the current ModalRunner, never by
// calling exec() itself, so that tests can run the nested screen from a script.
class ModalRunner {
  public:
    virtual ~ModalRunner() = default;
    // Shows the dialog modally and returns its result (QDialog::Accepted, QDialog::Rejected
    // or the code given to done()). The caller keeps ownership of the dialog.
    virtual int Run(QDialog& dialog) = 0;
};

// The runner in force: QDialog::exec() until another is installed.
ModalRunner& CurrentModalRunner();
// Installs a runner (not owned) and returns the previous one; nullptr restores exec().
ModalRunner* SetModalRunner(ModalRunner* runner);

// Runs the dialog through the current runner.
int RunModal(QDialog& dialog);

}  // namespace vym::ui
