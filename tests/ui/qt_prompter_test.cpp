#include "ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace vym::ui {
namespace {

// Runs action on the first visible top-level widget of type W once the modal loop is up.
template <typename W>
void WhenShown(std::function<void(W&)> action) {
    QTimer::singleShot(0, [action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* w = qobject_cast<W*>(widget); w && w->isVisible()) {
                action(*w);
                return;
            }
        }
        ADD_FAILURE() << "no dialog was shown";
    });
}

QList<QMessageBox::StandardButton> ButtonsOf(const QMessageBox& box) {
    QList<QMessageBox::StandardButton> buttons;
    for (QAbstractButton* button : box.buttons()) {
        buttons.append(box.standardButton(button));
    }
    std::sort(buttons.begin(), buttons.end());
    return buttons;
}

TEST(QtPrompter, MessageBoxesCarryTheStyleButtonsIconAndDefault) {
    QtPrompter prompter;
    auto info = prompter.BuildMessageBox("Saved.", kInformation, "Done");
    EXPECT_EQ(info->text(), "Saved.");
    EXPECT_EQ(info->windowTitle(), "Done");
    EXPECT_EQ(info->icon(), QMessageBox::Information);
    EXPECT_EQ(ButtonsOf(*info), QList<QMessageBox::StandardButton>({QMessageBox::Ok}));

    auto destructive = prompter.BuildMessageBox("Delete?", kQuestionYesNoDefaultNo, "Confirm");
    EXPECT_EQ(destructive->icon(), QMessageBox::Question);
    EXPECT_EQ(ButtonsOf(*destructive),
              QList<QMessageBox::StandardButton>({QMessageBox::Yes, QMessageBox::No}));
    EXPECT_EQ(destructive->standardButton(destructive->defaultButton()), QMessageBox::No);

    auto yes = prompter.BuildMessageBox("Go?", kQuestionYesNo, "");
    EXPECT_EQ(yes->standardButton(yes->defaultButton()), QMessageBox::Yes);
    EXPECT_EQ(yes->windowTitle(), "VYMItem");

    auto three = prompter.BuildMessageBox(
        "Remove?", {MsgButtons::YesNoCancel, MsgIcon::Exclamation, 3}, "Remove");
    EXPECT_EQ(three->icon(), QMessageBox::Warning);
    EXPECT_EQ(three->standardButton(three->defaultButton()), QMessageBox::Cancel);
    EXPECT_EQ(three->standardButton(three->escapeButton()), QMessageBox::Cancel);

    auto limit = prompter.BuildMessageBox("200 Records found.",
                                          {MsgButtons::OKCancel, MsgIcon::Question, 2}, "");
    EXPECT_EQ(ButtonsOf(*limit),
              QList<QMessageBox::StandardButton>({QMessageBox::Ok, QMessageBox::Cancel}));
    EXPECT_EQ(limit->standardButton(limit->defaultButton()), QMessageBox::Cancel);

    EXPECT_EQ(prompter.BuildMessageBox("x", kCritical, "")->icon(), QMessageBox::Critical);
    EXPECT_EQ(prompter.BuildMessageBox("x", {}, "")->icon(), QMessageBox::NoIcon);

    QtPrompter titled(nullptr, "Back Office");
    EXPECT_EQ(titled.BuildMessageBox("x", {}, "")->windowTitle(), "Back Office");
}

// Reached as the current prompter, as the screens reach it.
TEST(QtPrompter, MessageReturnsTheButtonTheUserPressed) {
    QtPrompter prompter;
    Prompter* previous = SetPrompter(&prompter);
    WhenShown<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.text(), "Delete?");
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(MsgBox("Delete?", kQuestionYesNo, "Confirm"), MsgResult::No);
    SetPrompter(previous);

    WhenShown<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(prompter.Message("Delete?", kQuestionYesNoDefaultNo, "Confirm"), MsgResult::Yes);

    WhenShown<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(prompter.Message("Remove?", {MsgButtons::YesNoCancel, MsgIcon::Question, 1}, ""),
              MsgResult::Cancel);

    WhenShown<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(prompter.Message("Retry?", {MsgButtons::AbortRetryIgnore, MsgIcon::Critical, 2}, ""),
              MsgResult::Retry);
}

TEST(QtPrompter, InputBoxShowsTheDefaultAndReturnsTheAnswer) {
    QtPrompter prompter;
    WhenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Quantity");
        EXPECT_EQ(dialog.labelText(), "How many?");
        EXPECT_EQ(dialog.textValue(), "1");
        dialog.setTextValue("12");
        dialog.accept();
    });
    EXPECT_EQ(prompter.Input("How many?", "Quantity", "1"), std::optional<std::string>("12"));

    WhenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "VYMItem");
        dialog.reject();
    });
    EXPECT_EQ(prompter.Input("Name?", "", ""), std::nullopt);
}

TEST(QtPrompter, FileFiltersBecomeQtFilters) {
    EXPECT_EQ(QtPrompter::ToQtFilter("Text (*.txt)|*.txt|Templates (*.tpl)|*.tpl|All (*.*)|*.*"),
              "Text (*.txt);;Templates (*.tpl);;All (*.*)");
    EXPECT_EQ(QtPrompter::ToQtFilter("Templates|*.tpl;*.txt"), "Templates (*.tpl *.txt)");
    EXPECT_EQ(QtPrompter::ToQtFilter("Text Files (*.doc)|*.txt"), "Text Files (*.txt)");
    EXPECT_EQ(QtPrompter::ToQtFilter(""), "");
}

TEST(QtPrompter, BusyShowsTheHourglassUntilEveryCallerIsDone) {
    {
        QtPrompter prompter;
        prompter.SetBusy(true);
        prompter.SetBusy(true);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        prompter.SetBusy(false);
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        prompter.SetBusy(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        prompter.SetBusy(false);  // one too many does not touch another's cursor
        prompter.SetBusy(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the prompter restores on its way out";
}

}  // namespace
}  // namespace vym::ui
