#include "player/mpv/M3uPlaylist.h"

#include "platform/RegularFile.h"
#include "player/mpv/PlaylistReference.h"

QByteArrayList M3uPlaylist::parse(const QByteArray &content)
{
    QByteArray text = content;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QByteArrayList references;
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray reference = line.trimmed();
        if (!reference.isEmpty() && !reference.startsWith('#'))
            references << reference;
    }
    return references;
}

QList<QByteArrayList> M3uPlaylist::read(const QByteArray &path)
{
    const regularfile::Contents file = regularfile::read(path, kMaxFileSize);
    if (!file.ok())
        return {};
    return entries(file.bytes, path);
}

QList<QByteArrayList> M3uPlaylist::entries(const QByteArray &content, const QByteArray &path)
{
    const QByteArray baseDir = PlaylistReference::baseFolder(path);
    QList<QByteArrayList> result;
    for (const QByteArray &reference : parse(content)) {
        const QByteArray resolved = PlaylistReference::resolve(reference, baseDir);
        if (!resolved.isEmpty())
            result << QByteArrayList{resolved};
    }
    return result;
}
