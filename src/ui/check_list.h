#pragma once

#include <QListWidget>
#include <QStringList>

namespace vym::ui {

// A list of check boxes (the register groups an item may be sold at). Space toggles the
// current entry; SetAllChecked serves the screen's select-all button.
class CheckList : public QListWidget {
    Q_OBJECT

  public:
    explicit CheckList(QWidget* parent = nullptr);

    // Returns the entry's index; without a key the text is the key.
    int AddEntry(const QString& text, const QString& key = {}, bool checked = false);
    QString EntryKey(int index) const;
    bool IsChecked(int index) const;
    void SetChecked(int index, bool checked);
    void SetAllChecked(bool checked = true);
    QStringList CheckedKeys() const;  // in list order

  signals:
    void CheckChanged(int index);
};

}  // namespace vym::ui
