#include "ui/symbol_font.h"

#include <gtest/gtest.h>

#include <QRawFont>
#include <set>

namespace vym::ui {
namespace {

TEST(SymbolFont, EveryCodeShowsADistinctSymbolTheFontHas) {
    const QRawFont raw = QRawFont::fromFont(SymbolFont::Font());
    ASSERT_TRUE(raw.isValid());
    std::set<char32_t> seen;
    for (int code = SymbolFont::kFirstCode; code <= SymbolFont::kLastCode; ++code) {
        const char32_t symbol = SymbolFont::CodePoint(code);
        EXPECT_GT(symbol, 0x7Fu) << "code " << code << " shows a plain character";
        EXPECT_TRUE(seen.insert(symbol).second) << "code " << code << " repeats a symbol";
        EXPECT_TRUE(raw.supportsCharacter(symbol))
            << "code " << code << " (U+" << std::hex << static_cast<unsigned>(symbol)
            << ") has no glyph in " << raw.familyName().toStdString();
        EXPECT_EQ(SymbolFont::DisplayText(code).toUcs4(), QList<uint>({symbol}));
    }
    EXPECT_EQ(seen.size(), 223u);
}

TEST(SymbolFont, CodesOutsideTheTableShowAsThemselves) {
    EXPECT_EQ(SymbolFont::CodePoint(32), 0u);
    EXPECT_EQ(SymbolFont::CodePoint(256), 0u);
    EXPECT_EQ(SymbolFont::DisplayText(' '), " ");
    EXPECT_EQ(SymbolFont::DisplayText(0x263A), QString(QChar(0x263A)));
    EXPECT_EQ(SymbolFont::DisplayText(0), "");
}

}  // namespace
}  // namespace vym::ui
