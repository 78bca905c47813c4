#include "sorting/SortUndo.h"

#include "platform/FileOperations.h"
#include "platform/Trash.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using sortjournal::Entry;
using sortjournal::Kind;
using sortundo::Outcome;

// A source and a destination folder, and a trash of the test's own.
struct SortUndoTest : ::testing::Test {
    TempFolder root;
    QByteArray from = root / "from";
    QByteArray to = root / "to";
    QByteArray source = from + "/song.mp3";
    QByteArray target = to + "/song.mp3";
    FileOperations fileOps;
    ScopedEnvironment dataHome {"XDG_DATA_HOME", root / "data"};

    void SetUp() override
    {
        ::mkdir(from.constData(), 0755);
        ::mkdir(to.constData(), 0755);
        TempFolder::write(source, "the sorted file");
    }

    static bool exists(const QByteArray &path)
    {
        struct stat status {};
        return ::lstat(path.constData(), &status) == 0;
    }

    // Does what a sort does, and returns its journal entry.
    Entry sort(Kind kind, bool replacing)
    {
        Entry entry;
        entry.kind = kind;
        entry.source = source;
        entry.done = true;
        if (replacing && kind != Kind::Reject) {
            TempFolder::write(target, "the replaced file");
            entry.replacedInTrash = trash::send(target);
            EXPECT_FALSE(entry.replacedInTrash.isEmpty());
        }
        if (kind == Kind::Reject) {
            entry.target = trash::send(source);
            EXPECT_FALSE(entry.target.isEmpty());
        } else {
            entry.target = target;
            EXPECT_FALSE(kind == Kind::Move ? fileOps.move(source, target) : fileOps.copy(source, target));
        }
        EXPECT_TRUE(sortjournal::fileState(entry.target, entry.size, entry.mtimeNs));
        return entry;
    }
};

struct UndoCase {
    const char *name;
    Kind kind;
    bool replacing;
};

class SortUndoCases : public SortUndoTest, public ::testing::WithParamInterface<UndoCase>
{
};

TEST_P(SortUndoCases, BringsEveryFileBackAndLeavesNoTrashRecord)
{
    const Entry entry = sort(GetParam().kind, GetParam().replacing);
    const sortundo::Result result = sortundo::undo(entry, fileOps);
    EXPECT_EQ(result.outcome, Outcome::Undone) << result.error.message();
    EXPECT_EQ(TempFolder::read(source), "the sorted file");
    if (GetParam().replacing) {
        EXPECT_EQ(TempFolder::read(target), "the replaced file");
        EXPECT_FALSE(exists(entry.replacedInTrash));
        EXPECT_FALSE(exists(trash::infoFileOf(entry.replacedInTrash)));
    } else {
        EXPECT_FALSE(exists(target));
    }
    if (GetParam().kind == Kind::Reject) {
        EXPECT_FALSE(exists(trash::infoFileOf(entry.target)));
    }
}

TEST_P(SortUndoCases, AChangedTargetOrATakenPlaceMovesNothing)
{
    const Entry entry = sort(GetParam().kind, GetParam().replacing);
    const QByteArray left = TempFolder::read(entry.target);

    // Same size, other time.
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, entry.target.constData(), times, 0);
    EXPECT_EQ(sortundo::undo(entry, fileOps).outcome, Outcome::TargetChanged);
    EXPECT_EQ(TempFolder::read(entry.target), left);

    Entry retimed = entry;
    ASSERT_TRUE(sortjournal::fileState(entry.target, retimed.size, retimed.mtimeNs));
    TempFolder::write(source, "someone else's file");
    const Outcome taken = sortundo::undo(retimed, fileOps).outcome;
    if (GetParam().kind == Kind::Copy) {
        // A copy leaves its source alone: only the copy goes.
        EXPECT_EQ(taken, Outcome::Undone);
        return;
    }
    EXPECT_EQ(taken, Outcome::PlaceTaken);
    EXPECT_EQ(TempFolder::read(source), "someone else's file");
    EXPECT_EQ(TempFolder::read(entry.target), left);

    ::unlink(entry.target.constData());
    ::unlink(source.constData());
    EXPECT_EQ(sortundo::undo(retimed, fileOps).outcome, Outcome::TargetMissing);
}

INSTANTIATE_TEST_SUITE_P(, SortUndoCases, ::testing::Values(
    UndoCase {"move", Kind::Move, false},
    UndoCase {"move_replacing", Kind::Move, true},
    UndoCase {"copy", Kind::Copy, false},
    UndoCase {"copy_replacing", Kind::Copy, true},
    UndoCase {"reject", Kind::Reject, false}),
    [](const auto &info) { return std::string(info.param.name); });

// A file dated far from now is sorted and taken back like any other.
TEST_F(SortUndoTest, FilesDatedFarFromNowAreUndone)
{
    for (const time_t seconds : {time_t(10413792000), time_t(-315619200)}) {
        for (const Kind kind : {Kind::Move, Kind::Copy}) {
            SCOPED_TRACE(seconds);
            TempFolder::write(source, "the sorted file");
            struct timespec times[2] = {{seconds, 5}, {seconds, 5}};
            ASSERT_EQ(::utimensat(AT_FDCWD, source.constData(), times, 0), 0);
            const Entry entry = sort(kind, false);
            const sortundo::Result result = sortundo::undo(entry, fileOps);
            EXPECT_EQ(result.outcome, Outcome::Undone) << result.error.message();
            EXPECT_EQ(TempFolder::read(source), "the sorted file");
            EXPECT_FALSE(exists(target));
            struct stat status {};
            ASSERT_EQ(::stat(source.constData(), &status), 0);
            EXPECT_EQ(status.st_mtim.tv_sec, seconds);
        }
    }
}

TEST_F(SortUndoTest, AReplacedFileGoneFromTheTrashStillLetsTheSortBeUndone)
{
    const Entry entry = sort(Kind::Move, true);
    ::unlink(entry.replacedInTrash.constData());
    const sortundo::Result result = sortundo::undo(entry, fileOps);
    EXPECT_EQ(result.outcome, Outcome::ReplacedNotRestored);
    EXPECT_EQ(TempFolder::read(source), "the sorted file");
}

} // namespace
