#pragma once
// Small helpers over the POSIX file calls the namespace uses directly, so
// that names stay bytes all the way down.
#include <QByteArray>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace shellns {

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

inline DirHandle openDirectory(const QByteArray &path)
{
    return DirHandle(opendir(path.constData()));
}

// A directory, or a link that leads to one.
inline bool isDirectory(const QByteArray &path)
{
    struct stat target;
    return stat(path.constData(), &target) == 0 && S_ISDIR(target.st_mode);
}

} // namespace shellns
