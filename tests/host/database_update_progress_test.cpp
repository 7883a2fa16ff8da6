#include "host/database_update_progress.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

namespace vym {
namespace {

TEST(DatabaseUpdateProgress, AQuickUpdateShowsNothing) {
    DatabaseUpdateProgress progress("/data/vym.db", 60000);
    EXPECT_TRUE(progress.Ask(1, 3));
    EXPECT_EQ(progress.Window(), nullptr);
}

TEST(DatabaseUpdateProgress, ALongOneShowsItsStepAndStopsOnStopOrEscape) {
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Escape" : "Stop");
        DatabaseUpdateProgress progress("/data/vym.db", 0);
        EXPECT_TRUE(progress.Ask(2, 3));
        QProgressDialog* window = progress.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->labelText(),
                  "Preparing the database /data/vym.db for this version of the program: step 2 "
                  "of 3.");
        EXPECT_TRUE(progress.Ask(2, 3)) << "going on until the clerk stops it";
        auto* stop = window->findChild<QPushButton*>();
        ASSERT_NE(stop, nullptr);
        EXPECT_EQ(stop->text(), "&Stop");
        if (byKey) {
            QTest::keyClick(window, Qt::Key_Escape);
        } else {
            QTest::mouseClick(stop, Qt::LeftButton);
        }
        EXPECT_FALSE(progress.Ask(2, 3));
    }
}

}  // namespace
}  // namespace vym
