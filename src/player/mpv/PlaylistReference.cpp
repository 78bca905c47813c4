#include "player/mpv/PlaylistReference.h"

#include "platform/Paths.h"

#include <QList>

#include <cctype>

namespace PlaylistReference {

namespace {

bool isNetworkScheme(const QByteArray &scheme)
{
    static const QList<QByteArray> allowed{"http", "https", "mms", "mmsh", "rtsp"};
    return allowed.contains(scheme);
}

// The scheme before "://", lower-cased; empty when there is none.
QByteArray schemeOf(const QByteArray &reference)
{
    const qsizetype end = reference.indexOf("://");
    if (end <= 0)
        return {};
    const QByteArray scheme = reference.left(end);
    if (!std::isalpha(static_cast<unsigned char>(scheme.front())))
        return {};
    for (char c : scheme) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '.' && c != '-')
            return {};
    }
    return scheme.toLower();
}

} // namespace

QByteArray resolve(const QByteArray &reference, const QByteArray &baseDir)
{
    if (reference.isEmpty())
        return {};
    const QByteArray scheme = schemeOf(reference);
    if (scheme == "file") {
        QByteArray rest = reference.mid(7);
        if (rest.toLower().startsWith("localhost/"))
            rest.remove(0, 9);
        return rest.startsWith('/') ? QByteArray::fromPercentEncoding(rest) : QByteArray();
    }
    if (!scheme.isEmpty())
        return isNetworkScheme(scheme) ? reference : QByteArray();

    const bool driveLetter = reference.size() >= 2 && reference.at(1) == ':'
                             && std::isalpha(static_cast<unsigned char>(reference.at(0)));
    if (driveLetter || reference.startsWith("\\\\"))
        return {};
    QByteArray local = reference;
    local.replace('\\', '/');
    if (local.startsWith('/'))
        return local;
    return baseDir + '/' + local;
}

QByteArray baseFolder(const QByteArray &path)
{
    const QByteArray folder = paths::directoryPart(path);
    return folder.isEmpty() ? QByteArray(".") : folder;
}

} // namespace PlaylistReference
