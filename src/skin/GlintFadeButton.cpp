#include "skin/GlintFadeButton.h"

#include "platform/Colors.h"
#include "platform/SystemColors.h"
#include "skin/FadeStep.h"

#include <QPainter>

TGlintFadeButton::TGlintFadeButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_destColor(colors::clLime)
    , m_captionOverColor(colors::clLime)
    , m_borderColor(colors::clSilver)
    , m_borderDestColor(colors::clWhite)
    , m_currentBorderColor(colors::clSilver)
    , m_timer(new QTimer(this))
    , m_color(colors::clGreen)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(150, 30);
    setFontColor(colors::clWhite);
    setColor(colors::clGreen);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &TGlintFadeButton::Animate);
    setSpeed(10);
}

void TGlintFadeButton::setCaption(const QString &caption)
{
    if (caption != text())
        setText(caption);
}

void TGlintFadeButton::setColor(std::uint32_t color)
{
    m_color = color;
    m_currentColor = color;
    update();
}

void TGlintFadeButton::setShowBorder(bool showBorder)
{
    if (showBorder == m_showBorder)
        return;
    m_showBorder = showBorder;
    update();
}

void TGlintFadeButton::setBorderColor(std::uint32_t color)
{
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    m_currentBorderColor = color;
    update();
}

void TGlintFadeButton::setBorderHeight(int height)
{
    m_borderHeight = height;
    update();
}

void TGlintFadeButton::setSpeed(int speed)
{
    m_speed = speed;
    m_timer->setInterval(speed);
}

std::uint32_t TGlintFadeButton::fontColor() const
{
    return colors::fromQColor(palette().color(QPalette::Active, QPalette::ButtonText));
}

void TGlintFadeButton::setFontColor(std::uint32_t color)
{
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        pal.setColor(group, QPalette::ButtonText, colors::fromBgr(color));
    setPalette(pal);
}

void TGlintFadeButton::Animate()
{
    // Each channel heads for the end of the fade's direction; the fade ends
    // when face and border have both arrived, or nothing moves any more.
    const bool in = m_delta >= 0;
    const fade::Step face = fade::stepTowards(m_currentColor, in ? m_destColor : m_color, m_delta);
    const fade::Step border =
        fade::stepTowards(m_currentBorderColor, in ? m_borderDestColor : m_borderColor, m_delta);
    const bool moved = face.color != m_currentColor || border.color != m_currentBorderColor;
    m_currentColor = face.color;
    m_currentBorderColor = border.color;
    if ((face.arrived && border.arrived) || !moved)
        m_timer->stop();
    update();
}

void TGlintFadeButton::pointerOver()
{
    if (fontColor() != m_captionOverColor) {
        m_savedCaptionColor = fontColor();
        setFontColor(m_captionOverColor);
    }
    if (!m_timer->isActive() && m_fadeOnOver) {
        m_delta = m_step;
        m_timer->start();
    }
    if (!m_fadeOnOver) {
        m_currentBorderColor = m_borderDestColor;
        m_currentColor = m_destColor;
        update();
    }
}

void TGlintFadeButton::mouseMoveEvent(QMouseEvent *event)
{
    QAbstractButton::mouseMoveEvent(event);
    pointerOver();
}

void TGlintFadeButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    pointerOver();
}

void TGlintFadeButton::leaveEvent(QEvent *event)
{
    // Only a colour a hover replaced is given back.
    if (m_fadeOnLeave) {
        m_delta = -m_step;
        m_timer->start();
    } else {
        m_timer->stop();
        m_currentBorderColor = m_borderColor;
        m_currentColor = m_color;
        update();
    }
    if (m_savedCaptionColor)
        setFontColor(*m_savedCaptionColor);
    QAbstractButton::leaveEvent(event);
    emit onMouseLeave(this);
}

void TGlintFadeButton::paintEvent(QPaintEvent *)
{
    // Painted through an off-screen image, so a tick never flickers.
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    const QColor face = colors::fromBgr(m_currentColor);
    painter.setBrush(face);
    if (m_showBorder && m_borderHeight > 0) {
        QPen pen(colors::fromBgr(m_currentBorderColor));
        pen.setWidth(m_borderHeight);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        const int inset = m_borderHeight / 2;
        painter.drawRect(QRect(0, 0, width(), height())
                .adjusted(inset, inset, -(m_borderHeight - inset), -(m_borderHeight - inset)));
    } else {
        painter.setPen(Qt::NoPen);
        painter.drawRect(rect());
    }
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const QSize caption(metrics.horizontalAdvance(text()), metrics.height());
    const QRect captionRect(width() / 2 - caption.width() / 2, height() / 2 - caption.height() / 2,
        caption.width(), caption.height());
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(face);
    painter.setPen(colors::fromBgr(fontColor()));
    painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop, text());
    painter.end();
    QPainter(this).drawImage(0, 0, image);
}
