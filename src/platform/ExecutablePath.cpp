#include "platform/ExecutablePath.h"

#include "platform/Paths.h"

#include <climits>
#include <unistd.h>

namespace executable {

QByteArray filePath()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    // A path as long as the buffer may have been cut short: treat it as unknown.
    if (length <= 0 || length >= ssize_t(sizeof path))
        return QByteArray();
    return QByteArray(path, length);
}

QByteArray directory()
{
    return paths::directoryPart(filePath());
}

QByteArray fileName()
{
    return paths::lastComponent(filePath());
}

} // namespace executable
