#pragma once
// Colour values that may name a system colour.
//
// A colour is 0x00BBGGRR, or 0x80000000 + index naming one of the desktop's
// own colours (button face, highlight, ...), which is looked up in the
// current palette only when something is drawn, so a theme change shows at
// the next paint. clNone means no colour at all. Every skinned control
// resolves its colours here.
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

// The 0x00BBGGRR value a colour stands for now: a system colour from the
// application palette (without a GUI application, from the classic scheme),
// any other with the bits above its three bytes dropped.
TColor resolve(TColor color);

// A QColor as a 0x00BBGGRR value.
TColor fromQColor(const QColor &color);

} // namespace colors
