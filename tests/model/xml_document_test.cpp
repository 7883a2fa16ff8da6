#include "model/xml_document.h"

#include <gtest/gtest.h>

#include <string>

namespace vym::test {
namespace {

// The records' list rows and the stock screen's change rows go to procedures
// that were written against these exact layouts.
TEST(XmlRow, WritesEachLayoutWithEscapedValues) {
    struct Case {
        XmlRowLayout layout;
        std::string row;
    };
    const Case cases[] = {
        {kXmlListRow,
         "    <vym_item_stock_map item_no=\"500\" map_id=\"A&quot;B&amp;&lt;C&gt;\"/>\r\n"},
        {kXmlChangeRow,
         "<vym_item_stock_map item_no=\"500\" map_id=\"A&quot;B&amp;&lt;C&gt;\" />\r"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            XmlRow("vym_item_stock_map", {{"item_no", "500"}, {"map_id", "A\"B&<C>"}}, c.layout),
            c.row);
    }
}

}  // namespace
}  // namespace vym::test
