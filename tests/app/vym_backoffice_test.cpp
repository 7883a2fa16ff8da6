#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

// Runs the built program headless, as a script or a packaging check would.
struct Outcome {
    int status = -1;
    QString errors;
};

Outcome RunProgram(const QStringList& arguments, const QString& dataHome) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_DATA_HOME", dataHome);
    process.setProcessEnvironment(environment);
    process.start(VYM_BACKOFFICE, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << "still running";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "crashed";
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
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

TEST(VymBackoffice, CorruptDatabaseGivesAMessageAndAFailureStatus) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString database = dir.filePath("broken.db");
    {
        QFile file(database);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, '\x5a'));
    }

    const Outcome outcome = RunProgram(
        {"--database", database, "--screenshot", dir.filePath("x.png")}, dir.filePath("data"));

    EXPECT_NE(outcome.status, 0);
    EXPECT_TRUE(outcome.errors.contains("vym-backoffice: ")) << outcome.errors.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

}  // namespace
