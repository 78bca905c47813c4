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

namespace MediaSource {

enum class Kind { Missing, Plain, Midi, Asx, M3u };

Kind classify(const QByteArray &path);

// What libmpv should load for `path`, in playing order; empty when nothing
// can be played.
QByteArrayList mpvEntries(const QByteArray &path);

} // namespace MediaSource
