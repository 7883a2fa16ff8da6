#pragma once

#include <QMessageBox>
#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "base/prompter.h"

class QWidget;

namespace vym::ui {

// The Prompter of a running program: real modal message boxes, input boxes and file
// dialogs, the hourglass, and the event loop for pending input. Install it with
// vym::SetPrompter once the QApplication exists.
class QtPrompter : public Prompter {
  public:
    // parent: the window the dialogs centre on (may be null); applicationTitle: the title
    // of a box shown without one.
    explicit QtPrompter(QWidget* parent = nullptr,
                        QString applicationTitle = QStringLiteral("VYMItem"));
    ~QtPrompter() override;
    QtPrompter(const QtPrompter&) = delete;
    QtPrompter& operator=(const QtPrompter&) = delete;

    MsgResult Message(std::string_view text, MsgStyle style, std::string_view title) override;
    std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                     std::string_view defaultText) override;
    std::optional<std::string> OpenFile(std::string_view title, std::string_view filter,
                                        std::string_view initialPath) override;
    std::optional<std::string> SaveFile(std::string_view title, std::string_view filter,
                                        std::string_view initialPath) override;
    void SetBusy(bool busy) override;
    void ProcessPendingInput() override;

    // The message box Message shows, built but not run: its buttons in the order the
    // style names them, the style's icon and default button, and the title.
    std::unique_ptr<QMessageBox> BuildMessageBox(const QString& text, MsgStyle style,
                                                 const QString& title) const;
    // The answer a button of such a box stands for.
    static MsgResult ResultOf(QMessageBox::StandardButton button);
    // "Text (*.txt)|*.txt|All (*.*)|*.*" -> "Text (*.txt);;All (*.*)".
    static QString ToQtFilter(const QString& filter);

    QString TitleOr(const QString& title) const;

  private:
    QWidget* parent_;
    QString applicationTitle_;
    int busyDepth_ = 0;
    QElapsedTimer sinceInput_;  // since pending input was last processed
};

}  // namespace vym::ui
