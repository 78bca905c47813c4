// The sort session without a window: renames at once, the background queue
// for what copies and its order, undo and withdrawal, failures, the journal.
#include "sorting/SortSession.h"

#include "support/FaultyFileSystem.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"
#include "support/Wait.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <future>
#include <thread>

namespace {

using sortjournal::Kind;
using Outcome = SortSession::Outcome;
using UndoStart = SortSession::UndoStart;

// A source folder standing for a second file system, with a folder inside
// it (reached by a rename) and a destination outside it (reached by a copy).
// The trash is the test's own.
class SortSessionTest : public ::testing::Test
{
protected:
    SortSessionTest()
    {
        ::mkdir(source.constData(), 0755);
        ::mkdir(near.constData(), 0755);
        ::mkdir(far.constData(), 0755);
        disk.otherFileSystem = source;
        for (const char *name : {"a.mp3", "b.wav", "c.mid", "d.au"})
            TempFolder::write(source + "/" + name, contentsOf(name));
        session = std::make_unique<SortSession>(root / "Ondasort.journal", disk);
        QObject::connect(session.get(), &SortSession::withheld, [this](const QByteArray &path) {
            events << "withheld " + name(path);
        });
        QObject::connect(session.get(), &SortSession::released, [this](const QByteArray &path) {
            events << "released " + name(path);
        });
        QObject::connect(session.get(), &SortSession::fileBack, [this](const QByteArray &path) {
            events << "back " + name(path);
        });
        QObject::connect(session.get(), &SortSession::sortFailed, [this](const SortFailure &failure) {
            failures.push_back(failure);
        });
        QObject::connect(session.get(), &SortSession::undoFinished,
            [this](const sortjournal::Entry &entry, const sortundo::Result &result) {
                undone.emplace_back(entry, result);
            });
    }
    ~SortSessionTest() override
    {
        disk.letReadsGo();
        session.reset();
    }

    // Large enough to take several reads; each starts with its name.
    static QByteArray contentsOf(const QByteArray &name) { return name + QByteArray(300 * 1024, 'x'); }
    static QByteArray name(const QByteArray &path) { return path.mid(path.lastIndexOf('/') + 1); }
    static QByteArray read(const QByteArray &path) { return TempFolder::read(path); }
    static bool exists(const QByteArray &path)
    {
        struct stat status {};
        return ::lstat(path.constData(), &status) == 0;
    }
    bool drained() const { return waitUntil([this] { return session->isIdle(); }); }
    bool copyWaiting() const { return waitUntil([this] { return disk.readWaiting(); }); }

