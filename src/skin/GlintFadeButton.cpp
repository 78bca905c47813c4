#include "skin/GlintFadeButton.h"

#include "platform/Colors.h"

#include <QPainter>

TGlintFadeButton::TGlintFadeButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_color(colors::fromBgr(0xFF8000))
    , m_borderColor(colors::fromBgr(colors::clSilver))
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void TGlintFadeButton::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void TGlintFadeButton::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

void TGlintFadeButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    painter.setPen(m_borderColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}
