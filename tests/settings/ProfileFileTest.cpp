#include "settings/ProfileFile.h"

#include "support/FaultyFileSystem.h"
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

struct BareReturnCase
{
    const char *before;
    const char *after;
};

class LoneReturnTest : public ProfileFileTest, public ::testing::WithParamInterface<BareReturnCase> {};

// A last line ending in a lone CR keeps its value, and what is added after it
// starts on a line of its own.
TEST_P(LoneReturnTest, AddedEntriesStartOnTheirOwnLine)
{
    TempFolder::write(path, GetParam().before);
    ProfileFile ini(path);
    const QByteArray first = ini.readString("SET1", "LIST01");
    ASSERT_TRUE(ini.writeString("SET1", "LIST02", "/d2"));
    ASSERT_TRUE(ini.writeInteger("SET", "M_TOP", 3));
    EXPECT_EQ(TempFolder::read(path), GetParam().after);
    EXPECT_EQ(ini.readString("SET1", "LIST01"), first);
    EXPECT_TRUE(first.startsWith("/d1"));
    EXPECT_EQ(ini.readString("SET1", "LIST02"), "/d2");
    EXPECT_EQ(ini.readInteger("SET", "M_TOP", 0), 3);
}

INSTANTIATE_TEST_SUITE_P(ProfileFile, LoneReturnTest, ::testing::Values(
    BareReturnCase {"[SET1]\nLIST01=/d1\r",
        "[SET1]\nLIST01=/d1\r\nLIST02=/d2\n[SET]\nM_TOP=3\n"},
    BareReturnCase {"[SET1]\r\nLIST01=/d1\r",
        "[SET1]\r\nLIST01=/d1\r\nLIST02=/d2\r\n[SET]\r\nM_TOP=3\r\n"},
    BareReturnCase {"[SET1]\nLIST01=/d1\r\r",
        "[SET1]\nLIST01=/d1\r\r\nLIST02=/d2\n[SET]\nM_TOP=3\n"},
    BareReturnCase {"[SET1]\nLIST01=/d1",
        "[SET1]\nLIST01=/d1\nLIST02=/d2\n[SET]\nM_TOP=3\n"}));

// A file whose lines end in a bare CR (old Mac style, no LF anywhere) is read
// line by line, and every change keeps its CR-only line ends.
TEST_F(ProfileFileTest, ReturnOnlyFileIsReadLineByLineAndKeepsItsStyle)
{
    TempFolder::write(path, "; mac\r[SET]\rM_TOP=12\rM_LEFT=$20\r\r[SET1]\rMODE1=0\rLIST01=\"/a b\"\r[x]\rk=v");
    ProfileFile ini(path);
    EXPECT_EQ(ini.readInteger("SET", "M_TOP", 0), 12);
    EXPECT_EQ(ini.readInteger("SET", "M_LEFT", 0), 32);
    EXPECT_FALSE(ini.readBool("SET1", "MODE1", true));
    EXPECT_EQ(ini.readString("SET1", "LIST01"), "/a b");
    EXPECT_EQ(ini.readString("x", "k"), "v");
    EXPECT_EQ(ini.sections(), (QList<QByteArray> {"SET", "SET1", "x"}));

    ASSERT_TRUE(ini.writeInteger("SET", "M_TOP", 99));
    ASSERT_TRUE(ini.writeString("SET1", "LIST02", "/d2"));
    ASSERT_TRUE(ini.writeString("x", "k2", "w"));
    ASSERT_TRUE(ini.writeString("New", "n", "1"));
    EXPECT_EQ(TempFolder::read(path),
        "; mac\r[SET]\rM_TOP=99\rM_LEFT=$20\r\r[SET1]\rMODE1=0\rLIST01=\"/a b\"\rLIST02=/d2\r[x]\rk=v\rk2=w\r"
        "[New]\rn=1\r");
    ASSERT_TRUE(ini.write(ProfileChanges().replaceSection("x", {{"h", "1"}}).deleteKey("SET", "M_LEFT")));
    EXPECT_EQ(TempFolder::read(path),
        "; mac\r[SET]\rM_TOP=99\r\r[SET1]\rMODE1=0\rLIST01=\"/a b\"\rLIST02=/d2\r[x]\rh=1\r[New]\rn=1\r");
}

