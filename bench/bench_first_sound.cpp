// From spawning the program to its first sound, beside a bare libmpv
// program (bench_bare_sound, built from trivial/BareSound.cpp) that plays
// the same file, each started cold as a process of its own, taking turns
// in the same run.
//
// - BM_ExecToFirstSound: the program starts in a folder holding one WAV
//   file, which it plays at once; the bare program is given that file.
//   Both send their sound the same way: PipeWire and PulseAudio are pointed
//   at servers that do not exist, so both fall through to ALSA, whose
//   default device is a file plug-in writing into a FIFO that this program
//   reads. "First sound" is the first byte of audio on that FIFO, measured
//   the same way for both. The program runs on the X display when there is
//   one, else on the offscreen platform. ratio = ours_ms / bare_ms, goal 1.3.
#include "ProgramStart.h"
#include "QtBenchmarkMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ALSA's default device as a file plug-in writing into a FIFO, and the
// sound servers out of reach, for every program this one starts.
class SoundSink
{
public:
    SoundSink()
        : m_fifo(QFile::encodeName(m_dir.path()) + "/sound")
    {
        m_ok = ::mkfifo(m_fifo.constData(), 0600) == 0;
        const QByteArray config = QFile::encodeName(m_dir.path()) + "/asound.conf";
        QFile file(QFile::decodeName(config));
        m_ok = m_ok && file.open(QIODevice::WriteOnly)
            && file.write("pcm.!default {\n    type file\n    slave.pcm { type null }\n    file \"" + m_fifo
                   + "\"\n    format \"raw\"\n}\n")
                > 0;
        file.close();
        qputenv("ALSA_CONFIG_PATH", config);
        const QByteArray nowhere = QFile::encodeName(m_dir.path()) + "/no-server";
        qputenv("PIPEWIRE_REMOTE", nowhere);
        qputenv("PULSE_SERVER", "unix:" + nowhere);
    }
    bool ok() const { return m_ok; }

    // Starts `start`, returns the milliseconds until the first byte of sound
    // (or -1 after 30 s without), then ends the started process.
    template <typename Start>
    double timeToSound(Start start)
    {
        const int fd = ::open(m_fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        const auto began = bench::Clock::now();
        const pid_t pid = start();
        double elapsed = -1;
        char byte;
        while (bench::secondsSince(began) < 30) {
            pollfd watched {fd, POLLIN, 0};
            ::poll(&watched, 1, 100);
            const ssize_t got = ::read(fd, &byte, 1);
            if (got == 1) {
                elapsed = bench::secondsSince(began) * 1000;
                break;
            }
            // A writer that opened and closed the device leaves the FIFO
            // reporting its hang-up until the next one opens it.
            if (got == 0)
                ::usleep(200);
        }
        bench::end(pid);
        ::close(fd);
        return elapsed;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_fifo;
    bool m_ok = false;
};

void BM_ExecToFirstSound(benchmark::State &state)
{
    SoundSink sink;
    QTemporaryDir media;
    const QByteArray folder = QFile::encodeName(media.path());
    const QByteArray file = folder + "/tone.wav";
    if (!sink.ok() || !QFile::copy(QStringLiteral(ONDASORT_FIXTURE_DIR "/media/tone.wav"), QFile::decodeName(file))) {
        state.SkipWithError("could not set up the sound FIFO or the media folder");
        return;
    }
    bench::ProgramCopy copy(folder);
    const char *platform = qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb";
    double ours = 0, bare = 0;
    int round = 0;
    for (auto _ : state) {
        const double elapsed = bench::inTurns(++round,
            [&] { return sink.timeToSound([&] { return bench::spawn(copy.program(), folder, platform); }); },
            [&] { return sink.timeToSound([&] { return bench::spawn(ONDASORT_BARE_SOUND, folder, platform, file); }); },
            bare);
        if (elapsed < 0) {
            state.SkipWithError("no sound within 30 s");
            return;
        }
        ours += elapsed;
        state.SetIterationTime(elapsed / 1000);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = ours / n;
    state.counters["bare_ms"] = bare / n;
    state.counters["ratio"] = bare > 0 ? ours / bare : 0;
    state.counters["goal"] = 1.3;
}
BENCHMARK(BM_ExecToFirstSound)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(12);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
