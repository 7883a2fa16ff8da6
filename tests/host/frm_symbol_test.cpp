#include "host/frm_symbol.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "ui/flex_grid.h"
#include "ui/symbol_font.h"

namespace vym {
namespace {

using ui::FlexGrid;
using ui::SymbolFont;

class SymbolChooser : public ::testing::Test {
  protected:
    FlexGrid& Grid() { return *symbol_.findChild<FlexGrid*>("fgSymbols"); }
    QString Character() { return symbol_.findChild<QLabel*>("lblCharacter")->text(); }
    void Click(const char* name) { symbol_.findChild<QPushButton*>(name)->click(); }

    frmSymbol symbol_;
};

TEST_F(SymbolChooser, ShowsCodes33To255TenToARow) {
    EXPECT_EQ(symbol_.windowTitle(), "Select A Symbol");
    ASSERT_EQ(Grid().Cols(), 10);
    ASSERT_EQ(Grid().Rows(), 1 + 23);
    EXPECT_EQ(Grid().TextMatrix(1, 0), SymbolFont::DisplayText(33));
    EXPECT_EQ(Grid().TextMatrix(2, 0), SymbolFont::DisplayText(43));
    EXPECT_EQ(Grid().TextMatrix(23, 2), SymbolFont::DisplayText(255));
    EXPECT_EQ(Grid().TextMatrix(23, 3), "");
    EXPECT_EQ(Character(), "Character: 33");
}

TEST_F(SymbolChooser, MovingToACellShowsItsCodeOkReturnsItAndCancelNothing) {
    Grid().SetCurrentCell(2, 5);
    EXPECT_EQ(Character(), "Character: 48");
    Grid().SetCurrentCell(23, 2);
    EXPECT_EQ(Character(), "Character: 255");

    Click("cmdOk");

    EXPECT_FALSE(symbol_.UserCancelled());
    EXPECT_EQ(symbol_.SymbolCode(), 255);

    // An empty cell or Cancel returns nothing.
    Grid().SetCurrentCell(23, 9);
    EXPECT_EQ(Character(), "");
    Click("cmdOk");
    EXPECT_FALSE(symbol_.UserCancelled());
    EXPECT_EQ(symbol_.SymbolCode(), std::nullopt);

    Grid().SetCurrentCell(1, 1);
    Click("cmdCancel");
    EXPECT_TRUE(symbol_.UserCancelled());
    EXPECT_EQ(symbol_.SymbolCode(), std::nullopt);
}

}  // namespace
}  // namespace vym
