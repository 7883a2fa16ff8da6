#include "host/frm_about.h"

#include <QProcess>
#include <QStandardPaths>

#include "base/prompter.h"
#include "ui_frm_about.h"
#include "vym/version.h"

namespace vym {

frmAbout::frmAbout(QWidget* parent, ToolLocator locator)
    : QDialog(parent), ui_(std::make_unique<Ui::frmAbout>()), locator_(std::move(locator)) {
    ui_->setupUi(this);
    const QString title = QString::fromUtf8(version::kComponentTitle);
    setWindowTitle("About " + title);
    ui_->lblTitle->setText(title);
    ui_->lblVersion->setText(QString("Version %1.%2.%3")
                                 .arg(version::kMajor)
                                 .arg(version::kMinor)
                                 .arg(version::kRevision));
    ui_->lblDescription->setText(QString::fromUtf8(version::kDescription));
    ui_->lblDisclaimer->setText(
        "Warning: this program is protected by copyright law. Copying or distributing it, or "
        "any part of it, without permission is not allowed.");
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmAbout::accept);
    connect(ui_->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

QString frmAbout::LocateSystemInfoTool() {
    for (const char* tool : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor",
                             "mate-system-monitor", "xfce4-taskmanager"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

void frmAbout::cmdSysInfo_Click() {
    const QString tool = locator_ ? locator_() : QString();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {})) {
        MsgBox("System Information Is Unavailable At This Time", kInformation);
    }
}

}  // namespace vym
