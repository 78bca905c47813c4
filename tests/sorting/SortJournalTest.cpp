#include "sorting/SortJournal.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using sortjournal::Entry;
using sortjournal::Kind;

struct SortJournalTest : ::testing::Test {
    TempFolder root;
    QByteArray path = root / "Ondasort.journal";

    // Names that a line-based file could trip over.
    QByteArray awkward = root / "a b\nc%20=\xff\xfe.mp3";

    static std::vector<qint64> undoOrder(SortJournal &journal)
    {
        std::vector<qint64> ids;
        while (const std::optional<Entry> entry = journal.latestUndoable()) {
            ids.push_back(entry->id);
            journal.undone(entry->id);
        }
        return ids;
    }
};

TEST_F(SortJournalTest, EntriesSurviveAReopenAndUndoWalksBackFromTheLatest)
{
    TempFolder::write(root / "moved", "12345");
    TempFolder::write(root / "copied", "1");
    qint64 move = 0;
    qint64 copy = 0;
    {
        SortJournal journal(path);
        move = journal.begin(Kind::Move, awkward, root / "moved");
        journal.replaced(move, root / "Trash/files/moved");
        journal.done(move, root / "moved");
        copy = journal.begin(Kind::Copy, root / "c", root / "copied");
        journal.done(copy, root / "copied");
        // Begun, never done (a failure or a crash half-way): not undoable.
        journal.begin(Kind::Reject, root / "r", QByteArray());
    }
    SortJournal reopened(path);
    ASSERT_EQ(reopened.entries().size(), 3u);
    const Entry first = reopened.entries()[0];
    EXPECT_EQ(first.kind, Kind::Move);
    EXPECT_EQ(first.source, awkward);
    EXPECT_EQ(first.target, root / "moved");
    EXPECT_EQ(first.replacedInTrash, root / "Trash/files/moved");
    EXPECT_EQ(first.size, 5);
    EXPECT_GT(first.mtimeNs, 0);
    EXPECT_TRUE(first.done);
    EXPECT_FALSE(reopened.entries()[2].done);

    reopened.undone(copy);
    EXPECT_EQ(SortJournal(path).latestUndoable()->id, move);
    SortJournal again(path);
    EXPECT_EQ(undoOrder(again), std::vector<qint64> {move});
    EXPECT_EQ(SortJournal(path).latestUndoable(), std::nullopt);
    // New ids follow the old ones.
    EXPECT_GT(SortJournal(path).begin(Kind::Move, "a", "b"), copy + 1);
}

// Far from now, nanoseconds since 1970 no longer fit in 64 bits (past 2262):
// the stamp still tells the times apart, survives the journal, and under
// the sanitizers nothing overflows.
TEST_F(SortJournalTest, FilesDatedFarFromNowKeepDistinctStamps)
{
    const struct {
        const char *what;
        time_t seconds;
    } dates[] = {
        {"2300-01-01", 10413792000},
        {"1960-01-01", -315619200},
    };
    const QByteArray file = root / "song.mp3";
    TempFolder::write(file, "12345");
    for (const auto &date : dates) {
        SCOPED_TRACE(date.what);
        struct timespec times[2] = {{date.seconds, 999999999}, {date.seconds, 999999999}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.constData(), times, 0), 0);
        struct stat kept {};
        ASSERT_EQ(::stat(file.constData(), &kept), 0);
        ASSERT_EQ(kept.st_mtim.tv_sec, date.seconds) << "the file system cannot hold this date";
        qint64 size = 0;
        qint64 stamp = 0;
        ASSERT_TRUE(sortjournal::fileState(file, size, stamp));
        if (date.seconds > -9223372036 && date.seconds < 9223372036) {
            EXPECT_EQ(stamp, qint64(date.seconds) * 1000000000 + 999999999);
        }
        {
            SortJournal journal(path);
            journal.done(journal.begin(Kind::Move, root / "from", file), file);
        }
        const std::optional<Entry> reopened = SortJournal(path).latestUndoable();
        ASSERT_TRUE(reopened.has_value());
        EXPECT_EQ(reopened->mtimeNs, stamp);

        // One nanosecond, or one second, later is another stamp.
        for (const struct timespec later : {timespec {date.seconds, 999999998}, timespec {date.seconds + 1, 999999999}}) {
            const struct timespec retimed[2] = {later, later};
            ASSERT_EQ(::utimensat(AT_FDCWD, file.constData(), retimed, 0), 0);
            qint64 other = 0;
            ASSERT_TRUE(sortjournal::fileState(file, size, other));
            EXPECT_NE(other, stamp);
        }
    }
}

