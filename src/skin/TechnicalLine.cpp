#include "skin/TechnicalLine.h"

#include "platform/Colors.h"

#include <QPainter>
#include <QPainterPath>

TTechnicalLine::TTechnicalLine(QWidget *parent)
    : QWidget(parent)
    , m_lineColor(colors::fromBgr(0x404080))
    , m_fillColor(colors::fromBgr(colors::clBlue))
{
    // A drawing only: presses fall through to whatever lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TTechnicalLine::setLineType(TTechnicalLineTypes type)
{
    if (m_lineType == type)
        return;
    m_lineType = type;
    update();
}

void TTechnicalLine::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    const int m = m_signSize;
    const int half = m / 2;

    QPainterPath line;
    QRect sign;
    switch (m_lineType) {
    case lsStraightLeftToRight:
        line.moveTo(0, h / 2);
        line.lineTo(w - m, h / 2);
        sign = QRect(w - m, h / 2 - half, m, m);
        break;
    case lsTopLeftCurve:
        line.moveTo(0, h);
        line.quadTo(0, half, w - m, half);
        sign = QRect(w - m, 0, m, m);
        break;
    case lsTopRightCurve:
        line.moveTo(0, 0);
        line.quadTo(w - m, 0, w - m, h - half);
        sign = QRect(w - m, h - m, m, m);
        break;
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_lineColor, 2));
    painter.drawPath(line);
    painter.setBrush(m_fillColor);
    const QPolygon arrow({sign.topLeft(), QPoint(sign.right(), sign.center().y()), sign.bottomLeft()});
    painter.drawPolygon(arrow);
}
