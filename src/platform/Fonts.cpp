#include "platform/Fonts.h"

namespace fonts {

QStringList familiesFor(const QString &family)
{
    if (family == kPGothic)
        return {family, QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    if (family == kPMincho)
        return {family, QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")};
    if (family == kTahoma)
        return {family, QStringLiteral("DejaVu Sans")};
    if (family == kBrush)
        return {family, QStringLiteral("AoyagiKouzanFontT"), QStringLiteral("IPAPMincho")};
    return {family};
}

QFont make(const QString &family, int pixelSize, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(familiesFor(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace fonts
