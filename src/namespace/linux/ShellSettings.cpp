// Desktop settings read from the files the common desktops keep them in.
#include "namespace/ShellSettings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace shellns {

namespace {

// Value of `key` in `[section]` of an INI-style file, "" when absent.
QByteArray iniValue(const QString &fileName, const QByteArray &section, const QByteArray &key)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QByteArray();
    bool inSection = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inSection = line == '[' + section + ']';
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inSection && equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return QByteArray();
}

bool isTrue(const QByteArray &value)
{
    return value.compare("true", Qt::CaseInsensitive) == 0 || value == "1";
}

} // namespace

ShellSettings readShellSettings()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    ShellSettings settings;
    // The GTK file chooser's choice, then KDE's; either one turns it on.
    settings.showHiddenFiles =
        isTrue(iniValue(config + QStringLiteral("/gtk-2.0/gtkfilechooser.ini"),
                        "Filechooser Settings", "ShowHidden"))
        || isTrue(iniValue(config + QStringLiteral("/kdeglobals"), "KFileDialog Settings",
                           "Show hidden files"));
    return settings;
}

} // namespace shellns
