#include "platform/Trash.h"

#include "platform/FileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cctype>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

// Opens of a trash record fail with a chosen error, as in a trash whose
// "info" folder cannot be written.
class RecordRefusingFileSystem : public FaultyFileSystem
{
public:
    int recordOpenError = 0;

    int open(const char *path, int flags, mode_t mode) override
    {
        if (recordOpenError && QByteArray(path).endsWith(".trashinfo")) {
            errno = recordOpenError;
            return -1;
        }
        return FaultyFileSystem::open(path, flags, mode);
    }
};

// The Path a trash record names, percent-decoded as a trash tool reads it.
QByteArray recordedPath(const QByteArray &record)
{
    for (const QByteArray &line : record.split('\n')) {
        if (line.startsWith("Path="))
            return QByteArray::fromPercentEncoding(line.mid(5));
    }
    return {};
}

// A fresh account: a home folder without ~/.local/share, no XDG_DATA_HOME,
// and the program's working directory elsewhere.
class FreshAccountTrash : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(::getcwd(m_cwd, sizeof m_cwd), nullptr);
        ASSERT_EQ(::chdir(workingDirectory.path().constData()), 0);
    }
    void TearDown() override
    {
        [[maybe_unused]] const int back = ::chdir(m_cwd);
    }

    QByteArray homeTrash() const { return home / ".local/share/Trash"; }

    TempFolder home;
    TempFolder workingDirectory;
    ScopedEnvironment homeSetting {"HOME", home.path()};
    ScopedEnvironment noDataHome {"XDG_DATA_HOME", QByteArray()};

private:
    char m_cwd[PATH_MAX] {};
};

