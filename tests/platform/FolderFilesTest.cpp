// The pure parts of the file list: mask matching and folder reading.
#include "platform/FileMask.h"
#include "platform/FolderFiles.h"
#include "platform/Paths.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

namespace {

TEST(FileMask, MediaMaskHoldsTheThirtyOnePatternsInOrder)
{
    const FileMask mask;
    ASSERT_EQ(mask.patternCount(), 31);
    EXPECT_EQ(mask.pattern(0), "*.ivf");
    EXPECT_EQ(mask.pattern(22), "*.mpv2");
    EXPECT_EQ(mask.pattern(30), "*.vob");
}

TEST(FileMask, PatternTable)
{
    const struct {
        const char *pattern;
        QByteArray name;
        bool matches;
    } cases[] = {
        {"*.mp3", "song.mp3", true},
        {"*.mp3", "SONG.MP3", true},
        {"*.mp3", "Song.Mp3", true},
        {"*.mp3", ".mp3", true},
        {"*.mp3", "song.mp3.wav", false},
        {"*.mp3", "song.mp33", false},
        {"*.mp3", "song_mp3", false},
        {"*.mp3", "mp3", false},
        {"*.wm", "x.wma", false},
        {"*.mid", "x.midi", false},
        {"*.MID", "x.mid", true},
        {"*", "", true},
        {"*", "anything", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a?c", "abbc", false},
        {"a?c", "a\xc3\xa9" "c", true},   // one UTF-8 character
        {"a?c", "a\xe9" "c", true},       // one byte that is no UTF-8
        {"a??c", "a\xc3\xa9" "c", false},
        {"*a*b", "xaxxb", true},
        {"*a*b", "xaxxbx", false},
        {"*.*", "noext", false},
        {"a*", "A", true},
        {"*\xe9\x9f\xb3*", "x\xe9\x9f\xb3.mp3", true},
        {"**.mp3", "a.mp3", true},
        {"?", "", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FileMask::matchPattern(c.pattern, c.name), c.matches)
            << c.pattern << " / " << c.name.constData();
        const FileMask mask(c.pattern);
        ASSERT_EQ(mask.patternCount(), 1);
        EXPECT_EQ(mask.matches(0, c.name), c.matches) << c.pattern << " / " << c.name.constData();
    }
}

TEST(FileMask, SplitsAtSemicolonsAndSkipsEmptyParts)
{
    const FileMask mask(" *.a ;;*.b;");
    ASSERT_EQ(mask.patternCount(), 2);
    EXPECT_TRUE(mask.matches(0, "x.A"));
    EXPECT_TRUE(mask.matches(1, "x.b"));
}

// A folder of every kind of entry the reader meets.
struct FolderFilesTest : ::testing::Test {
    TempFolder folder;

    void SetUp() override
    {
        for (const char *name : {"a.mp3", "B.MP3", "c.Wav", ".hidden.mid", "readonly.avi",
                 "notes.txt", "song.mp3.txt", "twice.mp3", "\x83\x65\x83\x58\x83\x67.mp3"})
            TempFolder::write(folder / name, "x");
        ::chmod((folder / "readonly.avi").constData(), 0444);
        ::mkdir((folder / "x.mp3").constData(), 0755);
        ::mkfifo((folder / "y.wav").constData(), 0644);
        ::symlink("a.mp3", (folder / "link.mp3").constData());
        ::symlink("gone.mp3", (folder / "broken.mp3").constData());
        ::symlink("x.mp3", (folder / "dirlink.mp3").constData());
    }
};

TEST_F(FolderFilesTest, ListsFilesAndLinksToFilesOnly)
{
    const FileMask mask;
    const folderfiles::Listing listing = folderfiles::read(folder.path(), mask);
    EXPECT_EQ(listing.error, 0);
    std::multiset<QByteArray> names(listing.names.begin(), listing.names.end());
    EXPECT_EQ(names, (std::multiset<QByteArray> {"a.mp3", "B.MP3", "c.Wav", ".hidden.mid",
                         "readonly.avi", "twice.mp3", "\x83\x65\x83\x58\x83\x67.mp3", "link.mp3"}));
}

TEST_F(FolderFilesTest, ListsANameOncePerMatchingPatternInPatternOrder)
{
    const FileMask mask("*.txt;*.mp3;t*");
    const folderfiles::Listing listing = folderfiles::read(folder.path(), mask);
    // Pattern by pattern: the .txt files, then the .mp3 files, then t*.
    ASSERT_EQ(listing.names.size(), 2u + 5u + 1u);
    const std::vector<QByteArray> &n = listing.names;
    EXPECT_EQ(std::multiset<QByteArray>(n.begin(), n.begin() + 2),
        (std::multiset<QByteArray> {"notes.txt", "song.mp3.txt"}));
    EXPECT_EQ(std::multiset<QByteArray>(n.begin() + 2, n.begin() + 7),
        (std::multiset<QByteArray> {"a.mp3", "B.MP3", "twice.mp3", "link.mp3",
            "\x83\x65\x83\x58\x83\x67.mp3"}));
    EXPECT_EQ(n.back(), "twice.mp3");
}

TEST(FolderFiles, MissingFolderOrFileGivesAnError)
{
    TempFolder folder;
    TempFolder::write(folder / "file.mp3", "x");
    const FileMask mask;
    EXPECT_EQ(folderfiles::read(folder / "none", mask).error, ENOENT);
    EXPECT_EQ(folderfiles::read(folder / "file.mp3", mask).error, ENOTDIR);
}

} // namespace
