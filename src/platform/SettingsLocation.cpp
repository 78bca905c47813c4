#include "platform/SettingsLocation.h"

#include "platform/PathResolve.h"
#include "platform/Paths.h"

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
    const QByteArray folder = paths::directoryPart(settingsFile);
    struct stat entry;
    if (folder.isEmpty() || (::stat(folder.constData(), &entry) == 0 && S_ISDIR(entry.st_mode)))
        return true;
    for (qsizetype slash = folder.indexOf('/', 1); ; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    return ::stat(folder.constData(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

} // namespace settingslocation
