#include "platform/Trash.h"

#include "platform/FileDescriptor.h"
#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/PathResolve.h"
#include "platform/Paths.h"
#include "platform/TrashFolder.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace trash {

namespace {

constexpr qsizetype kNameMax = 255;
const QByteArray kInfoSuffix = QByteArrayLiteral(".trashinfo");
// Names tried in the trash: the file's own, numbered ones, then random ones.
constexpr int kNumberedNames = 100;
constexpr int kNamesTried = kNumberedNames + 50;
// A record is a few lines; a longer file in "info" is read no further.
constexpr qsizetype kRecordMax = 64 * 1024;

std::error_code lastError()
{
    return std::error_code(errno ? errno : EIO, std::generic_category());
}

std::error_code errorOf(int code)
{
    return std::error_code(code, std::generic_category());
}

// The first n bytes of text, not ending inside a UTF-8 sequence.
QByteArray cutAt(const QByteArray &text, qsizetype n)
{
    if (text.size() <= n)
        return text;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return text.left(n);
}

// The attempt'th name for a file called name in the trash, short enough
// that its record's name fits in a folder entry as well.
QByteArray candidateName(const QByteArray &name, int attempt)
{
    const QByteArray stem = paths::dropExtension(name);
    const QByteArray extension = stem.isEmpty() ? QByteArray() : name.mid(stem.size());
    QByteArray mark;
    if (attempt >= kNumberedNames)
        mark = '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16);
    else if (attempt > 0)
        mark = '.' + QByteArray::number(attempt + 1);
    const qsizetype room = kNameMax - kInfoSuffix.size() - mark.size();
    if (mark.isEmpty() && name.size() <= room)
        return name;
    const QByteArray end = cutAt(extension, room / 2);
    return cutAt(stem.isEmpty() ? name : stem, room - end.size()) + mark + end;
}

QByteArray record(const QByteArray &recordedPath)
{
    return "[Trash Info]\nPath=" + recordedPath.toPercentEncoding("/") + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + '\n';
}

// Creates the record info (only where no file of that name is) with text.
std::error_code writeRecord(const QByteArray &info, const QByteArray &text, FileSystem &fs)
{
    FileDescriptor fd(fs.open(info.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600), fs);
    if (!fd.isOpen())
        return lastError();
    std::error_code error;
    for (qsizetype written = 0; !error && written < text.size();) {
        const ssize_t n = fs.write(fd.get(), text.constData() + written, size_t(text.size() - written));
        if (n > 0)
            written += n;
        else if (n == 0)
            error = errorOf(ENOSPC);
        else if (errno != EINTR)
            error = lastError();
    }
    if (!error && fs.fsync(fd.get()) != 0)
        error = lastError();
    if (fd.close() != 0 && !error)
        error = lastError();
    if (error)
        fs.unlink(info.constData());
    return error;
}

// The text of the record at info: a few lines, read only as far as a
// record goes.
QByteArray readRecord(const QByteArray &info, FileSystem &fs)
{
    const FileDescriptor fd(fs.open(info.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0), fs);
    if (!fd.isOpen())
        return {};
    QByteArray text(kRecordMax, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < text.size()) {
        const ssize_t n = fs.read(fd.get(), text.data() + got, size_t(text.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    text.truncate(got);
    return text;
}

// The path a record's "Path" line names, decoded; empty when it has none.
QByteArray recordedPathOf(const QByteArray &record)
{
    for (const QByteArray &line : record.split('\n')) {
        if (line.startsWith("Path="))
            return QByteArray::fromPercentEncoding(line.mid(5));
    }
    return {};
}

// path with its folder's links resolved, so the mount it lies on is found.
QByteArray withRealFolder(const QByteArray &path)
{
    const QByteArray absolute = paths::absoluteClean(path);
    char resolved[PATH_MAX];
    const QByteArray folder = paths::directoryPart(absolute);
    if (folder.isEmpty() || !::realpath(folder.constData(), resolved))
        return absolute;
    return paths::join(QByteArray(resolved), paths::lastComponent(absolute));
}

} // namespace

Sent sendToTrash(const QByteArray &givenPath, FileSystem &fs, const FileOperations::Progress &progress)
{
    if (givenPath.isEmpty())
        return {{}, errorOf(ENOENT)};
    struct stat status {};
    if (fs.lstat(givenPath.constData(), &status) != 0)
        return {{}, lastError()};
    const QByteArray path = withRealFolder(givenPath);
    const trashfolder::Place place = trashfolder::forFile(path, fs);
    if (place.error)
        return {{}, place.error};
    const QByteArray recordedPath = place.top.isEmpty() ? path
        : path.mid(place.top == "/" ? 1 : place.top.size() + 1);
    const QByteArray text = record(recordedPath);
    FileOperations fileOps(fs);
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        const QByteArray name = candidateName(paths::lastComponent(path), attempt);
        const QByteArray info = place.root + "/info/" + name + kInfoSuffix;
        if (const std::error_code error = writeRecord(info, text, fs)) {
            if (error == std::errc::file_exists)
                continue;
            return {{}, error};
        }
        const QByteArray inTrash = place.root + "/files/" + name;
        const std::error_code moved = fileOps.moveNoReplace(path, inTrash, progress);
        if (!moved)
            return {inTrash, {}};
        fs.unlink(info.constData());
        // A file in "files" without its record (left by another program)
        // keeps its name; any other failure ends the attempt.
        if (moved != std::errc::file_exists)
            return {{}, moved};
    }
    return {{}, errorOf(EEXIST)};
}

Sent sendToTrash(const QByteArray &path)
{
    return sendToTrash(path, FileSystem::posix());
}

QByteArray send(const QByteArray &path)
{
    return sendToTrash(path).inTrash;
}

int dropRecordsWithoutFile(FileSystem &fs, const QByteArray &root, const QByteArrayList &originals, time_t before)
{
    if (root.isEmpty() || originals.isEmpty())
        return 0;
    const QSet<QByteArray> wanted(originals.cbegin(), originals.cend());
    std::vector<QByteArray> names;
    fs.readDirectory((root + "/info").constData(), names);
    int dropped = 0;
    struct stat status {};
    for (const QByteArray &name : names) {
        if (!name.endsWith(kInfoSuffix))
            continue;
        const QByteArray file = root + "/files/" + name.chopped(kInfoSuffix.size());
        const QByteArray info = root + "/info/" + name;
        if (fs.lstat(file.constData(), &status) == 0 || errno != ENOENT)
            continue;
        // A send under way now has just written its record.
        if (fs.lstat(info.constData(), &status) != 0 || status.st_mtim.tv_sec >= before)
            continue;
        const QByteArray original = recordedPathOf(readRecord(info, fs));
        if (wanted.contains(original) && fs.lstat(original.constData(), &status) == 0
            && fs.unlink(info.constData()) == 0)
            ++dropped;
    }
    return dropped;
}

QByteArray infoFileOf(const QByteArray &pathInTrash)
{
    const QByteArray files = paths::directoryPart(pathInTrash);
    if (paths::lastComponent(files) != "files")
        return {};
    return paths::join(paths::join(paths::directoryPart(files), "info"),
        paths::lastComponent(pathInTrash) + kInfoSuffix);
}

std::error_code restore(FileOperations &fileOps, const QByteArray &pathInTrash, const QByteArray &original,
    const FileOperations::Progress &progress)
{
    if (const std::error_code error = fileOps.moveNoReplace(pathInTrash, original, progress))
        return error;
    // Without its record the trash no longer lists the file it gave back.
    const QByteArray info = infoFileOf(pathInTrash);
    if (!info.isEmpty())
        ::unlink(info.constData());
    return {};
}

} // namespace trash
