#include "settings/SettingsLocation.h"

#include "platform/PathResolve.h"
#include "platform/Paths.h"
#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace settingslocation {

namespace {

bool besideExecutableWorks(const QByteArray &directory, const QByteArray &file)
{
    struct stat entry;
    if (::lstat(file.constData(), &entry) == 0)
        return true;
    const QByteArray clean = paths::absoluteClean(directory);
    if (clean == "/usr" || clean.startsWith("/usr/"))
        return false;
    return ::access(directory.constData(), W_OK | X_OK) == 0;
}

QByteArray configHome()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    if (xdg.startsWith('/'))
        return xdg;
    return QFile::encodeName(QDir::homePath()) + "/.config";
}

} // namespace

QByteArray settingsFile(const QByteArray &executableDirectory)
{
    QByteArray directory = executableDirectory;
    if (!directory.endsWith('/'))
        directory += '/';
    const QByteArray beside = directory + kFileName;
    if (besideExecutableWorks(executableDirectory, beside))
        return beside;
    return configHome() + "/Ondasort/" + kFileName;
}

bool makeFolderFor(const QByteArray &settingsFile)
{
    return privatefolder::make(paths::directoryPart(settingsFile));
}

} // namespace settingslocation
