// How the drop-down draws its rows: indented by level in the list, plain in
// the edit part, the highlight as wide as the label.
#include "shell/FolderDropDown.h"

#include "shell/FflIconList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

class DropDownDelegate : public QStyledItemDelegate
{
public:
    explicit DropDownDelegate(TFolderDropDown *dropDown)
        : QStyledItemDelegate(dropDown)
        , m_dropDown(dropDown)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_dropDown->drawRow(painter, option.rect, index.row(), option.state & QStyle::State_Selected, false);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        return QSize(m_dropDown->rowWidth(index.row()), m_dropDown->ItemHeight());
    }

private:
    TFolderDropDown *m_dropDown;
};

// Styles that open a combo's list as a menu around the current row show
// every row and ignore the row limit; the drop-down always opens a list
// below itself that shows DropDownCount rows and scrolls.
class ListBelowStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
        QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

constexpr int kIconSide = 16;

} // namespace

void TFolderDropDown::setupDelegate()
{
    auto *style = new ListBelowStyle;
    style->setParent(this);
    setStyle(style);
    setItemDelegate(new DropDownDelegate(this));
    setItemHeight(0);
}

void TFolderDropDown::setItemHeight(int height)
{
    // Room for a small icon and a line of text by default.
    const int natural = std::max(kIconSide + 2, fontMetrics().height() + 2);
    m_itemHeight = height > 0 ? height : natural;
    update();
}

int TFolderDropDown::rowWidth(int index) const
{
    const TFflNodeInfo *entry = getInfo(index);
    const int side = m_images ? m_images->iconSize().width() : kIconSide;
    const int indent = entry ? side * entry->level / 2 : 0;
    return indent + side + m_itemHeight / 8 + fontMetrics().horizontalAdvance(itemText(index)) + 8;
}

void TFolderDropDown::drawRow(QPainter *painter, const QRect &rect, int index, bool selected, bool editPart) const
{
    const TFflNodeInfo *entry = getInfo(index);
    const QPalette colours = palette();
    painter->save();
    painter->fillRect(rect, colours.color(QPalette::Base));
    if (!entry) {
        painter->restore();
        return;
    }
    const QSize icon = m_images ? m_images->iconSize() : QSize(kIconSide, kIconSide);
    // Half an icon per level, except in the edit part.
    const int left = rect.left() + (editPart ? 0 : icon.width() * entry->level / 2);
    const int top = rect.top() + (rect.height() - icon.height()) / 2;
    if (m_images) {
        const QPixmap picture = m_images->image(selected ? entry->selectedIndex : entry->imageIndex);
        if (!picture.isNull())
            painter->drawPixmap(left, top, picture);
        const QPixmap overlay = m_images->image(m_images->overlay(entry->overlayIndex));
        if (!overlay.isNull() && !picture.isNull())
            painter->drawPixmap(left, top, overlay);
    }
    const QString label = itemText(index);
    const int textLeft = left + icon.width() + rect.height() / 8;
    QRect textRect(textLeft, rect.top(), rect.right() - textLeft + 1, rect.height());
    if (selected) {
        textRect.setWidth(painter->fontMetrics().horizontalAdvance(label) + 4);
        painter->fillRect(textRect, colours.color(QPalette::Highlight));
    }
    painter->setClipRect(textRect.intersected(rect));
    // A volume that did not answer when it was listed is greyed until it does.
    const bool slow = entry->attributes & shellns::attr::kIsSlow;
    painter->setPen(selected ? colours.color(QPalette::HighlightedText)
                             : colours.color(slow ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    painter->drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
    painter->restore();
}

void TFolderDropDown::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0)
        drawRow(&painter, field, currentIndex(), hasFocus(), true);
}

void TFolderDropDown::showPopup()
{
    // The list is as wide as its deepest, longest row.
    int widest = width();
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, rowWidth(i) + 24);
    view()->setMinimumWidth(std::min(widest, 900));
    emit OnDropDown(this);
    QComboBox::showPopup();
}

void TFolderDropDown::hidePopup()
{
    QComboBox::hidePopup();
    emit OnCloseUp(this);
}
