#include "platform/RegularFile.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace regularfile {

namespace {

// Reads until the end of the file or until more than `limit` bytes came.
Contents readUpTo(FileDescriptor &fd, FileSystem &fs, qint64 expected, qint64 limit)
{
    Contents contents;
    contents.bytes.reserve(qsizetype(std::clamp<qint64>(expected, 0, limit)));
    char buffer[65536];
    for (;;) {
        const qint64 wanted = std::min<qint64>(qint64(sizeof buffer), limit + 1 - contents.bytes.size());
        if (wanted <= 0)
            break;
        const ssize_t got = fs.read(fd.get(), buffer, size_t(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            contents.error = errno;
            contents.outcome = Outcome::Unreadable;
            contents.bytes.clear();
            return contents;
        }
        if (got == 0)
            break;
        contents.bytes.append(buffer, qsizetype(got));
    }
    contents.outcome = Outcome::Read;
    return contents;
}

} // namespace

FileDescriptor open(const QByteArray &path, FileSystem &fileSystem, Outcome *outcome,
    int *error, qint64 *size)
{
    *error = 0;
    if (path.isEmpty()) {
        *outcome = Outcome::Missing;
        *error = ENOENT;
        return {};
    }
    FileDescriptor fd(fileSystem.open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY, 0),
        fileSystem);
    if (!fd.isOpen()) {
        *error = errno;
        *outcome = (*error == ENOENT || *error == ENOTDIR) ? Outcome::Missing : Outcome::Unreadable;
        return {};
    }
    struct stat status {};
    if (fileSystem.fstat(fd.get(), &status) != 0) {
        *error = errno;
        *outcome = Outcome::Unreadable;
        return {};
    }
    if (!S_ISREG(status.st_mode)) {
        *outcome = Outcome::NotRegular;
        return {};
    }
    if (size)
        *size = status.st_size;
    *outcome = Outcome::Read;
    return fd;
}

Contents read(const QByteArray &path, qint64 maxBytes)
{
    return read(path, maxBytes, FileSystem::posix());
}

Contents read(const QByteArray &path, qint64 maxBytes, FileSystem &fileSystem)
{
    Contents contents;
    qint64 size = 0;
    FileDescriptor fd = open(path, fileSystem, &contents.outcome, &contents.error, &size);
    if (!fd.isOpen())
        return contents;
    if (size > maxBytes) {
        contents.outcome = Outcome::TooLarge;
        return contents;
    }
    // The size may change while the file is read; the limit holds regardless.
    contents = readUpTo(fd, fileSystem, size, maxBytes);
    if (contents.ok() && contents.bytes.size() > maxBytes) {
        contents.bytes.clear();
        contents.outcome = Outcome::TooLarge;
    }
    return contents;
}

Contents readHead(const QByteArray &path, qint64 bytes)
{
    FileSystem &fileSystem = FileSystem::posix();
    Contents contents;
    qint64 size = 0;
    FileDescriptor fd = open(path, fileSystem, &contents.outcome, &contents.error, &size);
    if (!fd.isOpen())
        return contents;
    contents = readUpTo(fd, fileSystem, size, bytes);
    if (contents.bytes.size() > bytes)
        contents.bytes.truncate(qsizetype(bytes));
    return contents;
}

} // namespace regularfile
