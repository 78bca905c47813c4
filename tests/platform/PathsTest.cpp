#include "platform/Paths.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

struct PathCase
{
    const char *path;
    const char *directory;
    const char *last;
};

class PathSplitTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathSplitTest, SplitsAtTheLastSeparator)
{
    const PathCase &c = GetParam();
    EXPECT_EQ(paths::directoryPart(c.path), QByteArray(c.directory)) << c.path;
    EXPECT_EQ(paths::lastComponent(c.path), QByteArray(c.last)) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Paths, PathSplitTest, ::testing::Values(
    PathCase {"/opt/tools/Ondasort", "/opt/tools", "Ondasort"},
    PathCase {"/Ondasort", "/", "Ondasort"},
    PathCase {"//Ondasort", "//", "Ondasort"},
    PathCase {"/music/", "/music", ""},
    PathCase {"Ondasort", "", "Ondasort"},
    // Bytes that are not UTF-8 (a Shift-JIS name) pass through untouched.
    PathCase {"/m/\x83\x5c\x83\x93\x83\x4f.mp3", "/m", "\x83\x5c\x83\x93\x83\x4f.mp3"}));

TEST(PathsTest, JoinAlwaysInsertsOneSeparator)
{
    EXPECT_EQ(paths::join("/music", "a.mp3"), QByteArray("/music/a.mp3"));
    EXPECT_EQ(paths::join("/", "a.mp3"), QByteArray("//a.mp3"));
    EXPECT_EQ(paths::join("/music/", "a.mp3"), QByteArray("/music//a.mp3"));
    EXPECT_EQ(paths::join("rel", "a.mp3"), QByteArray("rel/a.mp3"));
}

TEST(PathsTest, DropExtensionCutsFromTheLastDot)
{
    EXPECT_EQ(paths::dropExtension("Ondasort.exe"), QByteArray("Ondasort"));
    EXPECT_EQ(paths::dropExtension("sorter.new.exe"), QByteArray("sorter.new"));
    EXPECT_EQ(paths::dropExtension("Ondasort"), QByteArray("Ondasort"));
    EXPECT_EQ(paths::dropExtension(".hidden"), QByteArray(""));
}

TEST(PathsTest, FolderNameIgnoresOneTrailingSlash)
{
    EXPECT_EQ(paths::folderName("/music/keep"), QByteArray("keep"));
    EXPECT_EQ(paths::folderName("/music/keep/"), QByteArray("keep"));
    EXPECT_EQ(paths::folderName("/"), QByteArray(""));
    EXPECT_EQ(paths::folderName("keep"), QByteArray("keep"));
    EXPECT_EQ(paths::folderName("../keep"), QByteArray("keep"));
}

TEST(PathsTest, DirectoryWithSeparatorKeepsTheSlash)
{
    EXPECT_EQ(paths::directoryWithSeparator("/opt/tools/Ondasort"), QByteArray("/opt/tools/"));
    EXPECT_EQ(paths::directoryWithSeparator("/Ondasort"), QByteArray("/"));
    EXPECT_EQ(paths::directoryWithSeparator("Ondasort"), QByteArray(""));
}

TEST(PathsTest, DisplayRoundTripKeepsValidNames)
{
    const QByteArray name = "/音楽/曲.mp3";
    EXPECT_EQ(paths::fromDisplay(paths::toDisplay(name)), name);
}

TEST(PathsTest, DisplayNamesOfAnyBytes)
{
    EXPECT_EQ(paths::toDisplay("a.mp3"), QStringLiteral("a.mp3"));
    EXPECT_EQ(paths::toDisplay("\xe9\x9f\xb3.mp3"), QStringLiteral("音.mp3"));
    // Shift_JIS bytes of "テスト".
    const QString sjis = paths::toDisplay("\x83\x65\x83\x58\x83\x67.mp3");
    if (QStringDecoder("Shift_JIS").isValid()) {
        EXPECT_EQ(sjis, QStringLiteral("テスト.mp3"));
    }
    EXPECT_TRUE(sjis.endsWith(QStringLiteral(".mp3")));
    // Bytes that are neither still show, with replacement characters.
    const QString broken = paths::toDisplay("\xff\xfe.mp3");
    EXPECT_TRUE(broken.endsWith(QStringLiteral(".mp3")));
    EXPECT_GE(broken.size(), 5);
}

} // namespace
