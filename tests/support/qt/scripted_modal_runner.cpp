#include "support/qt/scripted_modal_runner.h"

#include <gtest/gtest.h>

namespace vym::test {

ScriptedModalRunner::ScriptedModalRunner(FailureSink onFailure)
    : onFailure_(std::move(onFailure)), previous_(vym::ui::SetModalRunner(this)) {}

ScriptedModalRunner::~ScriptedModalRunner() {
    Verify();
    vym::ui::SetModalRunner(previous_);
}

void ScriptedModalRunner::Fail(const std::string& message) {
    if (onFailure_) {
        onFailure_(message);
    } else {
        ADD_FAILURE() << message;
    }
}

ScriptedModalRunner& ScriptedModalRunner::Expect(const QString& objectName, Handler handler) {
    expected_.push_back({objectName, std::move(handler)});
    return *this;
}

ScriptedModalRunner& ScriptedModalRunner::ExpectAccept(const QString& objectName) {
    return Expect(objectName, [](QDialog& dialog) { dialog.accept(); });
}

ScriptedModalRunner& ScriptedModalRunner::ExpectReject(const QString& objectName) {
    return Expect(objectName, [](QDialog& dialog) { dialog.reject(); });
}

int ScriptedModalRunner::Run(QDialog& dialog) {
    const QString name = dialog.objectName();
    shown_.append(name);
    if (expected_.empty()) {
        Fail("unexpected dialog \"" + name.toStdString() + "\"");
        return QDialog::Rejected;
    }
    if (expected_.front().objectName != name) {
        Fail("expected dialog \"" + expected_.front().objectName.toStdString() + "\" but \"" +
             name.toStdString() + "\" was shown");
        return QDialog::Rejected;
    }
    // Taken off the queue first: the handler may open further dialogs.
    const Handler handler = std::move(expected_.front().handler);
    expected_.pop_front();

    dialog.setResult(QDialog::Rejected);
    dialog.show();
    handler(dialog);
    if (dialog.isVisible()) {
        Fail("dialog \"" + name.toStdString() + "\" was left open by its handler");
        dialog.reject();
        return QDialog::Rejected;
    }
    return dialog.result();
}

void ScriptedModalRunner::Verify() {
    while (!expected_.empty()) {
        Fail("dialog \"" + expected_.front().objectName.toStdString() + "\" was never shown");
        expected_.pop_front();
    }
}

}  // namespace vym::test
