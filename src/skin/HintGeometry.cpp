#include "skin/HintGeometry.h"

namespace hintgeo {

QRect activationRect(QSize text)
{
    return QRect(0, 0, text.width() + 6, text.height() + 2);
}

HintShape shapeFor(THintStyle style, QSize text)
{
    HintShape shape;
    QRect rect = activationRect(text);
    switch (style) {
    case hsFukidashi: {
        rect.setHeight(rect.height() + 9);
        const int w = rect.width(), h = rect.height();
        // A body from y = 9 down with a tail whose tip is at (14, 0).
        shape.region = QRegion(QPolygon({QPoint(14, 0), QPoint(8, 9), QPoint(0, 9), QPoint(0, h), QPoint(w, h),
                                   QPoint(w, 9), QPoint(14, 9)}),
            Qt::WindingFill);
        shape.balloon = QPolygon({QPoint(14, 0), QPoint(9, 9), QPoint(0, 9), QPoint(0, h - 1),
            QPoint(w - 1, h - 1), QPoint(w - 1, 9), QPoint(13, 9), QPoint(13, 0)});
        break;
    }
    case hsRoundRect: {
        // Rounded corners of 8 x 8 on the rectangle (0, 0)-(w + 1, h + 1).
        const QRect box(0, 0, rect.width() + 1, rect.height() + 1);
        shape.region = QRegion(box.adjusted(4, 0, -4, 0)) + QRegion(box.adjusted(0, 4, 0, -4))
            + QRegion(QRect(box.topLeft(), QSize(8, 8)), QRegion::Ellipse)
            + QRegion(QRect(box.right() - 7, box.top(), 8, 8), QRegion::Ellipse)
            + QRegion(QRect(box.left(), box.bottom() - 7, 8, 8), QRegion::Ellipse)
            + QRegion(QRect(box.right() - 7, box.bottom() - 7, 8, 8), QRegion::Ellipse);
        break;
    }
    case hsLineString:
        rect.setWidth(rect.width() + 21);
        rect.setHeight(rect.height() + 12);
        // A one-pixel inset on every side.
        shape.region = QRegion(QRect(QPoint(1, 1), QPoint(rect.width() - 2, rect.height() - 2)));
        break;
    case hsOwnerDraw:
        break;
    }
    shape.rect = rect;
    shape.window = QSize(rect.width(), rect.height() + 4);
    return shape;
}

std::vector<TextPass> textPasses(THintStyle style, bool shadowVisible)
{
    std::vector<TextPass> passes;
    switch (style) {
    case hsFukidashi:
        if (shadowVisible)
            passes.push_back({QPoint(4, 10), true});
        passes.push_back({QPoint(3, 9), false});
        break;
    case hsRoundRect:
        if (shadowVisible)
            passes.push_back({QPoint(2, 2), true});
        passes.push_back({QPoint(1, 1), false});
        break;
    case hsLineString:
        // A one-pixel outline around the main text.
        if (shadowVisible) {
            for (QPoint at : {QPoint(19, 10), QPoint(19, 12), QPoint(18, 11), QPoint(20, 11)})
                passes.push_back({at, true});
        }
        passes.push_back({QPoint(19, 11), false});
        break;
    case hsOwnerDraw:
        break;
    }
    return passes;
}

QPolygon leaderLine(const QRect &rect)
{
    const int w = rect.width(), h = rect.height();
    return QPolygon({QPoint(1, 1), QPoint(17, h - 2), QPoint(w, h - 2)});
}

} // namespace hintgeo
