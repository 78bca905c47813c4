#pragma once
// Readable GoogleTest output for Qt strings (lists of them print through it).
#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
