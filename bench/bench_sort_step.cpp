// One sort step end to end in a folder of 10,000 files: the key handler
// moves the current file, the list re-reads the folder, the next file is
// selected and handed to the player. Measured beside one bare readdir pass
// over the same folder; the "ratio" counter is sort step / bare read.
#include "app/MainForm1.h"
#include "controls/BrowseEdit.h"
#include "shell/FolderTreeView.h"
#include "support/RecordingBackend.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <dirent.h>

namespace {

long bareRead(const QByteArray &folder)
{
    long count = 0;
    if (DIR *dir = ::opendir(folder.constData())) {
        while (::readdir(dir))
            ++count;
        ::closedir(dir);
    }
    return count;
}

void BM_SortStep(benchmark::State &state)
{
    const int files = int(state.range(0));
    QTemporaryDir root;
    const QByteArray source = QFile::encodeName(root.path()) + "/source";
    const QByteArray dest = QFile::encodeName(root.path()) + "/dest";
    QDir().mkpath(QFile::decodeName(source));
    QDir().mkpath(QFile::decodeName(dest));
    static const char *const kinds[] = {".mp3", ".wav", ".txt", ".mid", ".jpg"};
    for (int i = 0; i < files; ++i) {
        QFile file(QFile::decodeName(source) + QStringLiteral("/take%1").arg(i, 5, 10, QLatin1Char('0'))
            + QLatin1String(kinds[i % 5]));
        file.open(QIODevice::WriteOnly);
    }

    PlayerRecord player;
    TMainForm1::Surroundings surroundings;
    surroundings.executableDirectory = QFile::encodeName(root.path());
    surroundings.playerBackend = [&player] { return RecordingBackend::make(player); };
    TMainForm1 form(surroundings);
    form.BrowseEdit[0]->setPath(dest);
    form.FolderTreeView0->setFolderName(source);

    double stepSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        const QByteArray moved = form.currentPath();
        int key = 97; // keypad 1
        const auto start = std::chrono::steady_clock::now();
        form.FormKeyDown(&form, key, Qt::KeypadModifier);
        const auto stepped = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(bareRead(source));
        const auto read = std::chrono::steady_clock::now();
        stepSeconds += std::chrono::duration<double>(stepped - start).count();
        bareSeconds += std::chrono::duration<double>(read - stepped).count();
        state.SetIterationTime(std::chrono::duration<double>(stepped - start).count());
        // Put the file back so every step sees the same folder.
        std::rename((dest + moved.mid(moved.lastIndexOf('/'))).constData(), moved.constData());
    }
    state.counters["bare_read_us"] = benchmark::Counter(bareSeconds * 1e6 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(stepSeconds / bareSeconds);
}
BENCHMARK(BM_SortStep)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
