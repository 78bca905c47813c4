#include "platform/PathResolve.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace paths {

QByteArray absoluteClean(const QByteArray &path, const QByteArray &base)
{
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
    return absoluteClean(path, QFile::encodeName(QDir::currentPath()));
}

} // namespace paths
