#include "platform/DesktopOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace desktop {

QUrl localFileUrl(const QByteArray &path)
{
    // Percent-encoded bytes, never the readable text: a folder whose name is
    // not UTF-8 must still be the folder that is opened.
    // Linux reads "//" at the start of a path as "/", and a URL path cannot
    // start with "//" (the guide of a program in "/" is "//Readme.txt").
    QByteArray bytes = path;
    while (bytes.startsWith("//"))
        bytes.remove(0, 1);
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setPath(QString::fromLatin1(bytes.toPercentEncoding("/")), QUrl::TolerantMode);
    return url;
}

bool openLocalFile(const QByteArray &path)
{
    return QDesktopServices::openUrl(localFileUrl(path));
}

bool openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

} // namespace desktop
