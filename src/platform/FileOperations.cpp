#include "platform/FileOperations.h"

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/LeftoverName.h"
#include "platform/Paths.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

std::error_code lastError()
{
    return std::error_code(errno ? errno : EIO, std::generic_category());
}

std::error_code errorOf(int code)
{
    return std::error_code(code, std::generic_category());
}

// The folder a temporary file for target goes into: the target's own.
QByteArray folderOf(const QByteArray &target)
{
    const QByteArray folder = paths::directoryPart(target);
    return folder.isEmpty() ? QByteArrayLiteral(".") : folder;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}


} // namespace

// A file beside the target that receives the new contents. Unless it has
// been renamed over the target, it is closed and removed when it goes away.
class FileOperations::TemporaryFile
{
public:
    explicit TemporaryFile(FileSystem &fs) : m_fs(fs) {}
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        m_fd.close();
        if (!m_path.isEmpty())
            m_fs.unlink(m_path.constData());
    }

    // The file is named after the copy's source when there is one, so a
    // leftover of a killed process can later be told redundant (see
    // removeLeftovers), and locked while it is written, so it is never taken
    // for a leftover while a live process writes it.
    std::error_code create(const QByteArray &target, const struct stat *source = nullptr,
        const QByteArray &sourcePath = QByteArray())
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const quint32 salt = QRandomGenerator::global()->generate();
            const QByteArray path = paths::join(folderOf(target), source
                ? leftovers::copyName(*source, sourcePath, salt)
                : leftovers::rewriteName(paths::lastComponent(target), salt));
            FileDescriptor fd(m_fs.open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600), m_fs);
            if (fd.isOpen()) {
                ::flock(fd.get(), LOCK_EX | LOCK_NB);
                m_fd = std::move(fd);
                m_path = path;
                return {};
            }
            if (errno != EEXIST)
                return lastError();
        }
        return errorOf(EEXIST);
    }

    int fd() const { return m_fd.get(); }

    // Flushes the contents to disk and puts the file in target's place with
    // placeAt, handed the file's own path.
    std::error_code commit(const QByteArray &target,
        const std::function<std::error_code(const QByteArray &path)> &placeAt)
    {
        if (m_fs.fsync(m_fd.get()) != 0)
            return lastError();
        // Some file systems report a failed write only when the file is closed.
        if (m_fd.close() != 0)
            return lastError();
        if (const std::error_code error = placeAt(m_path))
            return error;
        m_path.clear();
        syncFolder(target);
        return {};
    }

private:
    // Makes the rename itself durable; a failure here loses nothing.
    void syncFolder(const QByteArray &target)
    {
        const FileDescriptor dir(m_fs.open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY, 0), m_fs);
        if (dir.isOpen())
            m_fs.fsync(dir.get());
    }

    FileSystem &m_fs;
    FileDescriptor m_fd;
    QByteArray m_path;
};

FileOperations::FileOperations(FileSystem &fileSystem)
    : m_fs(fileSystem)
{
}

FileOperations::FileOperations()
    : m_fs(FileSystem::posix())
{
}

FileOperations::Replacement FileOperations::replacementAt(const QByteArray &target, const SetAside &setAside)
{
    Replacement replacement;
    replacement.setAside = setAside;
    struct stat status {};
    if (setAside && m_fs.lstat(target.constData(), &status) == 0) {
        replacement.checked = true;
        replacement.device = status.st_dev;
        replacement.inode = status.st_ino;
    }
    return replacement;
}

std::error_code FileOperations::renameInto(const QByteArray &from, const QByteArray &target,
    const Replacement &replacement)
{
    // rename() replaces a same-named target in one step.
    if (!replacement.setAside)
        return m_fs.rename(from.constData(), target.constData()) == 0 ? std::error_code() : lastError();
    // Otherwise only the file checked at the start goes, through setAside;
    // a file that appears in the meantime, or after it has gone, fails the
    // rename instead of being replaced unseen, and keeps its place.
    if (m_fs.renameNoReplace(from.constData(), target.constData()) == 0)
        return {};
    if (errno != EEXIST)
        return lastError();
    struct stat status {};
    if (!replacement.checked || m_fs.lstat(target.constData(), &status) != 0
        || status.st_dev != replacement.device || status.st_ino != replacement.inode)
        return errorOf(EEXIST);
    if (const std::error_code error = replacement.setAside(target))
        return error;
    if (m_fs.renameNoReplace(from.constData(), target.constData()) == 0)
        return {};
    return lastError();
}

