#include "platform/StalledMounts.h"

#include "platform/MountTable.h"
#include "platform/PathResolve.h"

#include <map>

namespace stalledmounts {

namespace {

std::mutex g_mutex;
// Calls that do not answer, by mount point.
std::map<QByteArray, int> g_stalled;

void add(const QByteArrayList &mounts, int delta)
{
    const std::lock_guard lock(g_mutex);
    for (const QByteArray &mount : mounts) {
        if ((g_stalled[mount] += delta) <= 0)
            g_stalled.erase(mount);
    }
}

} // namespace

QByteArrayList mountsOf(const QByteArrayList &paths)
{
    const std::vector<mounttable::Mount> mounts = mounttable::read();
    QByteArrayList found;
    for (const QByteArray &path : paths) {
        if (path.isEmpty())
            continue;
        const QByteArray mount = mounttable::mountPointOf(mounts, paths::absoluteClean(path));
        if (!mount.isEmpty() && !found.contains(mount))
            found << mount;
    }
    return found;
}

bool anyStalled(const QByteArrayList &mounts)
{
    const std::lock_guard lock(g_mutex);
    for (const QByteArray &mount : mounts) {
        if (g_stalled.count(mount))
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
