#include "ui/key_tab_bar.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

TEST(KeyTabBar, TabsAreFoundByKeyAfterOthersAreRemoved) {
    KeyTabBar tabs;
    for (const char* key : {"Definition", "Sales", "SS", "Photo", "Ship"}) {
        tabs.AddTab(key, key);
    }
    EXPECT_TRUE(tabs.RemoveTabByKey("SS"));
    EXPECT_FALSE(tabs.RemoveTabByKey("SS"));
    EXPECT_EQ(tabs.TabIndex("Photo"), 2);
    EXPECT_EQ(tabs.TabIndex("RENTALPKG"), -1);

    QSignalSpy changed(&tabs, &KeyTabBar::CurrentKeyChanged);
    EXPECT_TRUE(tabs.SetCurrentKey("Ship"));
    EXPECT_EQ(tabs.CurrentKey(), "Ship");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "Ship");

    EXPECT_TRUE(tabs.SetTabCaption("Photo", "Ski School"));
    EXPECT_EQ(tabs.tabText(tabs.TabIndex("Photo")), "Ski School");
    EXPECT_EQ(tabs.TabKey(tabs.TabIndex("Photo")), "Photo");

    tabs.show();
    QTest::keyClick(&tabs, Qt::Key_Left);
    EXPECT_EQ(tabs.CurrentKey(), "Photo");
}

}  // namespace
}  // namespace vym::ui
