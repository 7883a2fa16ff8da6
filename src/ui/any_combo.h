#pragma once

#include <QComboBox>

namespace vym::ui {

// A search or filter list whose first entry means no restriction ("<ANY>", "<All>",
// "<None>"): that entry has no key, so the caller sends Null or leaves the criterion out.
class AnyCombo : public QComboBox {
    Q_OBJECT

  public:
    explicit AnyCombo(QWidget* parent = nullptr, const QString& anyText = QStringLiteral("<ANY>"));

    // Drops every entry but the first, which reads anyText from now on.
    void Reset(const QString& anyText);
    void Reset() { Reset(anyText_); }
    void AddEntry(const QString& key, const QString& text);

    bool IsAny() const;  // the first entry (or nothing) is chosen
    // The chosen entry's key; a null QString for the first entry.
    QString Key() const;
    // Chooses the entry with that key; a null or unknown key chooses the first entry.
    bool SetKey(const QString& key);
    void SelectAny() { setCurrentIndex(0); }

  signals:
    void KeyChanged(const QString& key);

  private:
    QString anyText_;
};

}  // namespace vym::ui
