#include "host/startup_options.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace vym {
namespace {

std::string FailureOf(const QStringList& arguments) {
    try {
        StartupOptions::Parse(QStringList{"vym-backoffice"} + arguments);
    } catch (const Error& error) {
        return error.Description();
    }
    ADD_FAILURE() << "accepted: " << arguments.join(' ').toStdString();
    return {};
}

TEST(StartupOptions, ReadsEveryOptionAndNoneMeansTheDefaults) {
    const StartupOptions none = StartupOptions::Parse({"vym-backoffice"});
    EXPECT_EQ(none.databasePath, "");
    EXPECT_EQ(none.userId, "");
    EXPECT_FALSE(none.ScreenshotMode());
    EXPECT_FALSE(none.showHelp);

    const StartupOptions options =
        StartupOptions::Parse({"vym-backoffice", "--database", "/tmp/a b.db", "--user=CLERK",
                               "--screenshot", "/tmp/shot.png", "--screen", "about"});
    EXPECT_EQ(options.databasePath, "/tmp/a b.db");
    EXPECT_EQ(options.userId, "CLERK");
    EXPECT_TRUE(options.ScreenshotMode());
    EXPECT_EQ(options.screenshotFile, "/tmp/shot.png");
    EXPECT_EQ(options.screenName, "about");

    EXPECT_EQ(StartupOptions::Parse({"vym-backoffice", "--screenshot", "x.png"}).screenName,
              "main");
    EXPECT_TRUE(StartupOptions::Parse({"vym-backoffice", "--help"}).showHelp);
}

TEST(StartupOptions, WrongArgumentsAreExplainedWithTheUsage) {
    EXPECT_NE(FailureOf({"--colour"}).find("colour"), std::string::npos);
    EXPECT_NE(FailureOf({"--database"}).find("database"), std::string::npos);
    EXPECT_NE(FailureOf({"--user", " "}).find("--user needs a value."), std::string::npos);
    EXPECT_NE(FailureOf({"stray.db"}).find("Unexpected argument \"stray.db\"."), std::string::npos);
    EXPECT_NE(FailureOf({"--screen", "about"}).find("--screenshot"), std::string::npos);
    EXPECT_NE(FailureOf({"--bogus"}).find(StartupOptions::Usage().toStdString()),
              std::string::npos);
}

}  // namespace
}  // namespace vym
