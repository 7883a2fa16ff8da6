#pragma once

#include <QString>
#include <QStringList>

namespace vym {

// What the back-office program was asked to do on its command line:
//   --database PATH      open (or create with demo data) another database
//   --user ID            sign in another user
//   --screenshot FILE    render a screen to a PNG file and exit
//   --screen NAME        the screen to render (with --screenshot; "main" by default)
//   --help               print the usage and exit
class StartupOptions {
  public:
    // The first argument is the program. Throws vym::Error with a message fit
    // for the user when the arguments are wrong.
    static StartupOptions Parse(const QStringList& arguments);
    static QString Usage();
    // vym-backoffice.db in the user's data directory.
    static QString DefaultDatabasePath();
    // logs/ in the user's local data directory: the error logs of shared databases.
    static QString LogDirectory();

    QString databasePath;  // empty: DefaultDatabasePath()
    QString userId;        // empty: the server's default user
    QString screenshotFile;
    QString screenName = "main";
    bool showHelp = false;
    bool showVersion = false;

    bool ScreenshotMode() const { return !screenshotFile.isEmpty(); }
};

}  // namespace vym