TEST_F(SortJournalTest, ATornLastLineIsIgnoredAndTheNextEntryStartsOnAFreshLine)
{
    TempFolder::write(root / "t", "x");
    {
        SortJournal journal(path);
        journal.done(journal.begin(Kind::Move, root / "s", root / "t"), root / "t");
    }
    const QByteArray whole = TempFolder::read(path);
    // A crash in the middle of writing the next entry.
    TempFolder::write(path, whole + "D 1 =/x 1 1");
    {
        SortJournal journal(path);
        ASSERT_EQ(journal.entries().size(), 1u);
        journal.done(journal.begin(Kind::Copy, root / "s", root / "t"), root / "t");
    }
    SortJournal reopened(path);
    ASSERT_EQ(reopened.entries().size(), 2u);
    EXPECT_EQ(reopened.latestUndoable()->kind, Kind::Copy);
}

TEST_F(SortJournalTest, ParseSkipsWhatItCannotRead)
{
    const QByteArray good = "B 1 m =/a =/b ;\nD 1 =/b 3 44 ;\n";
    const QByteArray lines[] = {
        "",
        "\n\n",
        "X 1 ;\n",
        "B ;\n",
        "B 2 q =/a =/b ;\n",      // unknown kind
        "B 2 m /a =/b ;\n",       // path without its marker
        "B 2 m =/a ;\n",          // a field short
        "B x m =/a =/b ;\n",      // no id
        "B 1 c =/z =/z ;\n",      // an id used twice
        "D 9 =/b 3 44 ;\n",       // done for an unknown id
        "D 1 =/b three 44 ;\n",   // no number
        "U 9 ;\n",
        "R 1 ;\n",
        "\xff\x00\x01 \n",
        "D 1 =/c 5 4\n",          // torn, then completed by the next line break
        "U 1 ;",                  // torn
    };
    for (const QByteArray &line : lines) {
        SCOPED_TRACE(line.toPercentEncoding().constData());
        const std::vector<Entry> entries = sortjournal::parse(good + line);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].source, "/a");
        EXPECT_EQ(entries[0].target, "/b");
        EXPECT_EQ(entries[0].size, 3);
        EXPECT_EQ(entries[0].mtimeNs, 44);
        EXPECT_TRUE(entries[0].done);
        EXPECT_FALSE(entries[0].undone);
    }
    // Undone only once done.
    EXPECT_FALSE(sortjournal::parse("B 1 m =/a =/b ;\nU 1 ;\nD 1 =/b 3 44 ;\n")[0].undone);
}

TEST_F(SortJournalTest, TheOldestEntriesBeyondTheLimitAreDropped)
{
    TempFolder::write(root / "t", "x");
    {
        SortJournal journal(path, 100);
        for (int i = 0; i < 120; ++i)
            journal.done(journal.begin(Kind::Move, root / QByteArray::number(i), root / "t"), root / "t");
    }
    SortJournal limited(path, 100);
    ASSERT_EQ(limited.entries().size(), 100u);
    EXPECT_EQ(limited.entries().front().source, root / "20");
    EXPECT_EQ(limited.entries().back().source, root / "119");
    EXPECT_EQ(SortJournal(path, 100).entries().size(), 100u);

    // A long session keeps the file near its limit too.
    for (int i = 0; i < 200; ++i)
        limited.begin(Kind::Copy, "a", "b");
    EXPECT_LE(SortJournal(path, 100).entries().size(), 110u);
    EXPECT_EQ(SortJournal(path, 100).entries().back().kind, Kind::Copy);
}

TEST_F(SortJournalTest, AJournalThatCannotBeWrittenStillServesThisSession)
{
    TempFolder::write(root / "t", "x");
    SortJournal journal(root / "missing-folder\xff/deeper/Ondasort.journal");
    ::chmod(root.path().constData(), 0500);
    journal.done(journal.begin(Kind::Move, "s", root / "t"), root / "t");
    ::chmod(root.path().constData(), 0700);
    ASSERT_NE(journal.latestUndoable(), std::nullopt);
    EXPECT_EQ(journal.latestUndoable()->source, "s");
}

} // namespace
