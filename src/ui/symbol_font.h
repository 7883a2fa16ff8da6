#pragma once

#include <QFont>
#include <QString>

namespace vym::ui {

// Item and function tree symbols are stored as single characters (codes 33 to 255) of a
// dingbat font that this platform lacks. Each code is shown as a Unicode symbol of like
// meaning in a font that has the glyphs; the stored character never changes.
class SymbolFont {
  public:
    static constexpr int kFirstCode = 33;
    static constexpr int kLastCode = 255;

    // The symbol shown for a stored code; codes outside 33 to 255 show as themselves.
    static QString DisplayText(int code);
    // The Unicode code point shown for a code in 33 to 255, else 0.
    static char32_t CodePoint(int code);
    // A font holding every symbol of the table, at the application's point size.
    static QFont Font();
};

}  // namespace vym::ui
