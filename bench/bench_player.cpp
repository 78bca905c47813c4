// How quickly the player control starts a file and switches to the next,
// next to a bare libmpv loop doing the same with the same options. Each
// iteration times both; the counters give the mean of each and their ratio
// (ours / bare), the figure to keep near 1.
#include "app/WindowsMediaPlayer.h"
#include "platform/player/MpvHandles.h"
#include "platform/player/VideoFrame.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

QByteArray fixture(const char *name)
{
    return QByteArray(ONDASORT_FIXTURE_DIR) + "/media/" + name;
}

// libmpv on its own: asynchronous loadfile, events drained in a loop, video
// frames rendered into a buffer as they come.
class BareMpv
{
public:
    BareMpv()
    {
        m_core.reset(mpv_create());
        for (auto [name, value] : {std::pair{"config", "no"}, {"terminal", "no"}, {"vo", "libmpv"},
                                   {"ao", "null"}, {"hwdec", "no"}, {"idle", "yes"},
                                   {"keep-open", "yes"}, {"osd-level", "0"}, {"audio-display", "no"},
                                   {"load-scripts", "no"}, {"ytdl", "no"}, {"volume", "50"}})
            mpv_set_option_string(m_core.get(), name, value);
        if (mpv_initialize(m_core.get()) < 0)
            throw std::runtime_error("mpv_initialize failed");
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context *render = nullptr;
        mpv_render_context_create(&render, m_core.get(), params);
        m_render.reset(render);
        mpv_render_context_set_update_callback(
            render, [](void *flag) { static_cast<std::atomic<bool> *>(flag)->store(true); }, &m_updated);
        m_frame.resize(QSize(245, 194));
    }
    ~BareMpv()
    {
        m_render.reset();
        m_core.reset();
    }

    void load(const QByteArray &path)
    {
        const char *args[] = {"loadfile", path.constData(), "replace", nullptr};
        mpv_command_async(m_core.get(), 0, args);
    }
    void stop()
    {
        if (!m_loaded)
            return;
        const char *args[] = {"stop", nullptr};
        mpv_command_async(m_core.get(), 0, args);
        waitFor(MPV_EVENT_IDLE);
        m_loaded = false;
    }
    void waitForRestart() { waitFor(MPV_EVENT_PLAYBACK_RESTART); }
    void waitFor(mpv_event_id wanted)
    {
        while (true) {
            if (m_updated.exchange(false)
                && (mpv_render_context_update(m_render.get()) & MPV_RENDER_UPDATE_FRAME))
                render();
            const mpv_event *event = mpv_wait_event(m_core.get(), 0.001);
            if (event->event_id == MPV_EVENT_START_FILE)
                m_loaded = true;
            if (event->event_id == wanted)
                return;
        }
    }

private:
    void render()
    {
        int size[2] = {m_frame.size().width(), m_frame.size().height()};
        size_t stride = size_t(m_frame.stride());
        char format[] = "bgr0";
        int noBlocking = 0;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                     {MPV_RENDER_PARAM_SW_FORMAT, format},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()},
                                     {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &noBlocking},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(m_render.get(), params);
    }

    MpvCorePtr m_core;
    MpvRenderContextPtr m_render;
    std::atomic<bool> m_updated{false};
    bool m_loaded = false;
    VideoFrame m_frame;
};

// The control as the main window uses it, shown offscreen, sound to null.
class OurPlayer
{
public:
    OurPlayer()
        : m_widget(silent())
    {
        m_widget.resize(245, 240);
        m_widget.show();
    }
    void load(const QByteArray &path) { m_widget.setURL(path); }
    void waitForRestart() { waitFor(&MpvPlayer::playbackRestarted); }
    void stop()
    {
        if (!m_widget.backend()->isLoaded())
            return;
        m_widget.setURL(QByteArray());
        waitFor(&MpvPlayer::unloaded);
    }

private:
    static MpvOptions silent()
    {
        MpvOptions options;
        options.audioOutput = "null";
        return options;
    }
    template <typename Signal>
    void waitFor(Signal signal)
    {
        QEventLoop loop;
        QObject::connect(m_widget.backend(), signal, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
    }

    TWindowsMediaPlayer m_widget;
};

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(benchmark::State &state, double bare, double ours)
{
    const double n = double(state.iterations());
    state.counters["bare_ms"] = bare / n;
    state.counters["ours_ms"] = ours / n;
    state.counters["ratio"] = bare > 0 ? ours / bare : 0;
}

// Plays `first` (if any), then times the switch to `second`; the player is
// left unloaded so it stays quiet while the other one is timed.
template <typename Player>
double timeLoad(Player &player, const QByteArray &first, const QByteArray &second)
{
    if (!first.isEmpty()) {
        player.load(first);
        player.waitForRestart();
    }
    const Clock::time_point start = Clock::now();
    player.load(second);
    player.waitForRestart();
    const double elapsed = millisecondsSince(start);
    player.stop();
    return elapsed;
}

void run(benchmark::State &state, const char *from, const char *to)
{
    const QByteArray first = from ? fixture(from) : QByteArray(), second = fixture(to);
    BareMpv bare;
    OurPlayer ours;
    double bareTotal = 0, oursTotal = 0;
    int round = 0;
    for (auto _ : state) {
        // Taking turns at going first keeps warm caches from favouring either.
        double oursElapsed = 0;
        if (++round % 2) {
            bareTotal += timeLoad(bare, first, second);
            oursElapsed = timeLoad(ours, first, second);
        } else {
            oursElapsed = timeLoad(ours, first, second);
            bareTotal += timeLoad(bare, first, second);
        }
        oursTotal += oursElapsed;
        state.SetIterationTime(oursElapsed / 1000);
    }
    report(state, bareTotal, oursTotal);
}

// From writing the address with nothing loaded to playback under way.
void BM_Start(benchmark::State &state, const char *name)
{
    run(state, nullptr, name);
}

// From writing the next address while one file plays to the next one playing.
void BM_Switch(benchmark::State &state, const char *from, const char *to)
{
    run(state, from, to);
}

} // namespace

BENCHMARK_CAPTURE(BM_Start, wav, "tone.wav")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Start, mp3, "tone.mp3")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Start, mpeg_video, "clip.mpg")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Switch, wav_to_mp3, "tone.wav", "tone.mp3")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Switch, mpeg_to_wav, "clip.mpg", "tone.wav")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Switch, mpeg_to_mpeg, "clip.vob", "clip.mpg")->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
