#pragma once
// Turns an icon location into pixels.
//
// The namespace names icons by freedesktop theme name; ThemeIconExtractor
// draws them from the icon theme, falling back to the generic icon of the
// same family and then to the widget style's standard icons.
#include <QByteArray>
#include <QPixmap>

class IconExtractor
{
public:
    virtual ~IconExtractor() = default;
    // A size × size picture, or a null pixmap when there is none.
    virtual QPixmap extract(const QByteArray &location, int index, int size) const = 0;
};

class ThemeIconExtractor : public IconExtractor
{
public:
    ThemeIconExtractor();
    QPixmap extract(const QByteArray &location, int index, int size) const override;
};

// A shell system image: an overlay emblem in the lower left corner of a
// transparent size × size picture, null for an index there is none for.
QPixmap systemImage(int index, int size);
