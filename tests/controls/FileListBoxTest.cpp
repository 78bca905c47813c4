#include "controls/FileListBox.h"
#include "controls/FileListDelegate.h"
#include "platform/FileMask.h"
#include "platform/FileOperations.h"
#include "platform/FileSystem.h"

#include "support/TempFolder.h"

#include <QImage>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray workingDirectory()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

QByteArray realPath(const QByteArray &path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.constData(), buffer) ? QByteArray(buffer) : QByteArray();
}

std::vector<QByteArray> names(const TFileListBox &list)
{
    std::vector<QByteArray> result;
    for (int i = 0; i < list.count(); ++i)
        result.push_back(list.itemName(i));
    return result;
}

// A list inside a temporary folder; the working directory is restored after.
struct FileListBoxTest : ::testing::Test {
    QByteArray savedDirectory = workingDirectory();
    TempFolder root;
    QByteArray media = root / "media";

    FileListBoxTest() { ::mkdir(media.constData(), 0755); }
    ~FileListBoxTest() override { [[maybe_unused]] int r = ::chdir(savedDirectory.constData()); }

    // Shows the list over the media folder with the keyboard focus, as in the window.
    void showOverMedia(TFileListBox &list)
    {
        list.resize(200, 120);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        ASSERT_TRUE(list.setDirectory(media));
        list.setFocus();
    }

    void makeFiles(const QByteArray &folder, std::initializer_list<const char *> files)
    {
        for (const char *name : files)
            TempFolder::write(folder + '/' + name, "x");
    }
};

TEST_F(FileListBoxTest, ShowsTheWorkingDirectoryAtCreation)
{
    makeFiles(media, {"start.mp3", "other.txt"});
    ASSERT_EQ(::chdir(media.constData()), 0);
    TFileListBox list;
    EXPECT_EQ(list.Directory(), realPath(media));
    EXPECT_EQ(names(list), std::vector<QByteArray> {"start.mp3"});
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.Mask(), QByteArray(FileMask::kMedia));
}

TEST_F(FileListBoxTest, ListsMediaFilesSortedWithoutCaseAndKeepsTheirBytes)
{
    const QByteArray shiftJis = "\x83\x65\x83\x58\x83\x67.mp3"; // "テスト.mp3"
    const QByteArray broken = "\xff\xfe.mp3";
    makeFiles(media, {"c.Wav", "b.mp3", "A.MP3", ".hidden.mid", "readonly.avi", "notes.txt",
                         "mp3", "_under.au", "Zed.vob"});
    TempFolder::write(media + '/' + shiftJis, "x");
    TempFolder::write(media + '/' + broken, "x");
    ::chmod((media + "/readonly.avi").constData(), 0444);
    ::mkdir((media + "/x.mp3").constData(), 0755);
    ::mkfifo((media + "/y.wav").constData(), 0644);
    ::symlink("b.mp3", (media + "/link.mp3").constData());
    ::symlink("gone.mp3", (media + "/broken.mp3").constData());

    TFileListBox list;
    ASSERT_TRUE(list.setDirectory(media));
    EXPECT_EQ(workingDirectory(), realPath(media));
    EXPECT_EQ(names(list), (std::vector<QByteArray> {".hidden.mid", "_under.au", "A.MP3", "b.mp3",
                               "c.Wav", "link.mp3", "readonly.avi", "Zed.vob", shiftJis, broken}));
    if (QStringDecoder("Shift_JIS").isValid()) {
        EXPECT_EQ(list.itemText(8), QStringLiteral("テスト.mp3"));
    }
    EXPECT_TRUE(list.itemText(9).endsWith(QStringLiteral(".mp3")));
    EXPECT_EQ(list.selectedIndex(), -1);
    list.selectIndex(9);
    EXPECT_EQ(list.FileName(), realPath(media) + '/' + broken);
    EXPECT_TRUE(FileSystem::posix().isRegularFile(list.FileName()));
}

TEST_F(FileListBoxTest, NameMatchingTwoPatternsIsListedTwice)
{
    makeFiles(media, {"twice.mp3", "once.mp3", "t.txt"});
    TFileListBox list;
    list.setMask("*.mp3;t*");
    ASSERT_TRUE(list.setDirectory(media));
    EXPECT_EQ(names(list), (std::vector<QByteArray> {"once.mp3", "t.txt", "twice.mp3", "twice.mp3"}));
}

