#pragma once

#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <QVariant>

namespace vym::ui {

// A tree whose nodes are found by a unique key and carry a tag and an image from the
// tree's image list.
class KeyTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit KeyTree(QWidget* parent = nullptr);

    void SetImage(const QString& name, const QIcon& icon);
    // Adds a node under parentKey (empty: at the top). Returns nullptr, adding nothing,
    // when the key is taken or the parent is unknown.
    QTreeWidgetItem* AddNode(const QString& parentKey, const QString& key, const QString& text,
                             const QString& image = {}, const QVariant& tag = {});
    QTreeWidgetItem* Node(const QString& key) const;
    QString KeyOf(const QTreeWidgetItem* node) const;
    QVariant Tag(const QString& key) const;
    void SetNodeImage(const QString& key, const QString& image);
    // Removes the node with its children.
    void RemoveNode(const QString& key);
    void ClearNodes();

    QString SelectedKey() const;  // empty when no node is current
    bool SelectKey(const QString& key);

  signals:
    void NodeSelected(const QString& key);

  private:
    void Forget(QTreeWidgetItem* node);

    QHash<QString, QTreeWidgetItem*> nodes_;  // owned by the tree
    QHash<QString, QIcon> images_;
};

}  // namespace vym::ui