// The same changes made one by one and in one batch leave the same bytes.
TEST_F(ProfileFileTest, BatchWritesWhatSingleWritesWould)
{
    const QByteArray starts[] = {
        "",
        "; hand\r\n[set]\r\n m_top = 5 \r\njunk\r\n[SET1]\r\nLIST01=\"/a b\"\r\n[x]\r\nk=v",
        "[SET1]\nLIST05=/e\r",
        "[SET1]\n[SET]\n[SET1]\nMODE1=0\n",
        "[x]\rk=v\r[SET]\rM_TOP=1",
    };
    const auto batch = [] {
        ProfileChanges changes;
        changes.writeInteger("SET", "M_TOP", -4).writeInteger("SET", "M_LEFT", 9)
            .writeBool("SET1", "MODE1", true).writeBool("SET1", "MODE2", false)
            .writeString("SET1", "LIST00", "/src").writeString("SET1", "LIST05", "")
            .deleteKey("x", "k").writeString("x", "k2", "w");
        return changes;
    };
    for (const QByteArray &start : starts) {
        TempFolder::write(path, start);
        ProfileFile one(path);
        ASSERT_TRUE(one.writeInteger("SET", "M_TOP", -4));
        ASSERT_TRUE(one.writeInteger("SET", "M_LEFT", 9));
        ASSERT_TRUE(one.writeBool("SET1", "MODE1", true));
        ASSERT_TRUE(one.writeBool("SET1", "MODE2", false));
        ASSERT_TRUE(one.writeString("SET1", "LIST00", "/src"));
        ASSERT_TRUE(one.writeString("SET1", "LIST05", ""));
        ASSERT_TRUE(one.deleteKey("x", "k"));
        ASSERT_TRUE(one.writeString("x", "k2", "w"));
        const QByteArray single = TempFolder::read(path);

        TempFolder::write(path, start);
        ProfileFile all(path);
        ASSERT_TRUE(all.write(batch()));
        EXPECT_EQ(TempFolder::read(path), single) << start.constData();
    }
}

TEST_F(ProfileFileTest, BatchIsWrittenWholeOrNotAtAll)
{
    const QByteArray before = "[SET]\nM_TOP=1\n";
    TempFolder::write(path, before);
    FaultyFileSystem fs;
    ProfileFile ini(path, fs);
    // One bad name refuses the whole batch.
    EXPECT_FALSE(ini.write(ProfileChanges().writeInteger("SET", "M_TOP", 2).writeString("SET1", "a=b", "v")));
    EXPECT_EQ(ini.error(), EINVAL);
    fs.diskSpace = 20;
    EXPECT_FALSE(ini.write(ProfileChanges().writeInteger("SET", "M_TOP", 2).writeString("SET1", "LIST00", "/a/long/path")));
    EXPECT_EQ(TempFolder::read(path), before);
    fs.diskSpace = -1;
    ASSERT_TRUE(ini.write(ProfileChanges().writeInteger("SET", "M_TOP", 2).writeString("SET1", "LIST00", "/a")));
    EXPECT_EQ(fs.renames, 1);
    EXPECT_EQ(TempFolder::read(path), "[SET]\nM_TOP=2\n[SET1]\nLIST00=/a\n");
}

struct ReplaceCase
{
    const char *before;
    const char *after;
};

class ReplaceSectionTest : public ProfileFileTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceSectionTest, SectionHoldsExactlyTheNewEntries)
{
    TempFolder::write(path, GetParam().before);
    ProfileFile ini(path);
    ASSERT_TRUE(ini.write(ProfileChanges().replaceSection("Hist",
        {{"HistoryCount", "2"}, {"History0", "new\nline"}, {"History1", "b"}})));
    EXPECT_EQ(TempFolder::read(path), GetParam().after);
    EXPECT_EQ(ini.keys("HIST"), (QList<QByteArray> {"HistoryCount", "History0", "History1"}));
    EXPECT_EQ(ini.readString("hist", "History0"), "new");
}

