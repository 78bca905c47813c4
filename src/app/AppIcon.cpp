#include "app/AppIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <iterator>

namespace appicon {

namespace {

// The icon in rect, drawn on the 64-unit grid of the scalable one.
void draw(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / 64.0, rect.height() / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1e, 0x50, 0xff));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    QPainterPath wave(QPointF(8, 34));
    wave.quadTo(QPointF(16, 22), QPointF(24, 34));
    wave.quadTo(QPointF(32, 46), QPointF(40, 34));
    wave.quadTo(QPointF(48, 22), QPointF(56, 34));
    painter.setPen(QPen(QColor(0xc8, 0xd8, 0xff), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);

    const QPointF folder[] = {{14, 44}, {28, 44}, {32, 48}, {50, 48}, {50, 56}, {14, 56}};
    painter.setPen(QPen(QColor(0x8a, 0x6a, 0x00), 1.5));
    painter.setBrush(QColor(0xff, 0xd2, 0x1e));
    painter.drawPolygon(folder, int(std::size(folder)));

    // "1-9" in strokes rather than a font's letters: a bold face loaded for
    // three characters would cost the window's start more than all the rest.
    QPainterPath digits(QPointF(24, 13.5));
    digits.lineTo(26.5, 11.5);
    digits.lineTo(26.5, 20);
    digits.moveTo(30, 16.5);
    digits.lineTo(34, 16.5);
    digits.addEllipse(QPointF(39.5, 14.5), 2.6, 2.8);
    digits.moveTo(42.1, 14.5);
    digits.lineTo(42.1, 17);
    digits.quadTo(42.1, 20, 38, 20);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(digits);
    painter.restore();
}

// Draws the icon at whatever size it is asked for, when it is asked for.
class AppIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override { draw(*painter, rect); }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        draw(painter, QRectF(QPointF(0, 0), size));
        return pixmap;
    }

    QIconEngine *clone() const override { return new AppIconEngine; }
    QString key() const override { return QStringLiteral("ondasort-app-icon"); }

    // The sizes handed to the window system with the window. Larger ones
    // are drawn when asked for; the window system takes large pictures from
    // the desktop entry's scalable icon, and a 256-pixel one would cost the
    // window's start several milliseconds to draw and send.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : {16, 22, 24, 32, 48, 64, 128})
            sizes.append(QSize(size, size));
        return sizes;
    }
};

} // namespace

QIcon make()
{
    return QIcon(new AppIconEngine);
}

} // namespace appicon
