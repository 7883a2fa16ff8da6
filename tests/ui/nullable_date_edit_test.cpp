#include "ui/nullable_date_edit.h"

#include <gtest/gtest.h>

#include <QTest>

namespace vym::ui {
namespace {

TEST(NullableDateEdit, StartsEmptyAndHoldsADate) {
    NullableDateEdit box;
    EXPECT_TRUE(box.IsNull());
    EXPECT_FALSE(box.Value().has_value());
    EXPECT_EQ(box.text().trimmed(), "");

    box.SetValue(vym::Date::FromParts(2024, 2, 29));
    ASSERT_TRUE(box.Value().has_value());
    EXPECT_EQ(*box.Value(), vym::Date::FromParts(2024, 2, 29));
    EXPECT_EQ(box.text(), "02/29/2024");

    box.SetValue(vym::Date::FromParts(2023, 7, 4, 15, 30));
    EXPECT_EQ(*box.Value(), vym::Date::FromParts(2023, 7, 4)) << "the time is dropped";
    box.SetNull();
    EXPECT_TRUE(box.IsNull());
}

TEST(NullableDateEdit, DeleteEmptiesAndStepsStartFromToday) {
    NullableDateEdit box;
    box.show();
    box.SetValue(vym::Date::FromParts(2024, 1, 15));
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_TRUE(box.IsNull());

    QTest::keyClick(&box, Qt::Key_Up);
    ASSERT_TRUE(box.Value().has_value());
    EXPECT_EQ(*box.Value(), vym::Date::Today());

    box.SetValue(vym::Date::FromParts(2024, 1, 15));
    box.setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(*box.Value(), vym::Date::FromParts(2024, 1, 16)) << "a date steps as usual";

    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_TRUE(box.IsNull());

    QTest::keyClick(&box, Qt::Key_1);
    EXPECT_FALSE(box.IsNull()) << "typing a digit starts a date";
}

}  // namespace
}  // namespace vym::ui
