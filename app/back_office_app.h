#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace vym {

namespace server {
class LocalAppServer;
}
class PlugInRegistry;
class ScreenRegistry;
struct ScreenRequest;
class StartupOptions;

// The back-office program: reads its command line, opens the database (creating
// it with demo data on first use), then shows the main window or renders one
// screen to a PNG file. Start-up failures are told to the user (as a message
// box, or on stderr when rendering or without a display) and give a non-zero
// exit status. When rendering or without a display no message box waits: the
// screens' messages go to stderr with their default answers, and a critical
// one or a console refusing the user fails the run.
class BackOfficeApp {
  public:
    static constexpr int kStartupFailed = 1;
    static constexpr int kBadArguments = 2;

    BackOfficeApp(const PlugInRegistry& plugIns, const ScreenRegistry& screens)
        : plugIns_(plugIns), screens_(screens) {}

    // `arguments` starts with the program; needs a running QApplication.
    // Returns the exit status.
    int Run(const QStringList& arguments);

  private:
    // The database the options name (the station's default one when they name
    // none, which sets `databasePath`), opened for a user it knows; nullptr
    // when it cannot be, after telling why.
    std::unique_ptr<server::LocalAppServer> OpenServer(const StartupOptions& options,
                                                       QString& databasePath, bool toConsole) const;
    // Renders the requested screen to the options' PNG file; False, after
    // telling why on stderr, when it cannot or when a message of the screen
    // was refused (`refused`).
    bool SaveScreenshot(const StartupOptions& options, const ScreenRequest& request,
                        const std::function<bool()>& refused) const;
    void ReportStartupError(const QString& message, bool toConsole) const;

    const PlugInRegistry& plugIns_;
    const ScreenRegistry& screens_;
};

}  // namespace vym
