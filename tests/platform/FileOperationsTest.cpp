#include "platform/FileOperations.h"
#include "platform/FileSystem.h"

#include "support/FaultyFileSystem.h"
#include "support/KillingFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Source and target folders with a 200 KiB source (several copy buffers)
// and an older file already at the target.
struct FileOperationsTest : ::testing::Test {
    TempFolder root;
    QByteArray sourceFolder = root / "from";
    QByteArray targetFolder = root / "to";
    QByteArray source = sourceFolder + "/song.mp3";
    QByteArray target = targetFolder + "/song.mp3";
    QByteArray sourceBytes;
    QByteArray targetBytes = "older file at the target";
    FaultyFileSystem fs;
    int lockHolder = -1;

    ~FileOperationsTest() override
    {
        if (lockHolder >= 0)
            ::close(lockHolder);
    }

    void SetUp() override
    {
        ::mkdir(sourceFolder.constData(), 0755);
        ::mkdir(targetFolder.constData(), 0755);
        for (int i = 0; sourceBytes.size() < 200 * 1024; ++i)
            sourceBytes += QByteArray::number(i) + ' ';
        TempFolder::write(source, sourceBytes);
        TempFolder::write(target, targetBytes);
    }

    // Nothing lost, nothing changed, nothing left behind.
    void expectUntouched()
    {
        EXPECT_EQ(TempFolder::read(source), sourceBytes);
        EXPECT_EQ(TempFolder::read(target), targetBytes);
        EXPECT_EQ(TempFolder::list(sourceFolder), std::vector<QByteArray> {"song.mp3"});
        EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
    }
};

enum class Operation { Move, Copy };

struct Fault {
    const char *name;
    Operation operation;
    std::function<void(FileOperationsTest &)> arm;
};

class FileOperationsFault : public FileOperationsTest, public ::testing::WithParamInterface<Fault>
{
};

TEST_P(FileOperationsFault, LeavesSourceAndTargetAsTheyWere)
{
    GetParam().arm(*this);
    FileOperations operations(fs);
    const std::error_code error = GetParam().operation == Operation::Move
        ? operations.move(source, target)
        : operations.copy(source, target);
    EXPECT_TRUE(error) << GetParam().name;
    expectUntouched();
}

const Fault kFaults[] = {
    {"move_rename_denied", Operation::Move,
        [](FileOperationsTest &t) { t.fs.renameFault = [](auto &, auto &) { return EACCES; }; }},
    {"move_disk_full_half_way", Operation::Move,
        [](FileOperationsTest &t) {
            t.fs.renameFault = acrossFileSystems;
            t.fs.diskSpace = 100 * 1024;
        }},
    {"move_fsync_fails", Operation::Move,
        [](FileOperationsTest &t) {
            t.fs.renameFault = acrossFileSystems;
            t.fs.fsyncError = EIO;
        }},
    {"move_final_rename_fails", Operation::Move,
        [](FileOperationsTest &t) { t.fs.renameFault = [](auto &, auto &) { return EXDEV; }; }},
    {"move_source_cut_short", Operation::Move,
        [](FileOperationsTest &t) {
            t.fs.renameFault = acrossFileSystems;
            t.fs.readsBeforeEnd = 1;
        }},
    {"move_source_folder_read_only", Operation::Move,
        [](FileOperationsTest &t) {
            t.fs.renameFault = acrossFileSystems;
            t.fs.accessError = EACCES;
        }},
    {"copy_disk_full_half_way", Operation::Copy,
        [](FileOperationsTest &t) { t.fs.diskSpace = 100 * 1024; }},
    {"copy_disk_full_with_short_writes", Operation::Copy,
        [](FileOperationsTest &t) {
            t.fs.maxWrite = 1000;
            t.fs.diskSpace = 150 * 1024 + 17;
        }},
    {"copy_fsync_fails", Operation::Copy,
        [](FileOperationsTest &t) { t.fs.fsyncError = EIO; }},
    {"copy_rename_fails", Operation::Copy,
        [](FileOperationsTest &t) { t.fs.renameFault = [](auto &, auto &) { return EACCES; }; }},
    {"copy_source_cut_short", Operation::Copy,
        [](FileOperationsTest &t) { t.fs.readsBeforeEnd = 2; }},
};

