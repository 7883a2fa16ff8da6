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
    using B = QMessageBox;
    struct Case {
        MsgStyle style;
        B::Icon icon;
        QList<B::StandardButton> buttons;
        B::StandardButton defaultButton;
        B::StandardButton escapeButton;
    };
    const MsgStyle yesNoCancel{MsgButtons::YesNoCancel, MsgIcon::Exclamation, 3};
    const MsgStyle okCancel{MsgButtons::OKCancel, MsgIcon::Question, 2};
    const Case cases[] = {
        {kInformation, B::Information, {B::Ok}, B::Ok, B::Ok},
        {kQuestionYesNoDefaultNo, B::Question, {B::Yes, B::No}, B::No, B::NoButton},
        {kQuestionYesNo, B::Question, {B::Yes, B::No}, B::Yes, B::NoButton},
        {yesNoCancel, B::Warning, {B::Yes, B::No, B::Cancel}, B::Cancel, B::Cancel},
        {okCancel, B::Question, {B::Ok, B::Cancel}, B::Cancel, B::Cancel},
        {kCritical, B::Critical, {B::Ok}, B::Ok, B::Ok},
        {{}, B::NoIcon, {B::Ok}, B::Ok, B::Ok},
    };
    QtPrompter prompter;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.icon));
        const auto box = prompter.BuildMessageBox("Delete?", c.style, "Confirm");
        EXPECT_EQ(box->text(), "Delete?");
        EXPECT_EQ(box->windowTitle(), "Confirm");
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(ButtonsOf(*box), c.buttons);
        EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
        EXPECT_EQ(box->standardButton(box->escapeButton()), c.escapeButton);
    }
    // Without a title, the application's.
    EXPECT_EQ(prompter.BuildMessageBox("x", {}, "")->windowTitle(), "VYMItem");
    EXPECT_EQ(QtPrompter(nullptr, "Back Office").BuildMessageBox("x", {}, "")->windowTitle(),
              "Back Office");
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
