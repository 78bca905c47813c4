#pragma once
// What a connector line draws, as a list of primitives computed from its
// properties and size with integer arithmetic: lines, arcs and sign shapes,
// each shadow before the primitive it belongs to. Needs no display.
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

enum TTechnicalLineTypes : std::uint8_t {
    lsStraightLeftToRight,
    lsStraightTopToBottom,
    lsTopLeftToBottomRight,
    lsBottomLeftToTopRight,
    lsTopLeftEdge,
    lsBottomLeftEdge,
    lsTopRightEdge,
    lsBottomRightEdge,
    lsTopLeftCurve,
    lsBottomLeftCurve,
    lsTopRightCurve,
    lsBottomRightCurve,
};

enum TLineEndings : std::uint8_t {
    leNothing,
    leOpenArrowUp,
    leOpenArrowDown,
    leOpenArrowRight,
    leOpenArrowLeft,
    leClosedArrowUp,
    leClosedArrowDown,
    leClosedArrowLeft,
    leClosedArrowRight,
    leDiamond,
    leCircle,
    leRectangle,
    leRoundRect,
    leParallelogramm,
    leComb,
    leHalfCircleLeft,
    leHalfCircleRight,
    leHalfCircleUp,
    leHalfCircleDown,
};

enum TSignPlaces : std::uint8_t { spEnd, spStart, spBoth, spNoWhere };

namespace techline {

struct LineLook
{
    TTechnicalLineTypes lineType = lsStraightLeftToRight;
    TLineEndings startSign = leNothing;
    TLineEndings endSign = leClosedArrowRight;
    TSignPlaces signPlaces = spEnd;
    int signSize = 40;
    int penWidth = 1;
    bool filled = false; // FillColor is not clNone
    bool shadowVisible = false;
    int shadowDepth = 6;
};

struct Primitive
{
    enum Kind { Line, Arc, Polyline, Polygon, Ellipse, Rectangle, RoundRect, Pie };
    Kind kind = Line;
    // Drawn with the shadow pen (and the shadow colour as fill).
    bool shadow = false;
    bool filled = false;
    // Line: from, to. Polyline and polygon: the points.
    std::vector<QPoint> points;
    // Arc, pie, ellipse, rectangles: the box corners as given (may be reversed).
    QPoint boxFrom;
    QPoint boxTo;
    // Arc and pie: points on the rays that start and end the curve.
    QPoint rayFrom;
    QPoint rayTo;
    // RoundRect: the corner ellipse.
    QPoint corner;

    bool operator==(const Primitive &) const = default;
};

// The inner rectangle every coordinate is relative to.
QRect innerRect(QRect client, int penWidth);
// The primitives in control coordinates, in drawing order.
std::vector<Primitive> primitives(const LineLook &look, QRect client);

enum class Direction { Up, Down, Left, Right };
// Where a start and an end arrow of a line type point.
Direction startDirection(TTechnicalLineTypes type);
Direction endDirection(TTechnicalLineTypes type);
// An arrow sign turned to a direction (open stays open, closed closed);
// any other sign unchanged.
TLineEndings pointedArrow(TLineEndings sign, Direction direction);

// Qt's start and span angles (1/16 degree, counterclockwise) of the arc
// running counterclockwise from the ray through rayFrom to the ray through
// rayTo on the ellipse inscribed in the box.
struct ArcAngles
{
    int start;
    int span;
};
ArcAngles arcAngles(QRectF box, QPointF rayFrom, QPointF rayTo);

} // namespace techline
