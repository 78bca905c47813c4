// Opening a full sort journal, as every start does, beside reading the same
// file's bytes, in the same run. The journal holds as many operations as it
// keeps, each a move with paths of usual length (begin and done lines, some
// undone). The "ratio" counter is open / read.
#include "sorting/SortJournal.h"

#include <QFile>
#include <QTemporaryDir>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

namespace {

using bench::Clock;

QByteArray fullJournal()
{
    QByteArray text;
    for (int i = 1; i <= SortJournal::kKeep; ++i) {
        sortjournal::Entry entry;
        entry.id = i;
        const QByteArray name = QByteArray::number(i) + " 曲の名前 (live).mp3";
        entry.source = "/home/user/Music/incoming/Some Artist - Some Album/" + name;
        entry.target = "/home/user/Music/sorted/slot 3/" + name;
        entry.size = 5'000'000 + i;
        entry.mtimeNs = 1'700'000'000'123'456'789LL + i;
        entry.done = true;
        entry.undone = i % 7 == 0;
        text += sortjournal::serialize(entry);
    }
    return text;
}

void BM_OpenAFullJournal(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ondasort.journal"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(fullJournal()) < 0) {
        state.SkipWithError("cannot write the journal");
        return;
    }
    file.close();
    double openTime = 0;
    double readTime = 0;
    int round = 0;
    for (auto _ : state) {
        const double elapsed = bench::inTurns(round++,
            [&] {
                const auto start = Clock::now();
                const SortJournal journal(QFile::encodeName(path));
                benchmark::DoNotOptimize(journal.latestUndoable());
                return bench::secondsSince(start);
            },
            [&] {
                const auto start = Clock::now();
                QFile bare(path);
                bare.open(QIODevice::ReadOnly);
                benchmark::DoNotOptimize(bare.readAll());
                return bench::secondsSince(start);
            },
            readTime);
        openTime += elapsed;
        state.SetIterationTime(elapsed);
    }
    state.counters["open_ms"] = benchmark::Counter(openTime * 1e3 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(openTime / readTime);
}
BENCHMARK(BM_OpenAFullJournal)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
