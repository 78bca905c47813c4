#include "platform/Trash.h"

#include "platform/FileOperations.h"
#include "platform/Paths.h"
#include "platform/PrivateFolder.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace trash {

QByteArray send(const QByteArray &path)
{
    if (path.isEmpty())
        return {};
    // The trash in the user's data folder is made on first use; without the
    // data folder itself (a fresh account can lack ~/.local/share), Qt fails
    // and leaves empty "files" and "info" folders in the working directory.
    privatefolder::make(QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
    QString inTrash;
    if (!QFile::moveToTrash(QFile::decodeName(path), &inTrash))
        return {};
    return QFile::encodeName(inTrash);
}

QByteArray infoFileOf(const QByteArray &pathInTrash)
{
    const QByteArray files = paths::directoryPart(pathInTrash);
    if (paths::lastComponent(files) != "files")
        return {};
    return paths::join(paths::join(paths::directoryPart(files), "info"),
        paths::lastComponent(pathInTrash) + ".trashinfo");
}

std::error_code restore(FileOperations &fileOps, const QByteArray &pathInTrash, const QByteArray &original)
{
    if (const std::error_code error = fileOps.moveNoReplace(pathInTrash, original))
        return error;
    // Without its record the trash no longer lists the file it gave back.
    const QByteArray info = infoFileOf(pathInTrash);
    if (!info.isEmpty())
        ::unlink(info.constData());
    return {};
}

} // namespace trash
