#pragma once
// Mounted volumes that hold the user's data: the drives folder's items.
#include <QByteArray>
#include <QString>

#include <vector>

namespace shellns {

struct Volume
{
    QByteArray mountPoint; // absolute, "/" for the root
    QString label;
    bool removable = false;
};

// "/" first, then removable and additional mounts, from the mount table
// alone: no mount point is touched, so a mount that does not answer is
// listed all the same. Pseudo file systems (proc, sysfs, cgroup, tmpfs
// outside /tmp, ...) are left out; whether a mount point is a folder at
// all (not a mounted single file) is for the drives folder to find out.
std::vector<Volume> mountedVolumes();

// The volume whose mount point is the longest whole-component prefix of the
// absolute `path`; null when none is (no "/" in the list).
const Volume *volumeHolding(const std::vector<Volume> &volumes, const QByteArray &path);

} // namespace shellns
