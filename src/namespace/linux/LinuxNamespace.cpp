#include "namespace/linux/LinuxNamespace.h"

#include "namespace/linux/DesktopFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace shellns {

namespace {

QByteArray userFolder(QStandardPaths::StandardLocation location, const QByteArray &fallback)
{
    const QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return fallback;
    return QFile::encodeName(QDir::cleanPath(path));
}

} // namespace

NamespaceRoots NamespaceRoots::fromEnvironment()
{
    NamespaceRoots roots;
    roots.home = QFile::encodeName(QDir::cleanPath(QDir::homePath()));
    roots.desktop = userFolder(QStandardPaths::DesktopLocation, roots.home);
    roots.documents = userFolder(QStandardPaths::DocumentsLocation, roots.home);
    roots.volumes = mountedVolumes;
    return roots;
}

std::shared_ptr<ShellFolder> makeDesktopFolder(NamespaceRoots roots)
{
    if (!roots.volumes)
        roots.volumes = mountedVolumes;
    return std::make_shared<DesktopFolder>(std::make_shared<const NamespaceRoots>(std::move(roots)));
}

std::shared_ptr<ShellFolder> desktopFolder()
{
    return makeDesktopFolder(NamespaceRoots::fromEnvironment());
}

} // namespace shellns
