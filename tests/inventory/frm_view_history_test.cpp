#include "inventory/frm_view_history.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "ui/flex_grid.h"

namespace vym {
namespace {

TEST(ViewHistoryWindow, ShowsTheCallersRowsAndAnswersNextByButtonOrF7OrCancel) {
    frmViewHistory window;
    EXPECT_EQ(window.windowTitle(), "View History");
    window.Setup("<Contract|>Days|Returned", {"C-1001\t3\t01/04/2025", "C-1002\t1\t"});
    auto* grid = window.findChild<ui::FlexGrid*>("fgHistory");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->ColumnHeading(1), "Days");
    EXPECT_EQ(grid->TextMatrix(2, 0), "C-1002");
    EXPECT_EQ(window.Result(), "CANCEL");

    window.show();
    window.findChild<QPushButton*>("cmdNext")->click();
    EXPECT_EQ(window.Result(), "NEXT");
    EXPECT_EQ(window.result(), QDialog::Accepted);

    // Shown again for the next part: closing it cancels.
    window.Setup("<Contract", {"C-1003"});
    window.show();
    window.reject();
    EXPECT_EQ(window.Result(), "CANCEL");

    // F7 asks for the next part as the button does.
    window.Setup("<Contract", {});
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F7);
    EXPECT_EQ(window.Result(), "NEXT");
}

}  // namespace
}  // namespace vym
