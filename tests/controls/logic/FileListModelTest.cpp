// The file list's items: removals anywhere, in any order, leave the same
// rows as taking them out of a plain array would, and tell the views which
// row went.
#include "controls/FileListModel.h"
#include "controls/ListText.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<QByteArray> numberedNames(int count)
{
    std::vector<QByteArray> names;
    for (int i = 0; i < count; ++i)
        names.push_back(QByteArray::number(i + 1000) + ".MP3");
    return names;
}

// Every row of model against the expected names, and each name found at its row.
void expectRows(const FileListModel &model, const std::vector<QByteArray> &expected, const std::string &after)
{
    ASSERT_EQ(model.count(), int(expected.size())) << after;
    for (int row = 0; row < model.count(); ++row) {
        ASSERT_EQ(model.name(row), expected[size_t(row)]) << "row " << row << " after " << after;
        ASSERT_EQ(model.key(row), listtext::sortKey(expected[size_t(row)])) << "row " << row << " after " << after;
        ASSERT_EQ(model.data(model.index(row), FileListModel::NameRole).toByteArray(), expected[size_t(row)]);
        ASSERT_EQ(model.rowOf(expected[size_t(row)]), row) << after;
    }
}

TEST(FileListModel, RemovalsAnywhereLeaveTheRowsAPlainArrayWould)
{
    // Runs of removals at one place (sorting down the list), steps back and
    // forth, the first and the last row, and a seeded random walk.
    std::vector<std::vector<int>> sequences = {
        {0, 0, 0, 0},
        {5, 5, 5, 4, 4, 3},
        {9, 0, 7, 1, 5},
        {2, 6, 2, 6, 0, 6},
        {11, 10, 9, 8},
    };
    std::mt19937 random(7);
    std::vector<int> walk;
    for (int left = 40; left > 0; --left)
        walk.push_back(int(random() % unsigned(left)));
    sequences.push_back(walk);

    for (const std::vector<int> &rows : sequences) {
        const int size = rows == walk ? 40 : 12;
        FileListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
        model.setNames(numberedNames(size));
        std::vector<QByteArray> expected = numberedNames(size);
        std::string done;
        for (int row : rows) {
            QSignalSpy removed(&model, SIGNAL(rowsRemoved(QModelIndex,int,int)));
            model.removeName(row);
            expected.erase(expected.begin() + row);
            done += std::to_string(row) + " ";
            ASSERT_EQ(removed.count(), 1);
            EXPECT_EQ(removed.at(0).at(1).toInt(), row);
            expectRows(model, expected, done);
        }
        // A name no longer listed is not found, and a new listing starts whole.
        EXPECT_EQ(model.rowOf(numberedNames(size)[size_t(rows.front())]), -1);
        model.setNames(numberedNames(3));
        expectRows(model, numberedNames(3), "a new listing");
    }
}

TEST(FileListModel, RemovingOutsideTheRowsChangesNothing)
{
    FileListModel model;
    model.setNames(numberedNames(2));
    QSignalSpy removed(&model, SIGNAL(rowsRemoved(QModelIndex,int,int)));
    for (int row : {-1, 2, 100})
        model.removeName(row);
    EXPECT_EQ(removed.count(), 0);
    expectRows(model, numberedNames(2), "no removal");
}

} // namespace
