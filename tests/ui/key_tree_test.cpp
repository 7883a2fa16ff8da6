#include "ui/key_tree.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/qt/qt_printers.h"

namespace vym::ui {
namespace {

TEST(KeyTree, NodesAreFoundByKeyAndCarryTags) {
    KeyTree tree;
    ASSERT_NE(tree.AddNode("", "F:LIFT", "Lift", "Function", 1), nullptr);
    ASSERT_NE(tree.AddNode("F:LIFT", "C:DAY", "Day Tickets", "Catagory", 2), nullptr);
    ASSERT_NE(tree.AddNode("C:DAY", "I:100", "Adult Day", "Item", 100), nullptr);
    EXPECT_EQ(tree.AddNode("", "F:LIFT", "Again"), nullptr) << "keys are unique";
    EXPECT_EQ(tree.AddNode("C:NONE", "I:101", "Orphan"), nullptr);

    EXPECT_EQ(tree.Node("I:100")->text(0), "Adult Day");
    EXPECT_EQ(tree.Node("I:100")->parent(), tree.Node("C:DAY"));
    EXPECT_EQ(tree.Tag("C:DAY").toInt(), 2);
    EXPECT_EQ(tree.KeyOf(tree.topLevelItem(0)), "F:LIFT");

    QSignalSpy selected(&tree, &KeyTree::NodeSelected);
    EXPECT_TRUE(tree.SelectKey("I:100"));
    EXPECT_EQ(tree.SelectedKey(), "I:100");
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toString(), "I:100");
    EXPECT_FALSE(tree.SelectKey("I:999"));
    tree.show();
    QTest::keyClick(&tree, Qt::Key_Up);
    EXPECT_EQ(tree.SelectedKey(), "C:DAY") << "arrow keys move the selection";

    tree.RemoveNode("C:DAY");
    EXPECT_EQ(tree.Node("C:DAY"), nullptr);
    EXPECT_EQ(tree.Node("I:100"), nullptr) << "children go with their node";
    EXPECT_NE(tree.AddNode("F:LIFT", "I:100", "Re-added"), nullptr);
    tree.ClearNodes();
    EXPECT_EQ(tree.Node("F:LIFT"), nullptr);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

}  // namespace
}  // namespace vym::ui
