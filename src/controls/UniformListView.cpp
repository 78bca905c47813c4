#include "controls/UniformListView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

int floorDiv(int value, int by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

} // namespace

UniformListView::UniformListView(QWidget *parent)
    : QAbstractItemView(parent)
{
    setSelectionMode(SingleSelection);
    setVerticalScrollMode(ScrollPerItem);
    setAttribute(Qt::WA_MacShowFocusRect);
}

void UniformListView::setModel(QAbstractItemModel *model)
{
    if (this->model())
        disconnect(this->model(), nullptr, this, nullptr);
    QAbstractItemView::setModel(model);
    m_rowHeight = 0;
    if (!model)
        return;
    // A row more or less moves nothing above it: the scroll range and a
    // repaint are all it takes, at once, so that a scroll right after finds
    // its rows.
    auto rowsChanged = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(model, &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, rowsChanged);
}

void UniformListView::reset()
{
    m_rowHeight = 0;
    QAbstractItemView::reset();
}

int UniformListView::rows() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex UniformListView::rowIndex(int row) const
{
    return model() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

int UniformListView::rowHeight() const
{
    if (m_rowHeight > 0)
        return m_rowHeight;
    if (rows() == 0)
        return 1;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex first = rowIndex(0);
    m_rowHeight = std::max(1, itemDelegateForIndex(first)->sizeHint(option, first).height());
    return m_rowHeight;
}

std::pair<int, int> UniformListView::rowsBetween(int top, int bottom) const
{
    const int count = rows();
    const int height = rowHeight();
    if (count == 0 || top > count * height)
        return {0, -1};
    const int first = std::clamp(floorDiv(top, height), 0, count - 1);
    const int last = std::min(count - 1, floorDiv(bottom, height));
    return {first, last};
}

QRect UniformListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.row() >= rows())
        return QRect();
    const int height = rowHeight();
    return QRect(0, index.row() * height - verticalOffset(), std::max(1, viewport()->width()), height);
}

QModelIndex UniformListView::indexAt(const QPoint &point) const
{
    if (point.x() < 0)
        return QModelIndex();
    const int y = point.y() + verticalOffset();
    const auto [first, last] = rowsBetween(y, y);
    if (last < first)
        return QModelIndex();
    const QModelIndex index = rowIndex(last);
    return visualRect(index).contains(point) ? index : QModelIndex();
}

int UniformListView::horizontalOffset() const
{
    return 0;
}

int UniformListView::verticalOffset() const
{
    return verticalScrollBar()->value() * rowHeight();
}

bool UniformListView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void UniformListView::updateGeometries()
{
    const int count = rows();
    const int height = rowHeight();
    const int viewportHeight = viewport()->height();
    QScrollBar *bar = verticalScrollBar();
    bar->setSingleStep(1);
    if (count == 0) {
        bar->setRange(0, 0);
    } else if (count * height <= viewportHeight) {
        bar->setPageStep(count + 1);
        bar->setRange(0, 0);
    } else {
        const int page = viewportHeight / height;
        bar->setPageStep(page);
        bar->setRange(0, count - page);
    }
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void UniformListView::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    QAbstractItemView::scrollContentsBy(0, dy * rowHeight());
}

void UniformListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != 0)
        return;
    const QRect rect = visualRect(index);
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible && area.contains(rect)) {
        viewport()->update(rect);
        return;
    }
    if (hint == EnsureVisible) {
        if (rect.top() < area.top())
            hint = PositionAtTop;
        else if (rect.bottom() > area.bottom())
            hint = PositionAtBottom;
        else
            return;
    }
    // The rows that fit whole above and with this one, at most those before it.
    const int row = index.row();
    const int fitting = std::min(row, std::max(0, area.height() / rowHeight() - 1)) + 1;
    int value = row;
    if (hint == PositionAtBottom)
        value = row - fitting + 1;
    else if (hint == PositionAtCenter)
        value = row - fitting / 2;
    verticalScrollBar()->setValue(value);
}

int UniformListView::nearestRow(int from, std::pair<int, int> rows) const
{
    int nearest = -1;
    for (int row = rows.first; row <= rows.second; ++row) {
        if (row == from || !(model()->flags(rowIndex(row)) & Qt::ItemIsEnabled))
            continue;
        if (nearest < 0 || std::abs(row - from) < std::abs(nearest - from))
            nearest = row;
    }
    return nearest;
}

