#include "platform/ProfileFile.h"

#include "FaultyFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct ProfileFileTest : ::testing::Test {
    TempFolder folder;
    QByteArray path = folder / "Ondasort.ini";
};

TEST_F(ProfileFileTest, MissingFileGivesDefaults)
{
    ProfileFile ini(path);
    EXPECT_EQ(ini.readString("SET1", "LIST00", "default"), "default");
    EXPECT_EQ(ini.readInteger("SET", "M_TOP", 17), 17);
    EXPECT_FALSE(ini.readInteger("SET", "M_TOP").has_value());
    EXPECT_TRUE(ini.readBool("SET1", "MODE1", true));
    EXPECT_TRUE(ini.keys("SET1").isEmpty());
}

TEST_F(ProfileFileTest, StringsLoseBlanksAndOnePairOfQuotes)
{
    TempFolder::write(path,
        "[SET1]\r\n"
        "  plain  =  /home/u/Music  \r\n"
        "double=\"  spaced  \"\r\n"
        "single=' x '\r\n"
        "twice=\"\"x\"\"\r\n"
        "mixed=\"x'\r\n"
        "empty=\r\n"
        "quotesonly=\"\"\r\n"
        "lone=\"\r\n"
        "inner=a=b\r\n");
    ProfileFile ini(path);
    const struct {
        const char *key;
        QByteArray expected;
    } cases[] = {
        {"plain", "/home/u/Music"},
        {"PLAIN", "/home/u/Music"},
        {"double", "  spaced  "},
        {"single", " x "},
        {"twice", "\"x\""},
        {"mixed", "\"x'"},
        {"empty", ""},
        {"quotesonly", ""},
        {"lone", "\""},
        {"inner", "a=b"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ini.readString("set1", c.key, "<default>"), c.expected) << c.key;
}

TEST_F(ProfileFileTest, EmptyValueIsNotTheDefault)
{
    TempFolder::write(path, "[SET1]\nLIST01=\n");
    EXPECT_EQ(ProfileFile(path).readString("SET1", "LIST01", "keep"), "");
}

TEST_F(ProfileFileTest, SectionAndKeyMatchWithoutCaseAndOnlyInsideTheirSection)
{
    TempFolder::write(path,
        "M_TOP=1\n"            // before any section: belongs to none
        "[other]\nM_TOP=2\n"
        "[ Set ]\n m_top = 3\n"
        "[SET]\nM_TOP=4\n");   // a second section of the same name comes later
    ProfileFile ini(path);
    EXPECT_EQ(ini.readInteger("SET", "M_TOP", 0), 3);
    EXPECT_EQ(ini.readInteger("OTHER", "m_Top", 0), 2);
    EXPECT_EQ(ini.readInteger("none", "M_TOP", -1), -1);
}

TEST_F(ProfileFileTest, CommentLinesAreNotEntries)
{
    TempFolder::write(path, "[SET]\n;M_TOP=5\nM_LEFT\n");
    ProfileFile ini(path);
    EXPECT_EQ(ini.readInteger("SET", ";M_TOP", 9), 9);
    EXPECT_EQ(ini.readString("SET", "M_LEFT", "d"), "d");
}

TEST(ProfileFileInteger, ParsesTheSettingsIntegerRules)
{
    const struct {
        const char *text;
        std::optional<int> expected;
    } cases[] = {
        {"0", 0}, {"42", 42}, {" -5", -5}, {"\t+7", 7},
        {"$1F", 31}, {"$1f", 31}, {"0x20", 32}, {"0X20", 32}, {"-$10", -16}, {"-0x10", -16},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"$FFFFFFFF", -1}, {"$7FFFFFFF", 2147483647},
        {"abc", std::nullopt}, {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt},
        {"$", std::nullopt}, {"0x", std::nullopt}, {"12abc", std::nullopt}, {"1 2", std::nullopt},
        {"- 5", std::nullopt}, {"2147483648", std::nullopt}, {"-2147483649", std::nullopt},
        {"$100000000", std::nullopt}, {"$G", std::nullopt}, {"1.5", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProfileFile::parseInteger(c.text), c.expected) << '"' << c.text << '"';
}

TEST_F(ProfileFileTest, UnparsableIntegerLeavesTheDefault)
{
    TempFolder::write(path, "[SET]\nM_TOP=abc\nM_LEFT=0x20\n[SET1]\nMODE1=\" 2\"\nMODE2=0\n");
    ProfileFile ini(path);
    EXPECT_EQ(ini.readInteger("SET", "M_TOP", 100), 100);
    EXPECT_EQ(ini.readInteger("SET", "M_LEFT", 100), 32);
    EXPECT_TRUE(ini.readBool("SET1", "MODE1", false));
    EXPECT_FALSE(ini.readBool("SET1", "MODE2", true));
}

TEST_F(ProfileFileTest, ValuesAreCappedAt2047Bytes)
{
    const QByteArray longValue(3000, 'x');
    TempFolder::write(path, "[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ProfileFile(path).readString("S", "k"), longValue.left(2047));
}

TEST_F(ProfileFileTest, NewFileGetsSectionsAndKeysInWriteOrder)
{
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeInteger("SET", "M_TOP", -12));
    ASSERT_TRUE(ini.writeInteger("SET", "M_LEFT", 300));
    ASSERT_TRUE(ini.writeBool("SET1", "MODE1", true));
    ASSERT_TRUE(ini.writeBool("SET1", "MODE2", false));
    ASSERT_TRUE(ini.writeString("SET1", "LIST00", "/home/u/\xe9\x9f\xb3"));
    ASSERT_TRUE(ini.writeString("SET1", "LIST01", ""));
    EXPECT_EQ(TempFolder::read(path),
        "[SET]\nM_TOP=-12\nM_LEFT=300\n"
        "[SET1]\nMODE1=1\nMODE2=0\nLIST00=/home/u/\xe9\x9f\xb3\nLIST01=\n");
    EXPECT_EQ(ini.readString("SET1", "LIST00"), "/home/u/\xe9\x9f\xb3");
    EXPECT_EQ(ini.readInteger("SET", "M_TOP", 0), -12);
}

TEST_F(ProfileFileTest, UpdatesInPlaceAndLeavesEveryOtherLineAlone)
{
    const QByteArray before =
        "; written by hand\r\n"
        "[Other]\r\n"
        "M_TOP=keep\r\n"
        "\r\n"
        "[set]\r\n"
        "  m_top = 5   \r\n"
        "junk line without equals\r\n"
        "M_LEFT=7\r\n"
        "\r\n"
        "; trailing comment\r\n"
        "[Last]\r\n"
        "x=\xff\xfe raw bytes";
    TempFolder::write(path, before);
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeInteger("SET", "M_TOP", 99));
    ASSERT_TRUE(ini.writeInteger("SET", "NEW", 1));
    ASSERT_TRUE(ini.writeString("last", "y", "2"));
    ASSERT_TRUE(ini.writeString("SET1", "LIST00", "/x"));
    EXPECT_EQ(TempFolder::read(path),
        "; written by hand\r\n"
        "[Other]\r\n"
        "M_TOP=keep\r\n"
        "\r\n"
        "[set]\r\n"
        "  m_top =99\r\n"
        "junk line without equals\r\n"
        "M_LEFT=7\r\n"
        "NEW=1\r\n"
        "\r\n"
        "; trailing comment\r\n"
        "[Last]\r\n"
        "x=\xff\xfe raw bytes\r\n"
        "y=2\r\n"
        "[SET1]\r\n"
        "LIST00=/x\r\n");
}

