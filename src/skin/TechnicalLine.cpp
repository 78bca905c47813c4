#include "skin/TechnicalLine.h"

#include "platform/SystemColors.h"

#include <QPainter>

TTechnicalLine::TTechnicalLine(QWidget *parent)
    : QWidget(parent)
    , m_fillColor(colors::clNone)
    , m_shadowColor(colors::clBtnShadow)
    , m_color(colors::clBtnFace)
{
    m_look.signSize = 40;
    m_look.shadowDepth = 6;
    resize(130, 45);
    // A drawing only: presses fall through to whatever lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TTechnicalLine::changed()
{
    update();
}

void TTechnicalLine::setLineType(TTechnicalLineTypes type)
{
    if (type == m_look.lineType)
        return;
    m_look.lineType = type;
    if (m_arrowed) {
        m_look.startSign = techline::pointedArrow(m_look.startSign, techline::startDirection(type));
        m_look.endSign = techline::pointedArrow(m_look.endSign, techline::endDirection(type));
    }
    changed();
}

void TTechnicalLine::setLineStartSign(TLineEndings sign)
{
    m_look.startSign = sign;
    if (m_look.signPlaces == spStart || m_look.signPlaces == spBoth)
        changed();
}

void TTechnicalLine::setLineEndingsign(TLineEndings sign)
{
    m_look.endSign = sign;
    if (m_look.signPlaces == spEnd || m_look.signPlaces == spBoth)
        changed();
}

void TTechnicalLine::setSignPlaces(TSignPlaces places)
{
    if (places == m_look.signPlaces)
        return;
    m_look.signPlaces = places;
    changed();
}

void TTechnicalLine::setSignSize(int size)
{
    if (size == m_look.signSize)
        return;
    m_look.signSize = size;
    changed();
}

void TTechnicalLine::setLineSettings(std::uint32_t color, int width, Qt::PenStyle style)
{
    m_lineColor = color;
    m_look.penWidth = std::max(1, width);
    m_penStyle = style;
    changed();
}

void TTechnicalLine::setFillColor(std::uint32_t color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    m_look.filled = color != colors::clNone;
    changed();
}

void TTechnicalLine::setShadowVisible(bool visible)
{
    if (visible == m_look.shadowVisible)
        return;
    m_look.shadowVisible = visible;
    changed();
}

void TTechnicalLine::setShadowDepth(int depth)
{
    if (depth == m_look.shadowDepth)
        return;
    m_look.shadowDepth = depth;
    changed();
}

void TTechnicalLine::setShadowColor(std::uint32_t color)
{
    if (color == m_shadowColor)
        return;
    m_shadowColor = color;
    changed();
}

void TTechnicalLine::setArrowed(bool arrowed)
{
    m_arrowed = arrowed;
}

void TTechnicalLine::setTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    changed();
}

void TTechnicalLine::setColor(std::uint32_t color)
{
    if (color == m_color)
        return;
    m_color = color;
    changed();
}

void TTechnicalLine::setBevel(const TFrameBevel &bevel)
{
    m_bevel = bevel;
    changed();
}

std::vector<techline::Primitive> TTechnicalLine::primitives() const
{
    const int bevel = std::max(0, m_bevel.Width);
    return techline::primitives(m_look, rect().adjusted(bevel, bevel, -bevel, -bevel));
}

namespace {

// A box given by two corners, as Qt's rectangle (the far corner outside).
QRect boxOf(const techline::Primitive &p)
{
    return QRect(p.boxFrom, p.boxTo).normalized().adjusted(0, 0, -1, -1);
}

} // namespace

void TTechnicalLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    if (!m_transparent)
        painter.fillRect(rect(), QColor(colors::toRgb(m_color, pal)));
    if (m_bevel.Width > 0) {
        QPen frame(QColor(colors::toRgb(colors::clBtnShadow, pal)));
        frame.setWidth(m_bevel.Width);
        painter.setPen(frame);
        painter.drawRect(rect().adjusted(m_bevel.Width / 2, m_bevel.Width / 2,
            -(m_bevel.Width + 1) / 2, -(m_bevel.Width + 1) / 2));
    }
    painter.setRenderHint(QPainter::Antialiasing);

    QPen linePen(QColor(colors::toRgb(m_lineColor, pal)), m_look.penWidth, m_penStyle, Qt::RoundCap, Qt::RoundJoin);
    QPen shadowPen = linePen;
    shadowPen.setColor(QColor(colors::toRgb(m_shadowColor, pal)));
    const QColor fill(colors::toRgb(m_fillColor, pal));
    const QColor shadowFill(colors::toRgb(m_shadowColor, pal));

    for (const techline::Primitive &p : primitives()) {
        painter.setPen(p.shadow ? shadowPen : linePen);
        painter.setBrush(p.filled ? (p.shadow ? shadowFill : fill) : QColor(Qt::transparent));
        switch (p.kind) {
        case techline::Primitive::Line:
            painter.drawLine(p.points[0], p.points[1]);
            break;
        case techline::Primitive::Polyline:
            painter.drawPolyline(p.points.data(), int(p.points.size()));
            break;
        case techline::Primitive::Polygon:
            painter.drawPolygon(p.points.data(), int(p.points.size()));
            break;
        case techline::Primitive::Arc:
        case techline::Primitive::Pie: {
            const QRect box = boxOf(p);
            const techline::ArcAngles angles = techline::arcAngles(box, p.rayFrom, p.rayTo);
            if (p.kind == techline::Primitive::Arc)
                painter.drawArc(box, angles.start, angles.span);
            else
                painter.drawPie(box, angles.start, angles.span);
            break;
        }
        case techline::Primitive::Ellipse:
            painter.drawEllipse(boxOf(p));
            break;
        case techline::Primitive::Rectangle:
            painter.drawRect(boxOf(p));
            break;
        case techline::Primitive::RoundRect:
            painter.drawRoundedRect(boxOf(p), p.corner.x() / 2.0, p.corner.y() / 2.0);
            break;
        }
    }
}
