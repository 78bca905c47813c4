#include "support/ShellFixtureTree.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool makeDir(const QByteArray &path)
{
    return ::mkdir(path.constData(), 0755) == 0;
}

bool makeFile(const QByteArray &path, const QByteArray &content = "x")
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

ShellFixtureTree::ShellFixtureTree()
{
    if (!m_dir.isValid())
        return;
    m_root = QFile::encodeName(QDir(m_dir.path()).canonicalPath());
    bool ok = true;
    for (const char *dir : {"Desktop", "Desktop/DeskFolder", "Documents", "config", "data", "data/File1",
                            "data/file2", "data/file2/sub", "data/file10", "data/Music", "data/music",
                            "data/empty", "data/.hidden", "data/.hidden/inner", "vol", "vol/inner"})
        ok = ok && makeDir(path(dir));
    ok = ok && makeDir(path("data/" + sjisName()));
    for (const char *file : {"Desktop/deskfile.txt", "data/a.txt", "data/B.txt", "data/c9.mp3", "data/c10.mp3"})
        ok = ok && makeFile(path(file));
    ok = ok && ::symlink("file2", path("data/link-to-dir").constData()) == 0;
    ok = ok && ::symlink("missing", path("data/broken").constData()) == 0;
    ok = ok && ::mkfifo(path("data/fifo").constData(), 0644) == 0;
    m_valid = ok;
}

ShellFixtureTree::~ShellFixtureTree()
{
    // Qt removes folders by their decoded names, which lose these bytes.
    if (!m_root.isEmpty())
        ::rmdir(path("data/" + sjisName()).constData());
}

QByteArray ShellFixtureTree::sjisName()
{
    return QByteArray("\x83\x65\x83\x58\x83\x67");
}

shellns::NamespaceRoots ShellFixtureTree::roots() const
{
    shellns::NamespaceRoots roots;
    roots.desktop = path("Desktop");
    roots.documents = path("Documents");
    roots.home = m_root;
    const QByteArray volume = path("vol");
    roots.volumes = [volume] {
        return std::vector<shellns::Volume>{{"/", QStringLiteral("/"), false},
                                            {volume, QStringLiteral("vol"), true}};
    };
    return roots;
}

std::shared_ptr<shellns::ShellFolder> ShellFixtureTree::desktop() const
{
    return shellns::makeDesktopFolder(roots());
}

ScopedConfigHome::ScopedConfigHome(const QByteArray &folder)
    : m_folder(folder)
    , m_saved(qgetenv("XDG_CONFIG_HOME"))
    , m_had(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", folder);
}

ScopedConfigHome::~ScopedConfigHome()
{
    if (m_had)
        qputenv("XDG_CONFIG_HOME", m_saved);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

void ScopedConfigHome::setShowHidden(bool on) const
{
    QDir().mkpath(QFile::decodeName(m_folder + "/gtk-2.0"));
    QFile file(QFile::decodeName(m_folder + "/gtk-2.0/gtkfilechooser.ini"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray("[Filechooser Settings]\nShowHidden=") + (on ? "true" : "false") + "\n");
}
