#include "ui/symbol_font.h"

#include <QApplication>
#include <QFontDatabase>
#include <array>

namespace vym::ui {
namespace {

// Codes 33 to 255 in order, grouped as the dingbat font groups them.
constexpr std::array<char32_t, SymbolFont::kLastCode - SymbolFont::kFirstCode + 1> kSymbols{
    // 33-47: spiders, eyewear, awards, speech bubbles
    0x1F577,
    0x1F578,
    0x1F572,
    0x1F576,
    0x1F3C6,
    0x1F396,
    0x1F587,
    0x1F5E8,
    0x1F5E9,
    0x1F5F0,
    0x1F5F1,
    0x1F336,
    0x1F397,
    0x1F67E,
    0x1F67C,
    // 48-63: window and media controls
    0x1F5D5,
    0x1F5D6,
    0x1F5D7,
    0x23F4,
    0x23F5,
    0x23F6,
    0x23F7,
    0x23EA,
    0x23E9,
    0x23EE,
    0x23ED,
    0x23F8,
    0x23F9,
    0x23FA,
    0x1F5DA,
    0x1F5F3,
    // 64-79: tools, buildings and landscapes
    0x1F6E0,
    0x1F3D7,
    0x1F3D8,
    0x1F3D9,
    0x1F3DA,
    0x1F3DC,
    0x1F3ED,
    0x1F3DB,
    0x1F3E0,
    0x1F3D6,
    0x1F3DD,
    0x1F6E3,
    0x1F50D,
    0x1F3D4,
    0x1F441,
    0x1F442,
    // 80-95: places, speakers, speech bubbles
    0x1F3DE,
    0x1F3D5,
    0x1F6E4,
    0x1F3DF,
    0x1F6F3,
    0x1F56C,
    0x1F56B,
    0x1F568,
    0x1F508,
    0x1F394,
    0x1F395,
    0x1F5EC,
    0x1F67D,
    0x1F5ED,
    0x1F5EA,
    0x1F5EB,
    // 96-111: marks, vehicles and signs
    0x2B94,
    0x2714,
    0x1F6B2,
    0x2B1C,
    0x1F6E1,
    0x1F4E6,
    0x1F6F1,
    0x2B1B,
    0x1F691,
    0x1F6C8,
    0x1F6E9,
    0x1F6F0,
    0x1F7C8,
    0x1F574,
    0x26AB,
    0x1F6E5,
    // 112-127: vehicles, signs and bubbles
    0x1F694,
    0x1F5D8,
    0x1F5D9,
    0x2753,
    0x1F6F2,
    0x1F687,
    0x1F68D,
    0x26F3,
    0x1F6C7,
    0x2296,
    0x1F6AD,
    0x1F5EE,
    0x1F58A,
    0x1F5EF,
    0x1F5F2,
    0x1F5FA,
    // 128-143: office objects
    0x1F5B9,
    0x1F5CB,
    0x1F5C0,
    0x1F5C1,
    0x1F5C2,
    0x1F5C3,
    0x1F5C4,
    0x1F5D1,
    0x1F5A8,
    0x1F5A5,
    0x1F5A6,
    0x1F5A7,
    0x1F5A9,
    0x1F5AB,
    0x1F5AC,
    0x1F5AD,
    // 144-159: film, camera and entertainment
    0x1F39E,
    0x1F39F,
    0x1F3A5,
    0x1F4F7,
    0x1F4F9,
    0x1F4FA,
    0x1F4FB,
    0x1F3A7,
    0x1F3A4,
    0x1F3AE,
    0x1F3AC,
    0x1F3A8,
    0x1F3AD,
    0x1F3B2,
    0x1F3AF,
    0x1F3B0,
    // 160-175: people
    0x1F464,
    0x1F465,
    0x1F46A,
    0x1F46B,
    0x1F476,
    0x1F466,
    0x1F467,
    0x1F468,
    0x1F469,
    0x1F474,
    0x1F475,
    0x1F46E,
    0x1F6B6,
    0x1F3C3,
    0x1F44D,
    0x1F44E,
    // 176-191: weather
    0x2600,
    0x2601,
    0x2602,
    0x2603,
    0x26C5,
    0x1F327,
    0x1F328,
    0x1F329,
    0x1F32A,
    0x1F32B,
    0x1F32C,
    0x1F308,
    0x1F319,
    0x2B50,
    0x2744,
    0x1F321,
    // 192-207: transport
    0x2708,
    0x1F697,
    0x1F695,
    0x1F699,
    0x1F68C,
    0x1F68E,
    0x1F682,
    0x1F686,
    0x1F689,
    0x1F68A,
    0x1F681,
    0x1F680,
    0x26F5,
    0x1F6A4,
    0x1F6A2,
    0x2693,
    // 208-223: sports
    0x26F7,
    0x1F3C2,
    0x1F3CA,
    0x1F3C4,
    0x1F6B4,
    0x26F8,
    0x1F3BF,
    0x26F9,
    0x1F3CC,
    0x1F3C7,
    0x1F3BE,
    0x26BD,
    0x26BE,
    0x1F3C0,
    0x1F3C8,
    0x1F3D2,
    // 224-239: animals, plants and food
    0x1F415,
    0x1F408,
    0x1F40E,
    0x1F404,
    0x1F416,
    0x1F411,
    0x1F41F,
    0x1F426,
    0x1F332,
    0x1F333,
    0x1F334,
    0x1F335,
    0x1F33B,
    0x1F34E,
    0x1F354,
    0x2615,
    // 240-255: locks, mail, time, globes and money
    0x1F512,
    0x1F513,
    0x1F511,
    0x1F514,
    0x1F4A1,
    0x260E,
    0x2709,
    0x1F4CC,
    0x1F4CE,
    0x2702,
    0x231B,
    0x23F0,
    0x1F30D,
    0x1F30E,
    0x1F30F,
    0x1F4B0,
};

}  // namespace

char32_t SymbolFont::CodePoint(int code) {
    if (code < kFirstCode || code > kLastCode) {
        return 0;
    }
    return kSymbols[static_cast<std::size_t>(code - kFirstCode)];
}

QString SymbolFont::DisplayText(int code) {
    const char32_t symbol = CodePoint(code);
    if (symbol == 0) {
        return code > 0 ? QString(QChar(code)) : QString();
    }
    return QString::fromUcs4(&symbol, 1);
}

QFont SymbolFont::Font() {
    // Symbola has every symbol of the table; the others are fallbacks for a system
    // without it, where the font engine fills in per glyph.
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* name : {"Symbola", "Noto Sans Symbols2", "Noto Sans Symbols"}) {
            if (families.contains(QLatin1String(name))) {
                return QString::fromLatin1(name);
            }
        }
        return QString();
    }();
    QFont font = QApplication::font();
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    return font;
}

}  // namespace vym::ui
