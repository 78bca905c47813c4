#include "platform/FolderProbe.h"

#include "platform/FileCalls.h"
#include "platform/PathResolve.h"
#include "platform/StalledMounts.h"
#include "platform/WorkerThreads.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace folderprobe {

namespace {

struct Look
{
    bool done = false;
    bool folder = false;
};

// Never destroyed: a look stuck on a mount may end while the process ends.
struct Looks
{
    std::mutex mutex;
    std::condition_variable answered;
    std::map<QByteArray, std::shared_ptr<Look>> underWay;
};

Looks &looks()
{
    static Looks *all = new Looks;
    return *all;
}

// The look at path under way, or a new one. Called with the mutex held.
std::shared_ptr<Look> startLook(Looks &all, const QByteArray &path)
{
    std::shared_ptr<Look> &look = all.underWay[path];
    if (look)
        return look;
    look = std::make_shared<Look>();
    workerthreads::run([&all, path, look] {
        struct stat status {};
        const bool folder = ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
        {
            const std::lock_guard lock(all.mutex);
            look->folder = folder;
            look->done = true;
            all.underWay.erase(path);
        }
        all.answered.notify_all();
    });
    return look;
}

} // namespace

std::vector<Answer> look(const QByteArrayList &paths, int waitMs)
{
    Looks &all = looks();
    std::unique_lock lock(all.mutex);
    std::vector<std::shared_ptr<Look>> started;
    for (const QByteArray &path : paths)
        started.push_back(startLook(all, path));
    const auto allDone = [&] {
        for (const auto &each : started) {
            if (!each->done)
                return false;
        }
        return true;
    };
    if (waitMs < 0)
        all.answered.wait(lock, allDone);
    else
        all.answered.wait_for(lock, std::chrono::milliseconds(waitMs), allDone);
    std::vector<Answer> answers;
    for (const auto &each : started)
        answers.push_back(!each->done ? Answer::NoAnswer : each->folder ? Answer::Folder : Answer::NotFolder);
    return answers;
}

Answer look(const QByteArray &path, int waitMs)
{
    return look(QByteArrayList {path}, waitMs).front();
}

Answer lookPatiently(const QByteArray &path, int elsewhereMs)
{
    const QByteArray absolute = paths::absoluteClean(path);
    const bool local = stalledmounts::mountsOf({absolute}).local;
    return look(absolute, local ? FileCalls::kLocalBlockedMs : elsewhereMs);
}

} // namespace folderprobe
