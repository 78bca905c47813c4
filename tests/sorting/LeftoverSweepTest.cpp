// The clean-up at the next start after a process was killed half-way
// through a copy: what the copy left goes, wherever the journal says it
// can be, and the files themselves stay whole.
#include "sorting/SortSession.h"

#include "platform/FileOperations.h"
#include "platform/Trash.h"
#include "sorting/SortUndo.h"
#include "support/KillingFileSystem.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <functional>

namespace {

using sortjournal::Kind;

// A source folder of a given path length, a destination, the folder the
// journal and settings live in, and a file of several copy buffers.
class LeftoverSweepTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        const int length = GetParam();
        from = length ? root.path() + '/' + QByteArray(length - root.path().size() - 1, 'f') : root / "from";
        ASSERT_EQ(::mkdir(from.constData(), 0755), 0);
        ASSERT_EQ(::mkdir(to.constData(), 0755), 0);
        ASSERT_EQ(::mkdir(config.constData(), 0755), 0);
        source = from + "/song.mp3";
        TempFolder::write(source, bytes);
    }

    // Runs work in a child that is killed as by kill -9 once half the file
    // is written (across file systems: a copy).
    static void killHalfWay(const std::function<void(FileOperations &)> &work, qint64 size)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            KillingFileSystem killing;
            killing.renameFault = acrossFileSystems;
            killing.bytesBeforeKill = size / 2;
            FileOperations operations(killing);
            work(operations);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }

    // The program starts again with these destination folders.
    void restart(const QByteArrayList &slotFolders)
    {
        SortSession session(journalPath, FileSystem::posix());
        session.removeLeftovers(slotFolders);
        // Destroying the session waits for its clean-up.
    }

    TempFolder root;
    ScopedEnvironment dataHome {"XDG_DATA_HOME", root / "data"};
    QByteArray from;
    QByteArray to = root / "to";
    QByteArray config = root / "config";
    QByteArray journalPath = config + "/Ondasort.journal";
    QByteArray source;
    QByteArray target = to + "/song.mp3";
    QByteArray bytes = QByteArray(300 * 1024, 'b');
    QByteArray trashFolder = root / "data/Trash";
};

// The file went by a move (renamed into the destination) or by a reject
// (into the trash); its undo copies it back.
TEST_P(LeftoverSweepTest, AKilledUndoThatCopiedBackLeavesNothingInTheSourceFolder)
{
    for (const Kind kind : {Kind::Move, Kind::Reject}) {
        SCOPED_TRACE(kind == Kind::Move ? "move" : "reject");
        std::optional<sortjournal::Entry> entry;
        {
            SortJournal journal(journalPath);
            const qint64 id = journal.begin(kind, source, kind == Kind::Move ? target : QByteArray());
            QByteArray sentTo = target;
            if (kind == Kind::Move)
                ASSERT_EQ(::rename(source.constData(), target.constData()), 0);
            else
                sentTo = trash::sendToTrash(source).inTrash;
            journal.done(id, sentTo);
            entry = journal.latestUndoable();
        }
        ASSERT_TRUE(entry.has_value());
        killHalfWay([&](FileOperations &operations) { sortundo::undo(*entry, operations); }, bytes.size());
        ASSERT_EQ(TempFolder::list(from).size(), 1u);

        restart({to});
        EXPECT_TRUE(TempFolder::list(from).empty());
        EXPECT_EQ(TempFolder::read(entry->target), bytes);
        // The undo can be done now.
        EXPECT_EQ(sortundo::undo(*entry, *std::make_unique<FileOperations>()).outcome, sortundo::Outcome::Undone);
        EXPECT_EQ(TempFolder::read(source), bytes);
    }
}

// The trash lies on another file system than the file: the reject copies.
TEST_P(LeftoverSweepTest, AKilledRejectLeavesNothingInTheTrash)
{
    {
        SortJournal journal(journalPath);
        journal.begin(Kind::Reject, source, {});
    }
    killHalfWay([&](FileOperations &operations) { trash::sendToTrash(source, operations.fileSystem()); },
        bytes.size());
    ASSERT_EQ(TempFolder::list(trashFolder + "/files").size(), 1u);
    const QByteArray record = trashFolder + "/info/song.mp3.trashinfo";
    ASSERT_EQ(TempFolder::list(trashFolder + "/info"), std::vector<QByteArray> {"song.mp3.trashinfo"});
    // The kill happened in an earlier run.
    const struct timespec earlier[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, record.constData(), earlier, 0), 0);

    restart({to});
    EXPECT_TRUE(TempFolder::list(trashFolder + "/files").empty());
    // The trash lists no file it does not hold.
    EXPECT_TRUE(TempFolder::list(trashFolder + "/info").empty());
    EXPECT_EQ(TempFolder::read(source), bytes);
    // The reject can be done now.
    const trash::Sent sent = trash::sendToTrash(source);
    ASSERT_FALSE(sent.error);
    EXPECT_EQ(TempFolder::read(sent.inTrash), bytes);
    EXPECT_EQ(TempFolder::list(trashFolder + "/info"), std::vector<QByteArray> {"song.mp3.trashinfo"});
}

TEST_P(LeftoverSweepTest, AKilledMoveIntoAFolderNoLongerASlotLeavesNothingThere)
{
    {
        SortJournal journal(journalPath);
        journal.begin(Kind::Move, source, target);
    }
    killHalfWay([&](FileOperations &operations) { operations.move(source, target); }, bytes.size());
    ASSERT_EQ(TempFolder::list(to).size(), 1u);

    restart({root / "another slot"});
    EXPECT_TRUE(TempFolder::list(to).empty());
    EXPECT_EQ(TempFolder::read(source), bytes);
}

TEST_P(LeftoverSweepTest, AKilledRewriteOfTheJournalLeavesNothingBesideIt)
{
    TempFolder::write(journalPath, "B 1 m =/a =/b ;\n");
    killHalfWay([&](FileOperations &operations) { operations.writeWhole(journalPath, bytes); }, bytes.size());
    ASSERT_EQ(TempFolder::list(config).size(), 2u);

    restart({});
    EXPECT_EQ(TempFolder::list(config), std::vector<QByteArray> {"Ondasort.journal"});
    EXPECT_EQ(SortJournal(journalPath).entries().size(), 1u);
}

// The usual source folder, and one whose path (208 bytes) leaves no room
// for it in a temporary file's name.
INSTANTIATE_TEST_SUITE_P(, LeftoverSweepTest, ::testing::Values(0, 208),
    [](const auto &info) { return info.param ? std::string("LongSourceFolder") : std::string("ShortSourceFolder"); });

} // namespace
