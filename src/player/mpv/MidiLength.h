#pragma once
// How long a Standard MIDI File plays: the time of its last channel or
// system-exclusive event, following the file's tempo changes.
//
// Read from the file itself, which takes microseconds where letting a
// synthesiser run through the song would take a noticeable part of a
// second; MidiStream needs the length before the first sample.
#include <QByteArray>

namespace MidiLength {

// Seconds from the start to the last event; negative when the data holds no
// event at all or is no MIDI file. Damaged tracks count up to the damage.
double lastEventSeconds(const QByteArray &midi);

} // namespace MidiLength