INSTANTIATE_TEST_SUITE_P(ProfileFile, ReplaceSectionTest, ::testing::Values(
    // Missing: added at the end.
    ReplaceCase {"[a]\nx=1", "[a]\nx=1\n[Hist]\nHistoryCount=2\nHistory0=new\nHistory1=b\n"},
    // Old entries go, comments stay, the new ones take the first entry's place;
    // a second section of the same name loses its entries too.
    ReplaceCase {"[hist]\r\n; mine\r\nHistory0=old\r\nHistory7=x\r\n\r\n[a]\r\nx=1\r\n[HIST]\r\nHistory9=y\r\n",
        "[hist]\r\n; mine\r\nHistoryCount=2\r\nHistory0=new\r\nHistory1=b\r\n\r\n[a]\r\nx=1\r\n[HIST]\r\n"},
    // An empty section at the end of the file, its header ending in a lone CR.
    ReplaceCase {"[a]\nx=1\n[Hist]\r", "[a]\nx=1\n[Hist]\r\nHistoryCount=2\nHistory0=new\nHistory1=b\n"}));

TEST_F(ProfileFileTest, EmptyReplacementDeletesTheSection)
{
    TempFolder::write(path, "[Hist]\nHistory0=a\n[a]\nx=1\n");
    ASSERT_TRUE(ProfileFile(path).write(ProfileChanges().replaceSection("hist", {})));
    EXPECT_EQ(TempFolder::read(path), "[a]\nx=1\n");
}

// A FIFO, a device or a huge file in the settings file's place is neither
// read (which could block for ever or fill the memory) nor replaced.
TEST_F(ProfileFileTest, OnlyRegularFilesOfSaneSizeAreReadOrReplaced)
{
    const QByteArray fifo = folder / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    const QByteArray zero = folder / "zero.ini";
    ASSERT_EQ(::symlink("/dev/zero", zero.constData()), 0);
    const QByteArray huge = folder / "huge.ini";
    TempFolder::write(huge, "[SET]\nM_TOP=1\n");
    ASSERT_EQ(::truncate(huge.constData(), ProfileFile::kMaxFileSize + 1), 0);
    const QByteArray dir = folder / "dir.ini";
    ASSERT_EQ(::mkdir(dir.constData(), 0755), 0);

    const std::pair<QByteArray, regularfile::Outcome> cases[] = {
        {fifo, regularfile::Outcome::NotRegular},
        {zero, regularfile::Outcome::NotRegular},
        {dir, regularfile::Outcome::NotRegular},
        {huge, regularfile::Outcome::TooLarge},
        {folder / "none.ini", regularfile::Outcome::Missing},
    };
    for (const auto &[file, outcome] : cases) {
        ProfileFile ini(file);
        const ProfileSnapshot snapshot = ini.snapshot();
        EXPECT_EQ(snapshot.outcome(), outcome) << file.constData();
        EXPECT_EQ(snapshot.readInteger("SET", "M_TOP", 42), 42) << file.constData();
        if (outcome != regularfile::Outcome::Missing) {
            EXPECT_FALSE(ini.writeInteger("SET", "M_TOP", 2)) << file.constData();
        }
    }
    struct stat status {};
    ASSERT_EQ(::lstat(fifo.constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    ASSERT_EQ(::lstat(zero.constData(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    ASSERT_EQ(::stat(huge.constData(), &status), 0);
    EXPECT_EQ(status.st_size, ProfileFile::kMaxFileSize + 1);
}

// Names match without regard to ASCII case only: the bytes of a double-byte
// name are not folded.
TEST_F(ProfileFileTest, OnlyAsciiLettersFoldCase)
{
    TempFolder::write(path, "[\xc0]\nK=1\n[\xe0]\nK=2\n");
    ProfileFile ini(path);
    EXPECT_EQ(ini.readInteger("\xc0", "k", 0), 1);
    EXPECT_EQ(ini.readInteger("\xe0", "k", 0), 2);
    EXPECT_EQ(ini.sections(), (QList<QByteArray> {"\xc0", "\xe0"}));
}

// A name is found the way a line holds it (trimmed); a key that could never
// be read back (a comment, a broken section line) is refused.
TEST_F(ProfileFileTest, NamesAreTrimmedAndUnreadableKeysRefused)
{
    ProfileFile ini(path);
    ASSERT_TRUE(ini.writeString(" SET1\t", "  LIST01 ", "/a"));
    EXPECT_EQ(ini.readString("SET1", "LIST01"), "/a");
    EXPECT_EQ(ini.readString(" set1 ", " list01\t"), "/a");
    for (const char *key : {";LIST01", " ;x", "[x", "\v"})
        EXPECT_FALSE(ini.writeString("SET1", key, "]")) << key;
    EXPECT_EQ(ini.keys("SET1"), (QList<QByteArray> {"LIST01"}));
}

} // namespace
