#include "namespace/linux/Volumes.h"

#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace shellns {

namespace {

bool under(const QByteArray &path, const QByteArray &folder)
{
    if (folder == "/")
        return path.startsWith('/');
    return path == folder || path.startsWith(folder + '/');
}

bool systemMountPoint(const QByteArray &mountPoint)
{
    if (under(mountPoint, "/run"))
        return !under(mountPoint, "/run/media");
    for (const char *folder : {"/proc", "/sys", "/dev", "/snap", "/boot", "/var/lib/docker", "/var/snap"}) {
        if (under(mountPoint, folder))
            return true;
    }
    return false;
}

bool holdsUserData(const QStorageInfo &storage, const QByteArray &mountPoint)
{
    const QByteArray type = storage.fileSystemType();
    if (type == "tmpfs")
        return mountPoint == "/tmp";
    if (type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type == "fuse.sshfs")
        return true;
    return storage.device().startsWith("/dev/") && type != "squashfs";
}

} // namespace

std::vector<Volume> mountedVolumes()
{
    std::vector<Volume> volumes{{QByteArrayLiteral("/"), QStringLiteral("/"), false}};
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        const QByteArray mountPoint = QFile::encodeName(storage.rootPath());
        if (mountPoint == "/" || !mountPoint.startsWith('/') || systemMountPoint(mountPoint)
            || !holdsUserData(storage, mountPoint) || !QFileInfo(storage.rootPath()).isDir())
            continue;
        bool seen = false;
        for (const Volume &volume : volumes)
            seen = seen || volume.mountPoint == mountPoint;
        if (seen)
            continue;
        const QString shown = paths::toDisplay(mountPoint);
        const QString name = storage.name();
        volumes.push_back({mountPoint,
                           name.isEmpty() ? shown : QStringLiteral("%1 (%2)").arg(name, shown),
                           under(mountPoint, "/media") || under(mountPoint, "/run/media")
                               || under(mountPoint, "/mnt")});
    }
    return volumes;
}

const Volume *volumeHolding(const std::vector<Volume> &volumes, const QByteArray &path)
{
    const Volume *best = nullptr;
    for (const Volume &volume : volumes) {
        if (under(path, volume.mountPoint)
            && (!best || volume.mountPoint.size() > best->mountPoint.size()))
            best = &volume;
    }
    return best;
}

} // namespace shellns