TEST_F(ProfileFileTest, KeyIsAddedRightAfterAnEmptySectionHeader)
{
    TempFolder::write(path, "[SET1]\n[SET]\nM_TOP=1\n");
    ASSERT_TRUE(ProfileFile(path).writeString("SET1", "LIST00", "a"));
    EXPECT_EQ(TempFolder::read(path), "[SET1]\nLIST00=a\n[SET]\nM_TOP=1\n");
}

TEST_F(ProfileFileTest, LineBreaksInAValueCannotForgeEntries)
{
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString("SET1", "LIST01", "/tmp/a\nM_TOP=5\r\nx"));
    EXPECT_EQ(ini.readString("SET1", "LIST01"), "/tmp/a");
    EXPECT_FALSE(ini.readInteger("SET1", "M_TOP").has_value());
    EXPECT_FALSE(ini.writeString("SET1\n[SET", "k", "v"));
    EXPECT_FALSE(ini.writeString("SET]", "k", "v"));
    EXPECT_FALSE(ini.writeString("SET1", "a=b", "v"));
    EXPECT_FALSE(ini.writeString("SET1", "", "v"));
    EXPECT_EQ(TempFolder::read(path), "[SET1]\nLIST01=/tmp/a\n");
}

TEST_F(ProfileFileTest, DeletesKeysAndSectionsAndListsThem)
{
    TempFolder::write(path, "[H]\nHistoryCount=2\nHistory0=a\nhistory0=dup\nHistory1=b\n[K]\nz=1\n");
    ProfileFile ini(path);
    EXPECT_EQ(ini.keys("h"), (QList<QByteArray> {"HistoryCount", "History0", "History1"}));
    EXPECT_EQ(ini.sections(), (QList<QByteArray> {"H", "K"}));
    ASSERT_TRUE(ini.deleteKey("H", "HISTORY0"));
    EXPECT_EQ(TempFolder::read(path), "[H]\nHistoryCount=2\nHistory1=b\n[K]\nz=1\n");
    ASSERT_TRUE(ini.deleteSection("h"));
    EXPECT_EQ(TempFolder::read(path), "[K]\nz=1\n");
    ASSERT_TRUE(ini.deleteKey("missing", "x"));
    EXPECT_EQ(TempFolder::read(path), "[K]\nz=1\n");
    ProfileFile none(folder / "none.ini");
    EXPECT_TRUE(none.deleteKey("K", "z"));
    EXPECT_TRUE(none.deleteSection("K"));
    EXPECT_EQ(TempFolder::read(folder / "none.ini"), "<missing>");
}

