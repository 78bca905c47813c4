#include "platform/PathResolve.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace paths {

namespace {

// Whether path is absolute with no empty, "." or ".." part and no slash at its end.
bool isClean(const QByteArray &path)
{
    if (!path.startsWith('/'))
        return false;
    if (path.size() == 1)
        return true;
    qsizetype start = 1;
    for (;;) {
        qsizetype end = path.indexOf('/', start);
        if (end < 0)
            end = path.size();
        const qsizetype length = end - start;
        if (length == 0 || (length == 1 && path[start] == '.')
            || (length == 2 && path[start] == '.' && path[start + 1] == '.'))
            return false;
        if (end == path.size())
            return true;
        start = end + 1;
    }
}

} // namespace

QByteArray absoluteClean(const QByteArray &path, const QByteArray &base)
{
    // Most paths are clean already: every file call asks.
    if (isClean(path))
        return path;
    const QByteArray full = path.startsWith('/') ? path : base + '/' + path;
    QList<QByteArray> parts;
    for (const QByteArray &part : full.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return '/' + parts.join('/');
}

QByteArray absoluteClean(const QByteArray &path)
{
    if (path.startsWith('/'))
        return absoluteClean(path, QByteArray());
    return absoluteClean(path, QFile::encodeName(QDir::currentPath()));
}

} // namespace paths
