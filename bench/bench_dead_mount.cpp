// The program beside a mount that stops answering (a FUSE file system that
// holds its calls, as a dead network share does), against the same mount
// answering, in the same run. Three cases: a destination folder on it (arg
// 0), the source folder the tree opens on it (arg 1), a mount point the
// Computer node lists (arg 2). Needs root and /dev/fuse.
//
// - BM_StartWithHeldMount: from spawning the program, with settings that
//   name the held folder, to the X server mapping its window; the held
//   start and the healthy one take turns. Needs an X display (Xvfb).
//   ratio = held_ms / healthy_ms; median_ratio the same of the medians
//   (held_median_ms, healthy_median_ms), which a start the machine holds up
//   moves less.
// - BM_KeyWithHeldMount: the main window with its real player over libmpv
//   (sound to null), key press (keypad 1, a move into a local folder) to the
//   next file's playback restarted, first with the mount answering
//   (healthy_ms), then while it is held after the case's action (held_ms):
//   a destination field set to the held folder and its key pressed, the
//   tree sent to the held folder, or the tree rebuilt with the held mount
//   point listed. ratio = held_ms / healthy_ms. Meanwhile a 1 ms timer on
//   the GUI thread records the longest gap between its ticks from the
//   moment the mount is held (gap_ms), beside the same over the healthy
//   presses (healthy_gap_ms) and over a second of the window doing nothing
//   (idle_gap_ms, the timer's own jitter here).
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "shell/FolderTreeView.h"
#include "support/HeldFileSystem.h"
#include "MainWindowBench.h"
#include "Median.h"
#include "ProgramStart.h"
#include "QtBenchmarkMain.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using bench::millisecondsSince;
using bench::StallMeter;
using bench::waitFor;

enum Case { Destination = 0, TreeFolder = 1, MountPoint = 2 };

// The held file system with a folder "held" and a folder "music" of
// playable files behind it, and local folders beside it.
struct Surroundings
{
    HeldFileSystem fuse;
    QTemporaryDir local;
    QByteArray source = QFile::encodeName(local.path()) + "/source";
    QByteArray dest = QFile::encodeName(local.path()) + "/dest";

    explicit Surroundings(int files)
    {
        QDir().mkpath(QFile::decodeName(source));
        QDir().mkpath(QFile::decodeName(dest));
        bench::fillFolder(source, files);
        if (!fuse.isMounted())
            return;
        QDir().mkpath(QFile::decodeName(fuse.backing() + "/held"));
        QDir().mkpath(QFile::decodeName(fuse.backing() + "/music"));
        bench::fillFolder(fuse.backing() + "/music", 3);
    }
    QByteArray mounted(const QByteArray &path) const { return fuse.mountPoint() + path; }

    // What the case holds.
    void hold(int which)
    {
        if (which == Destination)
            fuse.hold("/held", HeldFileSystem::Everything);
        else if (which == TreeFolder)
            fuse.hold("/music", HeldFileSystem::Everything);
        else
            fuse.hold("/", HeldFileSystem::Everything);
    }

    // Settings that name the held folder (the mount point's case lists it
    // under Computer on the way to the local source folder).
    QByteArray settings(int which) const
    {
        QByteArray text = "[SET1]\nLIST01=" + dest + "\n";
        if (which == Destination)
            return text + "LIST00=" + source + "\nLIST02=" + mounted("/held") + "\n";
        if (which == TreeFolder)
            return text + "LIST00=" + mounted("/music") + "\n";
        return text + "LIST00=" + source + "\n";
    }
};

void BM_StartWithHeldMount(benchmark::State &state)
{
    const int which = int(state.range(0));
    bench::MapWatch watch;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !watch.ok()) {
        state.SkipWithError("needs an X display (DISPLAY)");
        return;
    }
    Surroundings around(10);
    if (!around.fuse.isMounted()) {
        state.SkipWithError(around.fuse.whyNot().toUtf8().constData());
        return;
    }
    bench::ProgramCopy copy;
    copy.writeSettings(around.settings(which));
    const auto timeStart = [&](bool held) {
        if (held)
            around.hold(which);
        watch.drain();
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = bench::spawn(copy.program(), copy.folder(), "xcb");
        watch.waitForMap();
        const double elapsed = millisecondsSince(start);
        // A call held in the kernel ends only when the file system answers it.
        ::kill(pid, SIGKILL);
        around.fuse.release();
        ::waitpid(pid, nullptr, 0);
        return elapsed;
    };
    double held = 0, healthy = 0;
    std::vector<double> heldTimes, healthyTimes;
    int round = 0;
    for (auto _ : state) {
        const double before = healthy;
        const double elapsed = bench::inTurns(++round, [&] { return timeStart(true); },
            [&] { return timeStart(false); }, healthy);
        held += elapsed;
        heldTimes.push_back(elapsed);
        healthyTimes.push_back(healthy - before);
        state.SetIterationTime(elapsed / 1000);
    }
    const double n = double(state.iterations());
    state.counters["held_ms"] = held / n;
    state.counters["healthy_ms"] = healthy / n;
    state.counters["ratio"] = healthy > 0 ? held / healthy : 0;
    // Starts are long and few: one held up by the machine moves the mean.
    const double heldMedian = bench::median(heldTimes);
    const double healthyMedian = bench::median(healthyTimes);
    state.counters["held_median_ms"] = heldMedian;
    state.counters["healthy_median_ms"] = healthyMedian;
    state.counters["median_ratio"] = healthyMedian > 0 ? heldMedian / healthyMedian : 0;
}
BENCHMARK(BM_StartWithHeldMount)->Arg(Destination)->Arg(TreeFolder)->Arg(MountPoint)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