QModelIndex UniformListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int count = rows();
    auto enabled = [this](int row) { return bool(model()->flags(rowIndex(row)) & Qt::ItemIsEnabled); };
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        for (int row = 0; row < count; ++row) {
            if (enabled(row))
                return rowIndex(row);
        }
        return QModelIndex();
    }
    const int from = current.row();
    const int height = rowHeight();
    const int contentsHeight = count * height;
    const int viewportHeight = viewport()->height();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        for (int row = from - 1; row >= 0; --row) {
            if (enabled(row))
                return rowIndex(row);
        }
        return current;
    case MoveDown:
    case MoveNext:
        for (int row = from + 1; row < count; ++row) {
            if (enabled(row))
                return rowIndex(row);
        }
        return current;
    case MoveHome:
        return rowIndex(0);
    case MoveEnd:
        return rowIndex(count - 1);
    case MovePageUp: {
        // A page less one row up, then on up a row at a time until a row is there.
        int top = std::max(from * height - viewportHeight + 2 * height, height);
        for (;;) {
            top -= height;
            if (top + height - 1 <= 0)
                return current;
            const int row = nearestRow(from, rowsBetween(std::max(top, 0), top + height - 1));
            if (row >= 0)
                return rowIndex(row);
        }
    }
    case MovePageDown: {
        int top = from * height + viewportHeight - 2 * height;
        if (top + height - 1 > contentsHeight - height)
            top = contentsHeight - height - height + 1;
        for (;;) {
            top += height;
            if (top >= contentsHeight)
                return current;
            const int row = nearestRow(from, rowsBetween(top, std::min(top + height - 1, contentsHeight)));
            if (row >= 0)
                return rowIndex(row);
        }
    }
    default:
        return current;
    }
}

void UniformListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel() || rect.right() < 0)
        return;
    const int offset = verticalOffset();
    const auto [topFirst, topLast] = rowsBetween(rect.top() + offset, rect.top() + offset);
    const auto [bottomFirst, bottomLast] = rowsBetween(rect.bottom() + offset, rect.bottom() + offset);
    QItemSelection selection;
    if (topLast >= topFirst && bottomLast >= bottomFirst) {
        const int first = std::min(topLast, bottomLast);
        const int last = std::max(topLast, bottomLast);
        auto enabled = [this](int row) { return bool(model()->flags(rowIndex(row)) & Qt::ItemIsEnabled); };
        if (enabled(first) && enabled(last))
            selection.select(rowIndex(first), rowIndex(last));
    }
    selectionModel()->select(selection, command);
}

QRegion UniformListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const int height = rowHeight();
    const int offset = verticalOffset();
    const int width = std::max(1, viewport()->width());
    for (const QItemSelectionRange &range : selection) {
        if (range.parent() != rootIndex() || range.left() > 0)
            continue;
        // Only what the viewport shows of the range.
        const int top = std::max(range.top(), offset / height);
        const int bottom = std::min(range.bottom(), (offset + viewport()->height()) / height);
        if (bottom >= top)
            region += QRect(0, top * height - offset, width, (bottom - top + 1) * height);
    }
    return region;
}

void UniformListView::initViewItemOption(QStyleOptionViewItem *option) const
{
    QAbstractItemView::initViewItemOption(option);
    if (!iconSize().isValid()) {
        const int size = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
        option->decorationSize = QSize(size, size);
    }
    option->decorationPosition = QStyleOptionViewItem::Left;
}

void UniformListView::paintEvent(QPaintEvent *event)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const QRect area = event->rect();
    if (area.right() < 0)
        return;
    const int offset = verticalOffset();
    const auto [first, last] = rowsBetween(area.top() + offset, area.bottom() + offset);
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const bool enabled = state & QStyle::State_Enabled;
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = rowIndex(row);
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool on = model()->flags(index) & Qt::ItemIsEnabled;
            if (!on)
                option.state &= ~QStyle::State_Enabled;
            option.palette.setCurrentColorGroup(on ? QPalette::Normal : QPalette::Disabled);
        }
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
            if (this->state() == EditingState)
                option.state |= QStyle::State_Editing;
        }
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}
