#include "back_office_app.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>
#include <iostream>
#include <memory>

#include "base/error.h"
#include "base/prompter.h"
#include "host/back_office_window.h"
#include "host/screen_registry.h"
#include "host/startup_options.h"
#include "server/local_app_server.h"
#include "service/citem_maint.h"

namespace vym {
namespace {

QString MessageOf(const std::exception& error) {
    if (const auto* vymError = dynamic_cast<const Error*>(&error)) {
        return QString::fromStdString(vymError->Description());
    }
    return QString::fromLocal8Bit(error.what());
}

}  // namespace

int BackOfficeApp::Run(const QStringList& arguments) {
    // Without a display (and when rendering for a script) nobody could answer
    // a message box.
    bool toConsole = QGuiApplication::platformName() == "offscreen" ||
                     arguments.contains("--screenshot") || arguments.contains("-screenshot");

    StartupOptions options;
    try {
        options = StartupOptions::Parse(arguments);
    } catch (const Error& error) {
        ReportStartupError(QString::fromStdString(error.Description()), toConsole);
        return kBadArguments;
    }
    if (options.showHelp) {
        std::cout << StartupOptions::Usage().toStdString() << '\n';
        return 0;
    }
    toConsole = toConsole || options.ScreenshotMode();
    if (options.ScreenshotMode() && !screens_.Contains(options.screenName)) {
        ReportStartupError("There is no screen named \"" + options.screenName +
                               "\". The screens are: " + screens_.Names().join(", ") + ".",
                           toConsole);
        return kBadArguments;
    }

    QString databasePath = options.databasePath;
    if (databasePath.isEmpty()) {
        databasePath = StartupOptions::DefaultDatabasePath();
        const QString directory = QFileInfo(databasePath).absolutePath();
        if (!QDir().mkpath(directory)) {
            ReportStartupError(
                "The data directory " + QDir::toNativeSeparators(directory) + " cannot be created.",
                toConsole);
            return kStartupFailed;
        }
    }

    server::OpenOptions openOptions;
    if (!options.userId.isEmpty()) {
        openOptions.userId = options.userId.toStdString();
    }
    openOptions.createIfMissing = true;
    openOptions.demoData = true;
    std::unique_ptr<server::LocalAppServer> server;
    try {
        server = server::LocalAppServer::Open(databasePath.toStdString(), openOptions);
    } catch (const std::exception& error) {
        ReportStartupError(MessageOf(error), toConsole);
        return kStartupFailed;
    }
    if (!server->ValidateUser()) {
        ReportStartupError("The user \"" + QString::fromStdString(openOptions.userId) +
                               "\" is not an active user of the database " +
                               QDir::toNativeSeparators(databasePath) + ".",
                           toConsole);
        return kStartupFailed;
    }

    // The service object the server hands the consoles and the screens stand on.
    CItemMaint itemMaint;
    itemMaint.SetAppServer(server.get());
    server->SetSharedServiceObject(&itemMaint);
    const struct Unshare {
        AppServer& holder;
        ~Unshare() { holder.SetSharedServiceObject(nullptr); }
    } unshare{*server};

    if (options.ScreenshotMode()) {
        std::unique_ptr<QWidget> screen;
        try {
            screen = screens_.Create(options.screenName,
                                     ScreenRequest{*server, itemMaint, plugIns_, databasePath});
        } catch (const std::exception& error) {
            ReportStartupError(MessageOf(error), toConsole);
            return kStartupFailed;
        }
        screen->show();
        QApplication::processEvents();
        if (!screen->grab().save(options.screenshotFile, "PNG")) {
            ReportStartupError("The screenshot cannot be written to " +
                                   QDir::toNativeSeparators(options.screenshotFile) + ".",
                               toConsole);
            return kStartupFailed;
        }
        return 0;
    }

    BackOfficeWindow window(*server, plugIns_, databasePath);
    window.show();
    return QApplication::exec();
}

void BackOfficeApp::ReportStartupError(const QString& message, bool toConsole) const {
    if (toConsole) {
        std::cerr << "vym-backoffice: " << message.toStdString() << '\n';
    } else {
        MsgBox(message.toStdString(), kCritical, "VYM Back Office");
    }
}

}  // namespace vym
