// How quickly the player control starts a file and switches to the next,
// next to a bare libmpv loop doing the same with the same options. Each
// iteration times both; the counters give the mean of each and their ratio
// (ours / bare), the figure to keep near 1.
#include "app/WindowsMediaPlayer.h"
#include "player/mpv/MpvPlayer.h"
#include "BareMpv.h"
#include "EventLoopWait.h"

#include <QApplication>
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

// The control as the main window uses it, shown offscreen, sound to null.
class OurPlayer
{
public:
    OurPlayer()
        : m_widget(std::make_unique<MpvPlayer>(silent()))
    {
        m_widget.resize(245, 240);
        m_widget.show();
    }
    void load(const QByteArray &path) { m_widget.setURL(path); }
    void waitForRestart() { waitFor(&PlayerBackend::playbackRestarted); }
    void playFor(int milliseconds) { bench::pause(milliseconds); }
    void stop()
    {
        if (!m_widget.backend()->isLoaded())
            return;
        m_widget.setURL(QByteArray());
        waitFor(&PlayerBackend::unloaded);
    }

private:
    static MpvOptions silent()
    {
        MpvOptions options;
        options.audioOutput = "null";
        return options;
    }
    template <typename Signal>
    void waitFor(Signal signal) { bench::waitFor(m_widget.backend(), signal); }

    TWindowsMediaPlayer m_widget;
};

using bench::millisecondsSince;

void report(benchmark::State &state, double bare, double ours)
{
    const double n = double(state.iterations());
    state.counters["bare_ms"] = bare / n;
    state.counters["ours_ms"] = ours / n;
    state.counters["ratio"] = bare > 0 ? ours / bare : 0;
}

// Plays `first` (if any) for `playedMs` after its start, then times the
// switch to `second`; the player is left unloaded so it stays quiet while
// the other one is timed.
template <typename Player>
double timeLoad(Player &player, const QByteArray &first, const QByteArray &second, int playedMs)
{
    if (!first.isEmpty()) {
        player.load(first);
        player.waitForRestart();
        if (playedMs > 0)
            player.playFor(playedMs);
    }
    const Clock::time_point start = Clock::now();
    player.load(second);
    player.waitForRestart();
    const double elapsed = millisecondsSince(start);
    player.stop();
    return elapsed;
}

void run(benchmark::State &state, const char *from, const char *to, int playedMs = 0)
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
            bareTotal += timeLoad(bare, first, second, playedMs);
            oursElapsed = timeLoad(ours, first, second, playedMs);
        } else {
            oursElapsed = timeLoad(ours, first, second, playedMs);
            bareTotal += timeLoad(bare, first, second, playedMs);
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

// From writing the next address, right after the playing file started
// (state.range(0) = 0) or 200 ms after, to the next one playing.
void BM_Switch(benchmark::State &state, const char *from, const char *to)
{
    run(state, from, to, int(state.range(0)));
}

} // namespace

BENCHMARK_CAPTURE(BM_Start, wav, "tone.wav")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Start, mp3, "tone.mp3")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Start, mpeg_video, "clip.mpg")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Switch, wav_to_mp3, "tone.wav", "tone.mp3")->Arg(0)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Switch, mpeg_to_wav, "clip.mpg", "tone.wav")->Arg(0)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Switch, mpeg_to_mpeg, "clip.vob", "clip.mpg")->Arg(0)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
