#pragma once
// The parts of the file list view: its two views and their item delegates
// (the report style's cells, the cells of the icon and list styles).
#include <QListView>
#include <QStyledItemDelegate>
#include <QTreeView>

// Qt's item views make the first item current when they get the focus with
// none current; the file list's views leave that to the user (a click, a
// key) and the program, so the focus alone raises no change.
template<typename View>
class FileListItemView : public View
{
public:
    using View::View;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QItemSelectionModel *selection = this->selectionModel();
        if (!selection || selection->currentIndex().isValid()) {
            View::focusInEvent(event);
            return;
        }
        {
            const QSignalBlocker quiet(selection);
            View::focusInEvent(event);
            selection->clearCurrentIndex();
        }
        this->viewport()->update();
    }
};

using FileListIconView = FileListItemView<QListView>;
using FileListReportView = FileListItemView<QTreeView>;

// Without row selection only the name cell of a selected row is highlighted.
class FileListReportDelegate : public QStyledItemDelegate
{
public:
    FileListReportDelegate(const bool *rowSelect, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_rowSelect(rowSelect)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell = option;
        if (!*m_rowSelect && index.column() > 0)
            cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, cell, index);
    }

private:
    const bool *m_rowSelect;
};

// In the list styles every item takes one cell, as wide as the longest name,
// whatever item the view measures first. Under large icons the cell is the
// grid's, and the name wraps to two lines before it is elided.
class FileListCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize cell;
    bool iconLabels = false;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return cell.isValid() ? cell : QStyledItemDelegate::sizeHint(option, index);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!iconLabels) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        paintIconItem(painter, item);
    }

private:
    static void paintIconItem(QPainter *painter, const QStyleOptionViewItem &item);
};
