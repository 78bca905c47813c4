#include "skin/HintEx.h"

#include "platform/SystemColors.h"
#include "skin/AppHint.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QRegion paintedPixels(const QImage &image)
{
    QRegion region;
    std::vector<QRect> rects;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && qAlpha(row[x]) == 0)
                ++x;
            const int start = x;
            while (x < image.width() && qAlpha(row[x]) != 0)
                ++x;
            if (x > start)
                rects.emplace_back(start, y, x - start, 1);
        }
    }
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace

THintEx::THintEx()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void THintEx::ActivateHint(QPoint topLeft, const QString &text)
{
    m_text = text;
    const TAppHint *component = TAppHint::current();
    const QFont font = component ? component->Font() : this->font();
    const QScreen *screen = QGuiApplication::screenAt(topLeft);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Measured word-wrapped to the screen width, an "&" shown as it is.
    const QSize measured = QFontMetrics(font).boundingRect(QRect(0, 0, desktop.width(), 0), kTextFlags, text).size();
    m_shape = hintgeo::shapeFor(component ? component->HintStyle() : hsOwnerDraw, measured);
    if (!component)
        m_shape.region = QRegion();

    resize(m_shape.window);
    renderPicture();
    if (component && component->HintStyle() == hsLineString)
        setMask(paintedPixels(m_picture) & m_shape.region);
    else if (!m_shape.region.isEmpty())
        setMask(m_shape.region);
    else
        clearMask();

    QPoint at = topLeft;
    at.setX(std::clamp(at.x(), desktop.left(), std::max(desktop.left(), desktop.right() + 1 - width())));
    at.setY(std::clamp(at.y(), desktop.top(), std::max(desktop.top(), desktop.bottom() + 1 - height())));
    move(at);
    show();
    raise();
    update();
}

void THintEx::renderPicture()
{
    m_picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_picture.fill(Qt::transparent);
    const TAppHint *component = TAppHint::current();
    if (!component)
        return;
    QPainter painter(&m_picture);
    const THintStyle style = component->HintStyle();
    const QBrush brush = component->Brush();
    if (style != hsLineString) {
        // The background: the brush over BGColor where the brush leaves gaps.
        if (brush.style() != Qt::SolidPattern)
            painter.fillRect(rect(), QColor(colors::toRgb(component->BGColor(), palette())));
        painter.fillRect(rect(), style == hsOwnerDraw ? palette().toolTipBase() : brush);
    }
    if (style == hsOwnerDraw) {
        if (component->OnPaint)
            component->OnPaint(m_text, &painter, width(), height());
        return;
    }

    QFont font = component->Font();
    // The line string is cut to its painted pixels, so they must be whole.
    if (style == hsLineString)
        font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    for (const hintgeo::TextPass &pass : hintgeo::textPasses(style, component->ShadowVisible())) {
        painter.setPen(QColor(colors::toRgb(pass.shadow ? component->ShadowColor() : component->FontColor(), palette())));
        painter.drawText(rect().translated(pass.offset), kTextFlags, m_text);
    }

    painter.setPen(component->Pen());
    painter.setBrush(Qt::NoBrush);
    switch (style) {
    case hsFukidashi:
        painter.drawPolygon(m_shape.balloon);
        break;
    case hsRoundRect:
        painter.drawRoundedRect(QRect(0, 0, m_shape.rect.width(), m_shape.rect.height()), 4, 4);
        break;
    case hsLineString: {
        const QPolygon line = hintgeo::leaderLine(m_shape.rect);
        painter.drawLine(line[0], line[1]);
        // The end point itself is left out.
        painter.drawLine(line[1], line[2] - QPoint(1, 0));
        break;
    }
    case hsOwnerDraw:
        break;
    }
}

void THintEx::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_picture);
}
