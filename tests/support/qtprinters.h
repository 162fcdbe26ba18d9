#pragma once
// Qt strings as text in GoogleTest's failure messages, between quotes so that spaces at either end show.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& lines, std::ostream* os) {
    *os << "{\n";
    for (const QString& line : lines)
        *os << "  \"" << line.toStdString() << "\"\n";
    *os << "}";
}
