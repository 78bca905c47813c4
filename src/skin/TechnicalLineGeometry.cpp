#include "skin/TechnicalLineGeometry.h"

#include <cmath>
#include <numbers>

namespace techline {

namespace {

using P = QPoint;

// Collects primitives relative to the inner rectangle's origin.
class Builder
{
public:
    // The shadow depth, or 0 without a shadow.
    const int D;

    Builder(const LineLook &look, QPoint origin)
        : D(look.shadowVisible ? look.shadowDepth : 0)
        , m_look(look)
        , m_origin(origin)
    {
    }

    void line(P from, P to)
    {
        if (m_look.shadowVisible)
            add(Primitive::Line, true, false, {from + P(D, D), to + P(D, D)});
        add(Primitive::Line, false, false, {from, to});
    }

    void arc(P boxFrom, P boxTo, P rayFrom, P rayTo)
    {
        const P d(D, D);
        if (m_look.shadowVisible)
            m_list.push_back(arcPrimitive(true, boxFrom + d, boxTo + d, rayFrom + d, rayTo + d));
        m_list.push_back(arcPrimitive(false, boxFrom, boxTo, rayFrom, rayTo));
    }

    void sign(TLineEndings kind, P topLeft, P bottomRight)
    {
        if (kind == leNothing)
            return;
        if (m_look.shadowVisible) {
            shape(kind, true, topLeft + P(D, D), bottomRight);
            shape(kind, false, topLeft, bottomRight - P(D, D));
        } else {
            shape(kind, false, topLeft, bottomRight);
        }
    }

    std::vector<Primitive> take() { return std::move(m_list); }

private:
    void add(Primitive::Kind kind, bool shadow, bool filled, std::vector<P> points)
    {
        Primitive p;
        p.kind = kind;
        p.shadow = shadow;
        p.filled = filled;
        for (P &point : points)
            point += m_origin;
        p.points = std::move(points);
        m_list.push_back(std::move(p));
    }

    Primitive arcPrimitive(bool shadow, P boxFrom, P boxTo, P rayFrom, P rayTo) const
    {
        Primitive p;
        p.kind = Primitive::Arc;
        p.shadow = shadow;
        p.boxFrom = boxFrom + m_origin;
        p.boxTo = boxTo + m_origin;
        p.rayFrom = rayFrom + m_origin;
        p.rayTo = rayTo + m_origin;
        return p;
    }

    void boxed(Primitive::Kind kind, bool shadow, P from, P to, P rayFrom = {}, P rayTo = {}, P corner = {})
    {
        Primitive p;
        p.kind = kind;
        p.shadow = shadow;
        p.filled = m_look.filled;
        p.boxFrom = from + m_origin;
        p.boxTo = to + m_origin;
        if (kind == Primitive::Pie) {
            p.rayFrom = rayFrom + m_origin;
            p.rayTo = rayTo + m_origin;
        }
        p.corner = corner;
        m_list.push_back(std::move(p));
    }

