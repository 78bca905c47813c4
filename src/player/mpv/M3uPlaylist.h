#pragma once
// Reader for M3U playlists: one reference a line, "#" lines are comments or
// extended information.
//
// The lines are kept as bytes, as file names are. Reading the list here
// rather than in libmpv lets its entries take the same road as a file
// written to the player: MIDI files through the synthesiser, nested
// playlists through their readers, and nothing that is no regular file.
#include <QByteArray>
#include <QByteArrayList>
#include <QList>

class M3uPlaylist
{
public:
    // The references in order, without comments and blank lines.
    static QByteArrayList parse(const QByteArray &content);

    // The entries of the playlist file at `path`, resolved against its
    // folder, one alternative each (the shape ASX entries have).
    static QList<QByteArrayList> read(const QByteArray &path);
    // The same for content already read from `path`.
    static QList<QByteArrayList> entries(const QByteArray &content, const QByteArray &path);

    static constexpr qint64 kMaxFileSize = 1 << 20;
};
