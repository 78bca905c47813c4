// Undo of a move within one file system beside the move itself, in the same
// run. Each round sorts a 1 MiB file into another folder as the program
// does (journal entry, rename, done mark) and then undoes it (checks, rename
// back, undone mark). The "ratio" counter is undo / sort; "ratio_bare" is
// undo / a bare rename of the same file.
#include "platform/FileOperations.h"
#include "sorting/SortJournal.h"
#include "sorting/SortUndo.h"

#include <QTemporaryDir>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

using bench::Clock;

double seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

void BM_UndoOfASameFileSystemMove(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    ::mkdir(root + "/from", 0755);
    ::mkdir(root + "/to", 0755);
    const QByteArray source = root + "/from/song.mp3";
    const QByteArray target = root + "/to/song.mp3";
    const QByteArray bare = root + "/to/bare.mp3";
    FileOperations fileOps;
    fileOps.writeWhole(source, QByteArray(1 << 20, 'x'));
    SortJournal journal(root + "/Ondasort.journal");
    double sortTime = 0;
    double undoTime = 0;
    double bareTime = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const qint64 id = journal.begin(sortjournal::Kind::Move, source, target);
        if (fileOps.move(source, target))
            state.SkipWithError("move failed");
        journal.done(id, target);
        const auto sorted = Clock::now();
        const sortjournal::Entry entry = *journal.latestUndoable();
        if (sortundo::undo(entry, fileOps).outcome != sortundo::Outcome::Undone)
            state.SkipWithError("undo failed");
        journal.undone(id);
        const auto undone = Clock::now();
        ::rename(source.constData(), bare.constData());
        const auto renamed = Clock::now();
        ::rename(bare.constData(), source.constData());
        sortTime += seconds(start, sorted);
        undoTime += seconds(sorted, undone);
        bareTime += seconds(undone, renamed);
        state.SetIterationTime(seconds(sorted, undone));
    }
    state.counters["sort_us"] = benchmark::Counter(sortTime * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(undoTime / sortTime);
    state.counters["ratio_bare"] = benchmark::Counter(undoTime / bareTime);
}
BENCHMARK(BM_UndoOfASameFileSystemMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
