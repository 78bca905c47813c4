#pragma once
// Whether a path is a folder, asked on a worker thread so that the asking
// thread can stop waiting: for a mount point that does not answer, a stat
// can wait in the kernel for as long as the mount hangs.
//
// Looks at one path are shared: while one is under way, another asker
// waits for the same answer instead of starting a second stat that would
// hang beside it.
#include <QByteArrayList>

#include <vector>

namespace folderprobe {

enum class Answer { Folder, NotFolder, NoAnswer };

// Looks at each path (all at once) and waits up to waitMs in all for the
// answers, forever when waitMs is negative; NoAnswer for those not in by then.
std::vector<Answer> look(const QByteArrayList &paths, int waitMs);
Answer look(const QByteArray &path, int waitMs);

// Looks at path (made absolute) and waits as long as its mount deserves: on
// local disks as long as a busy disk may keep a call, elsewhere (shares,
// FUSE, removable drives) only elsewhereMs.
Answer lookPatiently(const QByteArray &path, int elsewhereMs);

} // namespace folderprobe
