#include "platform/SystemColors.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace colors {

namespace {

QPalette::ColorRole roleOf(int index)
{
    switch (index) {
    case 5: return QPalette::Base;              // window background
    case 6: return QPalette::Shadow;            // window frame
    case 7: return QPalette::WindowText;        // menu text
    case 8: return QPalette::WindowText;
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;           // button face
    case 16: return QPalette::Dark;             // button shadow
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;            // button highlight
    case 21: return QPalette::Shadow;           // dark 3D shadow
    case 22: return QPalette::Midlight;         // 3D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

// The classic desktop scheme, for drawing without a GUI application.
TColor classicValueOf(int index)
{
    switch (index) {
    case 5: return 0xFFFFFF;
    case 6: case 7: case 8: case 18: case 23: return 0x000000;
    case 13: return 0x6A240A;
    case 14: return 0xFFFFFF;
    case 16: return 0x808080;
    case 20: return 0xFFFFFF;
    case 21: return 0x404040;
    case 24: return 0xE1FFFF;
    default: return 0xC8D0D4; // button face, 3D light, window
    }
}

} // namespace

TColor resolve(TColor color)
{
    if (!isSystemColor(color))
        return color & 0xFFFFFF;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return classicValueOf(int(color & 0xFF));
    const QRgb rgb = toRgb(color, QGuiApplication::palette());
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}

TColor fromQColor(const QColor &color)
{
    return TColor(color.red()) | TColor(color.green()) << 8 | TColor(color.blue()) << 16;
}

QRgb toRgb(TColor color, const QPalette &palette)
{
    if (isSystemColor(color))
        return palette.color(QPalette::Active, roleOf(int(color & 0xFF))).rgb();
    return qRgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace colors
