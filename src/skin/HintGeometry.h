#pragma once
// Shapes of the hint window: from the measured text to the window's size,
// its region, and where each style draws its text, outline and leader line.
// Needs no display.
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRegion>

#include <cstdint>
#include <vector>

enum THintStyle : std::uint8_t { hsFukidashi = 0, hsRoundRect = 1, hsLineString = 2, hsOwnerDraw = 3 };

namespace hintgeo {

// How far above the usual place (below the pointer) a hint appears.
constexpr int kLift = 8;

struct HintShape
{
    // The activation rectangle after the style's enlargement, at (0, 0).
    QRect rect;
    // The window: 4 pixels taller than the rectangle.
    QSize window;
    // The window's shape; empty means unshaped.
    QRegion region;
    // hsFukidashi: the painted balloon outline.
    QPolygon balloon;
};

// The rectangle the hint machinery gives a text of this measured size.
QRect activationRect(QSize text);
HintShape shapeFor(THintStyle style, QSize text);

struct TextPass
{
    QPoint offset;
    bool shadow;
};
// Where the text is drawn, shadow passes first.
std::vector<TextPass> textPasses(THintStyle style, bool shadowVisible);
// hsLineString: the leader line from next to the pointer down and under the
// text, as a polyline (its last point is not drawn).
QPolygon leaderLine(const QRect &rect);

} // namespace hintgeo
