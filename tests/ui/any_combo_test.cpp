#include "ui/any_combo.h"

#include <gtest/gtest.h>

#include <QTest>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

TEST(AnyCombo, TheFirstEntryHasNoKeyAndResetKeepsOnlyIt) {
    AnyCombo combo;
    combo.AddEntry("SKI", "Skis");
    combo.AddEntry("BOOT", "Boots");
    EXPECT_EQ(combo.itemText(0), "<ANY>");
    EXPECT_TRUE(combo.IsAny());
    EXPECT_TRUE(combo.Key().isNull());

    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_FALSE(combo.IsAny());
    EXPECT_EQ(combo.Key(), "SKI");
    QTest::keyClick(&combo, Qt::Key_Home);
    EXPECT_TRUE(combo.Key().isNull());

    EXPECT_TRUE(combo.SetKey("BOOT"));
    EXPECT_EQ(combo.currentText(), "Boots");
    EXPECT_FALSE(combo.SetKey("POLE"));
    EXPECT_TRUE(combo.IsAny()) << "an unknown key means no restriction";
    combo.SetKey("BOOT");
    EXPECT_FALSE(combo.SetKey(QString()));
    EXPECT_TRUE(combo.IsAny());

    // Reset keeps only the first entry, renamed if asked.
    combo.SetKey("BOOT");
    combo.Reset();
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.currentText(), "<ANY>");
    combo.Reset("<None>");
    EXPECT_EQ(combo.currentText(), "<None>");
    EXPECT_TRUE(combo.IsAny());
    EXPECT_EQ(AnyCombo(nullptr, "<All>").itemText(0), "<All>");
}

}  // namespace
}  // namespace vym::ui
