#include "player/mpv/MidiLength.h"

#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

namespace {

QByteArray bigEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xff);
    return out;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    return QByteArray(id) + bigEndian(quint32(body.size()), 4) + body;
}

QByteArray smf(quint16 division, const QList<QByteArray> &tracks)
{
    QByteArray file = chunk("MThd", bigEndian(1, 2) + bigEndian(quint32(tracks.size()), 2) + bigEndian(division, 2));
    for (const QByteArray &track : tracks)
        file += chunk("MTrk", track);
    return file;
}

// Tempo meta event: microseconds per quarter note.
QByteArray tempo(quint32 microseconds)
{
    return QByteArray("\xff\x51\x03", 3) + bigEndian(microseconds, 3);
}

const QByteArray kEnd("\x00\xff\x2f\x00", 4);
// Delta times of 480 ticks (one quarter at division 480) and of 0.
const QByteArray kQuarter("\x83\x60", 2);
const QByteArray kNow("\x00", 1);

struct LengthCase
{
    const char *label;
    QByteArray midi;
    double seconds;
};

TEST(MidiLength, FollowsTempoAndTracks)
{
    const QByteArray noteOn("\x90\x40\x64", 3);
    const QByteArray noteOff("\x80\x40\x40", 3);
    const LengthCase cases[] = {
        {"fixture: half a second at 120 bpm", fixtureContent("tone.mid"), 0.5},
        {"tempo halves after the first quarter",
         smf(480, {kNow + noteOn + kQuarter + tempo(1000000) + kNow + noteOff + kNow + noteOn + kQuarter
                   + noteOff + kEnd}),
         1.5},
        {"running status",
         smf(480, {kNow + noteOn + kQuarter + QByteArray("\x40\x00", 2) + kQuarter + QByteArray("\x41\x64", 2)
                   + kEnd}),
         1.0},
        {"tempo track and a longer note track",
         smf(480, {kNow + tempo(250000) + kEnd, kNow + noteOn + QByteArray("\x87\x40", 2) + noteOff + kEnd}),
         0.5},
        {"SMPTE 25 fps, 40 ticks a frame", smf(0xE728, {kNow + noteOn + QByteArray("\x93\x44", 2) + noteOff + kEnd}),
         2.5},
        {"program change has one data byte",
         smf(480, {kNow + QByteArray("\xc0\x05", 2) + kQuarter + noteOn + kEnd}), 0.5},
        {"damaged track counts up to the damage",
         smf(480, {kNow + noteOn + kQuarter + noteOff + kQuarter + QByteArray("\x90\x40", 2)}), 0.5},
        {"a foreign chunk is skipped",
         chunk("MThd", bigEndian(0, 2) + bigEndian(1, 2) + bigEndian(480, 2)) + chunk("XYZW", "junk")
             + chunk("MTrk", kNow + noteOn + kQuarter + noteOff + kEnd),
         0.5},
    };
    for (const LengthCase &c : cases)
        EXPECT_NEAR(MidiLength::lastEventSeconds(c.midi), c.seconds, 1e-6) << c.label;
}

TEST(MidiLength, NoEventMeansNoSong)
{
    const QByteArray cases[] = {
        QByteArray(),
        "MThd",
        smf(480, {}),
        smf(480, {kNow + tempo(500000) + kEnd}),
        smf(0, {kNow + QByteArray("\x90\x40\x64", 3) + kEnd}),
        smf(480, {QByteArray("\x40\x40\x64", 3)}), // data byte without any status
        QByteArray("MThd\xff\xff\xff\xff", 8),
        fixtureContent("tone.wav"),
    };
    for (const QByteArray &midi : cases)
        EXPECT_LT(MidiLength::lastEventSeconds(midi), 0) << midi.toHex().constData();
}

} // namespace
