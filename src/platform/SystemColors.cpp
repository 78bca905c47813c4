#include "platform/SystemColors.h"

<<<<<<< HEAD
#include <QGuiApplication>
#include <QPalette>

#include <optional>

namespace syscolors {

namespace {

struct Entry
{
    unsigned index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    std::uint32_t classic;
};

// Scheme entries with their palette role and the classic scheme's value.
constexpr Entry kEntries[] = {
    {0, QPalette::Active, QPalette::Mid, 0xC8D0D4},
    {1, QPalette::Active, QPalette::Dark, 0x808000},
    {2, QPalette::Active, QPalette::Highlight, 0x6A240A},
    {3, QPalette::Inactive, QPalette::Highlight, 0x808080},
    {4, QPalette::Active, QPalette::Window, 0xC8D0D4},
    {5, QPalette::Active, QPalette::Base, 0xFFFFFF},
    {6, QPalette::Active, QPalette::Shadow, 0x000000},
    {7, QPalette::Active, QPalette::WindowText, 0x000000},
    {8, QPalette::Active, QPalette::WindowText, 0x000000},
    {9, QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},
    {13, QPalette::Active, QPalette::Highlight, 0x6A240A},
    {14, QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},
    {15, QPalette::Active, QPalette::Button, 0xC8D0D4},
    {16, QPalette::Active, QPalette::Dark, 0x808080},
    {17, QPalette::Disabled, QPalette::Text, 0x808080},
    {18, QPalette::Active, QPalette::ButtonText, 0x000000},
    {20, QPalette::Active, QPalette::Light, 0xFFFFFF},
    {21, QPalette::Active, QPalette::Shadow, 0x404040},
    {22, QPalette::Active, QPalette::Midlight, 0xC8D0D4},
    {23, QPalette::Active, QPalette::ToolTipText, 0x000000},
    {24, QPalette::Active, QPalette::ToolTipBase, 0xE1FFFF},
};

std::optional<Entry> entryFor(unsigned index)
{
    for (const Entry &entry : kEntries) {
        if (entry.index == index)
            return entry;
    }
    return std::nullopt;
=======
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
>>>>>>> main
}

} // namespace

<<<<<<< HEAD
std::uint32_t resolve(std::uint32_t color)
{
    if (!isSystemColor(color))
        return color & 0xFFFFFF;
    const std::optional<Entry> entry = entryFor(color & 0xFF);
    if (!entry)
        return 0;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return entry->classic;
    return fromQColor(QGuiApplication::palette().color(entry->group, entry->role));
}

QColor toQColor(std::uint32_t color)
{
    const std::uint32_t bgr = resolve(color);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace syscolors
=======
QRgb toRgb(TColor color, const QPalette &palette)
{
    if (isSystemColor(color))
        return palette.color(QPalette::Active, roleOf(int(color & 0xFF))).rgb();
    return qRgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace colors
>>>>>>> main
