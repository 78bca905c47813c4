#pragma once
<<<<<<< HEAD
// System colours: codes 0x80000000 + index that stand for a colour of the
// desktop's scheme and are resolved to RGB only when something is drawn.
//
// Every skinned control resolves colours here, so all of them follow the
// application palette (a palette change repaints them in the new scheme).
// Without a GUI application the classic scheme's values stand in.
#include <QColor>
#include <cstdint>

namespace syscolors {

constexpr std::uint32_t kSystemColorFlag = 0x80000000;
// The colour in which nothing is drawn.
constexpr std::uint32_t clNone = 0x1FFFFFFF;

constexpr std::uint32_t clScrollBar = kSystemColorFlag | 0;
constexpr std::uint32_t clBackground = kSystemColorFlag | 1;
constexpr std::uint32_t clActiveCaption = kSystemColorFlag | 2;
constexpr std::uint32_t clInactiveCaption = kSystemColorFlag | 3;
constexpr std::uint32_t clMenu = kSystemColorFlag | 4;
constexpr std::uint32_t clWindow = kSystemColorFlag | 5;
constexpr std::uint32_t clWindowFrame = kSystemColorFlag | 6;
constexpr std::uint32_t clMenuText = kSystemColorFlag | 7;
constexpr std::uint32_t clWindowText = kSystemColorFlag | 8;
constexpr std::uint32_t clCaptionText = kSystemColorFlag | 9;
constexpr std::uint32_t clHighlight = kSystemColorFlag | 13;
constexpr std::uint32_t clHighlightText = kSystemColorFlag | 14;
constexpr std::uint32_t clBtnFace = kSystemColorFlag | 15;
constexpr std::uint32_t clBtnShadow = kSystemColorFlag | 16;
constexpr std::uint32_t clGrayText = kSystemColorFlag | 17;
constexpr std::uint32_t clBtnText = kSystemColorFlag | 18;
constexpr std::uint32_t clBtnHighlight = kSystemColorFlag | 20;
constexpr std::uint32_t cl3DDkShadow = kSystemColorFlag | 21;
constexpr std::uint32_t cl3DLight = kSystemColorFlag | 22;
constexpr std::uint32_t clInfoText = kSystemColorFlag | 23;
constexpr std::uint32_t clInfoBk = kSystemColorFlag | 24;

constexpr bool isSystemColor(std::uint32_t color)
{
    return (color & kSystemColorFlag) != 0;
}

// The 0x00BBGGRR value a colour stands for now; plain values lose any bits
// above the three channels.
std::uint32_t resolve(std::uint32_t color);

// The resolved colour as a QColor.
QColor toQColor(std::uint32_t color);

// A QColor as a plain 0x00BBGGRR value.
inline std::uint32_t fromQColor(const QColor &color)
{
    return std::uint32_t(color.red()) | std::uint32_t(color.green()) << 8
        | std::uint32_t(color.blue()) << 16;
}

} // namespace syscolors
=======
// Colour values that may name a system colour.
//
// A colour is 0x00BBGGRR, or 0x80000000 + index naming one of the desktop's
// own colours (button face, highlight, ...), which is looked up in the
// current palette only when something is drawn, so a theme change shows at
// the next paint. clNone means no colour at all.
#include <QPalette>
#include <QRgb>

#include <cstdint>

namespace colors {

using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clWindowFrame = kSystemColorFlag + 6;
constexpr TColor clWindowText = kSystemColorFlag + 8;
constexpr TColor clHighlight = kSystemColorFlag + 13;
constexpr TColor clBtnFace = kSystemColorFlag + 15;
constexpr TColor clBtnShadow = kSystemColorFlag + 16;
constexpr TColor clBtnText = kSystemColorFlag + 18;
constexpr TColor clBtnHighlight = kSystemColorFlag + 20;

constexpr bool isSystemColor(TColor color) { return (color & kSystemColorFlag) != 0; }

// The colour as an opaque QRgb: a system colour from the palette's active
// group (an unknown index gives the window colour), any other from its
// three bytes.
QRgb toRgb(TColor color, const QPalette &palette);

} // namespace colors
>>>>>>> main
