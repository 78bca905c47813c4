#pragma once
// Draws one item of the file list: a generic-file glyph 2 pixels from the
// item's left edge, centred vertically, and the name from the glyph's width
// plus 6 pixels on. Every item is 16 pixels high.
#include <QPixmap>
#include <QStyledItemDelegate>

class FileListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kItemHeight = 16;
    static constexpr int kGlyphLeft = 2;
    static constexpr int kTextGap = 6;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The 16 x 15 generic-file glyph, with a transparent background.
    static const QPixmap &fileGlyph();

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
