#pragma once
// MIDI files as a WAV stream that libmpv reads through its stream protocol
// API, so a MIDI file plays, pauses, seeks and reports its position like any
// other file.
//
// Opening reads the song's length from the file and writes a WAV header for
// that length plus a short tail; reading synthesises 16-bit stereo PCM on
// demand and keeps it, so seeking back costs nothing and seeking forward
// synthesises up to the target. All calls come from libmpv's own threads.
#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

struct mpv_handle;
class MidiSynth;

class MidiStream
{
public:
    static constexpr const char *kProtocol = "ondamidi";
    // Longer files are cut here; their PCM is kept in memory.
    static constexpr int64_t kMaxSeconds = 30 * 60;
    // Time after the last event for the notes to die away.
    static constexpr int64_t kTailFrames = 44100;
    static constexpr int kHeaderSize = 44;

    // The address under which libmpv opens the MIDI file at `absolutePath`.
    static QByteArray address(const QByteArray &absolutePath);
    // Makes the protocol known to one libmpv core.
    static bool registerProtocol(mpv_handle *core);

    // A stream over the MIDI or RMI file at `path`; null when it cannot be
    // read or played.
    static std::unique_ptr<MidiStream> open(const QByteArray &path);
    ~MidiStream();

    int64_t size() const { return kHeaderSize + m_dataBytes; }
    int64_t read(char *buffer, uint64_t bytes);
    int64_t seek(int64_t offset);
    void cancel() { m_cancelled = true; }

private:
    MidiStream() = default;
    bool renderUpTo(int64_t pcmBytes);

    std::unique_ptr<MidiSynth> m_synth;
    char m_header[kHeaderSize] = {};
    int64_t m_dataBytes = 0;
    std::vector<char> m_pcm;
    int64_t m_position = 0;
    std::atomic<bool> m_cancelled{false};
};