INSTANTIATE_TEST_SUITE_P(, FileOperationsFault, ::testing::ValuesIn(kFaults),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FileOperationsTest, MoveReplacesTheTargetByRename)
{
    FileOperations operations(fs);
    EXPECT_FALSE(operations.move(source, target));
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_TRUE(TempFolder::list(sourceFolder).empty());
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
    EXPECT_EQ(fs.renames, 1);
}

TEST_F(FileOperationsTest, MoveAcrossFileSystemsCopiesThenRemovesTheSource)
{
    struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
    ::utimensat(AT_FDCWD, source.constData(), times, 0);
    ::chmod(source.constData(), 0604);
    fs.renameFault = acrossFileSystems;
    fs.maxWrite = 7000; // short writes along the way
    EXPECT_FALSE(FileOperations(fs).move(source, target));
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_TRUE(TempFolder::list(sourceFolder).empty());
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
    struct stat status {};
    ASSERT_EQ(::stat(target.constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(status.st_mtim.tv_sec, 1200000000);
}

struct ProgressCase
{
    const char *what;
    Operation operation;
    bool across;
    bool reported; // whether bytes are copied (and so reported) at all
};

class FileOperationsProgress : public FileOperationsTest, public ::testing::WithParamInterface<ProgressCase>
{
};

TEST_P(FileOperationsProgress, CopyingReportsRisingCountsUpToTheSize)
{
    const ProgressCase &c = GetParam();
    if (c.across)
        fs.renameFault = acrossFileSystems;
    std::vector<std::pair<qint64, qint64>> calls;
    const auto progress = [&](qint64 copied, qint64 total) { calls.emplace_back(copied, total); };
    FileOperations operations(fs);
    EXPECT_FALSE(c.operation == Operation::Move ? operations.move(source, target, {}, progress)
                                                : operations.copy(source, target, {}, progress));
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    if (!c.reported) {
        EXPECT_TRUE(calls.empty()) << c.what;
        return;
    }
    const qint64 size = sourceBytes.size();
    ASSERT_GE(calls.size(), 4u) << c.what; // 200 KiB in 64 KiB reads
    EXPECT_EQ(calls.front(), std::make_pair(qint64(0), size)) << c.what;
    EXPECT_EQ(calls.back(), std::make_pair(size, size)) << c.what;
    for (size_t i = 1; i < calls.size(); ++i) {
        EXPECT_GT(calls[i].first, calls[i - 1].first) << c.what;
        EXPECT_EQ(calls[i].second, size) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(, FileOperationsProgress, ::testing::Values(
    ProgressCase {"rename", Operation::Move, false, false},
    ProgressCase {"move across", Operation::Move, true, true},
    ProgressCase {"copy", Operation::Copy, false, true}));

TEST_F(FileOperationsTest, SameFileSystemTellsWhetherARenameCanWork)
{
    const QByteArray link = sourceFolder + "/link.mp3";
    ::symlink("/dev/shm", link.constData());
    const FileOperations operations;
    EXPECT_TRUE(operations.sameFileSystem(source, targetFolder));
    // A link is renamed as itself, wherever it points.
    EXPECT_TRUE(operations.sameFileSystem(link, targetFolder));
    EXPECT_FALSE(operations.sameFileSystem(sourceFolder + "/none", targetFolder));
    EXPECT_FALSE(operations.sameFileSystem(source, root / "none"));
    EXPECT_FALSE(operations.sameFileSystem(source, ""));
    // A tmpfs beside the disk, where the machine has one.
    struct stat shm {};
    struct stat here {};
    if (::stat("/dev/shm", &shm) == 0 && ::stat(targetFolder.constData(), &here) == 0 && shm.st_dev != here.st_dev) {
        EXPECT_FALSE(operations.sameFileSystem(source, "/dev/shm"));
    }
}

TEST_F(FileOperationsTest, CopyReplacesTheTargetAndKeepsTheSource)
{
    EXPECT_FALSE(FileOperations(fs).copy(source, target));
    EXPECT_EQ(TempFolder::read(source), sourceBytes);
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
    // A copy onto itself changes nothing.
    EXPECT_FALSE(FileOperations(fs).copy(source, source));
    EXPECT_EQ(TempFolder::read(source), sourceBytes);
}

TEST_F(FileOperationsTest, MissingSourceOrTargetFolderChangesNothing)
{
    FileOperations operations(fs);
    const QByteArray nowhere = root / "missing/song.mp3";
    EXPECT_TRUE(operations.copy(source, nowhere));
    EXPECT_TRUE(operations.move(source, nowhere));
    fs.renameFault = acrossFileSystems;
    EXPECT_TRUE(operations.move(source, nowhere));
    EXPECT_TRUE(operations.move(sourceFolder + "/none.mp3", target));
    EXPECT_TRUE(operations.copy(sourceFolder + "/none.mp3", target));
    EXPECT_TRUE(operations.move(sourceFolder, target));
    expectUntouched();
    EXPECT_EQ(TempFolder::list(root.path()), (std::vector<QByteArray> {"from", "to"}));
}

TEST_F(FileOperationsTest, SourceVanishingDuringACrossMoveLosesNothing)
{
    // Another program removes the source while it is being copied: the copy
    // read from the open file is complete, and nothing else is removed.
    fs.renameFault = acrossFileSystems;
    const QByteArray path = source;
    fs.afterFirstRead = [path] { ::unlink(path.constData()); };
    EXPECT_TRUE(FileOperations(fs).move(source, target));
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
}

TEST_F(FileOperationsTest, SourceReplacedDuringACrossMoveIsNotRemoved)
{
    fs.renameFault = acrossFileSystems;
    const QByteArray path = source;
    fs.afterFirstRead = [path] {
        ::unlink(path.constData());
        TempFolder::write(path, "a new file by the same name");
    };
    EXPECT_TRUE(FileOperations(fs).move(source, target));
    EXPECT_EQ(TempFolder::read(source), "a new file by the same name");
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
}

TEST_F(FileOperationsTest, SourceWrittenToDuringACrossMoveIsNotRemoved)
{
    // Another program appends to the source after it was copied.
    const QByteArray path = source;
    fs.renameFault = [path](const QByteArray &from, const QByteArray &) {
        if (!from.contains(".ondasort-"))
            return EXDEV;
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND);
        [[maybe_unused]] const ssize_t n = ::write(fd, "more", 4);
        ::close(fd);
        return 0;
    };
    EXPECT_TRUE(FileOperations(fs).move(source, target));
    EXPECT_EQ(TempFolder::read(source), sourceBytes + "more");
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
}

TEST_F(FileOperationsTest, SourceThatCannotBeRemovedAfterACrossMoveStays)
{
    fs.renameFault = acrossFileSystems;
    fs.unlinkError = EACCES;
    EXPECT_TRUE(FileOperations(fs).move(source, target));
    EXPECT_EQ(TempFolder::read(source), sourceBytes);
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
}

TEST_F(FileOperationsTest, WriteWholeFailingKeepsTheOldContents)
{
    fs.diskSpace = 10;
    EXPECT_TRUE(FileOperations(fs).writeWhole(target, QByteArray(100, 'n')));
    expectUntouched();
    fs.diskSpace = -1;
    EXPECT_FALSE(FileOperations(fs).writeWhole(target, "new"));
    EXPECT_EQ(TempFolder::read(target), "new");
}

TEST_F(FileOperationsTest, FileKindTests)
{
    ::symlink("song.mp3", (sourceFolder + "/link.mp3").constData());
    ::symlink("gone.mp3", (sourceFolder + "/broken.mp3").constData());
    ::symlink("../to", (sourceFolder + "/folderlink").constData());
    ::mkfifo((sourceFolder + "/fifo").constData(), 0644);
    const struct {
        QByteArray path;
        bool directory;
        bool regular;
    } cases[] = {
        {source, false, true},
        {sourceFolder, true, false},
        {sourceFolder + "/link.mp3", false, true},
        {sourceFolder + "/broken.mp3", false, false},
        {sourceFolder + "/folderlink", true, false},
        {sourceFolder + "/fifo", false, false},
        {sourceFolder + "/none", false, false},
        {"", false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FileSystem::posix().isDirectory(c.path), c.directory) << c.path.constData();
        EXPECT_EQ(FileSystem::posix().isRegularFile(c.path), c.regular) << c.path.constData();
    }
    EXPECT_TRUE(FileSystem::posix().sameFile(source, sourceFolder + "/link.mp3"));
    EXPECT_TRUE(FileSystem::posix().sameFile(source, targetFolder + "/../from/song.mp3"));
    EXPECT_FALSE(FileSystem::posix().sameFile(source, target));
    EXPECT_FALSE(FileSystem::posix().sameFile(sourceFolder + "/none", sourceFolder + "/none"));
}

// A process killed in the middle of a move across file systems: the child
// copies half the file into the target folder and is killed there, as by
// kill -9, leaving its temporary file behind.
class KilledMoveTest : public FileOperationsTest
{
protected:
    // The temporary file the killed move left, by name.
    QByteArray killMoveHalfWay()
    {
        const pid_t child = ::fork();
        if (child == 0) {
            KillingFileSystem killing;
            killing.renameFault = acrossFileSystems;
            killing.bytesBeforeKill = sourceBytes.size() / 2;
            FileOperations(killing).move(source, target);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(TempFolder::read(source), sourceBytes);
        EXPECT_EQ(TempFolder::read(target), targetBytes);
        const std::vector<QByteArray> names = TempFolder::list(targetFolder);
        EXPECT_EQ(names.size(), 2u);
        return names.empty() ? QByteArray() : names.front();
    }
};

struct AfterKill {
    const char *name;
    std::function<void(KilledMoveTest &, const QByteArray &leftover)> happen;
    bool removed;
};

class KilledMoveLeftover : public KilledMoveTest, public ::testing::WithParamInterface<AfterKill>
{
};

// The leftover goes only while the source it copies is still there in full;
// a leftover that might be the only copy of anything stays.
TEST_P(KilledMoveLeftover, IsRemovedOnlyWhenRedundant)
{
    const QByteArray leftover = killMoveHalfWay();
    ASSERT_TRUE(leftover.startsWith(".ondasort-")) << leftover.constData();
    ASSERT_TRUE(leftover.endsWith(".tmp"));
    const QByteArray leftoverBytes = TempFolder::read(targetFolder + '/' + leftover);
    ASSERT_TRUE(sourceBytes.startsWith(leftoverBytes));
    GetParam().happen(*this, targetFolder + '/' + leftover);

    EXPECT_EQ(FileOperations(fs).removeLeftovers(targetFolder), GetParam().removed ? 1 : 0);
    EXPECT_EQ(TempFolder::read(target), targetBytes);
    if (GetParam().removed) {
        EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
        EXPECT_EQ(TempFolder::read(source), sourceBytes);
    } else {
        EXPECT_EQ(TempFolder::read(targetFolder + '/' + leftover), leftoverBytes);
    }
}

const AfterKill kAfterKill[] = {
    {"SourceIntact", [](KilledMoveTest &, const QByteArray &) {}, true},
    {"SourceDeleted", [](KilledMoveTest &t, const QByteArray &) { ::unlink(t.source.constData()); }, false},
    {"SourceRewritten", [](KilledMoveTest &t, const QByteArray &) {
         struct timespec later[2] = {{2000000000, 0}, {2000000000, 0}};
         TempFolder::write(t.source, "other");
         ::utimensat(AT_FDCWD, t.source.constData(), later, 0);
     }, false},
    {"SourceReplaced", [](KilledMoveTest &t, const QByteArray &) {
         TempFolder::write(t.sourceFolder + "/new", t.sourceBytes);
         ::rename((t.sourceFolder + "/new").constData(), t.source.constData());
     }, false},
    {"StillBeingWritten", [](KilledMoveTest &t, const QByteArray &leftover) {
         // A live process writing it holds its lock.
         t.lockHolder = ::open(leftover.constData(), O_RDONLY);
         ::flock(t.lockHolder, LOCK_EX);
     }, false},
};

INSTANTIATE_TEST_SUITE_P(, KilledMoveLeftover, ::testing::ValuesIn(kAfterKill),
    [](const auto &info) { return std::string(info.param.name); });

// The next copy into the folder gives the space back first; unrelated
// files that merely look alike are left alone.
TEST_F(KilledMoveTest, NextCopyIntoTheFolderClearsItAndForeignFilesStay)
{
    killMoveHalfWay();
    const QByteArray foreign[] = {".ondasort-notours.tmp", ".ondasort-1-2-3~relative.tmp", ".song.mp3.ondasort-1.tmp",
        ".ondasort-1a2b.song.mp3.tmp", ".ondasort-01-2-3~%2Ftmp.tmp"};
    for (const QByteArray &name : foreign)
        TempFolder::write(targetFolder + '/' + name, "keep me");
    TempFolder::write(sourceFolder + "/other.mp3", "other");
    fs.renameFault = acrossFileSystems;
    ASSERT_FALSE(FileOperations(fs).move(sourceFolder + "/other.mp3", targetFolder + "/other.mp3"));
    std::vector<QByteArray> expected(std::begin(foreign), std::end(foreign));
    expected.insert(expected.end(), {"other.mp3", "song.mp3"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TempFolder::list(targetFolder), expected);
    EXPECT_EQ(TempFolder::read(source), sourceBytes);
}

// Sources whose leftovers older builds could not judge: dated so far from
// now that nanoseconds overflow (2300) or go negative (1960), or in a folder
// whose path does not fit in a file name (208 bytes). The name of one that
// does not fit holds a digest of its source, found among the known sources.
struct KilledSource {
    const char *name;
    time_t seconds;    // the source's modification time; 0: now
    int folderLength;  // bytes in the source folder's path; 0: the usual one
};

class KilledMoveOfSource : public KilledMoveTest, public ::testing::WithParamInterface<KilledSource>
{
};

TEST_P(KilledMoveOfSource, LeavesALeftoverThatIsRecognisedAndRemoved)
{
    const KilledSource &c = GetParam();
    if (c.folderLength) {
        const QByteArray folder = root.path() + '/' + QByteArray(c.folderLength - root.path().size() - 1, 'd');
        ASSERT_EQ(folder.size(), c.folderLength);
        ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
        ASSERT_EQ(::rename(source.constData(), (folder + "/song.mp3").constData()), 0);
        sourceFolder = folder;
        source = folder + "/song.mp3";
    }
    if (c.seconds) {
        const struct timespec times[2] = {{c.seconds, 123456789}, {c.seconds, 123456789}};
        ASSERT_EQ(::utimensat(AT_FDCWD, source.constData(), times, 0), 0);
    }
    const QByteArray leftover = killMoveHalfWay();
    ASSERT_TRUE(leftover.startsWith(".ondasort-")) << leftover.constData();
    EXPECT_LE(leftover.size(), 255);

    FileOperations operations(fs);
    const bool pathInName = !c.folderLength;
    EXPECT_EQ(operations.removeLeftovers(targetFolder), pathInName ? 1 : 0);
    EXPECT_EQ(operations.removeLeftovers(targetFolder, {root / "elsewhere.mp3", source}), pathInName ? 0 : 1);
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
    EXPECT_EQ(TempFolder::read(source), sourceBytes);
    EXPECT_EQ(TempFolder::read(target), targetBytes);
}

INSTANTIATE_TEST_SUITE_P(, KilledMoveOfSource, ::testing::Values(
    KilledSource {"DatedIn2300", 10413792000, 0},
    KilledSource {"DatedIn1960", -315619200, 0},
    KilledSource {"InA208ByteFolder", 0, 208},
    KilledSource {"InA208ByteFolderDatedIn2300", 10413792000, 208}),
    [](const auto &info) { return std::string(info.param.name); });

// A rewrite (the settings file, the journal) killed half-way leaves its new
// version beside the file it was to replace; the file itself is intact.
TEST_F(FileOperationsTest, AKilledRewriteLeavesALeftoverThatGoesWhileItsFileIsThere)
{
    const QByteArray longName = QByteArray(240, 'n') + ".ini";
    for (const QByteArray &name : {QByteArray("Ondasort.ini"), longName}) {
        SCOPED_TRACE(name.size());
        const QByteArray file = targetFolder + '/' + name;
        TempFolder::write(file, "the settings");
        const pid_t child = ::fork();
        if (child == 0) {
            KillingFileSystem killing;
            killing.bytesBeforeKill = 10;
            FileOperations(killing).writeWhole(file, QByteArray(100, 'n'));
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        ASSERT_EQ(TempFolder::list(targetFolder).size(), 3u);

        // Kept while the file is missing: it may be all there is of it.
        ASSERT_EQ(::rename(file.constData(), (root / "away").constData()), 0);
        EXPECT_EQ(FileOperations(fs).removeLeftovers(targetFolder), 0);
        ASSERT_EQ(::rename((root / "away").constData(), file.constData()), 0);
        EXPECT_EQ(FileOperations(fs).removeLeftovers(targetFolder), 1);
        EXPECT_EQ(TempFolder::list(targetFolder), (std::vector<QByteArray> {name, "song.mp3"}));
        EXPECT_EQ(TempFolder::read(file), "the settings");
        ::unlink(file.constData());
    }
}

} // namespace

namespace {

struct SetAsideCase {
    const char *name;
    Operation operation;
    bool acrossFileSystems;
};

class FileOperationsSetAside : public FileOperationsTest, public ::testing::WithParamInterface<SetAsideCase>
{
protected:
    std::error_code run(const FileOperations::SetAside &setAside)
    {
        if (GetParam().acrossFileSystems)
            fs.renameFault = acrossFileSystems;
        FileOperations operations(fs);
        return GetParam().operation == Operation::Move ? operations.move(source, target, setAside)
                                                       : operations.copy(source, target, setAside);
    }
};

TEST_P(FileOperationsSetAside, TheReplacedFileIsHandedOverJustBeforeTheTargetIsReplaced)
{
    const QByteArray aside = root / "aside";
    std::vector<QByteArray> calls;
    const std::error_code error = run([&](const QByteArray &existing) {
        calls.push_back(existing);
        // The new contents are complete by now: no copy is still to fail.
        for (const QByteArray &name : TempFolder::list(targetFolder)) {
            if (name != "song.mp3") {
                EXPECT_EQ(TempFolder::read(targetFolder + '/' + name), sourceBytes);
            }
        }
        return std::error_code(::rename(existing.constData(), aside.constData()) ? errno : 0,
            std::generic_category());
    });
    EXPECT_FALSE(error) << error.message();
    EXPECT_EQ(calls, std::vector<QByteArray> {target});
    EXPECT_EQ(TempFolder::read(aside), targetBytes);
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
}

TEST_P(FileOperationsSetAside, ARefusalChangesNothingAndNoTargetAsksNothing)
{
    const std::error_code refused = std::make_error_code(std::errc::permission_denied);
    EXPECT_EQ(run([&](const QByteArray &) { return refused; }), refused);
    expectUntouched();

    ::unlink(target.constData());
    bool asked = false;
    EXPECT_FALSE(run([&](const QByteArray &) { asked = true; return refused; }));
    EXPECT_FALSE(asked);
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
}

INSTANTIATE_TEST_SUITE_P(, FileOperationsSetAside, ::testing::Values(
    SetAsideCase {"move", Operation::Move, false},
    SetAsideCase {"move_across", Operation::Move, true},
    SetAsideCase {"copy", Operation::Copy, false}),
    [](const auto &info) { return std::string(info.param.name); });

// Another program creates the target's name after it was checked, just
// before the final rename, or puts another file in place of the one that
// was there: its file is never replaced. Both files stay, the operation
// fails with EEXIST and leaves no temporary file; the file that was there
// goes to setAside only while it is still the one checked.
struct NewcomerCase {
    const char *name;
    enum { Move, Copy, MoveNoReplace } operation;
    bool acrossFileSystems;
    bool targetThere;
    // Instead of a file appearing once the name is free, another takes the
    // place of the one there.
    bool swapped = false;
};

class FileOperationsNewcomer : public FileOperationsTest, public ::testing::WithParamInterface<NewcomerCase>
{
};

TEST_P(FileOperationsNewcomer, IsNeverReplaced)
{
    const NewcomerCase &c = GetParam();
    if (!c.targetThere)
        ::unlink(target.constData());
    const QByteArray aside = root / "aside";
    const QByteArray path = target;
    fs.renameFault = [&](const QByteArray &from, const QByteArray &to) {
        if (c.acrossFileSystems && !from.contains(".ondasort-"))
            return EXDEV;
        struct stat status {};
        if (to != path)
            return 0;
        if (::lstat(path.constData(), &status) != 0) {
            TempFolder::write(path, "a newcomer");
        } else if (c.swapped && TempFolder::read(path) == targetBytes) {
            TempFolder::write(root / "other", "a newcomer");
            ::rename((root / "other").constData(), path.constData());
        }
        return 0;
    };
    const FileOperations::SetAside setAside = [&](const QByteArray &existing) {
        return std::error_code(::rename(existing.constData(), aside.constData()) ? errno : 0, std::generic_category());
    };
    FileOperations operations(fs);
    std::error_code error;
    switch (c.operation) {
    case NewcomerCase::Move:
        error = operations.move(source, target, setAside);
        break;
    case NewcomerCase::Copy:
        error = operations.copy(source, target, setAside);
        break;
    case NewcomerCase::MoveNoReplace:
        error = operations.moveNoReplace(source, target);
        break;
    }
    EXPECT_EQ(error, std::errc::file_exists) << error.message();
    EXPECT_EQ(TempFolder::read(target), "a newcomer");
    EXPECT_EQ(TempFolder::read(source), sourceBytes);
    EXPECT_EQ(TempFolder::read(aside), c.targetThere && !c.swapped ? targetBytes : QByteArray("<missing>"));
    EXPECT_EQ(TempFolder::list(targetFolder), std::vector<QByteArray> {"song.mp3"});
}

INSTANTIATE_TEST_SUITE_P(, FileOperationsNewcomer, ::testing::Values(
    NewcomerCase {"move", NewcomerCase::Move, false, false},
    NewcomerCase {"move_replacing", NewcomerCase::Move, false, true},
    NewcomerCase {"move_across", NewcomerCase::Move, true, false},
    NewcomerCase {"move_across_replacing", NewcomerCase::Move, true, true},
    NewcomerCase {"copy", NewcomerCase::Copy, false, false},
    NewcomerCase {"copy_replacing", NewcomerCase::Copy, false, true},
    NewcomerCase {"move_replacing_swapped", NewcomerCase::Move, false, true, true},
    NewcomerCase {"move_across_replacing_swapped", NewcomerCase::Move, true, true, true},
    NewcomerCase {"copy_replacing_swapped", NewcomerCase::Copy, false, true, true},
    NewcomerCase {"undo_copying_back", NewcomerCase::MoveNoReplace, true, false}),
    [](const auto &info) { return std::string(info.param.name); });

// The fallback for file systems whose rename cannot refuse: a hard link
// made only where no name is, then the old name removed.
TEST_F(FileOperationsTest, RenameByLinkNeverReplaces)
{
    EXPECT_EQ(FileSystem::renameByLink(source.constData(), target.constData()), -1);
    EXPECT_EQ(errno, EEXIST);
    expectUntouched();
    ::unlink(target.constData());
    EXPECT_EQ(FileSystem::renameByLink(source.constData(), target.constData()), 0);
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_TRUE(TempFolder::list(sourceFolder).empty());
}

TEST_F(FileOperationsTest, MoveNoReplaceNeverReplaces)
{
    for (const bool across : {false, true}) {
        SCOPED_TRACE(across);
        fs.renameFault = across ? acrossFileSystems : decltype(fs.renameFault)();
        EXPECT_EQ(FileOperations(fs).moveNoReplace(source, target), std::errc::file_exists);
        expectUntouched();
    }
    ::unlink(target.constData());
    EXPECT_FALSE(FileOperations(fs).moveNoReplace(source, target));
    EXPECT_EQ(TempFolder::read(target), sourceBytes);
    EXPECT_TRUE(TempFolder::list(sourceFolder).empty());
}

} // namespace
