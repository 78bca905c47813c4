#include "platform/Trash.h"

#include "platform/FileOperations.h"
#include "platform/Paths.h"
#include "platform/PathResolve.h"
#include "platform/PrivateFolder.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trash {

namespace {

// Qt writes the record's Path as plain text, but the trash's readers
// percent-decode it: "mix%20final.mp3" would come back as "mix final.mp3".
// The line is written again, encoded, when it holds the original path (or,
// in a trash at the top of another mount, its end) unencoded; a Path already
// encoded is left as it is. The file is replaced by a rename, so a reader
// sees the old record or the new one, never half of one. When this fails
// the file is in the trash all the same, under a record that names it less
// exactly.
void encodeRecordedPath(const QByteArray &infoFile, const QByteArray &original)
{
    QFile file(QFile::decodeName(infoFile));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArrayList lines = file.read(64 * 1024).split('\n');
    file.close();
    bool changed = false;
    for (QByteArray &line : lines) {
        if (!line.startsWith("Path="))
            continue;
        const QByteArray value = line.mid(5);
        const bool plain = value == original || (!value.startsWith('/') && original.endsWith("/" + value));
        const QByteArray encoded = value.toPercentEncoding("/");
        if (plain && encoded != value) {
            line = "Path=" + encoded;
            changed = true;
        }
        break;
    }
    if (!changed)
        return;
    QByteArray temporary = paths::directoryPart(infoFile) + "/.ondasort-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return;
    const QByteArray text = lines.join('\n');
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    if (::close(fd) != 0 || !written || ::rename(temporary.constData(), infoFile.constData()) != 0)
        ::unlink(temporary.constData());
}

} // namespace

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
    const QByteArray where = QFile::encodeName(inTrash);
    encodeRecordedPath(infoFileOf(where), paths::absoluteClean(path));
    return where;
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
