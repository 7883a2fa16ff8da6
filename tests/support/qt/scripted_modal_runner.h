#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>

#include "ui/modal_runner.h"

namespace vym::test {

// A ModalRunner for screen tests. Each dialog the code opens modally must have been
// expected, in order, by its objectName; the runner shows it (without a nested event
// loop), hands it to the test's handler, which fills fields and clicks a button as a
// user would, and returns the dialog's result. An unexpected dialog, a dialog the
// handler leaves open, or an expectation left over fails the test.
//
//   ScriptedModalRunner modals;
//   modals.Expect("frmAddPrice", [](QDialog& d) {
//       d.findChild<QLineEdit*>("txtPrice")->setText("12.50");
//       d.findChild<QPushButton*>("cmdOk")->click();
//   });
//
// It installs itself on construction and restores the previous runner when it goes.
class ScriptedModalRunner : public vym::ui::ModalRunner {
  public:
    using Handler = std::function<void(QDialog&)>;
    using FailureSink = std::function<void(const std::string&)>;

    // Without a sink, failures are reported to the running test (ADD_FAILURE).
    explicit ScriptedModalRunner(FailureSink onFailure = {});
    ~ScriptedModalRunner() override;
    ScriptedModalRunner(const ScriptedModalRunner&) = delete;
    ScriptedModalRunner& operator=(const ScriptedModalRunner&) = delete;

    ScriptedModalRunner& Expect(const QString& objectName, Handler handler);
    // Shorthands for handlers that only close the dialog.
    ScriptedModalRunner& ExpectAccept(const QString& objectName);
    ScriptedModalRunner& ExpectReject(const QString& objectName);

    int Run(QDialog& dialog) override;

    // Reports every expectation not yet met; the destructor calls it too.
    void Verify();
    bool AllMet() const { return expected_.empty(); }
    // objectNames of the dialogs run so far, in order.
    const QStringList& Shown() const { return shown_; }

  private:
    struct Expectation {
        QString objectName;
        Handler handler;
    };
    void Fail(const std::string& message);

    FailureSink onFailure_;
    vym::ui::ModalRunner* previous_ = nullptr;
    std::deque<Expectation> expected_;
    QStringList shown_;
};

}  // namespace vym::test
