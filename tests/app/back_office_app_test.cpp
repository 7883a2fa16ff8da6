#include "back_office_app.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "console/console_screens.h"
#include "host/host_screens.h"
#include "host/plug_in_registry.h"
#include "host/screen_registry.h"

namespace vym {
namespace {

// Runs the program as `vym-backoffice <arguments>` and keeps what it printed.
class BackOffice : public ::testing::Test {
  protected:
    BackOffice() { RegisterHostScreens(screens_); }

    int Run(const QStringList& arguments) {
        ::testing::internal::CaptureStderr();
        const int status =
            BackOfficeApp(plugIns_, screens_).Run(QStringList{"vym-backoffice"} + arguments);
        errors_ = QString::fromStdString(::testing::internal::GetCapturedStderr());
        return status;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    PlugInRegistry plugIns_;
    ScreenRegistry screens_;
    QString errors_;
};

// A real picture of a window, not an empty or one-colour image.
void ExpectRealScreenshot(const QString& file) {
    QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    EXPECT_GT(image.width(), 200);
    EXPECT_GT(image.height(), 150);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            colours.insert(image.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 3);
}

TEST_F(BackOffice, ScreenshotsEveryHostScreenOnANewDemoDatabase) {
    for (const QString screen : {"main", "about", "symbol", "picklist"}) {
        const QString shot = Path(screen + ".png");
        EXPECT_EQ(Run({"--database", Path("demo.db"), "--screenshot", shot, "--screen", screen}), 0)
            << screen.toStdString() << ": " << errors_.toStdString();
        ExpectRealScreenshot(shot);
    }
    EXPECT_TRUE(QFile::exists(Path("demo.db")));
}

TEST_F(BackOffice, AConsoleRefusingTheUserFailsTheScreenshotWithTheMessageOnStderr) {
    RegisterItemConsole(plugIns_, screens_);
    for (const QString screen : {"console", "main"}) {
        SCOPED_TRACE(screen.toStdString());
        const QString shot = Path(screen + ".png");
        EXPECT_EQ(Run({"--database", Path("demo.db"), "--user", "KCHEN", "--screenshot", shot,
                       "--screen", screen}),
                  BackOfficeApp::kStartupFailed);
        EXPECT_TRUE(errors_.contains(
            "vym-backoffice: Security Alert: You do not have permission to use Item "
            "Maintenance.  Please contact your System Administrator to set up appropriate "
            "permissions."))
            << errors_.toStdString();
        EXPECT_FALSE(QFile::exists(shot));
    }
    const QString shot = Path("admin.png");
    EXPECT_EQ(Run({"--database", Path("demo.db"), "--screenshot", shot, "--screen", "console"}), 0);
    EXPECT_FALSE(errors_.contains("vym-backoffice:")) << errors_.toStdString();
    ExpectRealScreenshot(shot);
}

TEST_F(BackOffice, BadArgumentsAndUnknownScreensExitWithStatusTwo) {
    EXPECT_EQ(Run({"--nonsense"}), BackOfficeApp::kBadArguments);
    EXPECT_TRUE(errors_.contains("nonsense")) << errors_.toStdString();

    EXPECT_EQ(Run({"--database", Path("x.db"), "--screenshot", Path("x.png"), "--screen", "nope"}),
              BackOfficeApp::kBadArguments);
    EXPECT_TRUE(
        errors_.contains("There is no screen named \"nope\". The screens are: about, "
                         "main, picklist, symbol."))
        << errors_.toStdString();
    EXPECT_FALSE(QFile::exists(Path("x.db")));
}

// A corrupt file, a folder that cannot be made and an unknown user: each
// is refused with its reason, and the corrupt file is left as it was.
TEST_F(BackOffice, DatabasesThatCannotBeOpenedAndUnknownUsersFailCleanly) {
    const QByteArray garbage(4096, 'x');
    QFile corrupt(Path("corrupt.db"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(garbage);
    corrupt.close();
    QFile plain(Path("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    const std::pair<QStringList, QString> cases[] = {
        {{"--database", Path("corrupt.db")}, "vym-backoffice: "},
        // A folder that cannot exist: its parent is a file.
        {{"--database", Path("plain.txt/sub/x.db")}, "vym-backoffice: "},
        {{"--database", Path("users.db"), "--user", "NOBODY"},
         "The user \"NOBODY\" is not an active user"},
    };
    for (const auto& [arguments, error] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Run(arguments + QStringList{"--screenshot", Path("u.png")}),
                  BackOfficeApp::kStartupFailed);
        EXPECT_TRUE(errors_.contains(error)) << errors_.toStdString();
        EXPECT_FALSE(QFile::exists(Path("u.png")));
    }
    ASSERT_TRUE(corrupt.open(QIODevice::ReadOnly));
    EXPECT_EQ(corrupt.readAll(), garbage);
}

TEST_F(BackOffice, DefaultDatabaseNeedsAWritableDataDirectory) {
    QFile plain(Path("home-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", Path("home-file/data").toUtf8());

    const int status = Run({"--screenshot", Path("d.png")});

    if (saved.isNull()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", saved);
    }
    EXPECT_EQ(status, BackOfficeApp::kStartupFailed);
    EXPECT_TRUE(errors_.contains("cannot be created")) << errors_.toStdString();
}

}  // namespace
}  // namespace vym
