#pragma once
// Reader for ASX playlists (.asx, .wax, .wvx, .wmx).
//
// An ASX file is loosely written XML: element and attribute names come in
// any case, closing tags may not match the case of their opening tags, and
// addresses often carry bare "&". The reader first tries the file as it is
// and, if that fails, a copy with lower-cased tag names and escaped "&".
// Each <Entry> gives the addresses of its <Ref> elements (alternatives, the
// first that can be played wins); each <EntryRef> gives a nested playlist.
#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QStringList>

class AsxPlaylist
{
public:
    // The raw HREF values, one list per entry, in document order.
    static QList<QStringList> parse(const QByteArray &content);

    // The entries of the playlist file at `path`, each reference turned into
    // an absolute local path or a network URL; references of any other kind
    // are dropped, and so are entries left empty.
    static QList<QByteArrayList> read(const QByteArray &path);
    // The same for content already read from `path`.
    static QList<QByteArrayList> entries(const QByteArray &content, const QByteArray &path);

    // One HREF resolved against the playlist's folder (see
    // PlaylistReference); empty when it names nothing we may hand over.
    static QByteArray resolve(const QString &href, const QByteArray &baseDir);

    // Playlists bigger than this are not ASX files worth reading.
    static constexpr qint64 kMaxFileSize = 1 << 20;
};
