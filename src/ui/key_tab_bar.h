#pragma once

#include <QTabBar>

namespace vym::ui {

// A tab strip whose tabs are found by key ("ALL", "STOCK", "Definition") rather than by
// position, since screens remove the tabs that do not apply.
class KeyTabBar : public QTabBar {
    Q_OBJECT

  public:
    explicit KeyTabBar(QWidget* parent = nullptr);

    int AddTab(const QString& key, const QString& caption);
    int TabIndex(const QString& key) const;  // -1 when no tab has the key
    QString TabKey(int index) const;
    QString CurrentKey() const;
    bool SetCurrentKey(const QString& key);
    bool RemoveTabByKey(const QString& key);
    bool SetTabCaption(const QString& key, const QString& caption);

  signals:
    void CurrentKeyChanged(const QString& key);
};

}  // namespace vym::ui
