#include "controls/FileListDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

// A sheet of paper with its top-right corner folded down, drawn pixel-exact.
QPixmap drawFileGlyph()
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor outline(0, 0, 0);
    const QColor paper(255, 255, 255);
    const QColor fold(128, 128, 128);
    // Page body: columns 3..12, rows 0..14, with the corner cut at 9..12 / 0..3.
    p.fillRect(QRect(4, 1, 5, 13), paper);
    p.fillRect(QRect(9, 4, 3, 10), paper);
    p.setPen(outline);
    p.drawLine(3, 0, 9, 0);     // top edge up to the fold
    p.drawLine(3, 0, 3, 14);    // left edge
    p.drawLine(3, 14, 12, 14);  // bottom edge
    p.drawLine(12, 3, 12, 14);  // right edge below the fold
    p.drawLine(9, 0, 12, 3);    // the fold's diagonal
    p.setPen(fold);
    p.drawLine(9, 1, 9, 3);     // the folded-down flap
    p.drawLine(9, 3, 11, 3);
    return pixmap;
}

} // namespace

const QPixmap &FileListDelegate::fileGlyph()
{
    static const QPixmap glyph = drawFileGlyph();
    return glyph;
}

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    // The width stays small so that the list never scrolls sideways.
    return QSize(1, kItemHeight);
}

void FileListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
    const QModelIndex &index) const
{
    painter->save();
    const QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    // The selection stays visible in the highlight colour when the list has no focus.
    const QPalette &palette = option.palette;
    if (selected)
        painter->fillRect(rect, palette.color(QPalette::Active, QPalette::Highlight));

    const QPixmap &glyph = fileGlyph();
    painter->drawPixmap(rect.left() + kGlyphLeft, rect.top() + (rect.height() - glyph.height()) / 2, glyph);

    const int textLeft = rect.left() + glyph.width() + kTextGap;
    const QRect textRect(textLeft, rect.top(), rect.right() - textLeft + 1, rect.height());
    painter->setFont(option.font);
    painter->setPen(selected ? palette.color(QPalette::Active, QPalette::HighlightedText)
                             : palette.color(QPalette::Text));
    painter->setClipRect(textRect);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        index.data(Qt::DisplayRole).toString());
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = rect;
        focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}
