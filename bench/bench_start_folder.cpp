// A start of the whole program whose stored source folder lies inside a
// parent of 10,000 subfolders, beside a start whose source folder lies
// inside a parent of one, each a fresh process started once per round (the
// first opening of a folder is the one a user waits for, and a warm process
// would hide it). The tree opens the parent, so the difference between the
// two starts is what the 10,000 siblings cost.
//
// Beside them, in the same rounds, the least any program must pay for them:
// a fresh process that opens the big parent and reads it once (readdir).
//
// The figure is the GUI thread's processor time, read from the kernel
// (/proc/<pid>/task/<pid>/schedstat) so that it holds on a busy machine
// too: from exec until the window is mapped (the tree has opened the stored
// folder by then), and until the started program has settled (its GUI
// thread idle; this adds the first paint and the player's start, which cost
// both starts alike but vary). Each figure is the median over the rounds of
// the difference between the two starts of a round, so a round that meets a
// burst of load elsewhere does not decide it.
// Counters: extra_ms (to the map, big - small), readdir_ms (the bare read's
// processor time), ratio = extra_ms / readdir_ms; settled_extra_ms and
// settled_ratio the same until settled; big_ms and small_ms the starts'
// own medians to the map; map_extra_ms and readdir_wall_ms, the same in
// wall-clock time to the map. Needs an X display (e.g. Xvfb).
#include "ProgramStart.h"
#include "Median.h"
#include "QtBenchmarkMain.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

using bench::median;
using bench::MapWatch;
using bench::ProgramCopy;

constexpr int kSiblings = 10000;

// The main thread's time on a processor so far, in milliseconds; -1 once it is gone.
double guiThreadCpuMs(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/schedstat");
    unsigned long long onProcessor = 0;
    if (!(stat >> onProcessor))
        return -1;
    return double(onProcessor) / 1e6;
}

struct Start
{
    double mapCpuMs = 0;
    double settledCpuMs = 0;
    double mapMs = 0;
};

// Starts the program, waits for its window, then for its GUI thread to go
// idle (less than 1 ms of work in 300 ms, at most 10 s), and ends it.
Start startOnce(MapWatch &watch, const ProgramCopy &copy)
{
    watch.drain();
    const bench::Clock::time_point began = bench::Clock::now();
    const pid_t pid = bench::spawn(copy.program(), copy.folder(), "xcb");
    watch.waitForMap();
    Start start;
    start.mapMs = bench::secondsSince(began) * 1000;
    start.mapCpuMs = guiThreadCpuMs(pid);
    double before = start.mapCpuMs;
    for (int look = 0; look < 100; ++look) {
        QThread::msleep(300);
        const double now = guiThreadCpuMs(pid);
        const bool idle = now - before < 1;
        before = now;
        if (idle)
            break;
    }
    start.settledCpuMs = before;
    bench::end(pid);
    return start;
}

struct BareRead
{
    double wallMs = 0;
    double cpuMs = 0;
    int folders = 0;
};

BareRead bareRead(const QByteArray &parent)
{
    QProcess process;
    process.start(QStringLiteral(ONDASORT_BARE_READDIR), {QFile::decodeName(parent)});
    process.waitForFinished(10000);
    const QList<QByteArray> fields = process.readAllStandardOutput().simplified().split(' ');
    if (fields.size() != 3)
        return {};
    return {fields[0].toDouble() / 1e6, fields[1].toDouble() / 1e6, fields[2].toInt()};
}

void BM_StartInsideBigParent(benchmark::State &state)
{
    MapWatch watch;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !watch.ok()) {
        state.SkipWithError("needs an X display (DISPLAY)");
        return;
    }
    QTemporaryDir root;
    const QByteArray big = QFile::encodeName(root.path()) + "/big";
    const QByteArray small = QFile::encodeName(root.path()) + "/small";
    QDir().mkpath(QFile::decodeName(small + "/source"));
    QDir bigDir;
    bigDir.mkpath(QFile::decodeName(big));
    bigDir.setPath(QFile::decodeName(big));
    for (int i = 1; i <= kSiblings; ++i)
        bigDir.mkdir(QStringLiteral("folder %1").arg(i, 5, 10, QLatin1Char('0')));
    // Each source folder holds no media: nothing plays, only the folders are read.
    const ProgramCopy inBig(big + "/folder 05000");
    const ProgramCopy inSmall(small + "/source");

    std::vector<double> bigCpu, smallCpu, extra, settledExtra, mapExtra, bareCpu, bareWall;
    int folders = 0;
    int round = 0;
    for (auto _ : state) {
        // Taking turns at going first keeps warm caches from favouring either.
        const bool bigFirst = ++round % 2;
        const Start first = startOnce(watch, bigFirst ? inBig : inSmall);
        const BareRead bare = bareRead(big);
        const Start second = startOnce(watch, bigFirst ? inSmall : inBig);
        const Start &bigStart = bigFirst ? first : second;
        const Start &smallStart = bigFirst ? second : first;
        bigCpu.push_back(bigStart.mapCpuMs);
        smallCpu.push_back(smallStart.mapCpuMs);
        extra.push_back(bigStart.mapCpuMs - smallStart.mapCpuMs);
        settledExtra.push_back(bigStart.settledCpuMs - smallStart.settledCpuMs);
        mapExtra.push_back(bigStart.mapMs - smallStart.mapMs);
        bareCpu.push_back(bare.cpuMs);
        bareWall.push_back(bare.wallMs);
        folders = bare.folders;
        state.SetIterationTime(bigStart.mapMs / 1000);
    }
    const double readdir = median(bareCpu);
    state.counters["big_ms"] = median(bigCpu);
    state.counters["small_ms"] = median(smallCpu);
    state.counters["extra_ms"] = median(extra);
    state.counters["readdir_ms"] = readdir;
    state.counters["ratio"] = readdir > 0 ? median(extra) / readdir : 0;
    state.counters["settled_extra_ms"] = median(settledExtra);
    state.counters["settled_ratio"] = readdir > 0 ? median(settledExtra) / readdir : 0;
    state.counters["map_extra_ms"] = median(mapExtra);
    state.counters["readdir_wall_ms"] = median(bareWall);
    state.counters["folders"] = folders;
}
BENCHMARK(BM_StartInsideBigParent)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
