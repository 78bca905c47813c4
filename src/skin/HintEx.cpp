#include "skin/HintEx.h"

#include "platform/SystemColors.h"
#include "skin/AppHint.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
// Coverage from which a pixel belongs to the window when nothing is known
// of what lies beneath it.
constexpr int kHalfCovered = 128;

// The pixels of at least `alpha` coverage, as a region.
QRegion pixelsCovered(const QImage &image, int alpha)
{
    QRegion region;
    std::vector<QRect> rects;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && qAlpha(row[x]) < alpha)
                ++x;
            const int start = x;
            while (x < image.width() && qAlpha(row[x]) >= alpha)
                ++x;
            if (x > start)
                rects.emplace_back(start, y, x - start, 1);
        }
    }
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

// Without what lies beneath, a pixel the window keeps shows its own colour
// at full strength: the outline's outer edge stays hard, the letters inside
// it smooth.
void makeOpaque(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) != 0)
                row[x] = qUnpremultiply(row[x]) | 0xFF000000u;
        }
    }
}

} // namespace

QImage THintEx::screenBeneath(const QRect &area) const
{
    // Our own hint may still stand there: what lies beneath it is unknown.
    if (isVisible() && frameGeometry().intersects(area))
        return QImage();
    QScreen *screen = QGuiApplication::screenAt(area.center());
    if (!screen)
        return QImage();
    const QRect local = area.translated(-screen->geometry().topLeft());
    const QImage grabbed = screen->grabWindow(0, local.x(), local.y(), area.width(), area.height()).toImage();
    if (grabbed.size() != area.size())
        return QImage();
    return grabbed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void THintEx::cutToPaintedPixels(const QRect &area)
{
    // Smooth letters, and a window that is only the painted pixels: over a
    // picture of the screen beneath, every touched pixel takes its blend
    // with it; without one, the pixels that are at least half covered.
    const QImage layer = m_picture;
    QImage beneath = screenBeneath(area);
    if (!beneath.isNull()) {
        QPainter painter(&beneath);
        painter.drawImage(0, 0, layer);
        painter.end();
        m_picture = beneath;
        setMask(pixelsCovered(layer, 1) & m_shape.region);
    } else {
        makeOpaque(m_picture);
        setMask(pixelsCovered(layer, kHalfCovered) & m_shape.region);
    }
}

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

    QPoint at = topLeft;
    at.setX(std::clamp(at.x(), desktop.left(), std::max(desktop.left(), desktop.right() + 1 - m_shape.window.width())));
    at.setY(std::clamp(at.y(), desktop.top(), std::max(desktop.top(), desktop.bottom() + 1 - m_shape.window.height())));

    resize(m_shape.window);
    renderPicture();
    if (component && component->HintStyle() == hsLineString)
        cutToPaintedPixels(QRect(at, m_shape.window));
    else if (!m_shape.region.isEmpty())
        setMask(m_shape.region);
    else
        clearMask();
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

    painter.setFont(component->Font());
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
