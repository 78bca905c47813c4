#include "platform/MountTable.h"

#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace mounttable {

namespace {

// The kernel writes space, tab, newline and backslash in names as \ooo.
QByteArray unescape(const QByteArray &field)
{
    QByteArray text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3') {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                text.append(char(value));
                i += 3;
                continue;
            }
        }
        text.append(c);
    }
    return text;
}

} // namespace

std::vector<Mount> parse(const QByteArray &text)
{
    std::vector<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
            continue;
        Mount mount;
        if (std::sscanf(fields[2].constData(), "%u:%u", &mount.major, &mount.minor) != 2)
            continue;
        mount.root = unescape(fields[3]);
        mount.mountPoint = unescape(fields[4]);
        mount.type = unescape(fields[dash + 1]);
        mount.source = unescape(fields[dash + 2]);
        if (mount.mountPoint.startsWith('/'))
            mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::shared_ptr<const std::vector<Mount>> read()
{
    // A file of the proc file system: reading it asks no mounted file system.
    // It is parsed again only when the kernel says a mount came or went (a
    // poll on an open copy reports POLLPRI once after each change): every
    // file call and every sort asks, and the table rarely changes.
    struct Cache
    {
        std::mutex mutex;
        int watch = -1;
        std::shared_ptr<const std::vector<Mount>> mounts;
    };
    static Cache *const cache = new Cache; // never destroyed: workers may ask while the process ends
    const std::lock_guard lock(cache->mutex);
    if (cache->watch < 0)
        cache->watch = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    pollfd changed {cache->watch, POLLPRI, 0};
    const bool stale = cache->watch < 0 || !cache->mounts || (::poll(&changed, 1, 0) > 0 && changed.revents);
    if (stale) {
        QFile file(QStringLiteral("/proc/self/mountinfo"));
        if (!file.open(QIODevice::ReadOnly))
            return std::make_shared<const std::vector<Mount>>();
        cache->mounts = std::make_shared<const std::vector<Mount>>(parse(file.readAll()));
    }
    return cache->mounts;
}

bool isUnder(const QByteArray &path, const QByteArray &folder)
{
    if (folder == "/")
        return path.startsWith('/');
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

const Mount *mountOf(const std::vector<Mount> &mounts, const QByteArray &path)
{
    const Mount *best = nullptr;
    for (const Mount &mount : mounts) {
        if (isUnder(path, mount.mountPoint) && (!best || mount.mountPoint.size() >= best->mountPoint.size()))
            best = &mount;
    }
    return best;
}

QByteArray mountPointOf(const std::vector<Mount> &mounts, const QByteArray &path)
{
    const Mount *mount = mountOf(mounts, path);
    return mount ? mount->mountPoint : QByteArray();
}

bool mayHang(const Mount &mount)
{
    // Disks and memory of this machine; anything else may be far away.
    static const char *const local[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs",
        "zfs", "bcachefs", "nilfs2", "vfat", "msdos", "exfat", "ntfs3", "hfsplus", "udf", "iso9660",
        "squashfs", "erofs", "tmpfs", "ramfs", "overlay", "devtmpfs", "proc", "sysfs"};
    for (const char *type : local) {
        if (mount.type == type)
            return false;
    }
    return true;
}

} // namespace mounttable
