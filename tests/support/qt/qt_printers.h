#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <ostream>

// Lets gtest show Qt strings in failure messages as text rather than bytes.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}