TEST_F(FileListBoxTest, FolderThatCannotBeEnteredKeepsFolderAndItems)
{
    makeFiles(media, {"a.mp3", "b.mp3"});
    makeFiles(root.path(), {"file.mp3"});
    TFileListBox list;
    ASSERT_TRUE(list.setDirectory(media));
    list.selectIndex(1);
    const QByteArray before = list.Directory();
    for (const QByteArray &path : {root / "missing", root / "file.mp3", QByteArray()}) {
        EXPECT_FALSE(list.setDirectory(path)) << path.constData();
        EXPECT_EQ(list.Directory(), before);
        EXPECT_EQ(workingDirectory(), before);
        EXPECT_EQ(names(list), (std::vector<QByteArray> {"a.mp3", "b.mp3"}));
        EXPECT_EQ(list.selectedIndex(), 1);
    }
}

TEST_F(FileListBoxTest, SameFolderKeepsItsItemsUntilUpdate)
{
    makeFiles(media, {"a.mp3"});
    TFileListBox list;
    ASSERT_TRUE(list.setDirectory(media));
    list.selectIndex(0);
    makeFiles(media, {"b.mp3"});
    for (const QByteArray &spelling : {media, media + "/", media + "/./", root / "../" + root.path().mid(root.path().lastIndexOf('/') + 1) + "/media"}) {
        EXPECT_TRUE(list.setDirectory(spelling)) << spelling.constData();
        EXPECT_EQ(list.count(), 1);
        EXPECT_EQ(list.selectedIndex(), 0);
    }
    EXPECT_TRUE(list.Update());
    EXPECT_EQ(names(list), (std::vector<QByteArray> {"a.mp3", "b.mp3"}));
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(FileListBoxTest, FoldersDifferingOnlyInCaseAreDifferentFolders)
{
    const QByteArray upper = root / "Music";
    const QByteArray lower = root / "music";
    ::mkdir(upper.constData(), 0755);
    ::mkdir(lower.constData(), 0755);
    makeFiles(upper, {"upper.mp3"});
    makeFiles(lower, {"lower.mp3"});
    TFileListBox list;
    ASSERT_TRUE(list.setDirectory(upper));
    ASSERT_TRUE(list.setDirectory(lower));
    EXPECT_EQ(names(list), std::vector<QByteArray> {"lower.mp3"});
    EXPECT_EQ(list.Directory(), realPath(lower));
}

TEST_F(FileListBoxTest, ApplyFilePathIgnoresEmptyPathAndTheSelectedFile)
{
    makeFiles(media, {"a.mp3", "b.mp3"});
    const QByteArray other = root / "other";
    ::mkdir(other.constData(), 0755);
    makeFiles(other, {"c.mp3"});
    TFileListBox list;
    ASSERT_TRUE(list.applyFilePath(media));
    list.selectIndex(1);
    EXPECT_TRUE(list.applyFilePath(""));
    EXPECT_TRUE(list.applyFilePath(media + "/b.mp3"));
    EXPECT_EQ(list.Directory(), realPath(media));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_FALSE(list.applyFilePath(media + "/a.mp3"));
    EXPECT_TRUE(list.applyFilePath(other));
    EXPECT_EQ(names(list), std::vector<QByteArray> {"c.mp3"});
}

TEST_F(FileListBoxTest, UpdateOfAVanishedFolderEmptiesTheList)
{
    const QByteArray gone = root / "gone";
    ::mkdir(gone.constData(), 0755);
    makeFiles(gone, {"a.mp3"});
    TFileListBox list;
    ASSERT_TRUE(list.setDirectory(gone));
    ASSERT_EQ(::chdir(root.path().constData()), 0);
    ::unlink((gone + "/a.mp3").constData());
    ::rmdir(gone.constData());
    EXPECT_FALSE(list.Update());
    EXPECT_EQ(list.count(), 0);
}

TEST_F(FileListBoxTest, SelectStringFollowsTheSelectStringSearch)
{
    makeFiles(media, {"a.mp3", "a.mp3.wav", "B.mp3", "b.mp3.au", "c.mp3"});
    TFileListBox list;
    ASSERT_TRUE(list.setDirectory(media));
    ASSERT_EQ(names(list), (std::vector<QByteArray> {"a.mp3", "a.mp3.wav", "B.mp3", "b.mp3.au", "c.mp3"}));
    QSignalSpy clicks(&list, &TFileListBox::OnClick);
    const struct {
        const char *text;
        int start;
        int expected;
    } cases[] = {
        {"a.mp3", 0, 1},     // item 0's own text lands on a.mp3.wav
        {"b.mp3", 0, 2},
        {"B.MP3", 2, 3},
        {"b.mp3.au", 0, 3},
        {"c.mp3", 0, 4},
        {"c", 4, 4},         // wraps round to the start item itself
        {"A", -1, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(list.selectString(c.text, c.start), c.expected) << c.text;
        EXPECT_EQ(list.selectedIndex(), c.expected) << c.text;
    }
    list.selectIndex(2);
    EXPECT_EQ(list.selectString("nothing"), -1);
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(FileListBoxTest, SelectIndexSelectsExactlyThatItemAndShowsIt)
{
    for (int i = 0; i < 60; ++i)
        TempFolder::write(media + "/" + QByteArray::number(100 + i) + ".mp3", "x");
    makeFiles(media, {"a.mp3", "a.mp3.wav"});
    TFileListBox list;
    list.resize(200, 100);
    list.show();
    ASSERT_TRUE(list.setDirectory(media));
    QSignalSpy clicks(&list, &TFileListBox::OnClick);
    for (int i : {60, 61, 0, 30, 61}) {
        list.selectIndex(i);
        EXPECT_EQ(list.selectedIndex(), i);
        for (int j = 0; j < list.count(); ++j)
            ASSERT_EQ(list.isSelected(j), j == i);
        EXPECT_TRUE(list.viewport()->rect().contains(list.visualRect(list.model()->index(i, 0))));
    }
    EXPECT_EQ(list.FileName(), realPath(media) + "/a.mp3.wav");
    list.selectIndex(-1);
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.FileName(), QByteArray());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(FileListBoxTest, OnClickOnlyForTheUsersSelections)
{
    makeFiles(media, {"a.mp3", "b.mp3", "c.mp3", "d.mp3"});
    TFileListBox list;
    showOverMedia(list);
    QSignalSpy clicks(&list, &TFileListBox::OnClick);
    auto centre = [&](int row) { return list.visualRect(list.model()->index(row, 0)).center(); };

    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, centre(1));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.first().first().value<QObject *>(), &list);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, centre(1));
    EXPECT_EQ(clicks.count(), 2); // a click on the selected file picks it again

    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.selectedIndex(), 3);
    EXPECT_EQ(clicks.count(), 4);
    QTest::keyClick(&list, Qt::Key_Down); // already at the end
    EXPECT_EQ(clicks.count(), 4);

    QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, centre(0));
    EXPECT_EQ(list.selectedIndex(), 3);
    EXPECT_EQ(clicks.count(), 4);
    // Ctrl+click on the selected file keeps it selected, as a click does.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, centre(3));
    EXPECT_EQ(list.selectedIndex(), 3);
    EXPECT_EQ(clicks.count(), 5);

    // From code: nothing.
    list.selectIndex(0);
    list.selectString("c");
    list.Update();
    EXPECT_EQ(clicks.count(), 5);

    // After Update nothing is selected; the keyboard selects again.
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_GE(list.selectedIndex(), 0);
    EXPECT_EQ(clicks.count(), 6);

    // Arrow keys go on from an item selected from code.
    list.selectIndex(1);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(clicks.count(), 7);
}

