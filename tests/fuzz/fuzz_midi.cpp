// The MIDI length reader and the RMI unwrapping: no fault on any bytes; the
// unwrapped file lies inside the data; a length is a finite number.
#include "FuzzCheck.h"
#include "player/mpv/MidiLength.h"
#include "player/mpv/MidiSynth.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray midi = MidiSynth::unwrap(bytes);
    FUZZ_CHECK(midi.isEmpty() || bytes.contains(midi));
    for (const QByteArray &file : {bytes, midi}) {
        const double seconds = MidiLength::lastEventSeconds(file);
        FUZZ_CHECK(std::isfinite(seconds));
    }
    return 0;
}
