#include "ui/rich_text_box.h"

#include <gtest/gtest.h>

#include <QTest>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

TEST(RichTextBox, LoadsPlainHtmlRtfOrTypedTextAndReadsBackText) {
    RichTextBox box;
    box.SetText("Wax skis <daily>\nCheck bindings");
    EXPECT_EQ(box.Text(), "Wax skis <daily>\nCheck bindings");

    box.SetText("<p>Wax <b>skis</b></p><p>Check bindings</p>");
    EXPECT_EQ(box.Text(), "Wax skis\nCheck bindings");

    box.SetText(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
        "{\\*\\generator Writer;}\\f0\\fs20 Wax \\b skis\\b0\\par\r\n"
        "Caf\\'e9 \\{open\\}\\tab 5\\u8364?\\par}");
    EXPECT_EQ(box.Text(), QString("Wax skis\nCaf\u00e9 {open}\t5\u20ac"));

    box.clear();
    box.show();
    QTest::keyClicks(&box, "Boots");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "Poles");
    EXPECT_EQ(box.Text(), "Boots\nPoles");
}

}  // namespace
}  // namespace vym::ui
