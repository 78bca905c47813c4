// Key press to the next file playing, in folders of 100, 1,000, 10,000 and
// 100,000 media files: the main window with its real player control over
// libmpv, sound to null, moving the current file with keypad 1, either at
// once after the file before began (listen_ms 0) or after half a second of
// it, as a listener presses, when the threads the press wakes have gone to
// sleep and the processors idle (listen_ms 500). Beside it,
// in the same run and the same folder, bare libmpv switching from the same
// file to the same next one (loadfile to playback-restart). Counters:
// ours_ms, bare_ms and ratio = ours / bare per switch, and the same of the
// medians (ours_median_ms, bare_median_ms, median_ratio); handler_ms is the
// part of ours_ms until the key handler returns.
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "platform/WorkerThreads.h"
#include "shell/FolderTreeView.h"
#include "BareMpv.h"
#include "Median.h"
#include "MainWindowBench.h"
#include "QtBenchmarkMain.h"

#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

using bench::Clock;
using bench::median;
using bench::millisecondsSince;
using bench::waitFor;

void BM_KeyToNextFile(benchmark::State &state)
{
    QTemporaryDir root;
    const QByteArray source = QFile::encodeName(root.path()) + "/source";
    const QByteArray dest = QFile::encodeName(root.path()) + "/dest";
    QDir().mkpath(QFile::decodeName(source));
    QDir().mkpath(QFile::decodeName(dest));
    bench::fillFolder(source, int(state.range(0)));
    const int listenMs = int(state.range(1));

    TMainForm1 form(bench::realPlayer(QFile::encodeName(root.path())));
    form.show();
    form.BrowseEdit[0]->setPath(dest);
    form.FolderTreeView0->setFolderName(source);
    PlayerBackend *backend = form.WindowsMediaPlayer1->backend();
    TFileListBox *list = form.FileListBox1;
    waitFor(backend, &PlayerBackend::playbackRestarted);

    // Bare libmpv has opened a file before too, as ours has.
    BareMpv bare;
    bare.load(form.currentPath());
    bare.waitForRestart();
    bare.stop();
    double oursTotal = 0, bareTotal = 0, handlerTotal = 0;
    std::vector<double> oursTimes, bareTimes;
    int round = 0;
    for (auto _ : state) {
        const int index = list->selectedIndex();
        const QByteArray moved = form.currentPath();
        const QByteArray next = source + "/" + list->itemName(index + 1);

        auto timeOurs = [&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, QStringLiteral("1"));
            const Clock::time_point start = Clock::now();
            QCoreApplication::sendEvent(list, &key);
            handlerTotal += millisecondsSince(start);
            waitFor(backend, &PlayerBackend::playbackRestarted);
            return millisecondsSince(start);
        };
        auto timeBare = [&] {
            bare.load(source + "/" + list->itemName(index));
            bare.waitForRestart();
            const Clock::time_point start = Clock::now();
            bare.load(next);
            bare.waitForRestart();
            const double elapsed = millisecondsSince(start);
            bare.stop();
            return elapsed;
        };
        // Taking turns at going first keeps warm caches from favouring either.
        double ours = 0;
        double bareTime = 0;
        if (++round % 2) {
            bareTime = timeBare();
            ours = timeOurs();
        } else {
            ours = timeOurs();
            bareTime = timeBare();
        }
        bareTotal += bareTime;
        oursTotal += ours;
        bareTimes.push_back(bareTime);
        oursTimes.push_back(ours);
        state.SetIterationTime(ours / 1000);

        // Put the file back and make it current again, outside the timing.
        bench::waitUntilSettled(list);
        std::rename((dest + moved.mid(moved.lastIndexOf('/'))).constData(), moved.constData());
        list->Update();
        list->selectIndex(index);
        form.FileListBox1Click(list);
        waitFor(backend, &PlayerBackend::playbackRestarted);
        // The put-back re-read the whole folder, which a listener's press
        // never follows: what it left to the workers (freeing the listing
        // it replaced) ends before the next press.
        bench::waitUntilSettled(list);
        while (workerthreads::pendingCount(workerthreads::Lane::Background) > 0
            || workerthreads::pendingCount(workerthreads::Lane::Normal) > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        // A listener hears the file for a while before the next press.
        if (listenMs > 0)
            bench::pause(listenMs);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = oursTotal / n;
    state.counters["bare_ms"] = bareTotal / n;
    // Of ours_ms, the time until the key handler returns.
    state.counters["handler_ms"] = handlerTotal / n;
    state.counters["ratio"] = bareTotal > 0 ? oursTotal / bareTotal : 0;
    // Medians, which a busy machine's stray waits move less.
    const double oursMedian = median(oursTimes), bareMedian = median(bareTimes);
    state.counters["ours_median_ms"] = oursMedian;
    state.counters["bare_median_ms"] = bareMedian;
    state.counters["median_ratio"] = bareMedian > 0 ? oursMedian / bareMedian : 0;
}
BENCHMARK(BM_KeyToNextFile)->ArgNames({"files", "listen_ms"})
    ->ArgsProduct({{100, 1000, 10000, 100000}, {0, 500}})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
