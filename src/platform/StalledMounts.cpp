#include "platform/StalledMounts.h"

#include "platform/MountTable.h"
#include "platform/PathResolve.h"

#include <map>

namespace stalledmounts {

namespace {

// Calls that do not answer, by mount point. Never destroyed: a worker
// stuck on a device may answer while the process ends, after static
// objects are gone.
struct Stalled
{
    std::mutex mutex;
    std::map<QByteArray, int> calls;
};

Stalled &stalled()
{
    static Stalled *const instance = new Stalled;
    return *instance;
}

void add(const QByteArrayList &mounts, int delta)
{
    Stalled &s = stalled();
    const std::lock_guard lock(s.mutex);
    for (const QByteArray &mount : mounts) {
        if ((s.calls[mount] += delta) <= 0)
            s.calls.erase(mount);
    }
}

} // namespace

Mounts mountsOf(const QByteArrayList &paths)
{
    const auto table = mounttable::read();
    const std::vector<mounttable::Mount> &mounts = *table;
    Mounts found;
    for (const QByteArray &path : paths) {
        if (path.isEmpty())
            continue;
        const mounttable::Mount *mount = mounttable::mountOf(mounts, paths::absoluteClean(path));
        if (!mount) {
            found.local = false;
            continue;
        }
        if (mounttable::mayHang(*mount))
            found.local = false;
        if (!found.points.contains(mount->mountPoint))
            found.points << mount->mountPoint;
    }
    // A call on no path (the list of volumes) may touch any mount.
    if (found.points.isEmpty())
        found.local = false;
    return found;
}

bool anyStalled(const QByteArrayList &mounts)
{
    Stalled &s = stalled();
    const std::lock_guard lock(s.mutex);
    for (const QByteArray &mount : mounts) {
        if (s.calls.count(mount))
            return true;
    }
    return false;
}

Mark::Mark(QByteArrayList mounts)
    : m_mounts(std::move(mounts))
{
}

void Mark::stall()
{
    const std::lock_guard lock(m_mutex);
    if (m_answered || m_stalled)
        return;
    m_stalled = true;
    add(m_mounts, 1);
}

void Mark::answered()
{
    const std::lock_guard lock(m_mutex);
    if (m_answered)
        return;
    m_answered = true;
    if (m_stalled)
        add(m_mounts, -1);
}

} // namespace stalledmounts
