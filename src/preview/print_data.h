#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vym::preview {

// A record handed to the print component: text values by field name
// ("Stock.Unit_Price"). Names match without regard to case, since the
// programs that print spell them as the templates' vocabulary does not
// always ("Stock.format_no", "Stock.Format_No").
class CPrintData {
  public:
    // With CreateIfNotFound set, assigning a name the record does not hold
    // adds it; otherwise such an assignment is refused.
    bool CreateIfNotFound = false;

    CPrintData() = default;
    // A record holding `names`, each empty.
    explicit CPrintData(const QStringList& names);

    // The field's value; "" for a field the record does not hold.
    QString Field(const QString& name) const;
    bool Contains(const QString& name) const;
    // False, and nothing changes, for an unknown name without CreateIfNotFound.
    bool SetField(const QString& name, const QString& value);
    // The names in the order they were added, spelt as first added.
    QStringList Names() const { return names_; }

  private:
    QStringList names_;
    QStringList values_;
    QHash<QString, qsizetype> index_;  // folded name -> position
};

}  // namespace vym::preview
