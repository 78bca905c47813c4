#include "controls/Shape.h"

#include <QPainter>

TShape::TShape(const QColor &brush, int penWidth, QWidget *parent)
    : QWidget(parent)
    , m_brush(brush)
    , m_penWidth(penWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_brush);
    // The pen runs inside the rectangle, as a framed shape draws it.
    const int inset = m_penWidth / 2;
    QPen pen(Qt::black, m_penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(inset, inset, -m_penWidth + inset, -m_penWidth + inset));
}
