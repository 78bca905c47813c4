#include "platform/TrashFolder.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/PrivateFolder.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace trashfolder {

namespace {

std::error_code lastError()
{
    return std::error_code(errno ? errno : EIO, std::generic_category());
}

// A folder of the trash: made private where missing, and refused when it
// is another user's or, at a mount's top, a link (someone could have put
// it there to catch the files). The user's own trash may be a link they
// made themselves.
bool ownFolder(const QByteArray &path, bool linkAllowed)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat status {};
    if ((linkAllowed ? ::stat(path.constData(), &status) : ::lstat(path.constData(), &status)) != 0)
        return false;
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid()) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool withFilesAndInfo(const QByteArray &root, bool linkAllowed = false)
{
    return ownFolder(root, linkAllowed) && ownFolder(root + "/files", linkAllowed)
        && ownFolder(root + "/info", linkAllowed);
}

// The top of the mount that folder lies on.
QByteArray topOf(const QByteArray &folder, FileSystem &fs)
{
    QByteArray top = folder;
    while (top != "/") {
        QByteArray parent = paths::directoryPart(top);
        if (parent.isEmpty())
            parent = "/";
        if (!fs.sameFileSystem(top.constData(), parent.constData()))
            break;
        top = parent;
    }
    return top;
}

// The trash at the top of a mount: an administrator's shared ".Trash"
// (a real folder with the sticky bit) holds one per user; otherwise the
// user's own ".Trash-<uid>".
QByteArray topTrash(const QByteArray &top)
{
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(::geteuid());
    struct stat shared {};
    if (::lstat((base + "/.Trash").constData(), &shared) == 0 && S_ISDIR(shared.st_mode)
        && (shared.st_mode & S_ISVTX)) {
        const QByteArray root = base + "/.Trash/" + uid;
        if (withFilesAndInfo(root))
            return root;
    }
    const QByteArray root = base + "/.Trash-" + uid;
    return withFilesAndInfo(root) ? root : QByteArray();
}

// path, or the nearest folder above it that exists.
QByteArray existingPart(QByteArray path)
{
    struct stat status {};
    while (path.size() > 1 && ::stat(path.constData(), &status) != 0)
        path = paths::directoryPart(path).isEmpty() ? QByteArray("/") : paths::directoryPart(path);
    return path;
}

} // namespace

QByteArray homeTrash()
{
    return paths::join(QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)),
        "Trash");
}

Place forFile(const QByteArray &path, FileSystem &fs)
{
    const QByteArray folder = paths::directoryPart(path).isEmpty() ? QByteArray("/") : paths::directoryPart(path);
    const QByteArray home = homeTrash();
    // A fresh account can lack the data folder itself.
    const bool homeMade = privatefolder::make(paths::directoryPart(home)) && withFilesAndInfo(home, true);
    const std::error_code homeError = homeMade ? std::error_code() : lastError();
    // A file on the user's trash's own file system goes there or nowhere.
    if (fs.sameFileSystem(folder.constData(), existingPart(home).constData()))
        return {homeMade ? home : QByteArray(), {}, homeError};
    const QByteArray top = topOf(folder, fs);
    const QByteArray root = topTrash(top);
    if (!root.isEmpty())
        return {root, top, {}};
    if (homeMade)
        return {home, {}, {}};
    return {{}, {}, homeError};
}

} // namespace trashfolder
