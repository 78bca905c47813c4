// Opening a folder of 10,000 subfolders in the folder tree, and walking to
// a folder 12 levels deep whose every level holds 1,000 subfolders, each
// beside a bare readdir loop over the same folders in the same run. Reports
// both times, their ratio, and how many images the tree's icon list holds
// once every row has been asked for its icon (icons are shared, so a few).
#include "shell/FflIconList.h"
#include "shell/FolderTreeNode.h"
#include "shell/FolderTreeView.h"

#include "namespace/ShellFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
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

using bench::Clock;
using bench::secondsSince;

// Processor time of this thread: on a busy shared machine the wall clock
// also counts the time other programs had the processor.
double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Wall and processor time of one measured stretch, summed over iterations.
struct Stopwatch
{
    double wall = 0;
    double cpu = 0;

    template <typename Work>
    double time(Work work)
    {
        const double cpuStart = threadSeconds();
        const Clock::time_point start = Clock::now();
        work();
        const double seconds = secondsSince(start);
        wall += seconds;
        cpu += threadSeconds() - cpuStart;
        return seconds;
    }
};

void reportRatio(benchmark::State &state, const Stopwatch &bare, const Stopwatch &tree)
{
    const double runs = double(state.iterations());
    state.counters["readdir_ms"] = bare.wall / runs * 1000;
    state.counters["tree_ms"] = tree.wall / runs * 1000;
    state.counters["readdir_cpu_ms"] = bare.cpu / runs * 1000;
    state.counters["tree_cpu_ms"] = tree.cpu / runs * 1000;
    state.counters["ratio"] = bare.wall > 0 ? tree.wall / bare.wall : 0;
    state.counters["cpu_ratio"] = bare.cpu > 0 ? tree.cpu / bare.cpu : 0;
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
    Stopwatch bare;
    Stopwatch tree;
    int images = 0;
    int nodes = 0;
    for (auto _ : state) {
        bare.time([&] { benchmark::DoNotOptimize(readdirCount(path)); });

        TFolderTreeView view(desktop, &host);
        view.setFolderName(path);
        // Opening the selected folder reads, adds and sorts its 10,000 children.
        state.SetIterationTime(tree.time([&] { view.OpenFolder("no such child"); }));
        FolderTreeNode *folder = view.selectedNode();
        nodes = folder->childCount();
        // As if every row had been scrolled into view.
        for (int i = 0; i < nodes; ++i)
            view.nodeIcon(*folder->child(i));
        images = view.Images()->count();
    }
    reportRatio(state, bare, tree);
    state.counters["nodes"] = nodes;
    state.counters["images"] = images;
}
BENCHMARK(BM_OpenFolderOfTenThousand)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

constexpr int kLevels = 12;
constexpr int kPerLevel = 1000;

// root/d1/.../d12, each level beside 999 other folders.
const QTemporaryDir &deepTree()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QString level = dir.path();
        for (int depth = 1; depth <= kLevels; ++depth) {
            QDir here(level);
            for (int i = 1; i <= kPerLevel; ++i)
                here.mkdir(QStringLiteral("d%1").arg(i));
            level += QStringLiteral("/d%1").arg(kPerLevel / 2);
        }
        return true;
    }();
    Q_UNUSED(made);
    return dir;
}

void BM_SetFolderNameTwelveLevels(benchmark::State &state)
{
    QByteArray target = QFile::encodeName(deepTree().path());
    QList<QByteArray> levels{target};
    for (int depth = 1; depth <= kLevels; ++depth) {
        target += "/d" + QByteArray::number(kPerLevel / 2);
        levels.append(target);
    }
    levels.removeLast(); // the deepest folder is selected, not opened
    const auto desktop = shellns::desktopFolder();
    QWidget host;
    Stopwatch bare;
    Stopwatch tree;
    bool reached = false;
    for (auto _ : state) {
        bare.time([&] {
            for (const QByteArray &level : levels)
                benchmark::DoNotOptimize(readdirCount(level));
        });

        TFolderTreeView view(desktop, &host);
        // The folders above the tree are opened first, so the time is the 12 levels.
        view.setFolderName(levels.first());
        state.SetIterationTime(tree.time([&] { view.setFolderName(target); }));
        reached = view.FolderName() == target;
    }
    reportRatio(state, bare, tree);
    state.counters["reached"] = reached;
}
BENCHMARK(BM_SetFolderNameTwelveLevels)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

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
