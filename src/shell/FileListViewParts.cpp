#include "shell/FileListViewParts.h"

#include "shell/IconLabel.h"

#include <QApplication>
#include <QPainter>

void FileListCellDelegate::paintIconItem(QPainter *painter, const QStyleOptionViewItem &item)
{
    const bool selected = item.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (item.state & QStyle::State_Active)                              ? QPalette::Normal
                                                                            : QPalette::Inactive;
    painter->save();
    const QSize iconSize = item.decorationSize;
    const QRect iconRect(item.rect.left() + (item.rect.width() - iconSize.width()) / 2, item.rect.top() + 2,
        iconSize.width(), iconSize.height());
    item.icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);

    const QFontMetrics metrics(item.font);
    const QStringList shown = iconlabel::lines(item.text, item.font, item.rect.width() - 6);
    int widest = 0;
    for (const QString &line : shown)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect block(item.rect.left() + (item.rect.width() - widest - 4) / 2, iconRect.bottom() + 4,
        widest + 4, int(shown.size()) * metrics.height() + 2);
    if (selected)
        painter->fillRect(block, item.palette.brush(group, QPalette::Highlight));
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    for (qsizetype i = 0; i < shown.size(); ++i)
        painter->drawText(QRect(block.left(), block.top() + 1 + int(i) * metrics.height(), block.width(),
                              metrics.height()),
            Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, shown[i]);
    if (item.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(item);
        focus.rect = block;
        focus.backgroundColor = item.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        const QWidget *widget = item.widget;
        (widget ? widget->style() : QApplication::style())
            ->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}
