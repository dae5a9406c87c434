#pragma once

#include <QString>

#include <ostream>

// GoogleTest shows a text that differs as its characters instead of as UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
