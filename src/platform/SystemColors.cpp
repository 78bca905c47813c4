#include "platform/SystemColors.h"

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

} // namespace

QRgb toRgb(TColor color, const QPalette &palette)
{
    if (isSystemColor(color))
        return palette.color(QPalette::Active, roleOf(int(color & 0xFF))).rgb();
    return qRgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace colors
