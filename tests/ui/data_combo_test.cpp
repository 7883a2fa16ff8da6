#include "ui/data_combo.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

class DataComboTest : public ::testing::Test {
  protected:
    void SetUp() override {
        combo.SetColumns({"catagory_id", "description", "require_access_rule"});
        combo.SetBoundColumn(0);
        combo.SetListColumn(1);
        combo.AddRow({"LIFT", "Lift Tickets", "-1"});
        combo.AddRow({"LESSON", "Lessons", "0"});
        combo.AddRow({"", "", ""});
    }
    DataCombo combo;
};

TEST_F(DataComboTest, ShowsTheListColumnAndKeepsTheBoundKey) {
    EXPECT_EQ(combo.RowCount(), 3);
    ASSERT_TRUE(combo.SetKey("LESSON"));
    EXPECT_EQ(combo.currentText(), "Lessons");
    EXPECT_EQ(combo.Key(), "LESSON");
    EXPECT_EQ(combo.Cell(2), "0");
    EXPECT_EQ(combo.CellAt(0, 2), "-1");

    EXPECT_FALSE(combo.SetKey("MISSING"));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.Key(), "");
    EXPECT_TRUE(combo.SetKey("")) << "the all-empty row is a choice of its own";
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST_F(DataComboTest, KeyboardChoosesRowsAndReportsTheKey) {
    combo.SetKey("LIFT");
    QSignalSpy changed(&combo, &DataCombo::KeyChanged);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.Key(), "LESSON");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "LESSON");
    QTest::keyClick(&combo, Qt::Key_L);  // typing finds by the shown text
    EXPECT_EQ(combo.currentText().front(), QChar('L'));
}

TEST_F(DataComboTest, NewColumnsDropTheRows) {
    combo.SetColumns({"id", "text"});
    EXPECT_EQ(combo.RowCount(), 0);
    combo.ClearRows();
    combo.AddRow({"1", "One"});
    combo.SetBoundColumn(0);
    EXPECT_TRUE(combo.SetKey("1"));
    EXPECT_EQ(combo.Cell(1), "One");
}

}  // namespace
}  // namespace vym::ui
