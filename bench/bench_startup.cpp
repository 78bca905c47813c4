// Start-up and memory of the whole program, each started as a process of
// its own from a copy in a temporary folder (so its settings file is ours):
//
// - BM_StartToWindowMapped: from spawning the program to the X server
//   mapping its window, beside a trivial Qt Widgets window built by this
//   folder, started the same way in the same run. Needs an X display
//   (e.g. Xvfb); ratio = program / trivial window.
// - BM_RssWhilePlayingVideo: the program's resident memory while it plays
//   a 640 x 480 MPEG-2 video (made by libmpv's encoder at the start),
//   reported in MiB (rss_MiB) beside the goal (goal_MiB). On the X display
//   when there is one, else on the offscreen platform.
#include "player/mpv/MpvHandles.h"
#include "ProgramStart.h"
#include "QtBenchmarkMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using bench::ProgramCopy;
using bench::end;
using bench::spawn;
using bench::MapWatch;
using bench::timeToMap;

void BM_StartToWindowMapped(benchmark::State &state)
{
    MapWatch watch;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !watch.ok()) {
        state.SkipWithError("needs an X display (DISPLAY)");
        return;
    }
    ProgramCopy copy;
    QTemporaryDir empty;
    const QByteArray cwd = QFile::encodeName(empty.path());
    double ours = 0, trivial = 0;
    int round = 0;
    for (auto _ : state) {
        const double elapsed = bench::inTurns(++round,
            [&] { return timeToMap(watch, copy.program(), cwd); },
            [&] { return timeToMap(watch, ONDASORT_TRIVIAL_WINDOW, cwd); }, trivial);
        ours += elapsed;
        state.SetIterationTime(elapsed / 1000);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = ours / n;
    state.counters["trivial_ms"] = trivial / n;
    state.counters["ratio"] = trivial > 0 ? ours / trivial : 0;
}
BENCHMARK(BM_StartToWindowMapped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Makes a 640 x 480, 25 frames a second MPEG-2 video of `seconds` with libmpv's encoder.
bool makeVideo(const QByteArray &path, int seconds)
{
    MpvCorePtr core(mpv_create());
    for (auto [name, value] : {std::pair{"config", "no"}, {"terminal", "no"}, {"ao", "null"},
                               {"ovc", "mpeg2video"}, {"ovcopts", "b=1500000"}})
        mpv_set_option_string(core.get(), name, value);
    mpv_set_option_string(core.get(), "o", path.constData());
    if (mpv_initialize(core.get()) < 0)
        return false;
    const QByteArray source = "av://lavfi:testsrc=size=640x480:rate=25:duration=" + QByteArray::number(seconds);
    const char *args[] = {"loadfile", source.constData(), nullptr};
    mpv_command(core.get(), args);
    while (true) {
        const mpv_event *event = mpv_wait_event(core.get(), 30);
        if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_NONE)
            break;
    }
    core.reset();
    return QFile(QFile::decodeName(path)).size() > 0;
}

double residentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

void BM_RssWhilePlayingVideo(benchmark::State &state)
{
    QTemporaryDir media;
    const QByteArray folder = QFile::encodeName(media.path());
    if (!makeVideo(folder + "/video640.mpg", 30)) {
        state.SkipWithError("could not make the 640 x 480 video");
        return;
    }
    ProgramCopy copy(folder);
    // On the X display when there is one, as a user runs it.
    const char *platform = qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb";
    double total = 0;
    for (auto _ : state) {
        const pid_t pid = spawn(copy.program(), folder, platform);
        // Well into playback: the decoder, its buffers and the picture are all there.
        QThread::msleep(4000);
        const double rss = residentMiB(pid);
        end(pid);
        total += rss;
    }
    state.counters["rss_MiB"] = total / double(state.iterations());
    state.counters["goal_MiB"] = 100;
}
BENCHMARK(BM_RssWhilePlayingVideo)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
