#include "platform/MountTable.h"

#include <QFile>

#include <cstdio>

namespace mounttable {

namespace {

// The kernel writes space, tab, newline and backslash in names as \ooo.
QByteArray unescape(const QByteArray &field)
{
    QByteArray text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3') {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                text.append(char(value));
                i += 3;
                continue;
            }
        }
        text.append(c);
    }
    return text;
}

} // namespace

std::vector<Mount> parse(const QByteArray &text)
{
    std::vector<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
            continue;
        Mount mount;
        if (std::sscanf(fields[2].constData(), "%u:%u", &mount.major, &mount.minor) != 2)
            continue;
        mount.root = unescape(fields[3]);
        mount.mountPoint = unescape(fields[4]);
        mount.type = unescape(fields[dash + 1]);
        mount.source = unescape(fields[dash + 2]);
        if (mount.mountPoint.startsWith('/'))
            mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::vector<Mount> read()
{
    // A file of the proc file system: reading it asks no mounted file system.
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

bool isUnder(const QByteArray &path, const QByteArray &folder)
{
    if (folder == "/")
        return path.startsWith('/');
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

QByteArray mountPointOf(const std::vector<Mount> &mounts, const QByteArray &path)
{
    QByteArray best;
    for (const Mount &mount : mounts) {
        if (isUnder(path, mount.mountPoint) && mount.mountPoint.size() > best.size())
            best = mount.mountPoint;
    }
    return best;
}

} // namespace mounttable
