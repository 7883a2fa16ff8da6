#include "model/xml_document.h"

#include <gtest/gtest.h>

namespace vym::test {
namespace {

// The stock screen's change rows go to procedures that were written against
// this exact layout. The records' list rows are checked as the documents they
// send (CItemListsTest).
TEST(XmlRow, WritesAChangeRowFlushWithEscapedValues) {
    EXPECT_EQ(
        XmlRow("vym_item_stock_map", {{"item_no", "500"}, {"map_id", "A\"B&<C>"}}, kXmlChangeRow),
        "<vym_item_stock_map item_no=\"500\" map_id=\"A&quot;B&amp;&lt;C&gt;\" />\r");
}

}  // namespace
}  // namespace vym::test
