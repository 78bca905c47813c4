// The settings file at start and close when it has grown to 1 MB of short
// lines without "=" (the worst a hand-edited or damaged file gives): one
// read with all fourteen entries looked up, and one batched rewrite of all
// fourteen. Each is measured beside a bare baseline in the same run: reading
// the file's bytes, and writing them to a temporary file and renaming it.
// The "ratio" counter is settings work / baseline.
#include "platform/FileOperations.h"
#include "settings/ProfileFile.h"
#include "platform/RegularFile.h"

#include <QTemporaryDir>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

QByteArray hostileSettings()
{
    QByteArray text = "[SET]\nM_TOP=10\nM_LEFT=20\n";
    while (text.size() < (1 << 20))
        text += "xxxxxxxxxxxxxx\n";
    text += "[SET1]\nMODE1=1\nMODE2=0\nLIST00=/music\n";
    return text;
}

QByteArray slotKey(int slot)
{
    return "LIST0" + QByteArray::number(slot);
}

double seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

void BM_SettingsStart(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + "/Ondasort.ini";
    FileOperations().writeWhole(path, hostileSettings());
    double work = 0;
    double bare = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const ProfileSnapshot settings = ProfileFile(path).snapshot();
        int sum = settings.readInteger("SET", "M_TOP", 0) + settings.readInteger("SET", "M_LEFT", 0)
            + settings.readInteger("SET1", "MODE1", 0) + settings.readInteger("SET1", "MODE2", 0);
        qsizetype length = settings.readString("SET1", "LIST00").size();
        for (int slot = 1; slot <= 9; ++slot)
            length += settings.readString("SET1", slotKey(slot)).size();
        benchmark::DoNotOptimize(sum + length);
        const auto read = Clock::now();
        benchmark::DoNotOptimize(regularfile::read(path, ProfileFile::kMaxFileSize).bytes.size());
        const auto baseline = Clock::now();
        work += seconds(start, read);
        bare += seconds(read, baseline);
        state.SetIterationTime(seconds(start, read));
    }
    state.counters["bare_us"] = benchmark::Counter(bare * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(work / bare);
}
BENCHMARK(BM_SettingsStart)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SettingsClose(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + "/Ondasort.ini";
    const QByteArray copy = QFile::encodeName(dir.path()) + "/copy.ini";
    const QByteArray text = hostileSettings();
    FileOperations().writeWhole(path, text);
    double work = 0;
    double bare = 0;
    int top = 0;
    for (auto _ : state) {
        ProfileChanges changes;
        // A new value each time, so every round really rewrites the file.
        changes.writeInteger("SET", "M_TOP", ++top).writeInteger("SET", "M_LEFT", 20)
            .writeBool("SET1", "MODE1", true).writeBool("SET1", "MODE2", false)
            .writeString("SET1", "LIST00", "/music");
        for (int slot = 1; slot <= 9; ++slot)
            changes.writeString("SET1", slotKey(slot), "/dest/" + QByteArray::number(slot));
        const auto start = Clock::now();
        ProfileFile settings(path);
        if (!settings.write(changes))
            state.SkipWithError("settings not written");
        const auto written = Clock::now();
        FileOperations().writeWhole(copy, text);
        const auto baseline = Clock::now();
        work += seconds(start, written);
        bare += seconds(written, baseline);
        state.SetIterationTime(seconds(start, written));
    }
    state.counters["bare_us"] = benchmark::Counter(bare * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(work / bare);
}
BENCHMARK(BM_SettingsClose)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
