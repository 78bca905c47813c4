#pragma once
// The mounts of this process as the kernel lists them in
// /proc/self/mountinfo. Reading the table never touches a mounted file
// system, so it answers even while a mount does not.
#include <QByteArray>

#include <memory>
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
// Shared and never changed: a later change of the table makes a new one.
std::shared_ptr<const std::vector<Mount>> read();

// Parses the text of a mountinfo file.
std::vector<Mount> parse(const QByteArray &text);

// The mount point that holds the absolute path, judged by the path's text
// (the longest mount point that is a whole-component prefix; links are not
// followed); empty when none does.
QByteArray mountPointOf(const std::vector<Mount> &mounts, const QByteArray &path);

// The mount that holds the absolute path (the one seen there: the latest
// on the longest matching mount point); null when none does.
const Mount *mountOf(const std::vector<Mount> &mounts, const QByteArray &path);

// Whether calls on the mount can wait on something other than a local
// disk: a network share, a FUSE server, a mount of unknown kind. Those are
// the ones that stop answering for minutes; a busy local disk only delays.
bool mayHang(const Mount &mount);

// Whether path is folder or lies below it, judged by the text.
bool isUnder(const QByteArray &path, const QByteArray &folder);

} // namespace mounttable
