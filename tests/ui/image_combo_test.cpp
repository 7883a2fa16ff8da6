#include "ui/image_combo.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QSignalSpy>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

TEST(ImageCombo, EntriesKeepKeysImagesAndIndent) {
    ImageCombo combo;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    combo.SetImage("Dpt", QIcon(pixmap));
    combo.AddEntry("'10", "Rental", "Dpt");
    combo.AddEntry("'10,2", "Skis", "RptDpt", 1);
    combo.AddEntry("'10,2,7", "Junior", "SubRptDpt", 2);

    EXPECT_FALSE(combo.itemIcon(0).isNull());
    EXPECT_TRUE(combo.itemIcon(1).isNull()) << "an image not in the list shows none";
    EXPECT_EQ(combo.EntryText(2), "Junior");
    EXPECT_TRUE(combo.itemText(2).endsWith("Junior"));
    EXPECT_GT(combo.itemText(2).size(), combo.itemText(1).size()) << "deeper levels indent more";

    QSignalSpy changed(&combo, &ImageCombo::KeyChanged);
    EXPECT_TRUE(combo.SetKey("'10,2"));
    EXPECT_EQ(combo.Key(), "'10,2");
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).toString(), "'10,2");
    EXPECT_EQ(combo.FindKey("'10,2,7"), 2);
    EXPECT_EQ(combo.FindKey("10,2,7"), -1) << "keys are kept exactly";
    EXPECT_FALSE(combo.SetKey("'99"));
    EXPECT_EQ(combo.Key(), "");
}

}  // namespace
}  // namespace vym::ui
