#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "server/local_app_server.h"

namespace {

// Runs the built program headless, as a script or a packaging check would.
struct Outcome {
    int status = -1;
    QString errors;
    QString output;
};

// Without a display: no X or Wayland display and no platform chosen, as on a
// server or a fresh install reached over ssh.
Outcome RunProgram(const QStringList& arguments, const QString& dataHome) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        environment.remove(name);
    }
    environment.insert("XDG_DATA_HOME", dataHome);
    process.setProcessEnvironment(environment);
    process.start(VYM_BACKOFFICE, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << "still running";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "crashed";
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
            QString::fromLocal8Bit(process.readAllStandardOutput())};
}

TEST(VymBackoffice, AnswersHelpAndVersionWithoutADisplay) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& [option, shown] : {std::pair{"--version", "vym-backoffice (VYMItem) 1."},
                                        std::pair{"--help", "Usage: vym-backoffice"}}) {
        const Outcome outcome = RunProgram({option}, dir.filePath("data"));
        EXPECT_EQ(outcome.status, 0) << option << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.output.startsWith(shown)) << outcome.output.toStdString();
    }
}

TEST(VymBackoffice, FirstRunCreatesTheDemoDatabaseAndRendersTheMainWindow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shot = dir.filePath("main.png");

    const Outcome outcome = RunProgram({"--screenshot", shot}, dir.filePath("data"));

    EXPECT_EQ(outcome.status, 0) << outcome.errors.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("data/vym-backoffice/vym-backoffice.db")));
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 640);
    EXPECT_GE(image.height(), 400);
}

// Questions are answered on the console, never by a box that waits: the
// console's search on a catalogue far beyond what loads unasked still renders.
TEST(VymBackoffice, UnattendedRunsNeverWaitForAnAnswer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString database = dir.filePath("large.db");
    {
        vym::server::OpenOptions options;
        options.createIfMissing = true;
        options.demoData = true;
        auto server = vym::server::LocalAppServer::Open(database.toStdString(), options);
        auto db = server->DBConnection();
        db->ExecuteSQL(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 299) "
            "INSERT INTO vym_item (item_no, item_type, function_id, long_description) "
            "SELECT 20000 + i, 'STOCK', 'RETAIL', 'Bulk Sock ' || i FROM n");
        db->ExecuteSQL(
            "INSERT INTO vym_item_stock (item_no, stock_id) SELECT item_no, 'SOCK' || item_no "
            "FROM vym_item WHERE item_no >= 20000");
    }
    const QString shot = dir.filePath("shot.png");
    const Outcome console =
        RunProgram({"--database", database, "--screenshot", shot, "--screen", "console"},
                   dir.filePath("data"));
    EXPECT_EQ(console.status, 0) << console.errors.toStdString();
    EXPECT_FALSE(console.errors.contains("Results Over Limit")) << console.errors.toStdString();
    EXPECT_FALSE(QImage(shot).isNull());
}

}  // namespace
