// The keypad's listening keys and loudness levelling with the real player
// over libmpv, sound to null, next to bare libmpv in the same run.
//
// BM_SkipKeyToPosition: keypad + on the file list until the player reports
// the new position, against bare libmpv's seek to the same place until its
// playback restarts, in a three-minute file (WAV, and MP3 encoded on the
// spot by libmpv). Counters (medians): ours_ms, bare_ms, ratio = ours /
// bare; and, stricter, the key until our playback restarts too: restart_ms
// and restart_ratio = restart / bare.
//
// BM_NextFileLevelled: keypad 0 until the next file plays, in two windows
// over two folders of the same 30-second files of different loudness, one
// with levelling off and one with it on, taking turns. The argument is how
// long each file is listened to before the key (0: keys as fast as files
// start). Counters (medians): off_ms, on_ms, ratio = on / off;
// measured_share is the share of files that started already measured;
// busy_off_share the share of keys in the window without levelling that
// came while the other one's meter was at work (in the same process, it
// slows that window too).
#include "app/WindowsMediaPlayer.h"
#include "controls/FileListBox.h"
#include "player/mpv/LoudnessLeveller.h"
#include "player/mpv/LoudnessMeter.h"
#include "shell/FolderTreeView.h"
#include "support/MediaFixtures.h"
#include "BareMpv.h"
#include "MainWindowBench.h"
#include "Median.h"
#include "QtBenchmarkMain.h"

#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::Clock;
using bench::millisecondsSince;
using bench::waitFor;

// Encodes `wav` into `mp3` with libmpv's own encoder.
bool encodeMp3(const QByteArray &wav, const QByteArray &mp3)
{
    MpvCorePtr core(mpv_create());
    for (auto [name, value] : {std::pair{"config", "no"}, {"terminal", "no"}, {"o", mp3.constData()},
                               {"oac", "libmp3lame"}, {"oacopts", "b=128000"}})
        mpv_set_option_string(core.get(), name, value);
    if (mpv_initialize(core.get()) < 0)
        return false;
    const char *args[] = {"loadfile", wav.constData(), nullptr};
    mpv_command(core.get(), args);
    for (;;) {
        const mpv_event *event = mpv_wait_event(core.get(), 10);
        if (event->event_id == MPV_EVENT_END_FILE)
            return static_cast<mpv_event_end_file *>(event->data)->reason == MPV_END_FILE_REASON_EOF;
        if (event->event_id == MPV_EVENT_SHUTDOWN)
            return false;
    }
}

// When the player's new position and its playback restart came after a
// key, in milliseconds from the key.
struct SkipTimes
{
    double position = 0;
    double restart = 0;
};

