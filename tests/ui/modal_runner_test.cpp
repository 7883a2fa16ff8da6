#include "ui/modal_runner.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "support/qt/scripted_modal_runner.h"

namespace vym::ui {
namespace {

// A screen that opens a nested screen as the code does: through RunModal.
class OuterDialog : public QDialog {
  public:
    OuterDialog() {
        setObjectName("frmOuter");
        auto* layout = new QVBoxLayout(this);
        auto* pick = new QPushButton("&Pick", this);
        pick->setObjectName("cmdPick");
        result_ = new QLabel(this);
        result_->setObjectName("lblResult");
        layout->addWidget(pick);
        layout->addWidget(result_);
        connect(pick, &QPushButton::clicked, this, [this] {
            QDialog inner(this);
            inner.setObjectName("frmInner");
            auto* text = new QLineEdit(&inner);
            text->setObjectName("txtValue");
            auto* ok = new QPushButton("&Ok", &inner);
            ok->setObjectName("cmdOk");
            connect(ok, &QPushButton::clicked, &inner, &QDialog::accept);
            result_->setText(RunModal(inner) == QDialog::Accepted ? text->text() : "cancelled");
        });
    }
    QLabel* result_;
};

TEST(ModalRunner, ExecIsTheDefault) {
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(7); });
    EXPECT_EQ(RunModal(dialog), 7);
}

TEST(ScriptedModalRunner, FillsAndAcceptsANestedDialogOrCancelsIt) {
    test::ScriptedModalRunner modals;
    modals.Expect("frmOuter", [](QDialog& outer) {
        outer.findChild<QPushButton*>("cmdPick")->click();
        EXPECT_EQ(outer.findChild<QLabel*>("lblResult")->text(), "42");
        outer.accept();
    });
    modals.Expect("frmInner", [](QDialog& inner) {
        EXPECT_TRUE(inner.isVisible());
        inner.findChild<QLineEdit*>("txtValue")->setText("42");
        inner.findChild<QPushButton*>("cmdOk")->click();
    });
    OuterDialog outer;
    EXPECT_EQ(RunModal(outer), QDialog::Accepted);
    EXPECT_EQ(modals.Shown(), QStringList({"frmOuter", "frmInner"}));
    EXPECT_TRUE(modals.AllMet());

    modals.Expect("frmOuter", [](QDialog& outer) {
        outer.findChild<QPushButton*>("cmdPick")->click();
        outer.reject();
    });
    modals.ExpectReject("frmInner");
    OuterDialog cancelled;
    EXPECT_EQ(RunModal(cancelled), QDialog::Rejected);
    EXPECT_EQ(cancelled.result_->text(), "cancelled");
}

TEST(ScriptedModalRunner, ReportsUnexpectedUnclosedAndMissingDialogs) {
    std::vector<std::string> failures;
    ModalRunner* before = &CurrentModalRunner();
    {
        test::ScriptedModalRunner modals([&](const std::string& f) { failures.push_back(f); });
        EXPECT_EQ(&CurrentModalRunner(), &modals);

        QDialog stray;
        stray.setObjectName("frmStray");
        EXPECT_EQ(RunModal(stray), QDialog::Rejected);

        modals.Expect("frmOpen", [](QDialog&) {});
        QDialog open;
        open.setObjectName("frmOpen");
        EXPECT_EQ(RunModal(open), QDialog::Rejected);
        EXPECT_FALSE(open.isVisible());

        modals.ExpectAccept("frmA");
        QDialog other;
        other.setObjectName("frmB");
        EXPECT_EQ(RunModal(other), QDialog::Rejected);
        modals.ExpectAccept("frmNever");
    }
    EXPECT_EQ(&CurrentModalRunner(), before) << "the previous runner is restored";
    ASSERT_EQ(failures.size(), 5u);
    EXPECT_EQ(failures[0], "unexpected dialog \"frmStray\"");
    EXPECT_EQ(failures[1], "dialog \"frmOpen\" was left open by its handler");
    EXPECT_EQ(failures[2], "expected dialog \"frmA\" but \"frmB\" was shown");
    EXPECT_EQ(failures[3], "dialog \"frmA\" was never shown");
    EXPECT_EQ(failures[4], "dialog \"frmNever\" was never shown");
}

}  // namespace
}  // namespace vym::ui
