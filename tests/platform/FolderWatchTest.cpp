#include "platform/FolderWatch.h"

#include "support/TempFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

// The watched folder deleted or moved away is reported once; a folder no
// longer watched, or one whose contents change, is not.
TEST(FolderWatchTest, ReportsOnlyTheWatchedFolderGoing)
{
    TempFolder root;
    for (const char *name : {"a", "b", "c"})
        ASSERT_EQ(::mkdir((root / name).constData(), 0755), 0);
    FolderWatch watch;
    QSignalSpy gone(&watch, &FolderWatch::vanished);

    ASSERT_TRUE(watch.watch(root / "a"));
    TempFolder::write(root / "a/file", "x");
    ASSERT_EQ(std::remove((root / "a/file").constData()), 0);
    // Watching another folder ends the first watch without a report.
    ASSERT_TRUE(watch.watch(root / "b"));
    ASSERT_EQ(::rmdir((root / "a").constData()), 0);
    QTest::qWait(50);
    EXPECT_EQ(gone.size(), 0);

    ASSERT_EQ(std::rename((root / "b").constData(), (root / "moved").constData()), 0);
    ASSERT_TRUE(gone.wait(2000));
    EXPECT_EQ(gone.takeFirst().at(0).toByteArray(), root / "b");
    EXPECT_EQ(watch.folder(), QByteArray());

    ASSERT_TRUE(watch.watch(root / "c"));
    ASSERT_EQ(::rmdir((root / "c").constData()), 0);
    ASSERT_TRUE(gone.wait(2000));
    QTest::qWait(50);
    EXPECT_EQ(gone.size(), 1);

    EXPECT_FALSE(watch.watch(root / "missing"));
    EXPECT_FALSE(watch.watch(QByteArray()));
}

TEST(FolderWatchTest, NearestExistingFolderIsAtOrAbove)
{
    TempFolder root;
    ASSERT_EQ(::mkdir((root / "a").constData(), 0755), 0);
    TempFolder::write(root / "file", "x");
    EXPECT_EQ(FolderWatch::nearestExisting(root / "a"), root / "a");
    EXPECT_EQ(FolderWatch::nearestExisting(root / "a/b/c"), root / "a");
    EXPECT_EQ(FolderWatch::nearestExisting(root / "file/x"), root.path());
    EXPECT_EQ(FolderWatch::nearestExisting("/no-such-folder-anywhere/x"), QByteArray("/"));
}

} // namespace