// Sends `press` and runs the event loop until the player reports a position
// of at least `seconds` and its playback has restarted.
SkipTimes timeSkip(PlayerBackend *backend, double seconds, const std::function<void()> &press)
{
    SkipTimes times;
    bool atPosition = false, restarted = false;
    QEventLoop loop;
    const Clock::time_point start = Clock::now();
    const auto done = [&] {
        if (atPosition && restarted)
            loop.quit();
    };
    QObject::connect(backend, &PlayerBackend::positionChanged, &loop, [&](double at) {
        if (atPosition || at < seconds)
            return;
        atPosition = true;
        times.position = millisecondsSince(start);
        done();
    });
    QObject::connect(backend, &PlayerBackend::playbackRestarted, &loop, [&] {
        restarted = true;
        times.restart = millisecondsSince(start);
        done();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    press();
    loop.exec();
    return times;
}

// Medians: a few presses that the shared machine's scheduler holds up for
// milliseconds would swamp a mean of sub-millisecond times.
using bench::median;

void sendKey(QWidget *target, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeypadModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::KeypadModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void BM_SkipKeyToPosition(benchmark::State &state)
{
    QTemporaryDir root;
    const QByteArray source = QFile::encodeName(root.path()) + "/source";
    QDir().mkpath(QFile::decodeName(source));
    QByteArray file = writeFile(root, "source/take.wav", toneWav(180, 0.3, 44100));
    if (state.range(0) == 1) {
        const QByteArray mp3 = source + "/take.mp3";
        if (!encodeMp3(file, mp3)) {
            state.SkipWithError("no MP3 encoder in libmpv");
            return;
        }
        QFile::remove(QFile::decodeName(file));
        file = mp3;
    }

    TMainForm1 form(bench::realPlayer(QFile::encodeName(root.path())));
    form.show();
    form.FolderTreeView0->setFolderName(source);
    PlayerBackend *backend = form.WindowsMediaPlayer1->backend();
    waitFor(backend, &PlayerBackend::playbackRestarted);

    BareMpv bare;
    bare.load(file);
    bare.waitForRestart();

    std::vector<double> oursTimes, restartTimes, bareTimes;
    int round = 0;
    for (auto _ : state) {
        // Back to the start, outside the timing, before the end comes near.
        if (backend->position() > 160) {
            sendKey(form.FileListBox1, Qt::Key_Slash, QStringLiteral("/"));
            waitFor(backend, &PlayerBackend::playbackRestarted);
        }
        const double target = backend->position() + 10;
        auto timeOurs = [&] {
            return timeSkip(backend, target - 0.5,
                [&] { sendKey(form.FileListBox1, Qt::Key_Plus, QStringLiteral("+")); });
        };
        auto timeBare = [&] {
            const Clock::time_point start = Clock::now();
            bare.seek(target);
            bare.waitForRestart();
            return millisecondsSince(start);
        };
        SkipTimes ours;
        if (++round % 2) {
            bareTimes.push_back(timeBare());
            ours = timeOurs();
        } else {
            ours = timeOurs();
            bareTimes.push_back(timeBare());
        }
        if (ours.position <= 0 || ours.restart <= 0) {
            state.SkipWithError("the player did not get there");
            break;
        }
        oursTimes.push_back(ours.position);
        restartTimes.push_back(ours.restart);
        state.SetIterationTime(ours.position / 1000);
        // Both play on a little, as a listener does, before the next press.
        bare.playFor(50);
        bench::pause(50);
    }
    const double oursMs = median(oursTimes), restartMs = median(restartTimes), bareMs = median(bareTimes);
    state.counters["ours_ms"] = oursMs;
    state.counters["restart_ms"] = restartMs;
    state.counters["bare_ms"] = bareMs;
    state.counters["ratio"] = bareMs > 0 ? oursMs / bareMs : 0;
    state.counters["restart_ratio"] = bareMs > 0 ? restartMs / bareMs : 0;
}
BENCHMARK(BM_SkipKeyToPosition)->ArgName("mp3")->Arg(0)->Arg(1)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

// One window over its own folder of takes, levelling on or off.
struct LevellingWindow
{
    LevellingWindow(const QByteArray &root, const QByteArray &source, bool levelling)
        : form(bench::realPlayer(root))
    {
        form.show();
        form.WindowsMediaPlayer1->setLevelling(levelling);
        form.FolderTreeView0->setFolderName(source);
        backend = form.WindowsMediaPlayer1->backend();
        waitFor(backend, &PlayerBackend::playbackRestarted);
    }

    // Keypad 0 to the next file playing, in milliseconds.
    double next()
    {
        const Clock::time_point start = Clock::now();
        sendKey(form.FileListBox1, Qt::Key_0, QStringLiteral("0"));
        waitFor(backend, &PlayerBackend::playbackRestarted);
        return millisecondsSince(start);
    }

    TMainForm1 form;
    PlayerBackend *backend = nullptr;
};

void BM_NextFileLevelled(benchmark::State &state)
{
    constexpr int kFiles = 100;
    QTemporaryDir root;
    const QByteArray base = QFile::encodeName(root.path());
    QDir().mkpath(QFile::decodeName(base + "/off"));
    QDir().mkpath(QFile::decodeName(base + "/on"));
    // The same takes in both folders, hard linked.
    for (int i = 0; i < kFiles; ++i) {
        const QByteArray name = "/take" + QByteArray::number(i).rightJustified(3, '0') + ".wav";
        const QByteArray written = writeFile(root, ("off" + name).constData(),
            toneWav(30, 0.05 + 0.9 * (i % 7) / 6.0, 22050));
        if (::link(written.constData(), (base + "/on" + name).constData()) != 0) {
            state.SkipWithError("cannot link the takes");
            return;
        }
    }
    LevellingWindow off(base + "/off", base + "/off", false);
    LevellingWindow on(base + "/on", base + "/on", true);
    const int dwell = int(state.range(0));

    std::vector<double> offTimes, onTimes;
    int round = 0, measured = 0, busyDuringOff = 0;
    for (auto _ : state) {
        if (off.form.FileListBox1->selectedIndex() + 1 >= kFiles) {
            state.SkipWithError("ran out of files");
            break;
        }
        // Each key comes after listening for a while, in both windows alike,
        // so the work one window starts after its key is given the same
        // time before the other window's key.
        LoudnessMeter *meter = static_cast<MpvPlayer *>(on.backend)->leveller()->meter();
        const auto timeOn = [&] {
            bench::pause(dwell);
            const QByteArray upcoming = on.form.FileListBox1->itemName(on.form.FileListBox1->selectedIndex() + 1);
            measured += meter->gain(base + "/on/" + upcoming).has_value();
            return on.next();
        };
        const auto timeOff = [&] {
            bench::pause(dwell);
            busyDuringOff += !meter->isIdle();
            offTimes.push_back(off.next());
        };
        double onMs = 0;
        if (++round % 2) {
            timeOff();
            onMs = timeOn();
        } else {
            onMs = timeOn();
            timeOff();
        }
        onTimes.push_back(onMs);
        state.SetIterationTime(onMs / 1000);
    }
    const double offMs = median(offTimes), onMs = median(onTimes);
    state.counters["off_ms"] = offMs;
    state.counters["on_ms"] = onMs;
    state.counters["ratio"] = offMs > 0 ? onMs / offMs : 0;
    state.counters["measured_share"] = measured / double(state.iterations());
    state.counters["busy_off_share"] = busyDuringOff / double(state.iterations());
}
BENCHMARK(BM_NextFileLevelled)->ArgName("dwell_ms")->Arg(0)->Arg(300)->Arg(1000)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
