#include "platform/FileSystem.h"

#include "platform/DirHandle.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

FileSystem &FileSystem::posix()
{
    static FileSystem instance;
    return instance;
}

int FileSystem::open(const char *path, int flags, mode_t mode)
{
    return ::open(path, flags | O_CLOEXEC, mode);
}

int FileSystem::close(int fd)
{
    return ::close(fd);
}

ssize_t FileSystem::read(int fd, void *buffer, size_t size)
{
    return ::read(fd, buffer, size);
}

ssize_t FileSystem::write(int fd, const void *buffer, size_t size)
{
    return ::write(fd, buffer, size);
}

int FileSystem::fsync(int fd)
{
    return ::fsync(fd);
}

int FileSystem::fstat(int fd, struct stat *status)
{
    return ::fstat(fd, status);
}

int FileSystem::fchmod(int fd, mode_t mode)
{
    return ::fchmod(fd, mode);
}

int FileSystem::futimens(int fd, const struct timespec times[2])
{
    return ::futimens(fd, times);
}

int FileSystem::stat(const char *path, struct stat *status)
{
    return ::stat(path, status);
}

int FileSystem::lstat(const char *path, struct stat *status)
{
    return ::lstat(path, status);
}

int FileSystem::rename(const char *from, const char *to)
{
    return ::rename(from, to);
}

int FileSystem::renameNoReplace(const char *from, const char *to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    // A file system without the flag.
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return -1;
    return renameByLink(from, to);
}

int FileSystem::renameByLink(const char *from, const char *to)
{
    // link() makes the new name only where none is: a file appearing there
    // fails it instead of being replaced.
    if (::link(from, to) == 0) {
        if (::unlink(from) == 0)
            return 0;
        const int error = errno;
        ::unlink(to);
        errno = error;
        return -1;
    }
    // Without hard links (FAT, some network shares), look first, then
    // rename: a file appearing between the two is the one risk left there.
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return -1;
    struct stat status {};
    if (::lstat(to, &status) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

int FileSystem::unlink(const char *path)
{
    return ::unlink(path);
}

int FileSystem::access(const char *path, int mode)
{
    return ::access(path, mode);
}

bool FileSystem::sameFileSystem(const char *path, const char *folder)
{
    // One device is not enough: a rename between two mounts of the same
    // file system (a bind mount) fails as well, so the mounts must agree.
    // A link is renamed as itself, wherever it points.
    const auto examine = [](const char *name, int flags, struct statx &status) {
        return ::statx(AT_FDCWD, name, flags, STATX_BASIC_STATS | STATX_MNT_ID, &status) == 0;
    };
    struct statx a {};
    struct statx b {};
    if (!examine(path, AT_SYMLINK_NOFOLLOW, a) || !examine(folder, 0, b))
        return false;
    if (a.stx_dev_major != b.stx_dev_major || a.stx_dev_minor != b.stx_dev_minor)
        return false;
    // A kernel too old to tell mounts apart leaves the device as the answer.
    return !(a.stx_mask & b.stx_mask & STATX_MNT_ID) || a.stx_mnt_id == b.stx_mnt_id;
}

int FileSystem::readDirectory(const char *folder, std::vector<QByteArray> &names)
{
    const DirHandle dir = openDirectory(folder);
    if (!dir)
        return -1;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry)
            return errno == 0 ? 0 : -1;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
}

bool FileSystem::isDirectory(const QByteArray &path)
{
    struct stat status {};
    return !path.isEmpty() && stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool FileSystem::isRegularFile(const QByteArray &path)
{
    struct stat status {};
    return !path.isEmpty() && stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

bool FileSystem::sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat first {};
    struct stat second {};
    if (a.isEmpty() || b.isEmpty() || stat(a.constData(), &first) != 0 || stat(b.constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