    void shape(TLineEndings kind, bool shadow, P topLeft, P bottomRight)
    {
        int L = topLeft.x(), T = topLeft.y(), R = bottomRight.x(), B = bottomRight.y();
        if (m_look.penWidth != 1) {
            const int shrink = m_look.penWidth / 2;
            L += shrink;
            T += shrink;
            R -= shrink;
            B -= shrink;
        }
        const int mx = L + (R - L) / 2, my = T + (B - T) / 2;
        const int qx = (R - L) / 4, qy = (B - T) / 4;
        const bool fill = m_look.filled;
        switch (kind) {
        case leNothing: break;
        case leOpenArrowUp: add(Primitive::Polyline, shadow, false, {P(L, B), P(mx, T), P(R, B)}); break;
        case leOpenArrowDown: add(Primitive::Polyline, shadow, false, {P(L, T), P(mx, B), P(R, T)}); break;
        case leOpenArrowRight: add(Primitive::Polyline, shadow, false, {P(L, T), P(R, my), P(L, B)}); break;
        case leOpenArrowLeft: add(Primitive::Polyline, shadow, false, {P(R, T), P(L, my), P(R, B)}); break;
        case leClosedArrowUp: add(Primitive::Polygon, shadow, fill, {P(L, B), P(mx, T), P(R, B)}); break;
        case leClosedArrowDown: add(Primitive::Polygon, shadow, fill, {P(L, T), P(mx, B), P(R, T)}); break;
        case leClosedArrowLeft: add(Primitive::Polygon, shadow, fill, {P(R, T), P(L, my), P(R, B)}); break;
        case leClosedArrowRight: add(Primitive::Polygon, shadow, fill, {P(L, T), P(R, my), P(L, B)}); break;
        case leDiamond: add(Primitive::Polygon, shadow, fill, {P(mx, T), P(R, my), P(mx, B), P(L, my)}); break;
        case leCircle: boxed(Primitive::Ellipse, shadow, P(L, T), P(R, B)); break;
        case leRectangle: boxed(Primitive::Rectangle, shadow, P(L, T), P(R, B)); break;
        case leRoundRect: boxed(Primitive::RoundRect, shadow, P(L, T), P(R, B), {}, {}, P(qx, qy)); break;
        case leParallelogramm:
            add(Primitive::Polygon, shadow, fill, {P(L + qx, T), P(R, T), P(R - qx, B), P(L, B)});
            break;
        case leComb:
            add(Primitive::Polygon, shadow, fill,
                {P(mx, T), P(R, T + qy), P(R, B - qy), P(mx, B), P(L, B - qy), P(L, T + qy)});
            break;
        case leHalfCircleLeft: boxed(Primitive::Pie, shadow, P(L, T), P(R, B), P(mx, T), P(mx, B)); break;
        case leHalfCircleRight: boxed(Primitive::Pie, shadow, P(L, T), P(R, B), P(mx, B), P(mx, T)); break;
        case leHalfCircleUp: boxed(Primitive::Pie, shadow, P(L, T), P(R, B), P(L, my), P(R, my)); break;
        case leHalfCircleDown: boxed(Primitive::Pie, shadow, P(L, T), P(R, B), P(R, my), P(L, my)); break;
        }
    }

