// Opening a folder of 10,000 subfolders in the folder tree, beside a bare
// readdir loop over the same folder. Reports both times, their ratio, and
// how many images the tree's icon list holds (icons are shared, so a few).
#include "shell/FflIconList.h"
#include "shell/FolderTreeNode.h"
#include "shell/FolderTreeView.h"

#include "platform/ShellFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <dirent.h>

namespace {

constexpr int kFolders = 10000;

const QTemporaryDir &bigFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QDir root(dir.path());
        for (int i = 1; i <= kFolders; ++i)
            root.mkdir(QStringLiteral("folder %1").arg(i));
        return true;
    }();
    Q_UNUSED(made);
    return dir;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int readdirCount(const QByteArray &path)
{
    int count = 0;
    if (DIR *dir = opendir(path.constData())) {
        while (const dirent *entry = readdir(dir))
            count += entry->d_type == DT_DIR && entry->d_name[0] != '.';
        closedir(dir);
    }
    return count;
}

void BM_OpenFolderOfTenThousand(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(bigFolder().path());
    const auto desktop = shellns::desktopFolder();
    QWidget host;
    double readdirSeconds = 0;
    double treeSeconds = 0;
    int images = 0;
    int nodes = 0;
    for (auto _ : state) {
        const Clock::time_point bare = Clock::now();
        benchmark::DoNotOptimize(readdirCount(path));
        readdirSeconds += secondsSince(bare);

        TFolderTreeView view(desktop, &host);
        view.setFolderName(path);
        // Opening the selected folder reads, adds and sorts its 10,000 children.
        const Clock::time_point start = Clock::now();
        view.OpenFolder("no such child");
        const double seconds = secondsSince(start);
        treeSeconds += seconds;
        state.SetIterationTime(seconds);
        nodes = view.selectedNode()->childCount();
        images = view.Images()->count();
    }
    const double runs = double(state.iterations());
    state.counters["readdir_ms"] = readdirSeconds / runs * 1000;
    state.counters["tree_ms"] = treeSeconds / runs * 1000;
    state.counters["ratio"] = readdirSeconds > 0 ? treeSeconds / readdirSeconds : 0;
    state.counters["nodes"] = nodes;
    state.counters["images"] = images;
}
BENCHMARK(BM_OpenFolderOfTenThousand)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_NamespaceEnumerate(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(bigFolder().path());
    const auto desktop = shellns::desktopFolder();
    shellns::ItemIdList ids;
    desktop->parseDisplayName(path, &ids, nullptr);
    const auto folder = desktop->bindToObject(ids);
    for (auto _ : state) {
        const auto items = folder->enumObjects(shellns::enumflags::kFolders | shellns::enumflags::kNonFolders
                                               | shellns::enumflags::kIncludeHidden);
        benchmark::DoNotOptimize(items->size());
    }
}
BENCHMARK(BM_NamespaceEnumerate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