constexpr int kPresses = 6;

void BM_KeyWithHeldMount(benchmark::State &state)
{
    const int which = int(state.range(0));
    // Enough files for every press of every round.
    Surroundings around(int(2 * kPresses * 6 + 10));
    if (!around.fuse.isMounted()) {
        state.SkipWithError(around.fuse.whyNot().toUtf8().constData());
        return;
    }
    QTemporaryDir settings;
    TMainForm1 form(bench::realPlayer(QFile::encodeName(settings.path())));
    form.show();
    form.BrowseEdit[0]->setPath(around.dest);
    form.FolderTreeView0->setFolderName(around.source);
    PlayerBackend *backend = form.WindowsMediaPlayer1->backend();
    waitFor(backend, &PlayerBackend::playbackRestarted);
    int restarts = 0;
    QObject::connect(backend, &PlayerBackend::playbackRestarted, [&restarts] { ++restarts; });
    // Waits for the playback restarted since `before` restarts were counted.
    const auto restartedSince = [&](int before) {
        QElapsedTimer waited;
        waited.start();
        while (restarts == before && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    };
    const auto press = [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, QStringLiteral("1"));
        const auto start = std::chrono::steady_clock::now();
        QCoreApplication::sendEvent(form.FileListBox1, &key);
        waitFor(backend, &PlayerBackend::playbackRestarted);
        return millisecondsSince(start);
    };
    using bench::pause;
    StallMeter meter;
    meter.start();
    pause(1000);
    const double idleGap = meter.stop();

    double healthy = 0, held = 0, worstGap = 0, healthyGap = 0;
    int healthyCount = 0, heldCount = 0;
    const auto healthyPhase = [&] {
        meter.start();
        for (int i = 0; i < kPresses; ++i, ++healthyCount) {
            healthy += press();
            pause(30);
        }
        healthyGap = std::max(healthyGap, meter.stop());
    };
    const auto heldPhase = [&] {
        meter.start();
        around.hold(which);
        if (which == Destination) {
            form.BrowseEdit[1]->setPath(around.mounted("/held"));
            QKeyEvent key(QEvent::KeyPress, Qt::Key_2, Qt::KeypadModifier, QStringLiteral("2"));
            QCoreApplication::sendEvent(form.FileListBox1, &key);
        } else if (which == TreeFolder) {
            form.FolderTreeView0->setFolderName(around.mounted("/music"));
        } else {
            const int before = restarts;
            form.FolderTreeView0->Refresh();
            // The tree walks back to the source folder once Computer is
            // listed, and its first file plays again.
            restartedSince(before);
        }
        pause(400);
        double round = 0;
        for (int i = 0; i < kPresses; ++i, ++heldCount) {
            const double elapsed = press();
            round += elapsed;
            held += elapsed;
            pause(30);
        }
        worstGap = std::max(worstGap, meter.stop());

        // Back to the source folder with the mount answering.
        around.fuse.release();
        form.BrowseEdit[1]->setPath(QByteArray());
        pause(200);
        const int before = restarts;
        form.FolderTreeView0->setFolderName(around.source);
        restartedSince(before);
        while (!form.FolderTreeView0->walkingTo().isEmpty() || form.FileListBox1->isUpdatePending())
            pause(20);
        return round / kPresses;
    };
    int iteration = 0;
    for (auto _ : state) {
        double unused = 0;
        const double round = bench::inTurns(++iteration, heldPhase, [&] { healthyPhase(); return 0.0; }, unused);
        state.SetIterationTime(round / 1000);
    }
    state.counters["healthy_ms"] = healthy / healthyCount;
    state.counters["held_ms"] = held / heldCount;
    state.counters["ratio"] = healthy > 0 ? (held / heldCount) / (healthy / healthyCount) : 0;
    state.counters["gap_ms"] = worstGap;
    state.counters["healthy_gap_ms"] = healthyGap;
    state.counters["idle_gap_ms"] = idleGap;
}
BENCHMARK(BM_KeyWithHeldMount)->Arg(Destination)->Arg(TreeFolder)->Arg(MountPoint)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
