#pragma once
// Readable GoogleTest output for Qt strings (lists of them print through it),
// points, rectangles and regions.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QPoint &point, std::ostream *out)
{
    *out << "(" << point.x() << "," << point.y() << ")";
}

inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << "(" << rect.left() << "," << rect.top() << ")-(" << rect.right() << "," << rect.bottom() << ")";
}

inline void PrintTo(const QRegion &region, std::ostream *out)
{
    for (const QRect &rect : region)
        PrintTo(rect, out);
}
