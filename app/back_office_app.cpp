#include "back_office_app.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>
#include <iostream>
#include <memory>
#include <optional>

#include "base/error.h"
#include "base/prompter.h"
#include "editors/frm_import.h"
#include "host/back_office_window.h"
#include "host/database_update_progress.h"
#include "host/screen_registry.h"
#include "host/startup_options.h"
#include "host/vym_interface.h"
#include "server/local_app_server.h"
#include "service/citem_maint.h"
#include "ui/modal_runner.h"
#include "vym/version.h"

namespace vym {
namespace {

QString MessageOf(const std::exception& error) {
    if (const auto* vymError = dynamic_cast<const Error*>(&error)) {
        return QString::fromStdString(vymError->Description());
    }
    return QString::fromLocal8Bit(error.what());
}

// Stands in for the person at the screen when there is none: every message
// goes to stderr and takes its default button, every input and file dialog is
// cancelled. A critical message or a console refusing the user fails the run.
class ConsolePrompter : public Prompter {
  public:
    ConsolePrompter() : previous_(SetPrompter(this)) {}
    ~ConsolePrompter() override { SetPrompter(previous_); }
    ConsolePrompter(const ConsolePrompter&) = delete;
    ConsolePrompter& operator=(const ConsolePrompter&) = delete;

    bool Refused() const { return refused_; }

    MsgResult Message(std::string_view text, MsgStyle style, std::string_view title) override {
        Print(title, text);
        if (style.icon == MsgIcon::Critical || title == kSecurityAlertTitle) {
            refused_ = true;
        }
        return DefaultButton(style);
    }
    std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                     std::string_view) override {
        Print(title, prompt);
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(std::string_view title, std::string_view,
                                        std::string_view) override {
        Print(title, "no file chosen");
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(std::string_view title, std::string_view,
                                        std::string_view) override {
        Print(title, "no file chosen");
        return std::nullopt;
    }
    void SetBusy(bool) override {}
    void ProcessPendingInput() override {}

  private:
    static void Print(std::string_view title, std::string_view text) {
        std::string line = "vym-backoffice: ";
        if (!title.empty()) {
            line.append(title).append(": ");
        }
        for (const char c : text) {
            if (c != '\r') {
                line += c;
            }
        }
        std::cerr << line << '\n';
    }

    Prompter* previous_;
    bool refused_ = false;
};

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
    if (options.showVersion) {
        std::cout << "vym-backoffice (VYMItem) " << version::kVersion << '\n';
        return 0;
    }
    if (options.showHelp) {
        std::cout << StartupOptions::Usage().toStdString() << '\n';
        return 0;
    }
    toConsole = toConsole || options.ScreenshotMode();
    std::optional<ConsolePrompter> console;
    if (toConsole) {
        console.emplace();
    }
    if (options.ScreenshotMode() && !screens_.Contains(options.screenName)) {
        ReportStartupError("There is no screen named \"" + options.screenName +
                               "\". The screens are: " + screens_.Names().join(", ") + ".",
                           toConsole);
        return kBadArguments;
    }

    QString databasePath = options.databasePath;
    const std::unique_ptr<server::LocalAppServer> server =
        OpenServer(options, databasePath, toConsole);
    if (!server) {
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
        return SaveScreenshot(options, ScreenRequest{*server, itemMaint, plugIns_, databasePath},
                              [&] { return console && console->Refused(); })
                   ? 0
                   : kStartupFailed;
    }

    BackOfficeWindow window(*server, plugIns_, databasePath);
    window.AddMaintenanceCommand("&Import...", "mnuImport", [&itemMaint](QWidget* parent) {
        frmImport import(parent);
        if (import.Setup(&itemMaint)) {
            ui::RunModal(import);
        }
    });
    window.show();
    return QApplication::exec();
}

std::unique_ptr<server::LocalAppServer> BackOfficeApp::OpenServer(const StartupOptions& options,
                                                                  QString& databasePath,
                                                                  bool toConsole) const {
    if (databasePath.isEmpty()) {
        databasePath = StartupOptions::DefaultDatabasePath();
        const QString directory = QFileInfo(databasePath).absolutePath();
        if (!QDir().mkpath(directory)) {
            ReportStartupError(
                "The data directory " + QDir::toNativeSeparators(directory) + " cannot be created.",
                toConsole);
            return nullptr;
        }
    }

    server::OpenOptions openOptions;
    if (!options.userId.isEmpty()) {
        openOptions.userId = options.userId.toStdString();
    }
    openOptions.createIfMissing = true;
    openOptions.demoData = true;
    // A shared database's log goes with the station's other data.
    const QString logs = StartupOptions::LogDirectory();
    if (QDir().mkpath(logs)) {
        openOptions.logDirectory = logs.toStdString();
    }
    // An older database is updated as it opens, which can take minutes.
    std::optional<DatabaseUpdateProgress> update;
    if (!toConsole) {
        update.emplace(databasePath);
        openOptions.updateProgress = [&update](int step, int steps) {
            return update->Ask(step, steps);
        };
    }
    std::unique_ptr<server::LocalAppServer> server;
    QString failure;
    try {
        server = server::LocalAppServer::Open(databasePath.toStdString(), openOptions);
    } catch (const std::exception& error) {
        failure = MessageOf(error);
    }
    update.reset();  // its window goes before any other shows
    if (!server) {
        ReportStartupError(failure, toConsole);
        return nullptr;
    }
    if (!server->ValidateUser()) {
        ReportStartupError("The user \"" + QString::fromStdString(openOptions.userId) +
                               "\" is not an active user of the database " +
                               QDir::toNativeSeparators(databasePath) + ".",
                           toConsole);
        return nullptr;
    }
    return server;
}

bool BackOfficeApp::SaveScreenshot(const StartupOptions& options, const ScreenRequest& request,
                                   const std::function<bool()>& refused) const {
    std::unique_ptr<QWidget> screen;
    try {
        screen = screens_.Create(options.screenName, request);
    } catch (const std::exception& error) {
        ReportStartupError(MessageOf(error), true);
        return false;
    }
    screen->show();
    QApplication::processEvents();
    // The refusal is on stderr already.
    if (refused()) {
        return false;
    }
    if (!screen->grab().save(options.screenshotFile, "PNG")) {
        ReportStartupError("The screenshot cannot be written to " +
                               QDir::toNativeSeparators(options.screenshotFile) + ".",
                           true);
        return false;
    }
    return true;
}

void BackOfficeApp::ReportStartupError(const QString& message, bool toConsole) const {
    if (toConsole) {
        std::cerr << "vym-backoffice: " << message.toStdString() << '\n';
    } else {
        MsgBox(message.toStdString(), kCritical, "VYM Back Office");
    }
}

}  // namespace vym
