#pragma once

#include <QString>
#include <QStringList>

namespace vym {

class PlugInRegistry;
class ScreenRegistry;

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
    void ReportStartupError(const QString& message, bool toConsole) const;

    const PlugInRegistry& plugIns_;
    const ScreenRegistry& screens_;
};

}  // namespace vym
