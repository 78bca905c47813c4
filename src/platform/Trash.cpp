#include "platform/Trash.h"

#include "platform/FileOperations.h"
#include "platform/Paths.h"

#include <QFile>

#include <unistd.h>

namespace trash {

QByteArray send(const QByteArray &path)
{
    if (path.isEmpty())
        return {};
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
