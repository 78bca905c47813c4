#pragma once
// The mounts of this process as the kernel lists them in
// /proc/self/mountinfo. Reading the table never touches a mounted file
// system, so it answers even while a mount does not.
#include <QByteArray>

#include <vector>

namespace mounttable {

struct Mount
{
    QByteArray mountPoint; // absolute
    QByteArray root;       // the folder of the file system mounted there
    QByteArray type;       // "ext4", "nfs4", "fuse.sshfs"...
    QByteArray source;     // "/dev/sda1", "server:/share"...
    unsigned major = 0;
    unsigned minor = 0;
};

// The mounts in the kernel's order (a later mount on the same point hides
// the earlier ones); empty when the table cannot be read.
std::vector<Mount> read();

// Parses the text of a mountinfo file.
std::vector<Mount> parse(const QByteArray &text);

// The mount point that holds the absolute path, judged by the path's text
// (the longest mount point that is a whole-component prefix; links are not
// followed); empty when none does.
QByteArray mountPointOf(const std::vector<Mount> &mounts, const QByteArray &path);

// Whether path is folder or lies below it, judged by the text.
bool isUnder(const QByteArray &path, const QByteArray &folder);

} // namespace mounttable
