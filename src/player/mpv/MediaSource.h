#pragma once
// Decides how a file reaches libmpv.
//
// Most files are handed over by their absolute path. MIDI files go through
// the synthesiser's stream protocol, and ASX and M3U playlists are read by
// our own readers so that their entries take this same road; all of them
// are recognised by their content first and their extension second, so a
// wrongly named file still goes the right way. Anything that is not a
// regular file (a FIFO, a device, a missing file) yields no entries: opening
// such a thing could block the player forever.
#include <QByteArray>
#include <QByteArrayList>

#include <functional>

namespace MediaSource {

enum class Kind { Missing, Plain, Midi, Asx, M3u };

Kind classify(const QByteArray &path);

// Whether the name alone lets libmpv open the file at once: an audio or
// video type, never a list or MIDI. The name may still lie (a MIDI song or
// a list renamed .mp3); classify() tells, from the bytes.
bool plainByName(const QByteArray &path);

// `path` made absolute against the working directory of now.
QByteArray absolutePath(const QByteArray &path);

// How much work one path may make when it is a playlist: lists nested in
// lists, references examined (each may open a file), playlist bytes read,
// entries handed on. A list that names itself is not read again inside
// itself.
struct Limits
{
    int maxNesting = 4;
    int maxPlaylists = 32;
    int maxReferences = 20000;
    qint64 maxBytes = qint64(8) << 20;
    qsizetype maxEntries = 5000;
};

// What libmpv should load for `path`, in playing order; empty when nothing
// can be played. Reads files: call it off the GUI thread. `cancelled`, when
// given, is asked between references and ends the work early.
QByteArrayList mpvEntries(const QByteArray &path, const Limits &limits = Limits(),
    const std::function<bool()> &cancelled = {});

} // namespace MediaSource
