#include "ui/nullable_date_edit.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vym::ui {
namespace {

// The lowest date stands for "no date" and shows as a blank.
const QDate kNullDate(1752, 9, 14);

}  // namespace

NullableDateEdit::NullableDateEdit(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    setCalendarPopup(true);
    setMinimumDate(kNullDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(kNullDate);
    connect(this, &QDateEdit::dateChanged, this, &NullableDateEdit::ValueChanged);
}

bool NullableDateEdit::IsNull() const {
    return date() == kNullDate;
}

std::optional<vym::Date> NullableDateEdit::Value() const {
    if (IsNull()) {
        return std::nullopt;
    }
    const QDate d = date();
    return vym::Date::FromParts(d.year(), d.month(), d.day());
}

void NullableDateEdit::SetValue(std::optional<vym::Date> value) {
    setDate(value ? QDate(value->Year(), value->Month(), value->Day()) : kNullDate);
}

void NullableDateEdit::stepBy(int steps) {
    if (IsNull()) {
        setDate(QDate::currentDate());
        setCurrentSection(QDateTimeEdit::DaySection);
        return;
    }
    QDateEdit::stepBy(steps);
}

void NullableDateEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Delete:
            SetNull();
            event->accept();
            return;
        case Qt::Key_Backspace:
            if (IsNull() || lineEdit()->selectedText() == lineEdit()->text()) {
                SetNull();
                event->accept();
                return;
            }
            break;
        default:
            if (IsNull() && event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9) {
                setDate(QDate::currentDate());
                setCurrentSection(QDateTimeEdit::MonthSection);
            }
            break;
    }
    QDateEdit::keyPressEvent(event);
}

}  // namespace vym::ui
