#include "ui/check_list.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

TEST(CheckList, ChecksEntriesByKeyboardAndAllAtOnce) {
    CheckList list;
    list.AddEntry("BAR-Main Bar");
    list.AddEntry("SHOP-Ski Shop", "SHOP", true);
    list.AddEntry("TIX-Tickets", "TIX");
    list.show();
    EXPECT_EQ(list.CheckedKeys(), QStringList({"SHOP"}));
    EXPECT_EQ(list.EntryKey(0), "BAR-Main Bar") << "without a key the text is the key";

    QSignalSpy changed(&list, &CheckList::CheckChanged);
    list.setCurrentRow(2);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(list.IsChecked(2));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 2);

    list.SetAllChecked();
    EXPECT_EQ(list.CheckedKeys(), QStringList({"BAR-Main Bar", "SHOP", "TIX"}));
    list.SetAllChecked(false);
    EXPECT_TRUE(list.CheckedKeys().isEmpty());
    EXPECT_FALSE(list.IsChecked(7));
}

}  // namespace
}  // namespace vym::ui
