#include "ui/key_tree.h"

#include <memory>

namespace vym::ui {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;

}  // namespace

KeyTree::KeyTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { emit NodeSelected(KeyOf(current)); });
}

void KeyTree::SetImage(const QString& name, const QIcon& icon) {
    images_.insert(name, icon);
}

QTreeWidgetItem* KeyTree::AddNode(const QString& parentKey, const QString& key, const QString& text,
                                  const QString& image, const QVariant& tag) {
    if (nodes_.contains(key)) {
        return nullptr;
    }
    QTreeWidgetItem* node = nullptr;
    if (parentKey.isEmpty()) {
        node = new QTreeWidgetItem(this);
    } else if (QTreeWidgetItem* parent = Node(parentKey)) {
        node = new QTreeWidgetItem(parent);
    } else {
        return nullptr;
    }
    node->setText(0, text);
    node->setIcon(0, images_.value(image));
    node->setData(0, kKeyRole, key);
    node->setData(0, kTagRole, tag);
    nodes_.insert(key, node);
    return node;
}

QTreeWidgetItem* KeyTree::Node(const QString& key) const {
    return nodes_.value(key, nullptr);
}

QString KeyTree::KeyOf(const QTreeWidgetItem* node) const {
    return node ? node->data(0, kKeyRole).toString() : QString();
}

QVariant KeyTree::Tag(const QString& key) const {
    const QTreeWidgetItem* node = Node(key);
    return node ? node->data(0, kTagRole) : QVariant();
}

void KeyTree::SetNodeImage(const QString& key, const QString& image) {
    if (QTreeWidgetItem* node = Node(key)) {
        node->setIcon(0, images_.value(image));
    }
}

void KeyTree::Forget(QTreeWidgetItem* node) {
    nodes_.remove(KeyOf(node));
    for (int i = 0; i < node->childCount(); ++i) {
        Forget(node->child(i));
    }
}

void KeyTree::RemoveNode(const QString& key) {
    QTreeWidgetItem* node = Node(key);
    if (!node) {
        return;
    }
    Forget(node);
    QTreeWidgetItem* parent = node->parent();
    // Taking the node out hands it back to us; it goes with its children.
    const std::unique_ptr<QTreeWidgetItem> taken(parent
                                                     ? parent->takeChild(parent->indexOfChild(node))
                                                     : takeTopLevelItem(indexOfTopLevelItem(node)));
}

void KeyTree::ClearNodes() {
    nodes_.clear();
    clear();
}

QString KeyTree::SelectedKey() const {
    return KeyOf(currentItem());
}

bool KeyTree::SelectKey(const QString& key) {
    QTreeWidgetItem* node = Node(key);
    if (!node) {
        return false;
    }
    setCurrentItem(node);
    scrollToItem(node);
    return true;
}

}  // namespace vym::ui
