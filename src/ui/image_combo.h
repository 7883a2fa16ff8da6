#pragma once

#include <QComboBox>
#include <QHash>
#include <QIcon>

namespace vym::ui {

// A drop-down of entries with a key, a text, an image from the combo's image list and an
// indent level (the department list nests report departments under departments). Keys
// are kept exactly as given, a leading "'" included.
class ImageCombo : public QComboBox {
    Q_OBJECT

  public:
    explicit ImageCombo(QWidget* parent = nullptr);

    void SetImage(const QString& name, const QIcon& icon);
    void AddEntry(const QString& key, const QString& text, const QString& image = {},
                  int indent = 0);

    QString Key() const;              // empty when nothing is chosen
    bool SetKey(const QString& key);  // nothing is chosen when no entry has the key
    int FindKey(const QString& key) const;
    QString EntryKey(int index) const;
    QString EntryText(int index) const;  // without the indent

  signals:
    void KeyChanged(const QString& key);

  private:
    QHash<QString, QIcon> images_;
};

}  // namespace vym::ui
