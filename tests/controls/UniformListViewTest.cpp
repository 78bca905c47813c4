#include "controls/FileListDelegate.h"
#include "controls/UniformListView.h"

#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The same rows in a QListView set up as the file list was, and in a
// UniformListView, side by side at the same size: whatever the user does,
// both must land on the same row, scroll to the same place and show the
// rows at the same spots.
struct TwinLists
{
    TwinLists(int rows, int height)
    {
        QStringList names;
        for (int i = 0; i < rows; ++i)
            names << QStringLiteral("take%1.wav").arg(i);
        listModel.setStringList(names);
        uniformModel.setStringList(names);
        list.setUniformItemSizes(true);
        for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(&list), static_cast<QAbstractItemView *>(&uniform)}) {
            view->setItemDelegate(new FileListDelegate(view));
            view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setEditTriggers(QAbstractItemView::NoEditTriggers);
            // Neither takes the focus, which would make its first row current.
            view->setFocusPolicy(Qt::NoFocus);
            view->resize(200, height);
            view->show();
        }
        list.setModel(&listModel);
        uniform.setModel(&uniformModel);
        settle();
    }

    void settle()
    {
        QCoreApplication::processEvents();
        list.doItemsLayout();
        QCoreApplication::processEvents();
    }

    void setCurrent(int row)
    {
        list.setCurrentIndex(listModel.index(row));
        uniform.setCurrentIndex(uniformModel.index(row));
    }

    void removeRow(int row)
    {
        listModel.removeRows(row, 1);
        uniformModel.removeRows(row, 1);
        settle();
    }

    // Everything the user can see or reach, compared.
    void expectSame(const std::string &where)
    {
        SCOPED_TRACE(where);
        const QScrollBar *a = list.verticalScrollBar();
        const QScrollBar *b = uniform.verticalScrollBar();
        EXPECT_EQ(b->maximum(), a->maximum());
        EXPECT_EQ(b->value(), a->value());
        if (a->maximum() > 0) {
            EXPECT_EQ(b->pageStep(), a->pageStep());
        }
        EXPECT_EQ(uniform.currentIndex().row(), list.currentIndex().row());
        for (int row = 0; row < listModel.rowCount(); row += std::max(1, listModel.rowCount() / 7))
            EXPECT_EQ(uniform.visualRect(uniformModel.index(row)), list.visualRect(listModel.index(row))) << row;
        for (int y : {0, 7, 15, 16, 40, list.viewport()->height() - 1, list.viewport()->height() + 3})
            EXPECT_EQ(uniform.indexAt(QPoint(5, y)).row(), list.indexAt(QPoint(5, y)).row()) << y;
    }

    QStringListModel listModel;
    QStringListModel uniformModel;
    QListView list;
    UniformListView uniform;
};

struct Shape
{
    int rows;
    int height;
};

class UniformListViewTest : public ::testing::TestWithParam<Shape>
{
};

TEST_P(UniformListViewTest, KeysScrollingAndPlacesAsAListView)
{
    const Shape shape = GetParam();
    TwinLists twins(shape.rows, shape.height);
    twins.expectSame("shown");
    if (shape.rows == 0)
        return;
    const int last = shape.rows - 1;
    const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_End, Qt::Key_Home};
    for (int start : {0, 1, shape.rows / 2, std::max(0, last - 1), last}) {
        for (Qt::Key key : keys) {
            twins.setCurrent(start);
            QTest::keyClick(&twins.list, key);
            QTest::keyClick(&twins.uniform, key);
            twins.expectSame("key " + std::to_string(key) + " from " + std::to_string(start));
        }
        for (auto hint : {QAbstractItemView::EnsureVisible, QAbstractItemView::PositionAtTop,
                 QAbstractItemView::PositionAtBottom, QAbstractItemView::PositionAtCenter}) {
            twins.list.scrollTo(twins.listModel.index(start), hint);
            twins.uniform.scrollTo(twins.uniformModel.index(start), hint);
            twins.expectSame("scroll to " + std::to_string(start) + " hint " + std::to_string(hint));
        }
    }
    // Rows taken out one by one, the current one among them, as a sort does.
    twins.setCurrent(shape.rows / 2);
    twins.list.scrollTo(twins.listModel.index(shape.rows / 2));
    twins.uniform.scrollTo(twins.uniformModel.index(shape.rows / 2));
    for (int row : {shape.rows / 2, 0, last - 2}) {
        if (row < 0 || row >= twins.listModel.rowCount())
            continue;
        twins.removeRow(row);
        twins.expectSame("removed " + std::to_string(row));
    }
    // A click picks the row under the pointer in both.
    const QPoint at(10, twins.list.viewport()->height() / 2);
    QTest::mouseClick(twins.list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseClick(twins.uniform.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    twins.expectSame("clicked");
}

INSTANTIATE_TEST_SUITE_P(Shapes, UniformListViewTest,
    ::testing::Values(Shape {0, 100}, Shape {1, 100}, Shape {5, 100}, Shape {6, 96}, Shape {40, 100},
        Shape {40, 163}, Shape {1000, 300}));

} // namespace
