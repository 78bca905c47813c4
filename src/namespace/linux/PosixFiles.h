#pragma once
// Small helpers over the POSIX file calls the namespace uses directly, so
// that names stay bytes all the way down.
#include "platform/DirHandle.h"

#include <QByteArray>

#include <sys/stat.h>

namespace shellns {

// A directory, or a link that leads to one.
inline bool isDirectory(const QByteArray &path)
{
    struct stat target;
    return stat(path.constData(), &target) == 0 && S_ISDIR(target.st_mode);
}

} // namespace shellns