TEST_F(FileListBoxTest, PressBelowTheLastItemKeepsTheSelection)
{
    makeFiles(media, {"a.mp3", "b.mp3"});
    TFileListBox list;
    showOverMedia(list);
    const QPoint second = list.visualRect(list.model()->index(1, 0)).center();
    const QPoint below(second.x(), list.viewport()->height() - 5);
    ASSERT_FALSE(list.indexAt(below).isValid());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, second);
    ASSERT_EQ(list.selectedIndex(), 1);
    QSignalSpy clicks(&list, &TFileListBox::OnClick);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, below);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(clicks.count(), 0);

    // The keyboard goes on from the kept item.
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.selectedIndex(), 0);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(FileListBoxTest, ItemsAreSixteenPixelsHighWithTheGlyphBeforeTheName)
{
    makeFiles(media, {"a.mp3", "b.mp3"});
    TFileListBox list;
    list.resize(200, 100);
    ASSERT_TRUE(list.setDirectory(media));
    list.show();
    const QRect first = list.visualRect(list.model()->index(0, 0));
    EXPECT_EQ(first.height(), FileListDelegate::kItemHeight);
    EXPECT_EQ(list.visualRect(list.model()->index(1, 0)).top(), first.top() + 16);
    const QPixmap &glyph = FileListDelegate::fileGlyph();
    EXPECT_EQ(glyph.size(), QSize(16, 15));
    const QImage image = glyph.toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 14)), 0);

    // Painted: the glyph's outline from x = 2, nothing left of it.
    const QImage shot = list.viewport()->grab().toImage();
    const int y = first.top() + 8;
    const QRgb background = shot.pixel(0, y);
    EXPECT_EQ(shot.pixel(1, y), background);
    bool glyphDrawn = false;
    for (int x = 2; x < 18; ++x)
        glyphDrawn |= shot.pixel(x, y) != background;
    EXPECT_TRUE(glyphDrawn);
}

} // namespace
