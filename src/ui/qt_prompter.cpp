#include "ui/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>
#include <vector>

#include "ui/qt_text.h"

namespace vym::ui {
namespace {

std::vector<QMessageBox::StandardButton> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return {QMessageBox::Ok};
        case MsgButtons::OKCancel:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case MsgButtons::YesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case MsgButtons::YesNoCancel:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        case MsgButtons::RetryCancel:
            return {QMessageBox::Retry, QMessageBox::Cancel};
        case MsgButtons::AbortRetryIgnore:
            return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    }
    return {QMessageBox::Ok};
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parent, QString applicationTitle)
    : parent_(parent), applicationTitle_(std::move(applicationTitle)) {}

QtPrompter::~QtPrompter() {
    while (busyDepth_ > 0) {
        SetBusy(false);
    }
}

QString QtPrompter::TitleOr(const QString& title) const {
    return title.isEmpty() ? applicationTitle_ : title;
}

std::unique_ptr<QMessageBox> QtPrompter::BuildMessageBox(const QString& text, MsgStyle style,
                                                         const QString& title) const {
    auto box = std::make_unique<QMessageBox>(parent_);
    box->setText(text);
    box->setWindowTitle(TitleOr(title));
    box->setIcon(IconOf(style.icon));
    const auto buttons = ButtonsOf(style.buttons);
    QMessageBox::StandardButtons all;
    for (const auto button : buttons) {
        all |= button;
    }
    box->setStandardButtons(all);
    const std::size_t chosen =
        style.defaultButton >= 1 && static_cast<std::size_t>(style.defaultButton) <= buttons.size()
            ? static_cast<std::size_t>(style.defaultButton - 1)
            : 0;
    box->setDefaultButton(buttons[chosen]);
    // Escape answers Cancel where there is one, else the only button.
    if (all.testFlag(QMessageBox::Cancel)) {
        box->setEscapeButton(QMessageBox::Cancel);
    } else if (buttons.size() == 1) {
        box->setEscapeButton(buttons.front());
    }
    return box;
}

MsgResult QtPrompter::ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgResult::OK;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Abort:
            return MsgResult::Abort;
        case QMessageBox::Retry:
            return MsgResult::Retry;
        case QMessageBox::Ignore:
            return MsgResult::Ignore;
        default:
            return MsgResult::Cancel;
    }
}

MsgResult QtPrompter::Message(std::string_view text, MsgStyle style, std::string_view title) {
    const auto box = BuildMessageBox(Q(text), style, Q(title));
    // A box without a cancel button that is closed some other way answers its default.
    const auto shown = static_cast<QMessageBox::StandardButton>(box->exec());
    if (box->clickedButton() == nullptr && box->defaultButton() != nullptr) {
        return ResultOf(box->standardButton(box->defaultButton()));
    }
    return ResultOf(shown);
}

std::optional<std::string> QtPrompter::Input(std::string_view prompt, std::string_view title,
                                             std::string_view defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, TitleOr(Q(title)), Q(prompt),
                                                 QLineEdit::Normal, Q(defaultText), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer.toStdString();
}

QString QtPrompter::ToQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // The description's own "(...)" may differ from the patterns; the patterns decide.
        if (const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            open > 0 && description.endsWith(QLatin1Char(')'))) {
            description = description.left(open).trimmed();
        }
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries.append(description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    if (entries.isEmpty() && !filter.trimmed().isEmpty()) {
        return filter.trimmed();
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPrompter::OpenFile(std::string_view title, std::string_view filter,
                                                std::string_view initialPath) {
    const QString path = QFileDialog::getOpenFileName(parent_, TitleOr(Q(title)), Q(initialPath),
                                                      ToQtFilter(Q(filter)));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

std::optional<std::string> QtPrompter::SaveFile(std::string_view title, std::string_view filter,
                                                std::string_view initialPath) {
    const QString path = QFileDialog::getSaveFileName(parent_, TitleOr(Q(title)), Q(initialPath),
                                                      ToQtFilter(Q(filter)));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

void QtPrompter::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

void QtPrompter::ProcessPendingInput() {
    // Long loads ask on every row. A turn of the event loop every few
    // milliseconds keeps the screen as responsive as one per row, and a
    // million rows load in seconds instead of minutes.
    constexpr qint64 kIntervalMs = 15;
    if (sinceInput_.isValid() && sinceInput_.elapsed() < kIntervalMs) {
        return;
    }
    QCoreApplication::processEvents();
    sinceInput_.start();
}

}  // namespace vym::ui
