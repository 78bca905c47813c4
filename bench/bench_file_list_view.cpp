// Opening a folder of 10,000 files in the file list view's report style
// (names, sizes, dates and icons of the rows in view, painted), beside a bare
// readdir + stat loop over the same folder in the same run; and switching
// the view style on that folder, each switch painted.
#include "shell/FileListView.h"

#include "namespace/ShellFolder.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int kFiles = 10000;

const QTemporaryDir &bigFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        const char *types[] = {"mp3", "wav", "avi", "mid", "txt"};
        for (int i = 1; i <= kFiles; ++i) {
            QFile file(QStringLiteral("%1/take %2.%3").arg(dir.path()).arg(i).arg(QLatin1String(types[i % 5])));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(i % 3000, 'x'));
        }
        return true;
    }();
    Q_UNUSED(made);
    return dir;
}

using bench::Clock;
using bench::secondsSince;

// What any program must do to list a folder with sizes and dates.
long long readdirStat(const QByteArray &path)
{
    long long bytes = 0;
    if (DIR *dir = opendir(path.constData())) {
        const int fd = dirfd(dir);
        while (const dirent *entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            struct stat info;
            if (fstatat(fd, entry->d_name, &info, 0) == 0)
                bytes += info.st_size;
        }
        closedir(dir);
    }
    return bytes;
}

// CPU time of this thread: on a machine shared with other work it shows
// what a switch costs apart from waiting for a core.
double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Lays out and paints what the view shows now, as a window would.
void paint(TFileListView &list)
{
    QCoreApplication::processEvents();
    list.currentView()->doItemsLayout();
    benchmark::DoNotOptimize(list.currentView()->viewport()->grab());
}

void BM_OpenTenThousandFilesInReportStyle(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(bigFolder().path());
    TFileListView list(shellns::desktopFolder(), nullptr);
    list.resize(900, 700);
    list.setViewStyle(vsReport);
    list.show();
    // A first listing loads the icon theme, which a running program has done long before.
    list.setFileName(path);
    paint(list);
    double bareSeconds = 0;
    double listSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point bare = Clock::now();
        benchmark::DoNotOptimize(readdirStat(path));
        bareSeconds += secondsSince(bare);

        list.Clear();
        const Clock::time_point start = Clock::now();
        list.setFileName(path);
        paint(list);
        const double seconds = secondsSince(start);
        listSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double runs = double(state.iterations());
    state.counters["items"] = list.count();
    state.counters["readdir_stat_ms"] = bareSeconds / runs * 1000;
    state.counters["open_ms"] = listSeconds / runs * 1000;
    state.counters["ratio"] = bareSeconds > 0 ? listSeconds / bareSeconds : 0;
}
BENCHMARK(BM_OpenTenThousandFilesInReportStyle)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_SwitchViewStyleOnTenThousandFiles(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(bigFolder().path());
    TFileListView list(shellns::desktopFolder(), nullptr);
    list.resize(900, 700);
    list.show();
    list.setFileName(path);
    paint(list);
    const TViewStyle order[] = {vsIcon, vsSmallIcon, vsReport, vsList};
    double worst = 0;
    double total = 0;
    double cpu = 0;
    double bare = 0;
    double perStyle[4] = {};
    int switches = 0;
    for (auto _ : state) {
        const Clock::time_point bareStart = Clock::now();
        benchmark::DoNotOptimize(readdirStat(path));
        bare += secondsSince(bareStart);
        double round = 0;
        for (TViewStyle style : order) {
            const double cpuStart = threadCpuSeconds();
            const Clock::time_point start = Clock::now();
            list.setViewStyle(style);
            paint(list);
            const double seconds = secondsSince(start);
            cpu += threadCpuSeconds() - cpuStart;
            worst = std::max(worst, seconds);
            perStyle[style] += seconds;
            round += seconds;
            ++switches;
        }
        total += round;
        state.SetIterationTime(round / 4);
    }
    state.counters["switch_avg_ms"] = switches ? total / switches * 1000 : 0;
    state.counters["switch_worst_ms"] = worst * 1000;
    state.counters["switch_cpu_ms"] = switches ? cpu / switches * 1000 : 0;
    // The same readdir + stat loop as above, timed in this run: how loaded the machine is.
    state.counters["readdir_stat_ms"] = bare / double(state.iterations()) * 1000;
    const char *names[] = {"to_icon_ms", "to_small_ms", "to_list_ms", "to_report_ms"};
    for (int style = 0; style < 4; ++style)
        state.counters[names[style]] = perStyle[style] / double(state.iterations()) * 1000;
}
BENCHMARK(BM_SwitchViewStyleOnTenThousandFiles)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarksWithQt(argc, argv);
}
