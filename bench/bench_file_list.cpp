// Reading a folder into the file list, against the least any reader must do:
// one readdir pass testing each name against the 31 media patterns.
//
// Folders of 1,000, 10,000 and 50,000 files, 60 % of them media names, are
// made once under the temporary folder. Each list benchmark reports
// "x_bare", its time per read divided by the bare loop's on the same folder.
#include "controls/FileListBox.h"
#include "controls/FileListModel.h"
#include "platform/FileMask.h"
#include "platform/FolderFiles.h"

#include <QApplication>
#include <QTemporaryDir>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QTemporaryDir *g_root = nullptr;

// The folder of count files, made on first use.
QByteArray folderOf(int count)
{
    static std::map<int, QByteArray> folders;
    auto found = folders.find(count);
    if (found != folders.end())
        return found->second;
    const QByteArray folder = QFile::encodeName(g_root->path()) + "/files" + QByteArray::number(count);
    ::mkdir(folder.constData(), 0755);
    static const char *const media[] = {".mp3", ".WAV", ".wma", ".avi", ".mid", ".mpg", ".aiff", ".Mp3"};
    static const char *const other[] = {".txt", ".jpg", ".png", ".mp3.part"};
    for (int i = 0; i < count; ++i) {
        const bool isMedia = i % 5 < 3;
        const QByteArray name = "Track " + QByteArray::number((i * 7919) % 100003)
            + (isMedia ? media[i % 8] : other[i % 4]);
        const int fd = ::open((folder + '/' + name).constData(), O_WRONLY | O_CREAT, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    folders[count] = folder;
    return folder;
}

// The bare loop: readdir, then a case-blind suffix test per pattern.
size_t bareRead(const QByteArray &folder)
{
    static const char *const suffixes[] = {".ivf", ".aif", ".aifc", ".aiff", ".asf", ".asx", ".wax",
        ".wm", ".wma", ".wmd", ".wmv", ".wvx", ".wmp", ".wmx", ".avi", ".wav", ".mpeg", ".mpg", ".m1v",
        ".mp2", ".mpa", ".mpe", ".mpv2", ".mid", ".midi", ".rmi", ".au", ".snd", ".mp3", ".m3u", ".vob"};
    size_t matches = 0;
    DIR *dir = ::opendir(folder.constData());
    while (const dirent *entry = ::readdir(dir)) {
        const size_t length = std::strlen(entry->d_name);
        for (const char *suffix : suffixes) {
            const size_t suffixLength = std::strlen(suffix);
            if (length >= suffixLength
                && ::strcasecmp(entry->d_name + length - suffixLength, suffix) == 0)
                ++matches;
        }
    }
    ::closedir(dir);
    return matches;
}

template <typename Work>
double secondsOf(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times work per iteration and, interleaved with it so that both meet the
// same load on the machine, the bare loop on the same folder; reports the
// ratio of the two as "x_bare".
template <typename Work>
void measureAgainstBare(benchmark::State &state, const QByteArray &folder, Work &&work)
{
    double seconds = 0;
    double bare = 0;
    for (auto _ : state) {
        seconds += secondsOf(work);
        state.PauseTiming();
        bare += secondsOf([&] { benchmark::DoNotOptimize(bareRead(folder)); });
        state.ResumeTiming();
    }
    state.counters["x_bare"] = seconds / bare;
    state.counters["files"] = double(state.range(0));
}

void BM_BareReaddir(benchmark::State &state)
{
    const QByteArray folder = folderOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(bareRead(folder));
    state.counters["files"] = double(state.range(0));
}

void BM_FolderFiles(benchmark::State &state)
{
    const QByteArray folder = folderOf(int(state.range(0)));
    const FileMask mask;
    measureAgainstBare(state, folder, [&] { benchmark::DoNotOptimize(folderfiles::read(folder, mask)); });
}

// Sorting and the model alone, on names already read.
void BM_FileListModel(benchmark::State &state)
{
    const QByteArray folder = folderOf(int(state.range(0)));
    const std::vector<QByteArray> names = folderfiles::read(folder, FileMask()).names;
    FileListModel model;
    for (auto _ : state)
        model.setNames(names);
    state.counters["items"] = double(model.count());
}

void BM_FileListBox(benchmark::State &state)
{
    const QByteArray folder = folderOf(int(state.range(0)));
    TFileListBox list;
    list.resize(240, 216);
    list.setDirectory(folder);
    // Reading, sorting, the model and the view's item layout.
    measureAgainstBare(state, folder, [&] {
        list.Update();
        list.doItemsLayout();
    });
    state.counters["items"] = double(list.count());
}

BENCHMARK(BM_BareReaddir)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderFiles)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileListModel)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileListBox)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir root;
    g_root = &root;
    const int result = runBenchmarksWithQt(argc, argv);
    g_root = nullptr;
    return result;
}