TEST_F(ProfileFileTest, ReadOnlyFileIsRefusedAndUnchanged)
{
    const QByteArray before = "[SET]\nM_TOP=1\n";
    TempFolder::write(path, before);
    ::chmod(path.constData(), 0444);
    ProfileFile ini(path);
    EXPECT_FALSE(ini.writeInteger("SET", "M_TOP", 2));
    EXPECT_EQ(ini.error(), EACCES);
    EXPECT_EQ(ini.path(), path);
    EXPECT_EQ(TempFolder::read(path), before);
    EXPECT_EQ(TempFolder::list(folder.path()), std::vector<QByteArray> {"Ondasort.ini"});
}

TEST_F(ProfileFileTest, FailedRewriteKeepsTheWholeOldFile)
{
    const QByteArray before = "[SET]\nM_TOP=1\n[SET1]\nLIST00=/music\n";
    TempFolder::write(path, before);
    FaultyFileSystem fs;
    fs.diskSpace = 8;
    ProfileFile ini(path, fs);
    EXPECT_FALSE(ini.writeInteger("SET", "M_TOP", 2));
    EXPECT_EQ(ini.error(), ENOSPC);
    fs.diskSpace = -1;
    fs.fsyncError = EIO;
    EXPECT_FALSE(ini.writeInteger("SET", "M_TOP", 2));
    EXPECT_EQ(TempFolder::read(path), before);
    EXPECT_EQ(TempFolder::list(folder.path()), std::vector<QByteArray> {"Ondasort.ini"});
}

TEST_F(ProfileFileTest, MissingOrUnwritableFolderIsRefused)
{
    ProfileFile missing(folder / "gone/Ondasort.ini");
    EXPECT_FALSE(missing.writeInteger("SET", "M_TOP", 2));
    EXPECT_NE(missing.error(), 0);
    EXPECT_TRUE(TempFolder::list(folder.path()).empty());

    // A folder the user may not write to (simulated: tests may run as root).
    const QByteArray before = "[SET]\nM_TOP=1\n";
    TempFolder::write(path, before);
    FaultyFileSystem fs;
    fs.accessError = EACCES;
    ProfileFile ini(path, fs);
    EXPECT_FALSE(ini.writeInteger("SET", "M_TOP", 2));
    EXPECT_EQ(ini.error(), EACCES);
    EXPECT_EQ(TempFolder::read(path), before);
    EXPECT_EQ(TempFolder::list(folder.path()), std::vector<QByteArray> {"Ondasort.ini"});
}

TEST_F(ProfileFileTest, WritingKeepsPermissionsLinksAndLeavesNoTemporaryFile)
{
    TempFolder::write(folder / "real.ini", "[SET]\nM_TOP=1\n");
    ::chmod((folder / "real.ini").constData(), 0640);
    ASSERT_EQ(::symlink("real.ini", path.constData()), 0);
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeInteger("SET", "M_TOP", 2));
    struct stat link {};
    ASSERT_EQ(::lstat(path.constData(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    struct stat real {};
    ASSERT_EQ(::stat((folder / "real.ini").constData(), &real), 0);
    EXPECT_EQ(real.st_mode & 07777, 0640u);
    EXPECT_EQ(TempFolder::read(folder / "real.ini"), "[SET]\nM_TOP=2\n");
    EXPECT_EQ(TempFolder::list(folder.path()), (std::vector<QByteArray> {"Ondasort.ini", "real.ini"}));
}

} // namespace
