#include "host/frm_about.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "support/core/prompter_script.h"

namespace vym {
namespace {

QString LabelText(const frmAbout& about, const char* name) {
    return about.findChild<QLabel*>(name)->text();
}

void ClickSystemInfo(frmAbout& about) {
    about.findChild<QPushButton*>("cmdSysInfo")->click();
}

QString WriteExecutable(const QString& path, const QByteArray& script) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(AboutBox, NamesTheComponentItsVersionAndDescription) {
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About VYMItem");
    EXPECT_EQ(LabelText(about, "lblTitle"), "VYMItem");
    EXPECT_TRUE(
        LabelText(about, "lblVersion").contains(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$")))
        << LabelText(about, "lblVersion").toStdString();
    EXPECT_FALSE(LabelText(about, "lblDescription").isEmpty());
    EXPECT_TRUE(LabelText(about, "lblDisclaimer").startsWith("Warning:"));
    EXPECT_EQ(about.findChild<QPushButton*>("cmdSysInfo")->text(), "&System Info...");
}

TEST(AboutBox, SystemInfoWithoutAToolSaysItIsUnavailable) {
    test::PrompterScript prompter;
    prompter.ExpectMessage("System Information Is Unavailable At This Time", "", kInformation)
        .ExpectMessage("System Information Is Unavailable At This Time", "", kInformation);

    frmAbout none(nullptr, [] { return QString(); });
    ClickSystemInfo(none);
    frmAbout gone(nullptr, [] { return QString("/nonexistent/vym/sysinfo"); });
    ClickSystemInfo(gone);
}

TEST(AboutBox, SystemInfoStartsTheToolFound) {
    test::PrompterScript prompter;  // no message expected
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString marker = dir.filePath("started");
    const QString tool =
        WriteExecutable(dir.filePath("sysinfo"), "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");

    frmAbout about(nullptr, [tool] { return tool; });
    ClickSystemInfo(about);

    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(marker) && waited.elapsed() < 10000) {
        QThread::msleep(20);
    }
    EXPECT_TRUE(QFileInfo::exists(marker));
}

TEST(AboutBox, LocatesTheFirstKnownToolOnThePath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", dir.path().toUtf8());

    const QString none = frmAbout::LocateSystemInfoTool();
    WriteExecutable(dir.filePath("gnome-system-monitor"), "#!/bin/sh\n");
    const QString monitor = frmAbout::LocateSystemInfoTool();
    WriteExecutable(dir.filePath("hardinfo"), "#!/bin/sh\n");
    const QString hardinfo = frmAbout::LocateSystemInfoTool();

    qputenv("PATH", savedPath);
    EXPECT_EQ(none, "");
    EXPECT_EQ(monitor, dir.filePath("gnome-system-monitor"));
    EXPECT_EQ(hardinfo, dir.filePath("hardinfo"));
}

}  // namespace
}  // namespace vym
