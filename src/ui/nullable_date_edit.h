#pragma once

#include <QDateEdit>
#include <optional>

#include "base/date.h"

namespace vym::ui {

// A date box that may be empty ("Not Sold Since:"). Delete empties it; typing a digit or
// stepping up or down in an empty box starts from today.
class NullableDateEdit : public QDateEdit {
    Q_OBJECT

  public:
    explicit NullableDateEdit(QWidget* parent = nullptr);

    bool IsNull() const;
    std::optional<vym::Date> Value() const;  // the date part only
    void SetValue(std::optional<vym::Date> value);
    void SetNull() { SetValue(std::nullopt); }

    void stepBy(int steps) override;

  signals:
    void ValueChanged();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vym::ui
