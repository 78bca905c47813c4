#pragma once
// Colours written as 0x00BBGGRR values (red in the low byte), as the window's
// layout gives them, and the named ones it uses.
#include <QColor>
#include <cstdint>

namespace colors {

constexpr QColor fromBgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

constexpr std::uint32_t clBlack = 0x000000;
constexpr std::uint32_t clNavy = 0x800000;
constexpr std::uint32_t clGreen = 0x008000;
constexpr std::uint32_t clSilver = 0xC0C0C0;
constexpr std::uint32_t clLime = 0x00FF00;
constexpr std::uint32_t clBlue = 0xFF0000;
constexpr std::uint32_t clYellow = 0x00FFFF;
constexpr std::uint32_t clWhite = 0xFFFFFF;
constexpr std::uint32_t clFuchsia = 0xFF00FF;
constexpr std::uint32_t clRed = 0x0000FF;

} // namespace colors
