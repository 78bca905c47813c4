// Hostile playlists of 1 MB that name themselves on every line (M3U) or in
// every entry (ASX). Measured: how long the caller's thread is held when
// such a list is handed to the player (the GUI thread's share), and how long
// the whole bounded expansion takes wherever it runs. The bare baseline in
// the same run reads the playlist's bytes once; "ratio" is work / baseline.
#include "platform/RegularFile.h"
#include "player/mpv/MediaSource.h"
#include "player/mpv/MpvPlayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

QByteArray selfReferencing(const QByteArray &path, bool asx)
{
    QByteArray text = asx ? "<asx version=\"3.0\">\n" : "#EXTM3U\n";
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const QByteArray line = asx ? "<entry><ref href=\"" + name + "\"/></entry>\n" : path + "\n";
    while (text.size() + line.size() < (1 << 20) - 16)
        text += line;
    if (asx)
        text += "</asx>\n";
    return text;
}

QByteArray writeList(const QTemporaryDir &dir, bool asx)
{
    const QByteArray path = QFile::encodeName(dir.path()) + (asx ? "/self.asx" : "/self.m3u");
    QFile file(QFile::decodeName(path));
    file.open(QIODevice::WriteOnly);
    file.write(selfReferencing(path, asx));
    return path;
}

double seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double bareRead(const QByteArray &path)
{
    const auto start = Clock::now();
    benchmark::DoNotOptimize(regularfile::read(path, 1 << 21).bytes.size());
    return seconds(start, Clock::now());
}

void BM_ExpandSelfReferencing(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray path = writeList(dir, state.range(0) != 0);
    double work = 0;
    double bare = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(MediaSource::mpvEntries(path).size());
        const double took = seconds(start, Clock::now());
        work += took;
        bare += bareRead(path);
        state.SetIterationTime(took);
    }
    state.SetLabel(state.range(0) ? "asx" : "m3u");
    state.counters["bare_us"] = benchmark::Counter(bare * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(work / bare);
}
BENCHMARK(BM_ExpandSelfReferencing)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The GUI thread's share: the load call itself.
void BM_LoadHoldsTheCaller(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray path = writeList(dir, state.range(0) != 0);
    MpvOptions options;
    options.audioOutput = "null";
    options.videoOutput = "null";
    MpvPlayer player(options);
    bool failed = false;
    QObject::connect(&player, &MpvPlayer::loadFailed, [&failed] { failed = true; });
    double work = 0;
    double bare = 0;
    for (auto _ : state) {
        failed = false;
        const auto start = Clock::now();
        player.load(path);
        const double took = seconds(start, Clock::now());
        work += took;
        bare += bareRead(path);
        state.SetIterationTime(took);
        // The list plays nothing: wait for its verdict before the next round.
        while (!failed)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    state.SetLabel(state.range(0) ? "asx" : "m3u");
    state.counters["bare_us"] = benchmark::Counter(bare * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(work / bare);
}
BENCHMARK(BM_LoadHoldsTheCaller)->Arg(0)->Arg(1)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
