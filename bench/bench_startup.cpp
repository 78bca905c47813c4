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

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// A copy of the program and its backend module in a folder of their own,
// with a settings file that opens `sourceFolder`.
class ProgramCopy
{
public:
    explicit ProgramCopy(const QByteArray &sourceFolder = QByteArray())
    {
        const QString dir = m_dir.path();
        QFile::copy(QStringLiteral(ONDASORT_PROGRAM), dir + QStringLiteral("/Ondasort"));
        QFile::copy(QStringLiteral(ONDASORT_MPV_MODULE), dir + QStringLiteral("/ondasort-mpv.so"));
        QFile::setPermissions(dir + QStringLiteral("/Ondasort"),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile ini(dir + QStringLiteral("/Ondasort.ini"));
        ini.open(QIODevice::WriteOnly);
        if (!sourceFolder.isEmpty())
            ini.write("[SET1]\nLIST00=" + sourceFolder + "\n");
    }
    QByteArray program() const { return QFile::encodeName(m_dir.path()) + "/Ondasort"; }
    QByteArray folder() const { return QFile::encodeName(m_dir.path()); }

private:
    QTemporaryDir m_dir;
};

pid_t spawn(const QByteArray &program, const QByteArray &workingDirectory, const char *platform)
{
    const QByteArray previous = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform);
    const QByteArray cwd = QDir::currentPath().toLocal8Bit();
    ::chdir(workingDirectory.constData());
    pid_t pid = -1;
    char *argv[] = {const_cast<char *>(program.constData()), nullptr};
    ::posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ);
    ::chdir(cwd.constData());
    qputenv("QT_QPA_PLATFORM", previous);
    return pid;
}

void end(pid_t pid)
{
    // Killed, not closed: a close would write the settings file.
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Watches the X server for new top-level windows being mapped.
class MapWatch
{
public:
    MapWatch()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ok = true;
    }
    ~MapWatch() { xcb_disconnect(m_connection); }
    bool ok() const { return m_ok; }

    // Forgets what happened so far.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }
    // Waits for the next map of a window that is not an override-redirect popup.
    bool waitForMap()
    {
        while (xcb_generic_event_t *event = xcb_wait_for_event(m_connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
            std::free(event);
            if (mapped)
                return true;
        }
        return false;
    }

private:
    xcb_connection_t *m_connection;
    bool m_ok = false;
};

double timeToMap(MapWatch &watch, const QByteArray &program, const QByteArray &workingDirectory)
{
    watch.drain();
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(program, workingDirectory, "xcb");
    watch.waitForMap();
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    end(pid);
    return elapsed;
}

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
        double elapsed = 0;
        if (++round % 2) {
            trivial += timeToMap(watch, ONDASORT_TRIVIAL_WINDOW, cwd);
            elapsed = timeToMap(watch, copy.program(), cwd);
        } else {
            elapsed = timeToMap(watch, copy.program(), cwd);
            trivial += timeToMap(watch, ONDASORT_TRIVIAL_WINDOW, cwd);
        }
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