TEST_F(FreshAccountTrash, TheDataFolderIsMadeAndNothingLandsInTheWorkingDirectory)
{
    const QByteArray file = home / "song.wav";
    TempFolder::write(file, "bytes");
    const QByteArray inTrash = trash::send(file);
    EXPECT_EQ(inTrash, homeTrash() + "/files/song.wav");
    EXPECT_EQ(TempFolder::read(inTrash), QByteArray("bytes"));
    EXPECT_FALSE(QFile::exists(QFile::decodeName(file)));
    EXPECT_TRUE(TempFolder::list(workingDirectory.path()).empty());
    struct stat status {};
    ASSERT_EQ(::stat((home / ".local").constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

// The user's own trash may be a link the user made to a folder elsewhere.
TEST_F(FreshAccountTrash, TheUsersOwnTrashMayBeALink)
{
    ASSERT_EQ(::mkdir((home / ".local").constData(), 0700), 0);
    ASSERT_EQ(::mkdir((home / ".local/share").constData(), 0700), 0);
    ASSERT_EQ(::mkdir((home / "bin").constData(), 0700), 0);
    ASSERT_EQ(::symlink((home / "bin").constData(), homeTrash().constData()), 0);
    const QByteArray file = home / "song.wav";
    TempFolder::write(file, "bytes");
    const trash::Sent sent = trash::sendToTrash(file);
    ASSERT_FALSE(sent.error) << sent.error.message();
    EXPECT_EQ(TempFolder::read(home / "bin/files/song.wav"), QByteArray("bytes"));
    EXPECT_EQ(recordedPath(TempFolder::read(home / "bin/info/song.wav.trashinfo")), file);
}

// The trash's record of a file, read back as a trash tool reads it: the Path
// value percent-decoded names the original bytes, and it holds nothing a URI
// may not (a "%" of the name itself arrives as "%25").
TEST_F(FreshAccountTrash, TheRecordNamesTheOriginalExactly)
{
    const QByteArray names[] = {
        "mix%20final.mp3",
        "100%.wav",
        "a b#c?.mp3",
        "日本語 %41.mid",
        "\xC0\xB5 not utf-8.wav",
    };
    for (const QByteArray &name : names) {
        SCOPED_TRACE(name.constData());
        const QByteArray file = home / name;
        TempFolder::write(file, "bytes");
        const QByteArray inTrash = trash::send(file);
        ASSERT_FALSE(inTrash.isEmpty());
        const QByteArray record = TempFolder::read(trash::infoFileOf(inTrash));
        ASSERT_TRUE(record.startsWith("[Trash Info]\nPath=")) << record.constData();
        EXPECT_EQ(recordedPath(record), file);
        const QByteArray raw = record.split('\n').at(1).mid(5);
        for (const char c : raw)
            EXPECT_TRUE(QByteArray("/%-._~").contains(c) || std::isalnum(static_cast<unsigned char>(c))) << c;
        EXPECT_TRUE(record.contains("\nDeletionDate=")) << record.constData();
    }
    // Nothing is left over beside the records.
    for (const QByteArray &entry : TempFolder::list(homeTrash() + "/info"))
        EXPECT_TRUE(entry.endsWith(".trashinfo")) << entry.constData();
}

// Files of one name each get a name of their own in the trash, with a
// record beside it; a file another program left in "files" without a
// record keeps its name and its bytes; a name too long for the record's
// name is shortened, whole characters at a time, keeping its extension.
TEST_F(FreshAccountTrash, EveryFileGetsANameOfItsOwnAndARecord)
{
    ASSERT_EQ(::mkdir((home / ".local").constData(), 0700), 0);
    ASSERT_EQ(::mkdir((home / ".local/share").constData(), 0700), 0);
    ASSERT_EQ(::mkdir(homeTrash().constData(), 0700), 0);
    ASSERT_EQ(::mkdir((homeTrash() + "/files").constData(), 0700), 0);
    TempFolder::write(homeTrash() + "/files/song.mp3", "stray");

    std::vector<QByteArray> sent;
    for (const QByteArray bytes : {"first", "second", "third"}) {
        TempFolder::write(home / "song.mp3", bytes);
        sent.push_back(trash::send(home / "song.mp3"));
        EXPECT_EQ(TempFolder::read(sent.back()), bytes);
        EXPECT_EQ(recordedPath(TempFolder::read(trash::infoFileOf(sent.back()))), home / "song.mp3");
    }
    EXPECT_EQ(sent, (std::vector<QByteArray> {homeTrash() + "/files/song.2.mp3", homeTrash() + "/files/song.3.mp3",
                        homeTrash() + "/files/song.4.mp3"}));
    EXPECT_EQ(TempFolder::read(homeTrash() + "/files/song.mp3"), "stray");
    EXPECT_EQ(TempFolder::list(homeTrash() + "/info"),
        (std::vector<QByteArray> {"song.2.mp3.trashinfo", "song.3.mp3.trashinfo", "song.4.mp3.trashinfo"}));

    QByteArray longName;
    while (longName.size() < 243)
        longName += "曲";
    longName += ".flac";
    const QByteArray file = home / longName;
    TempFolder::write(file, "long");
    const QByteArray inTrash = trash::send(file);
    ASSERT_FALSE(inTrash.isEmpty());
    const QByteArray trashName = inTrash.mid(inTrash.lastIndexOf('/') + 1);
    EXPECT_TRUE(trashName.endsWith(".flac"));
    EXPECT_TRUE(QString::fromUtf8(trashName).toUtf8() == trashName) << "cut inside a character";
    EXPECT_LE(trashName.size() + qsizetype(sizeof ".trashinfo") - 1, 255);
    EXPECT_EQ(recordedPath(TempFolder::read(trash::infoFileOf(inTrash))), file);
}

// Of the records a clean-up is asked about, only one left by a send killed
// before its file arrived goes: its file is still at the old place, none
// is in "files" under the record's name, and it was written before the
// clean-up began. Records of files the trash holds, of files gone from
// their old place, or written by a send under way now, stay.
TEST_F(FreshAccountTrash, OnlyARecordWhoseFileNeverArrivedIsDropped)
{
    struct Case {
        const char *name;
        bool inTrash;      // a file in "files" under the record's name
        bool stillThere;   // the file at its old place
        bool asked;        // its old place among those asked about
        bool earlier;      // written before the clean-up began
        bool dropped;
    };
    const Case cases[] = {
        {"killed.mp3", false, true, true, true, true},
        {"held.mp3", true, true, true, true, false},
        {"gone.mp3", false, false, true, true, false},
        {"other.mp3", false, true, false, true, false},
        {"now.mp3", false, true, true, false, false},
    };
    ASSERT_EQ(::mkdir((home / ".local").constData(), 0700), 0);
    ASSERT_EQ(::mkdir((home / ".local/share").constData(), 0700), 0);
    const QByteArray trash = homeTrash();
    for (const char *folder : {"", "/files", "/info"})
        ASSERT_EQ(::mkdir((trash + folder).constData(), 0700), 0);
    const time_t cleanUp = std::time(nullptr);
    QByteArrayList asked;
    for (const Case &c : cases) {
        const QByteArray original = home / c.name;
        const QByteArray record = trash + "/info/" + c.name + ".trashinfo";
        TempFolder::write(record, "[Trash Info]\nPath=" + original.toPercentEncoding("/") + "\nDeletionDate=2026-01-01T00:00:00\n");
        const struct timespec times[2] = {{0, UTIME_OMIT}, {c.earlier ? cleanUp - 60 : cleanUp + 1, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, record.constData(), times, 0), 0);
        if (c.inTrash)
            TempFolder::write(trash + "/files/" + c.name, "in the trash");
        if (c.stillThere)
            TempFolder::write(original, "at its place");
        if (c.asked)
            asked << original;
    }

    EXPECT_EQ(trash::dropRecordsWithoutFile(FileSystem::posix(), trash, asked, cleanUp), 1);
    for (const Case &c : cases) {
        struct stat status {};
        const bool kept = ::lstat((trash + "/info/" + c.name + ".trashinfo").constData(), &status) == 0;
        EXPECT_EQ(kept, !c.dropped) << c.name;
        if (c.stillThere) {
            EXPECT_EQ(TempFolder::read(home / c.name), "at its place") << c.name;
        }
    }
}

// A trash that cannot be written (an "info" folder the user may not write,
// a full disk, "info" not a folder, a "files" folder that refuses the file)
// fails at once with the reason; the file stays where it was, whole, and
// no record is left without its file.
struct Refusal {
    const char *name;
    std::function<void(RecordRefusingFileSystem &, const QByteArray &trash)> arm;
    std::errc expected;
};

class TrashRefusal : public FreshAccountTrash, public ::testing::WithParamInterface<Refusal>
{
};

TEST_P(TrashRefusal, FailsWithTheReasonAndTheFileStays)
{
    const QByteArray file = home / "song.mp3";
    TempFolder::write(file, "the only copy");
    RecordRefusingFileSystem fs;
    ASSERT_EQ(::mkdir((home / ".local").constData(), 0700), 0);
    ASSERT_EQ(::mkdir((home / ".local/share").constData(), 0700), 0);
    ASSERT_EQ(::mkdir(homeTrash().constData(), 0700), 0);
    GetParam().arm(fs, homeTrash());
    const trash::Sent sent = trash::sendToTrash(file, fs);
    EXPECT_EQ(sent.error, GetParam().expected) << sent.error.message();
    EXPECT_TRUE(sent.inTrash.isEmpty());
    EXPECT_EQ(TempFolder::read(file), "the only copy");
    EXPECT_TRUE(TempFolder::list(homeTrash() + "/files").empty());
    EXPECT_TRUE(TempFolder::list(homeTrash() + "/info").empty());
}

INSTANTIATE_TEST_SUITE_P(, TrashRefusal, ::testing::Values(
    Refusal {"info_unwritable", [](RecordRefusingFileSystem &fs, const QByteArray &) {
        fs.recordOpenError = EACCES;
    }, std::errc::permission_denied},
    Refusal {"disk_full", [](RecordRefusingFileSystem &fs, const QByteArray &) {
        fs.diskSpace = 0;
    }, std::errc::no_space_on_device},
    Refusal {"record_cut_short", [](RecordRefusingFileSystem &fs, const QByteArray &) {
        fs.diskSpace = 10;
    }, std::errc::no_space_on_device},
    Refusal {"info_not_a_folder", [](RecordRefusingFileSystem &, const QByteArray &trash) {
        TempFolder::write(trash + "/info", "");
    }, std::errc::permission_denied},
    Refusal {"files_refuses", [](RecordRefusingFileSystem &fs, const QByteArray &) {
        fs.renameFault = [](const QByteArray &, const QByteArray &to) { return to.contains("/files/") ? EACCES : 0; };
    }, std::errc::permission_denied}),
    [](const auto &info) { return std::string(info.param.name); });

// A file on another mount goes to the trash at that mount's top, renamed,
// with a record whose Path is relative to the top: an administrator's
// shared ".Trash" (a folder with the sticky bit) holds one per user,
// otherwise the user's ".Trash-<uid>"; a ".Trash" without the sticky bit, or
// a link, is never used. Where the top takes no trash, the file goes to the
// user's own trash, copied.
struct MountCase {
    const char *name;
    std::function<void(const QByteArray &top)> prepare;
    const char *trashFolder; // below the top; empty: the user's own trash
};

class TrashOnAnotherMount : public FreshAccountTrash, public ::testing::WithParamInterface<MountCase>
{
};

TEST_P(TrashOnAnotherMount, GoesToTheTrashAtItsTop)
{
    TempFolder mount;
    FaultyFileSystem fs;
    fs.otherFileSystem = mount.path();
    ASSERT_EQ(::mkdir((mount / "music").constData(), 0755), 0);
    const QByteArray file = mount / "music/a b.mp3";
    TempFolder::write(file, "on the stick");
    GetParam().prepare(mount.path());

    const trash::Sent sent = trash::sendToTrash(file, fs);
    ASSERT_FALSE(sent.error) << sent.error.message();
    const QByteArray uid = QByteArray::number(::geteuid());
    const QByteArray folder = QByteArray(GetParam().trashFolder).replace("<uid>", uid);
    const QByteArray root = folder.isEmpty() ? homeTrash() : mount / folder;
    EXPECT_EQ(sent.inTrash, root + "/files/a b.mp3");
    EXPECT_EQ(TempFolder::read(sent.inTrash), "on the stick");
    EXPECT_EQ(TempFolder::read(file), "<missing>");
    EXPECT_EQ(recordedPath(TempFolder::read(root + "/info/a b.mp3.trashinfo")),
        folder.isEmpty() ? file : QByteArray("music/a b.mp3"));
    struct stat status {};
    ASSERT_EQ(::lstat(root.constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

INSTANTIATE_TEST_SUITE_P(, TrashOnAnotherMount, ::testing::Values(
    MountCase {"own_trash_made", [](const QByteArray &) {}, ".Trash-<uid>"},
    MountCase {"shared_trash", [](const QByteArray &top) {
        ::mkdir((top + "/.Trash").constData(), 01777);
        ::chmod((top + "/.Trash").constData(), 01777);
    }, ".Trash/<uid>"},
    MountCase {"shared_trash_without_sticky_bit", [](const QByteArray &top) {
        ::mkdir((top + "/.Trash").constData(), 0777);
    }, ".Trash-<uid>"},
    MountCase {"own_trash_a_link", [](const QByteArray &top) {
        ::mkdir((top + "/elsewhere").constData(), 0700);
        ::symlink("elsewhere", (top + "/.Trash-" + QByteArray::number(::geteuid())).constData());
    }, ""}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