std::error_code FileOperations::move(const QByteArray &source, const QByteArray &target,
    const SetAside &setAside, const Progress &progress)
{
    if (source.isEmpty() || target.isEmpty())
        return errorOf(ENOENT);
    struct stat status {};
    if (m_fs.lstat(source.constData(), &status) != 0)
        return lastError();
    if (S_ISDIR(status.st_mode))
        return errorOf(EISDIR);
    if (m_fs.sameFile(source, target))
        return {};
    const Replacement replacement = replacementAt(target, setAside);
    const std::error_code renamed = renameInto(source, target, replacement);
    if (renamed != std::errc::cross_device_link)
        return renamed;

    // Across file systems: the source can only go once the copy is complete,
    // so make sure now that it can go at all, before the target is replaced.
    const QByteArray sourceFolder = folderOf(source);
    if (m_fs.access(sourceFolder.constData(), W_OK | X_OK) != 0)
        return lastError();
    struct stat before {};
    if (m_fs.stat(source.constData(), &before) != 0)
        return lastError();
    if (const std::error_code error = copyThroughTemporary(source, target, replacement, progress))
        return error;
    // Remove the source only if it is still the file that was copied, as it was.
    struct stat after {};
    if (m_fs.stat(source.constData(), &after) != 0)
        return lastError();
    const bool unchanged = after.st_dev == before.st_dev && after.st_ino == before.st_ino
        && after.st_size == before.st_size && after.st_mtim.tv_sec == before.st_mtim.tv_sec
        && after.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
    if (!unchanged)
        return errorOf(ESTALE);
    if (m_fs.unlink(source.constData()) != 0)
        return lastError();
    return {};
}

std::error_code FileOperations::moveNoReplace(const QByteArray &source, const QByteArray &target,
    const Progress &progress)
{
    if (source.isEmpty() || target.isEmpty())
        return errorOf(ENOENT);
    if (m_fs.renameNoReplace(source.constData(), target.constData()) == 0)
        return {};
    if (errno != EXDEV)
        return lastError();
    // Across file systems: no copy for a place already taken, and a file
    // that appears there while the copy is made keeps its place.
    struct stat status {};
    if (m_fs.lstat(target.constData(), &status) == 0)
        return errorOf(EEXIST);
    return move(source, target, [](const QByteArray &) { return errorOf(EEXIST); }, progress);
}

std::error_code FileOperations::copy(const QByteArray &source, const QByteArray &target,
    const SetAside &setAside, const Progress &progress)
{
    if (source.isEmpty() || target.isEmpty())
        return errorOf(ENOENT);
    // Replacing a file by itself would only risk it.
    if (m_fs.sameFile(source, target))
        return {};
    return copyThroughTemporary(source, target, replacementAt(target, setAside), progress);
}

std::error_code FileOperations::copyThroughTemporary(const QByteArray &source, const QByteArray &target,
    const Replacement &replacement, const Progress &progress)
{
    // Without waiting: a FIFO put in the file's place must not block the copy.
    const FileDescriptor input(m_fs.open(source.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY, 0), m_fs);
    if (!input.isOpen())
        return lastError();
    const int in = input.get();

    struct stat status {};
    if (m_fs.fstat(in, &status) != 0)
        return lastError();
    if (!S_ISREG(status.st_mode))
        return errorOf(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);

    // Space a killed copy left behind is given back before more is taken.
    removeLeftovers(folderOf(target));
    TemporaryFile temporary(m_fs);
    if (const std::error_code error = temporary.create(target, &status, source))
        return error;
    if (const std::error_code error = copyContents(in, temporary.fd(), status.st_size, progress))
        return error;
    // Permissions and times are kept where the file system allows it.
    m_fs.fchmod(temporary.fd(), status.st_mode & 07777);
    const struct timespec times[2] = {status.st_atim, status.st_mtim};
    m_fs.futimens(temporary.fd(), times);
    return temporary.commit(target, [&](const QByteArray &path) { return renameInto(path, target, replacement); });
}

std::error_code FileOperations::copyContents(int from, int to, off_t expectedSize,
    const Progress &progress)
{
    std::vector<char> buffer(1 << 16);
    off_t copied = 0;
    if (progress)
        progress(0, expectedSize);
    for (;;) {
        const ssize_t got = m_fs.read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (got == 0)
            break;
        if (const std::error_code error = writeAll(to, buffer.data(), got))
            return error;
        copied += got;
        if (progress)
            progress(copied, expectedSize);
    }
    // A source cut short while it was read must not replace a complete target.
    if (copied != expectedSize)
        return errorOf(EIO);
    return {};
}

std::error_code FileOperations::writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = m_fs.write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        // A write that makes no progress would loop for ever.
        if (written == 0)
            return errorOf(ENOSPC);
        data += written;
        size -= written;
    }
    return {};
}

std::error_code FileOperations::writeWhole(const QByteArray &target, const QByteArray &bytes,
    mode_t newFileMode)
{
    if (target.isEmpty())
        return errorOf(ENOENT);
    // A symbolic link stays a link: its target file gets the new contents.
    QByteArray path = target;
    struct stat status {};
    if (m_fs.lstat(target.constData(), &status) == 0 && S_ISLNK(status.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(target.constData(), resolved))
            return lastError();
        path = resolved;
    }
    const bool exists = m_fs.stat(path.constData(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode))
        return errorOf(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    TemporaryFile temporary(m_fs);
    if (const std::error_code error = temporary.create(path))
        return error;
    if (const std::error_code error = writeAll(temporary.fd(), bytes.constData(), bytes.size()))
        return error;
    const mode_t mode = exists ? (status.st_mode & 07777) : (newFileMode & ~currentUmask());
    m_fs.fchmod(temporary.fd(), mode);
    return temporary.commit(path, [&](const QByteArray &written) { return renameInto(written, path, {}); });
}

bool FileOperations::sameFileSystem(const QByteArray &path, const QByteArray &folder) const
{
    return !path.isEmpty() && !folder.isEmpty() && m_fs.sameFileSystem(path.constData(), folder.constData());
}
