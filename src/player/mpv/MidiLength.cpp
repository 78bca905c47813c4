#include "player/mpv/MidiLength.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace MidiLength {

namespace {

// Microseconds per quarter note until the file says otherwise (120 bpm).
constexpr double kDefaultTempo = 500000;

class Reader
{
public:
    Reader(const uchar *begin, const uchar *end) : m_at(begin), m_end(end) {}

    bool atEnd() const { return m_at >= m_end; }
    bool failed() const { return m_failed; }
    qsizetype left() const { return m_end - m_at; }
    const uchar *position() const { return m_at; }

    uint32_t byte()
    {
        if (atEnd()) {
            m_failed = true;
            return 0;
        }
        return *m_at++;
    }
    uint32_t bigEndian(int bytes)
    {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | byte();
        return value;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    uint32_t quantity()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const uint32_t b = byte();
            value = value << 7 | (b & 0x7f);
            if (!(b & 0x80))
                return value;
        }
        m_failed = true;
        return value;
    }
    void back() { --m_at; }
    void skip(qsizetype bytes)
    {
        if (bytes > left()) {
            m_failed = true;
            m_at = m_end;
        } else {
            m_at += bytes;
        }
    }

private:
    const uchar *m_at;
    const uchar *m_end;
    bool m_failed = false;
};

struct TempoChange
{
    uint64_t tick;
    double microsecondsPerQuarter;
};

// Walks one track; returns the tick of its last event, or -1 for none.
int64_t readTrack(Reader track, std::vector<TempoChange> &tempos)
{
    uint64_t tick = 0;
    int64_t lastEvent = -1;
    uint32_t runningStatus = 0;
    while (!track.atEnd() && !track.failed()) {
        tick += track.quantity();
        uint32_t status = track.byte();
        if (status < 0x80) {
            if (runningStatus == 0)
                break;
            // Running status: this byte was already the first data byte.
            status = runningStatus;
            track.back();
        }
        if (status == 0xff) {
            const uint32_t type = track.byte();
            const uint32_t length = track.quantity();
            if (type == 0x2f)
                break;
            if (type == 0x51 && length == 3) {
                const uint32_t tempo = track.bigEndian(3);
                if (!track.failed() && tempo > 0)
                    tempos.push_back({tick, double(tempo)});
            } else {
                track.skip(length);
            }
        } else if (status == 0xf0 || status == 0xf7) {
            track.skip(track.quantity());
            if (!track.failed())
                lastEvent = int64_t(tick);
        } else if (status >= 0x80 && status < 0xf0) {
            runningStatus = status;
            const bool oneDataByte = (status & 0xf0) == 0xc0 || (status & 0xf0) == 0xd0;
            track.skip(oneDataByte ? 1 : 2);
            if (!track.failed())
                lastEvent = int64_t(tick);
        } else {
            // System common and real-time messages do not belong in a file.
            break;
        }
    }
    return lastEvent;
}

} // namespace

double lastEventSeconds(const QByteArray &midi)
{
    const auto *begin = reinterpret_cast<const uchar *>(midi.constData());
    Reader file(begin, begin + midi.size());
    if (!midi.startsWith("MThd"))
        return -1;
    file.skip(4);
    const uint32_t headerLength = file.bigEndian(4);
    file.bigEndian(2); // format: tracks play together in 0 and 1, and 2 is rare
    const uint32_t trackCount = file.bigEndian(2);
    const uint32_t division = file.bigEndian(2);
    if (file.failed() || headerLength < 6 || division == 0)
        return -1;
    file.skip(headerLength - 6);

    std::vector<TempoChange> tempos;
    int64_t lastTick = -1;
    uint32_t tracksRead = 0;
    while (tracksRead < trackCount && file.left() >= 8 && !file.failed()) {
        const bool isTrack = std::equal(file.position(), file.position() + 4, "MTrk");
        file.skip(4);
        const qsizetype declared = file.bigEndian(4);
        const qsizetype length = std::min(declared, file.left());
        // Chunks of other kinds are skipped and do not count as tracks.
        if (isTrack) {
            lastTick = std::max(lastTick, readTrack(Reader(file.position(), file.position() + length), tempos));
            ++tracksRead;
        }
        file.skip(length);
    }
    if (lastTick < 0)
        return -1;

    if (division & 0x8000) {
        // SMPTE time: frames per second and ticks per frame, no tempo.
        const int framesPerSecond = 256 - int(division >> 8);
        const double fps = framesPerSecond == 29 ? 29.97 : framesPerSecond;
        const double ticksPerSecond = fps * double(division & 0xff);
        return ticksPerSecond > 0 ? double(lastTick) / ticksPerSecond : -1;
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange &a, const TempoChange &b) { return a.tick < b.tick; });
    double seconds = 0;
    uint64_t tick = 0;
    double tempo = kDefaultTempo;
    for (const TempoChange &change : tempos) {
        if (change.tick >= uint64_t(lastTick))
            break;
        seconds += double(change.tick - tick) * tempo / 1e6 / division;
        tick = change.tick;
        tempo = change.microsecondsPerQuarter;
    }
    return seconds + double(uint64_t(lastTick) - tick) * tempo / 1e6 / division;
}

} // namespace MidiLength
