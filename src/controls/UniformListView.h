#pragma once
// A list view of one column whose rows all have the height the delegate
// gives the first one, scrolled by whole rows.
//
// It looks and answers like a QListView in list mode (top to bottom, no
// wrapping, equal item sizes): the same keys move the caret the same way,
// the items are as wide as the viewport, the scroll bar counts rows. What
// differs is the cost: every row's place is worked out from its number, so
// taking a row out of a list of 100,000 or scrolling to one costs the same
// as in a list of ten, where QListView walks every row each time.
#include <QAbstractItemView>

class UniformListView : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit UniformListView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void reset() override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int rows() const;
    int rowHeight() const;
    // The rows whose band meets contents rows top..bottom (pixels), first to last.
    std::pair<int, int> rowsBetween(int top, int bottom) const;
    // The row of `rows` nearest to `from`, leaving out `from` itself and disabled rows; -1 if none.
    int nearestRow(int from, std::pair<int, int> rows) const;
    QModelIndex rowIndex(int row) const;

    mutable int m_rowHeight = 0;
};
