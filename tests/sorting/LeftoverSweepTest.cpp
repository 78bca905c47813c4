// The clean-up at the next start after a process was killed half-way
// through a copy: what the copy left goes, wherever the journal says it
// can be, and the files themselves stay whole.
#include "sorting/SortSession.h"

#include "platform/FileOperations.h"
#include "sorting/SortUndo.h"
#include "support/KillingFileSystem.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
};

TEST_P(LeftoverSweepTest, AKilledUndoThatCopiedBackLeavesNothingInTheSourceFolder)
{
    std::optional<sortjournal::Entry> entry;
    {
        SortJournal journal(journalPath);
        const qint64 id = journal.begin(Kind::Move, source, target);
        ASSERT_EQ(::rename(source.constData(), target.constData()), 0);
        journal.done(id, target);
        entry = journal.latestUndoable();
    }
    ASSERT_TRUE(entry.has_value());
    killHalfWay([&](FileOperations &operations) { sortundo::undo(*entry, operations); }, bytes.size());
    ASSERT_EQ(TempFolder::list(from).size(), 1u);

    restart({to});
    EXPECT_TRUE(TempFolder::list(from).empty());
    EXPECT_EQ(TempFolder::read(target), bytes);
    // The undo can be done now.
    EXPECT_EQ(sortundo::undo(*entry, *std::make_unique<FileOperations>()).outcome, sortundo::Outcome::Undone);
    EXPECT_EQ(TempFolder::read(source), bytes);
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
