#include "namespace/linux/Volumes.h"

#include "platform/MountTable.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace shellns {

namespace {

bool under(const QByteArray &path, const QByteArray &folder)
{
    return mounttable::isUnder(path, folder);
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

bool holdsUserData(const mounttable::Mount &mount)
{
    const QByteArray &type = mount.type;
    if (type == "tmpfs")
        return mount.mountPoint == "/tmp";
    if (type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3")
        return true;
    // Shares and cloud drives mounted through FUSE (sshfs, rclone...), but
    // not the desktop's own helpers.
    if (type == "fuse" || type.startsWith("fuse."))
        return type != "fuse.lxcfs" && type != "fuse.portal" && type != "fuse.gvfsd-fuse" && type != "fuse.snapfuse";
    return mount.source.startsWith("/dev/") && type != "squashfs";
}

// "\x20" in a label's link name stands for a space, and so on.
QByteArray decodeLabel(const QByteArray &name)
{
    QByteArray label;
    for (qsizetype i = 0; i < name.size(); ++i) {
        bool ok = false;
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const char c = char(name.mid(i + 2, 2).toInt(&ok, 16));
            if (ok) {
                label.append(c);
                i += 3;
                continue;
            }
        }
        label.append(name[i]);
    }
    return label;
}

// Volume labels by device, from the links udev keeps in /dev (a file
// system of its own that no mounted volume can hold up).
std::map<QByteArray, QString> labelsByDevice()
{
    std::map<QByteArray, QString> labels;
    const QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo &link : byLabel.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QByteArray device = QFile::encodeName(link.canonicalFilePath());
        if (!device.isEmpty())
            labels[device] = QString::fromUtf8(decodeLabel(QFile::encodeName(link.fileName())));
    }
    return labels;
}

} // namespace

std::vector<Volume> mountedVolumes()
{
    std::vector<Volume> volumes{{QByteArrayLiteral("/"), QStringLiteral("/"), false}};
    std::map<QByteArray, QString> labels;
    bool labelsRead = false;
    // Held here: a range over the table alone would outlive the pointer that keeps it.
    const auto table = mounttable::read();
    for (const mounttable::Mount &mount : *table) {
        const QByteArray &mountPoint = mount.mountPoint;
        if (mountPoint == "/" || systemMountPoint(mountPoint) || !holdsUserData(mount))
            continue;
        bool seen = false;
        for (const Volume &volume : volumes)
            seen = seen || volume.mountPoint == mountPoint;
        if (seen)
            continue;
        if (!labelsRead && mount.source.startsWith("/dev/")) {
            labels = labelsByDevice();
            labelsRead = true;
        }
        const auto label = labels.find(mount.source);
        const QString shown = paths::toDisplay(mountPoint);
        volumes.push_back({mountPoint,
                           label == labels.end() ? shown : QStringLiteral("%1 (%2)").arg(label->second, shown),
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
