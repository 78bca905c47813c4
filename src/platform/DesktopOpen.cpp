#include "platform/DesktopOpen.h"

#include "platform/Paths.h"

#include <QDesktopServices>
#include <QUrl>

namespace desktop {

bool openLocalFile(const QByteArray &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(paths::toDisplay(path)));
}

bool openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

} // namespace desktop
