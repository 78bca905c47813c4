// A 500 MB move from a tmpfs to the disk while the person keeps sorting:
// the main window with its real player over libmpv, keypad 1 moving files
// from /dev/shm into a folder on the disk.
//
// Each round first times key press -> next file's playback restarted for a
// few small files with nothing else running (without_ms), then moves the
// 500 MB file and, while that move runs, times the same for the next small
// files (during_ms; a press made after the move has ended does not count).
// ratio = during_ms / without_ms.
//
// Meanwhile a 1 ms timer on the GUI thread records the longest gap between
// its ticks: stall_ms from the key press that starts the move until the move
// is done, idle_gap_ms over a second of the same window doing nothing (the
// timer's own jitter on this machine), stall_ratio = stall_ms / idle_gap_ms.
// move_s is how long the move took.
#include "app/WindowsMediaPlayer.h"
#include "controls/BrowseEdit.h"
#include "sorting/SortSession.h"
#include "shell/FolderTreeView.h"
#include "MainWindowBench.h"
#include "QtBenchmarkMain.h"

#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

using bench::Clock;
using bench::millisecondsSince;
using bench::StallMeter;
using bench::waitFor;

constexpr qint64 kLongFileSize = 500LL * 1000 * 1000;
constexpr int kPressesPerPhase = 5;

// A WAV file of silence, kLongFileSize bytes in all.
void writeLongWav(const QByteArray &path)
{
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const quint32 dataSize = quint32(kLongFileSize - 44);
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char *>(&v), 2); };
    file.write("RIFF" + le32(dataSize + 36) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000)
        + le32(16000) + le16(2) + le16(16) + "data" + le32(dataSize));
    const QByteArray zeros(1 << 20, '\0');
    for (qint64 left = dataSize; left > 0; left -= zeros.size())
        file.write(zeros.constData(), std::min<qint64>(left, zeros.size()));
}

bool onDifferentFileSystems(const QByteArray &a, const QByteArray &b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(a.constData(), &first) == 0 && ::stat(b.constData(), &second) == 0
        && first.st_dev != second.st_dev;
}

void BM_LongMoveAcrossFileSystems(benchmark::State &state)
{
    QTemporaryDir shm(QStringLiteral("/dev/shm/ondasort-bench-XXXXXX"));
    QTemporaryDir disk;
    const QByteArray source = QFile::encodeName(shm.path()) + "/source";
    const QByteArray dest = QFile::encodeName(disk.path()) + "/dest";
    if (!shm.isValid() || !onDifferentFileSystems(QFile::encodeName(shm.path()), QFile::encodeName(disk.path()))) {
        state.SkipWithError("needs /dev/shm as a tmpfs beside the disk");
        return;
    }
    QDir().mkpath(QFile::decodeName(source));
    QDir().mkpath(QFile::decodeName(dest));
    const QByteArray longFile = source + "/a-long.wav";

    TMainForm1 form(bench::realPlayer(QFile::encodeName(disk.path())));
    form.show();
    form.BrowseEdit[0]->setPath(dest);
    PlayerBackend *backend = form.WindowsMediaPlayer1->backend();
    TFileListBox *list = form.FileListBox1;
    StallMeter meter;

    const auto waitForQueue = [&] {
        while (!form.sortSession().isIdle())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        bench::waitUntilSettled(list);
    };
    const auto pressKeypad1 = [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, QStringLiteral("1"));
        const Clock::time_point start = Clock::now();
        QCoreApplication::sendEvent(list, &key);
        waitFor(backend, &PlayerBackend::playbackRestarted);
        return millisecondsSince(start);
    };
    using bench::pause;

    double withoutTotal = 0, duringTotal = 0, stallWorst = 0, idleWorst = 0, moveTotal = 0;
    int withoutCount = 0, duringCount = 0;
    for (auto _ : state) {
        // A fresh source folder: the long file first, small files after it.
        QDir(QFile::decodeName(dest)).removeRecursively();
        QDir(QFile::decodeName(source)).removeRecursively();
        QDir().mkpath(QFile::decodeName(source));
        QDir().mkpath(QFile::decodeName(dest));
        bench::fillFolder(source, 2 * kPressesPerPhase + 2);
        writeLongWav(longFile);
        form.FolderTreeView0->setFolderName(source);
        list->Update();
        list->selectIndex(1);
        form.FileListBox1Click(list);
        waitFor(backend, &PlayerBackend::playbackRestarted);

        // Nothing running: small files moved one by one.
        for (int i = 0; i < kPressesPerPhase; ++i) {
            withoutTotal += pressKeypad1();
            ++withoutCount;
            waitForQueue();
            pause(50);
        }
        meter.start();
        pause(1000);
        idleWorst = std::max(idleWorst, meter.stop());

        // The long file, then small files while it is on its way.
        list->selectIndex(0);
        form.FileListBox1Click(list);
        waitFor(backend, &PlayerBackend::playbackRestarted);
        const Clock::time_point moveStart = Clock::now();
        meter.start();
        pressKeypad1();
        for (int i = 0; i < kPressesPerPhase && !form.sortSession().isIdle(); ++i) {
            pause(50);
            if (form.sortSession().isIdle())
                break;
            duringTotal += pressKeypad1();
            ++duringCount;
        }
        waitForQueue();
        stallWorst = std::max(stallWorst, meter.stop());
        moveTotal += millisecondsSince(moveStart) / 1000;
        if (!QFile::exists(QFile::decodeName(dest + "/a-long.wav")))
            state.SkipWithError("the long file did not arrive");
        state.SetIterationTime(millisecondsSince(moveStart) / 1000);
    }
    const double n = double(state.iterations());
    state.counters["without_ms"] = withoutCount ? withoutTotal / withoutCount : 0;
    state.counters["during_ms"] = duringCount ? duringTotal / duringCount : 0;
    state.counters["ratio"] = withoutTotal > 0 && duringCount ? (duringTotal / duringCount) / (withoutTotal / withoutCount) : 0;
    state.counters["during_presses"] = duringCount;
    state.counters["stall_ms"] = stallWorst;
    state.counters["idle_gap_ms"] = idleWorst;
    state.counters["stall_ratio"] = idleWorst > 0 ? stallWorst / idleWorst : 0;
    state.counters["move_s"] = moveTotal / n;
}
BENCHMARK(BM_LongMoveAcrossFileSystems)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
