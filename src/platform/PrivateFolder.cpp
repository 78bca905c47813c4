#include "platform/PrivateFolder.h"

#include <cerrno>
#include <sys/stat.h>

namespace privatefolder {

namespace {

bool isDirectory(const QByteArray &path)
{
    struct stat entry {};
    return ::stat(path.constData(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

} // namespace

bool make(const QByteArray &folder)
{
    if (folder.isEmpty() || isDirectory(folder))
        return true;
    for (qsizetype slash = folder.indexOf('/', 1); ; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    return isDirectory(folder);
}

} // namespace privatefolder