    TempFolder root;
    ScopedEnvironment dataHome {"XDG_DATA_HOME", root / "data"};
    QByteArray source = root / "source";
    QByteArray near = source + "/near";
    QByteArray far = root / "far";
    FaultyFileSystem disk;
    std::unique_ptr<SortSession> session;
    QByteArrayList events;
    std::vector<SortFailure> failures;
    std::vector<std::pair<sortjournal::Entry, sortundo::Result>> undone;
};

TEST_F(SortSessionTest, ARenameIsDoneAtOnceAndWhatCopiesQueuesWithEverythingBehindItInOrder)
{
    EXPECT_EQ(session->sort(Kind::Move, source + "/a.mp3", near + "/a.mp3"), Outcome::Done);
    EXPECT_EQ(read(near + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_TRUE(session->isIdle());

    disk.holdReads();
    EXPECT_EQ(session->sort(Kind::Move, source + "/b.wav", far + "/b.wav"), Outcome::Queued);
    ASSERT_TRUE(copyWaiting());
    // Behind a waiting copy, a rename and a reject wait their turn too.
    EXPECT_EQ(session->sort(Kind::Move, source + "/c.mid", near + "/c.mid"), Outcome::Queued);
    EXPECT_EQ(session->reject(source + "/d.au"), Outcome::Queued);
    EXPECT_TRUE(exists(source + "/c.mid"));

    const SortSession::Progress progress = session->progress();
    EXPECT_TRUE(progress.running);
    EXPECT_FALSE(progress.undo);
    EXPECT_EQ(progress.kind, Kind::Move);
    EXPECT_EQ(progress.file, source + "/b.wav");
    EXPECT_EQ(progress.waiting, 2);

    disk.letReadsGo();
    ASSERT_TRUE(drained());
    EXPECT_FALSE(session->progress().running);
    EXPECT_EQ(read(far + "/b.wav"), contentsOf("b.wav"));
    EXPECT_EQ(read(near + "/c.mid"), contentsOf("c.mid"));
    // Rejected on its own file system: into the trash at that one's top.
    EXPECT_EQ(read(source + "/.Trash-" + QByteArray::number(::geteuid()) + "/files/d.au"), contentsOf("d.au"));
    EXPECT_EQ(events, QByteArrayList({"withheld b.wav", "withheld c.mid", "withheld d.au", "released b.wav",
                          "released c.mid", "released d.au"}));
    EXPECT_TRUE(failures.empty());
    // The journal holds them in the order they were given, each done.
    std::vector<QByteArray> journaled;
    for (const sortjournal::Entry &entry : session->journal().entries()) {
        EXPECT_TRUE(entry.done) << entry.source.constData();
        journaled.push_back(name(entry.source));
    }
    EXPECT_EQ(journaled, (std::vector<QByteArray> {"a.mp3", "b.wav", "c.mid", "d.au"}));
}

TEST_F(SortSessionTest, NothingIsDoneForAFileThatIsNotThereOrIsItsOwnTarget)
{
    EXPECT_EQ(session->sort(Kind::Move, source + "/none.mp3", far + "/none.mp3"), Outcome::NothingToDo);
    EXPECT_EQ(session->sort(Kind::Copy, source + "/a.mp3", source + "/a.mp3"), Outcome::NothingToDo);
    EXPECT_EQ(session->sort(Kind::Move, near, far + "/near"), Outcome::NothingToDo);
    EXPECT_EQ(session->reject(source + "/none.mp3"), Outcome::NothingToDo);
    EXPECT_TRUE(session->journal().entries().empty());
}

TEST_F(SortSessionTest, UndoWithdrawsASortNotBegunWaitsForOneUnderWayAndCopiesBackInTheBackground)
{
    disk.holdReads();
    ASSERT_EQ(session->sort(Kind::Move, source + "/a.mp3", far + "/a.mp3"), Outcome::Queued);
    ASSERT_TRUE(copyWaiting());
    ASSERT_EQ(session->sort(Kind::Move, source + "/b.wav", far + "/b.wav"), Outcome::Queued);

    // b.wav never began: it is taken back and stays where it was.
    SortSession::UndoReply reply = session->undo();
    EXPECT_EQ(reply.start, UndoStart::Withdrawn);
    EXPECT_EQ(reply.entry.source, source + "/b.wav");
    EXPECT_EQ(events.mid(2), QByteArrayList({"released b.wav", "back b.wav"}));
    EXPECT_EQ(session->progress().waiting, 0);

    // a.mp3 is on its way: undone only once it has arrived.
    reply = session->undo();
    EXPECT_EQ(reply.start, UndoStart::SortUnderWay);
    EXPECT_EQ(reply.entry.source, source + "/a.mp3");
    disk.letReadsGo();
    ASSERT_TRUE(drained());
    EXPECT_EQ(read(far + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_EQ(read(source + "/b.wav"), contentsOf("b.wav"));
    EXPECT_FALSE(exists(far + "/b.wav"));

    // Moving it back crosses the file systems again: in the background too.
    disk.holdReads();
    events.clear();
    EXPECT_EQ(session->undo().start, UndoStart::Queued);
    ASSERT_TRUE(copyWaiting());
    EXPECT_TRUE(session->progress().undo);
    EXPECT_EQ(session->undo().start, UndoStart::UndoUnderWay);
    disk.letReadsGo();
    ASSERT_TRUE(drained());
    ASSERT_EQ(undone.size(), 1u);
    EXPECT_EQ(undone[0].second.outcome, sortundo::Outcome::Undone);
    EXPECT_EQ(events, QByteArrayList({"back a.mp3"}));
    EXPECT_EQ(read(source + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_FALSE(exists(far + "/a.mp3"));
    // Nothing is left to take back: the withdrawn sort was never done.
    EXPECT_EQ(session->undo().start, UndoStart::NothingToUndo);
}

TEST_F(SortSessionTest, AnUndoDoneAtOnceMarksTheJournalAndReportsARefusal)
{
    ASSERT_EQ(session->sort(Kind::Move, source + "/a.mp3", near + "/a.mp3"), Outcome::Done);
    // Another a.mp3 took the old place: nothing moves.
    TempFolder::write(source + "/a.mp3", "another a");
    EXPECT_EQ(session->undo().start, UndoStart::Finished);
    ASSERT_EQ(undone.size(), 1u);
    EXPECT_EQ(undone[0].second.outcome, sortundo::Outcome::PlaceTaken);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(read(near + "/a.mp3"), contentsOf("a.mp3"));

    ::unlink((source + "/a.mp3").constData());
    EXPECT_EQ(session->undo().start, UndoStart::Finished);
    EXPECT_EQ(undone.back().second.outcome, sortundo::Outcome::Undone);
    EXPECT_EQ(events, QByteArrayList({"back a.mp3"}));
    EXPECT_EQ(read(source + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_TRUE(session->journal().entries().back().undone);
}

// The file's own file system takes no trash at its top, so the user's
// trash, on another one, gets a copy: the reject goes on in the background
// and shows how far it has got, and its undo copies the file back the same
// way. Nothing is left in the trash.
TEST_F(SortSessionTest, ARejectIntoTheTrashOnAnotherFileSystemCopiesInTheBackgroundShowingItsProgress)
{
    ASSERT_EQ(::mkdir((root / "elsewhere").constData(), 0700), 0);
    ASSERT_EQ(::symlink((root / "elsewhere").constData(),
                  (source + "/.Trash-" + QByteArray::number(::geteuid())).constData()), 0);
    std::vector<std::pair<bool, int>> shown;
    QObject::connect(session.get(), &SortSession::progressChanged, [this, &shown] {
        const SortSession::Progress progress = session->progress();
        if (progress.running && progress.kind == Kind::Reject && progress.percent > 0)
            shown.emplace_back(progress.undo, progress.percent);
    });
    const QByteArray trash = root / "data/Trash";

    disk.holdReads();
    EXPECT_EQ(session->reject(source + "/a.mp3"), Outcome::Queued);
    ASSERT_TRUE(copyWaiting());
    EXPECT_EQ(session->progress().kind, Kind::Reject);
    EXPECT_FALSE(session->progress().stalled);
    disk.letReadsGo();
    ASSERT_TRUE(drained());
    EXPECT_EQ(read(trash + "/files/a.mp3"), contentsOf("a.mp3"));
    EXPECT_FALSE(exists(source + "/a.mp3"));

    disk.holdReads();
    EXPECT_EQ(session->undo().start, UndoStart::Queued);
    ASSERT_TRUE(copyWaiting());
    EXPECT_TRUE(session->progress().undo);
    disk.letReadsGo();
    ASSERT_TRUE(drained());
    EXPECT_EQ(read(source + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_TRUE(TempFolder::list(trash + "/files").empty());
    EXPECT_TRUE(TempFolder::list(trash + "/info").empty());
    EXPECT_TRUE(failures.empty());

    const auto showed = [&shown](bool undo) {
        return std::any_of(shown.begin(), shown.end(), [undo](const auto &seen) { return seen.first == undo; });
    };
    EXPECT_TRUE(showed(false));
    EXPECT_TRUE(showed(true));
}

struct FailureCase
{
    const char *what;
    Kind kind;
    bool acrossFileSystems;
    Outcome outcome;
};

class SortSessionFailureTest : public SortSessionTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SortSessionFailureTest, AFailureIsReportedTheSourceStaysAndNoPartialFileIsLeft)
{
    const FailureCase &c = GetParam();
    const QByteArray folder = c.acrossFileSystems ? far : near;
    // The older file at the target comes back from the trash.
    TempFolder::write(folder + "/a.mp3", "the older a");
    disk.diskSpace = 100 * 1024;
    disk.renameFault = [this](const QByteArray &from, const QByteArray &) {
        return from == source + "/a.mp3" ? EACCES : 0;
    };
    EXPECT_EQ(session->sort(c.kind, source + "/a.mp3", folder + "/a.mp3"), c.outcome) << c.what;
    ASSERT_TRUE(drained());

    ASSERT_EQ(failures.size(), 1u) << c.what;
    EXPECT_EQ(failures[0].kind, c.kind) << c.what;
    EXPECT_EQ(failures[0].queued, c.outcome == Outcome::Queued) << c.what;
    EXPECT_TRUE(failures[0].result.error) << c.what;
    EXPECT_EQ(read(source + "/a.mp3"), contentsOf("a.mp3")) << c.what;
    EXPECT_EQ(read(folder + "/a.mp3"), "the older a") << c.what;
    EXPECT_EQ(TempFolder::list(folder), std::vector<QByteArray>({"a.mp3"})) << c.what;
    EXPECT_FALSE(exists(root / "data/Trash/files/a.mp3")) << c.what;
    EXPECT_FALSE(session->journal().entries().back().done) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Operations, SortSessionFailureTest, ::testing::Values(
    FailureCase {"a rename refused", Kind::Move, false, Outcome::Failed},
    FailureCase {"a move onto a full disk", Kind::Move, true, Outcome::Queued},
    FailureCase {"a copy onto a full disk", Kind::Copy, false, Outcome::Queued}));

TEST_F(SortSessionTest, DestroyingTheSessionFinishesWhatWaitsFirst)
{
    disk.holdReads();
    ASSERT_EQ(session->sort(Kind::Move, source + "/a.mp3", far + "/a.mp3"), Outcome::Queued);
    ASSERT_EQ(session->sort(Kind::Copy, source + "/b.wav", far + "/b.wav"), Outcome::Queued);
    ASSERT_TRUE(copyWaiting());
    std::thread release([this] {
        QThread::msleep(50);
        disk.letReadsGo();
    });
    session.reset();
    release.join();
    EXPECT_EQ(read(far + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_FALSE(exists(source + "/a.mp3"));
    EXPECT_EQ(read(far + "/b.wav"), contentsOf("b.wav"));
    EXPECT_EQ(read(source + "/b.wav"), contentsOf("b.wav"));
    // The journal knows both are done: a restart can undo them.
    const std::vector<sortjournal::Entry> entries = SortJournal(root / "Ondasort.journal").entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].done);
    EXPECT_TRUE(entries[1].done);
}

TEST_F(SortSessionTest, ARenameOnADeviceThatDoesNotAnswerGoesOnInTheBackgroundAndShowsAsStalled)
{
    // The rename waits, asleep, as a call into a device that does not answer.
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    disk.renameFault = [answered](const QByteArray &, const QByteArray &) {
        answered.wait();
        return 0;
    };
    // The caller goes on at once; the file is on its way out of its folder.
    EXPECT_EQ(session->sort(Kind::Move, source + "/a.mp3", near + "/a.mp3"), Outcome::Queued);
    EXPECT_EQ(events, QByteArrayList({"withheld a.mp3"}));
    EXPECT_FALSE(session->isIdle());
    ASSERT_TRUE(waitUntil([this] { return session->progress().stalled; }));
    // What comes after waits behind it, in order.
    EXPECT_EQ(session->sort(Kind::Move, source + "/b.wav", near + "/b.wav"), Outcome::Queued);

    answer.set_value();
    ASSERT_TRUE(drained());
    EXPECT_FALSE(session->progress().stalled);
    EXPECT_EQ(read(near + "/a.mp3"), contentsOf("a.mp3"));
    EXPECT_EQ(read(near + "/b.wav"), contentsOf("b.wav"));
    EXPECT_EQ(events, QByteArrayList({"withheld a.mp3", "withheld b.wav", "released a.mp3", "released b.wav"}));
    EXPECT_TRUE(failures.empty());
}

struct GiveUpCase
{
    const char *what;
    bool abandon; // given up by abandon(), else by destroying the session
};

class SortSessionGiveUpTest : public SortSessionTest, public ::testing::WithParamInterface<GiveUpCase> {};

TEST_P(SortSessionGiveUpTest, ACopyHeldOnItsDeviceIsGivenUpAndTheFileStaysWhole)
{
    const GiveUpCase &c = GetParam();
    disk.holdReads();
    ASSERT_EQ(session->sort(Kind::Move, source + "/a.mp3", far + "/a.mp3"), Outcome::Queued) << c.what;
    ASSERT_TRUE(copyWaiting()) << c.what;
    ASSERT_EQ(session->sort(Kind::Move, source + "/b.wav", far + "/b.wav"), Outcome::Queued) << c.what;
    if (c.abandon) {
        session->abandon();
        EXPECT_TRUE(session->isIdle()) << c.what;
        EXPECT_FALSE(session->progress().running) << c.what;
    }
    // Nothing waits for the held worker.
    session.reset();

    // When the device answers again, the copy goes no further and cleans up.
    disk.letReadsGo();
    ASSERT_TRUE(waitUntil([this] { return TempFolder::list(far).empty(); })) << c.what;
    QThread::msleep(50);
    EXPECT_TRUE(TempFolder::list(far).empty()) << c.what;
    EXPECT_EQ(read(source + "/a.mp3"), contentsOf("a.mp3")) << c.what;
    EXPECT_EQ(read(source + "/b.wav"), contentsOf("b.wav")) << c.what;
    const std::vector<sortjournal::Entry> entries = SortJournal(root / "Ondasort.journal").entries();
    ASSERT_EQ(entries.size(), 1u) << c.what;
    EXPECT_FALSE(entries[0].done) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Ways, SortSessionGiveUpTest, ::testing::Values(
    GiveUpCase {"abandoned", true},
    GiveUpCase {"destroyed", false}));

TEST(SortSessionJournal, AJournalThatCannotBeWrittenIsReportedAndTheSortStillHappens)
{
    TempFolder root;
    TempFolder::write(root / "file", "not a folder");
    TempFolder::write(root / "a.mp3", "a");
    ::mkdir((root / "to").constData(), 0755);
    SortSession session(root / "file/Ondasort.journal", FileSystem::posix());
    std::vector<std::error_code> errors;
    QObject::connect(&session, &SortSession::journalWriteFailed, [&](std::error_code error) { errors.push_back(error); });
    EXPECT_EQ(session.sort(Kind::Move, root / "a.mp3", root / "to/a.mp3"), Outcome::Done);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], std::errc::not_a_directory);
    EXPECT_EQ(TempFolder::read(root / "to/a.mp3"), "a");
    // This session still knows the sort and can take it back.
    EXPECT_EQ(session.undo().start, UndoStart::Finished);
    EXPECT_EQ(TempFolder::read(root / "a.mp3"), "a");
}

} // namespace