    const LineLook &m_look;
    QPoint m_origin;
    std::vector<Primitive> m_list;
};

} // namespace

QRect innerRect(QRect client, int penWidth)
{
    const int inset = penWidth / 2 + 1;
    return client.adjusted(inset, inset, -inset, -inset);
}

std::vector<Primitive> primitives(const LineLook &look, QRect client)
{
    const QRect inner = innerRect(client, look.penWidth);
    Builder b(look, inner.topLeft());
    const int W = inner.width(), H = inner.height();
    const int D = b.D, S = look.signSize, K = S / 2, M = S + D, Y = M / 2, Z = D / 2;
    const int W2 = W / 2, H2 = H / 2, e = look.penWidth / 2;
    const TLineEndings start = look.startSign, end = look.endSign;

    switch (look.lineType) {
    case lsStraightLeftToRight:
        switch (look.signPlaces) {
        case spEnd: b.line(P(e, H2 - Z), P(W - M, H2 - Z)); b.sign(end, P(W - M, H2 - Y), P(W, H2 + Y)); break;
        case spStart: b.sign(start, P(0, H2 - Y), P(M, H2 + Y)); b.line(P(S, H2 - Z), P(W - D - e, H2 - Z)); break;
        case spBoth:
            b.sign(start, P(0, H2 - Y), P(M, H2 + Y));
            b.line(P(S, H2 - Z), P(W - M, H2 - Z));
            b.sign(end, P(W - M, H2 - Y), P(W, H2 + Y));
            break;
        case spNoWhere: b.line(P(e, H2), P(W - D - e, H2)); break;
        }
        break;
    case lsStraightTopToBottom:
        switch (look.signPlaces) {
        case spEnd: b.line(P(W2 - Z, e), P(W2 - Z, H - M)); b.sign(end, P(W2 - Y, H - M), P(W2 + Y, H)); break;
        case spStart: b.sign(start, P(W2 - Y, 0), P(W2 + Y, M)); b.line(P(W2 - Z, S), P(W2 - Z, H - D - e)); break;
        case spBoth:
            b.sign(start, P(W2 - Y, 0), P(W2 + Y, M));
            b.line(P(W2 - Z, S), P(W2 - Z, H - M));
            b.sign(end, P(W2 - Y, H - M), P(W2 + Y, H));
            break;
        case spNoWhere: b.line(P(W2, e), P(W2, H - D - e)); break;
        }
        break;
    case lsTopLeftToBottomRight:
        switch (look.signPlaces) {
        case spEnd: b.line(P(0, 0), P(W - M, H - K - D)); b.sign(end, P(W - M, H - M), P(W, H)); break;
        case spStart: b.sign(start, P(0, 0), P(M, M)); b.line(P(S, K), P(W - D, H - D)); break;
        case spBoth:
            b.sign(start, P(0, 0), P(M, M));
            b.line(P(S, K), P(W - M, H - K - D));
            b.sign(end, P(W - M, H - M), P(W, H));
            break;
        case spNoWhere: b.line(P(0, 0), P(W - D, H - D)); break;
        }
        break;
    case lsBottomLeftToTopRight:
        switch (look.signPlaces) {
        case spEnd: b.line(P(0, H), P(W - M, K)); b.sign(end, P(W - M, 0), P(W, M)); break;
        case spStart: b.sign(start, P(0, H - M), P(M, H)); b.line(P(S, H - K - D), P(W - D, 0)); break;
        case spBoth:
            b.sign(start, P(0, H - M), P(M, H));
            b.line(P(S, H - K - D), P(W - M, K));
            b.sign(end, P(W - M, 0), P(W, M));
            break;
        case spNoWhere: b.line(P(0, H - D), P(W - D, 0)); break;
        }
        break;
    case lsTopLeftEdge:
        switch (look.signPlaces) {
        case spEnd: b.line(P(0, H - D), P(0, K)); b.line(P(0, K), P(W - M, K)); b.sign(end, P(W - M, 0), P(W, M)); break;
        case spStart:
            b.line(P(K, H - M), P(K, 0));
            b.line(P(K, 0), P(W - D, 0));
            b.sign(start, P(0, H - M), P(M, H));
            break;
        case spBoth:
            b.line(P(K, H - M), P(K, K));
            b.line(P(K, K), P(W - M, K));
            b.sign(start, P(0, H - M), P(M, H));
            b.sign(end, P(W - M, 0), P(W, M));
            break;
        case spNoWhere: b.line(P(0, H - D), P(0, 0)); b.line(P(0, 0), P(W - D, 0)); break;
        }
        break;
    case lsBottomLeftEdge:
        switch (look.signPlaces) {
        case spEnd:
            b.sign(end, P(0, 0), P(M, M));
            b.line(P(K, S), P(K, H - D));
            b.line(P(K, H - D), P(W - D, H - D));
            break;
        case spStart:
            b.line(P(0, 0), P(0, H - K - D));
            b.line(P(0, H - K - D), P(W - M, H - K - D));
            b.sign(start, P(W - M, H - M), P(W, H));
            break;
        case spBoth:
            b.sign(end, P(0, 0), P(M, M));
            b.line(P(K, S), P(K, H - K - D));
            b.line(P(K, H - K - D), P(W - M, H - K - D));
            b.sign(start, P(W - M, H - M), P(W, H));
            break;
        case spNoWhere: b.line(P(0, 0), P(0, H - D)); b.line(P(0, H - D), P(W - D, H - D)); break;
        }
        break;
    case lsTopRightEdge:
        switch (look.signPlaces) {
        case spEnd:
            b.line(P(0, 0), P(W - K - D, 0));
            b.line(P(W - K - D, 0), P(W - K - D, H - M));
            b.sign(end, P(W - M, H - M), P(W, H));
            break;
        case spStart:
            b.sign(start, P(0, 0), P(M, M));
            b.line(P(S, K), P(W - D, K));
            b.line(P(W - D, K), P(W - D, H - D));
            break;
        case spBoth:
            b.sign(start, P(0, 0), P(M, M));
            b.line(P(S, K), P(W - K - D, K));
            b.line(P(W - K - D, K), P(W - K - D, H - M));
            b.sign(end, P(W - M, H - M), P(W, H));
            break;
        case spNoWhere: b.line(P(0, 0), P(W - D, 0)); b.line(P(W - D, 0), P(W - D, H - D)); break;
        }
        break;
    case lsBottomRightEdge:
        switch (look.signPlaces) {
        case spEnd:
            b.sign(end, P(0, H - M), P(M, H));
            b.line(P(W - D, 0), P(W - D, H - K - D));
            b.line(P(W - D, H - K - D), P(S, H - K - D));
            break;
        case spStart:
            b.sign(start, P(W - M, 0), P(W, M));
            b.line(P(W - K - D, S), P(W - K - D, H - D));
            b.line(P(W - K - D, H - D), P(0, H - D));
            break;
        case spBoth:
            b.sign(end, P(0, H - M), P(M, H));
            b.sign(start, P(W - M, 0), P(W, M));
            b.line(P(W - K - D, S), P(W - K - D, H - K - D));
            b.line(P(W - K - D, H - K - D), P(S, H - K - D));
            break;
        case spNoWhere: b.line(P(W - D, 0), P(W - D, H - D)); b.line(P(W - D, H - D), P(0, H - D)); break;
        }
        break;
    case lsTopLeftCurve:
        switch (look.signPlaces) {
        case spEnd:
            b.arc(P(0, K), P(2 * (W - M), 2 * H - K), P(W - M, K), P(0, H - D));
            b.sign(end, P(W - M, 0), P(W, M));
            break;
        case spStart:
            b.arc(P(K, 0), P(2 * W - K, 2 * (H - M)), P(W - D, 0), P(K, H - M));
            b.sign(start, P(0, H - M), P(M, H));
            break;
        case spBoth:
            b.arc(P(K, K), P(2 * W - 2 * S - K, 2 * H - 2 * S - K), P(W - M, K), P(K, H - M));
            b.sign(start, P(0, H - M), P(M, H));
            b.sign(end, P(W - M, 0), P(W, M));
            break;
        case spNoWhere: b.arc(P(0, 0), P(2 * W, 2 * H), P(W - D, 0), P(0, H - D)); break;
        }
        break;
    case lsBottomLeftCurve:
        switch (look.signPlaces) {
        case spEnd:
            b.sign(end, P(0, 0), P(M, M));
            b.arc(P(K, 2 * S + D - H), P(2 * W - S + K, H - D), P(K, S), P(W - D, H));
            break;
        case spStart:
            b.arc(P(0, K + D - H), P(2 * (W - M), H - K - D), P(0, 0), P(W - M, H - K - D));
            b.sign(start, P(W - M, H - M), P(W, H));
            break;
        case spBoth:
            b.sign(end, P(0, 0), P(M, M));
            b.arc(P(K, 2 * S + K + D - H), P(2 * W - 2 * S - K - 2 * D, H - K - D), P(K, S), P(W - M, H - K - D));
            b.sign(start, P(W - M, H - M), P(W, H));
            break;
        case spNoWhere: b.arc(P(D, H - D), P(2 * W - D, D - H), P(0, 0), P(W - D, H - D)); break;
        }
        break;
    case lsTopRightCurve:
        switch (look.signPlaces) {
        case spEnd:
            b.arc(P(K + D - W, 0), P(W - K - D, 2 * (H - M)), P(W - K - D, H - M), P(0, 0));
            b.sign(end, P(W - M, H - M), P(W, H));
            break;
        case spStart:
            b.sign(start, P(0, 0), P(M, M));
            b.arc(P(2 * S + D - W, K), P(W - D, 2 * H - S + K - D), P(W, H - D), P(S, K));
            break;
        case spBoth:
            b.sign(start, P(0, 0), P(M, M));
            b.arc(P(2 * S + K + 3 * D - W, K), P(W - K - D, 2 * H - 2 * S - K - 2 * D), P(W - K - D, H - M), P(S, K));
            b.sign(end, P(W - M, H - M), P(W, H));
            break;
        case spNoWhere: b.arc(P(D - W, 0), P(W - D, 2 * H), P(W - D, H - D), P(0, 0)); break;
        }
        break;
    case lsBottomRightCurve:
        switch (look.signPlaces) {
        case spEnd:
            b.sign(end, P(0, H - M), P(M, H));
            b.arc(P(2 * S + D - W, K - H), P(W - D, H - K - D), P(S, H - K), P(W, 0));
            break;
        case spStart:
            b.sign(start, P(W - M, 0), P(W, M));
            b.arc(P(K + D - W, 2 * S + D - H), P(W - K - D, H - D), P(0, H - D), P(W - K - D, S));
            break;
        case spBoth:
            b.sign(end, P(0, H - M), P(M, H));
            b.sign(start, P(W - M, 0), P(W, M));
            b.arc(P(2 * S + K + D - W, 2 * S + K + D - H), P(W - K - D, H - K - D), P(S, H - K - D), P(W - K - D, S));
            break;
        case spNoWhere: b.arc(P(D - W, D - H), P(W - D, H - D), P(0, H - D), P(W, 0)); break;
        }
        break;
    }
    return b.take();
}

Direction startDirection(TTechnicalLineTypes type)
{
    switch (type) {
    case lsStraightTopToBottom: return Direction::Up;
    case lsTopLeftEdge: case lsTopLeftCurve: return Direction::Down;
    case lsBottomLeftEdge: case lsBottomLeftCurve: return Direction::Right;
    case lsBottomRightEdge: case lsBottomRightCurve: return Direction::Up;
    default: return Direction::Left;
    }
}

Direction endDirection(TTechnicalLineTypes type)
{
    switch (type) {
    case lsStraightTopToBottom: return Direction::Down;
    case lsBottomLeftEdge: case lsBottomLeftCurve: return Direction::Up;
    case lsTopRightEdge: case lsTopRightCurve: return Direction::Down;
    case lsBottomRightEdge: case lsBottomRightCurve: return Direction::Left;
    default: return Direction::Right;
    }
}

TLineEndings pointedArrow(TLineEndings sign, Direction direction)
{
    const bool open = sign >= leOpenArrowUp && sign <= leOpenArrowLeft;
    const bool closed = sign >= leClosedArrowUp && sign <= leClosedArrowRight;
    if (!open && !closed)
        return sign;
    switch (direction) {
    case Direction::Up: return open ? leOpenArrowUp : leClosedArrowUp;
    case Direction::Down: return open ? leOpenArrowDown : leClosedArrowDown;
    case Direction::Left: return open ? leOpenArrowLeft : leClosedArrowLeft;
    case Direction::Right: return open ? leOpenArrowRight : leClosedArrowRight;
    }
    return sign;
}

ArcAngles arcAngles(QRectF box, QPointF rayFrom, QPointF rayTo)
{
    box = box.normalized();
    const QPointF c = box.center();
    const double a = std::max(box.width() / 2, 1e-9), b = std::max(box.height() / 2, 1e-9);
    // The parameter t of the point (c.x + a cos t, c.y - b sin t) on a ray.
    auto parameter = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / b, (p.x() - c.x()) / a);
    };
    const double from = parameter(rayFrom);
    double span = parameter(rayTo) - from;
    while (span <= 0)
        span += 2 * std::numbers::pi;
    auto sixteenths = [](double radians) { return int(std::lround(radians * 180 / std::numbers::pi * 16)); };
    return {sixteenths(from), sixteenths(span)};
}

} // namespace techline
