#include "host/startup_options.h"

#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>

#include "base/error.h"

namespace vym {
namespace {

[[noreturn]] void Fail(const QString& message) {
    throw Error(errc::kInvalidProcedureCall, "vym-backoffice",
                (message + "\n\n" + StartupOptions::Usage()).toStdString());
}

QString RequiredValue(const QCommandLineParser& parser, const QCommandLineOption& option) {
    const QString value = parser.value(option).trimmed();
    if (value.isEmpty()) {
        Fail("--" + option.names().constFirst() + " needs a value.");
    }
    return value;
}

}  // namespace

StartupOptions StartupOptions::Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption database("database", {}, "PATH");
    const QCommandLineOption user("user", {}, "ID");
    const QCommandLineOption screenshot("screenshot", {}, "FILE");
    const QCommandLineOption screen("screen", {}, "NAME");
    const QCommandLineOption help(QStringList{"help", "h"});
    const QCommandLineOption version("version");
    parser.addOptions({database, user, screenshot, screen, help, version});
    if (!parser.parse(arguments)) {
        Fail(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        Fail("Unexpected argument \"" + parser.positionalArguments().constFirst() + "\".");
    }

    StartupOptions options;
    options.showHelp = parser.isSet(help);
    options.showVersion = parser.isSet(version);
    if (parser.isSet(database)) {
        options.databasePath = RequiredValue(parser, database);
    }
    if (parser.isSet(user)) {
        options.userId = RequiredValue(parser, user);
    }
    if (parser.isSet(screenshot)) {
        options.screenshotFile = RequiredValue(parser, screenshot);
    }
    if (parser.isSet(screen)) {
        if (!parser.isSet(screenshot)) {
            Fail("--screen is used together with --screenshot FILE.");
        }
        options.screenName = RequiredValue(parser, screen);
    }
    return options;
}

QString StartupOptions::Usage() {
    return "Usage: vym-backoffice [--database PATH|URI] [--user ID] "
           "[--screenshot FILE [--screen NAME]]\n"
           "       vym-backoffice --help | --version";
}

QString StartupOptions::LogDirectory() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath("logs");
}

QString StartupOptions::DefaultDatabasePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath("vym-backoffice.db");
}

}  // namespace vym
