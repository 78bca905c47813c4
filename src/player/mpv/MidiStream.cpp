#include "player/mpv/MidiStream.h"

#include "platform/RegularFile.h"
#include "player/mpv/MidiLength.h"
#include "player/mpv/MidiSynth.h"

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <algorithm>
#include <cstring>

namespace {

// MIDI files are small; anything bigger is not one.
constexpr qint64 kMaxFileSize = 16 << 20;
// One read never synthesises more than this, so mpv can cancel in between.
constexpr int64_t kMaxBytesPerRead = 64 << 10;

void putLe16(char *at, quint16 value)
{
    at[0] = char(value & 0xff);
    at[1] = char(value >> 8);
}

void putLe32(char *at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = char((value >> (8 * i)) & 0xff);
}

void writeWavHeader(char *header, quint32 dataBytes)
{
    constexpr int kBytesPerFrame = MidiSynth::kChannels * 2;
    std::memcpy(header, "RIFF", 4);
    putLe32(header + 4, 36 + dataBytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    putLe32(header + 16, 16);
    putLe16(header + 20, 1);
    putLe16(header + 22, MidiSynth::kChannels);
    putLe32(header + 24, MidiSynth::kSampleRate);
    putLe32(header + 28, MidiSynth::kSampleRate * kBytesPerFrame);
    putLe16(header + 32, kBytesPerFrame);
    putLe16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    putLe32(header + 40, dataBytes);
}

int64_t readCallback(void *cookie, char *buffer, uint64_t bytes)
{
    return static_cast<MidiStream *>(cookie)->read(buffer, bytes);
}

int64_t seekCallback(void *cookie, int64_t offset)
{
    return static_cast<MidiStream *>(cookie)->seek(offset);
}

int64_t sizeCallback(void *cookie)
{
    return static_cast<MidiStream *>(cookie)->size();
}

void closeCallback(void *cookie)
{
    delete static_cast<MidiStream *>(cookie);
}

void cancelCallback(void *cookie)
{
    static_cast<MidiStream *>(cookie)->cancel();
}

int openCallback(void *, char *uri, mpv_stream_cb_info *info)
{
    const QByteArray prefix = QByteArray(MidiStream::kProtocol) + "://";
    const QByteArray address(uri);
    if (!address.startsWith(prefix))
        return MPV_ERROR_LOADING_FAILED;
    std::unique_ptr<MidiStream> stream =
        MidiStream::open(QByteArray::fromPercentEncoding(address.mid(prefix.size())));
    if (!stream)
        return MPV_ERROR_LOADING_FAILED;
    info->cookie = stream.release();
    info->read_fn = readCallback;
    info->seek_fn = seekCallback;
    info->size_fn = sizeCallback;
    info->close_fn = closeCallback;
    info->cancel_fn = cancelCallback;
    return 0;
}

} // namespace

QByteArray MidiStream::address(const QByteArray &absolutePath)
{
    // File-system bytes may be anything; percent-encoding keeps them intact.
    return QByteArray(kProtocol) + "://" + absolutePath.toPercentEncoding("/");
}

bool MidiStream::registerProtocol(mpv_handle *core)
{
    return mpv_stream_cb_add_ro(core, kProtocol, nullptr, openCallback) >= 0;
}

std::unique_ptr<MidiStream> MidiStream::open(const QByteArray &path)
{
    const regularfile::Contents file = regularfile::read(path, kMaxFileSize);
    const QByteArray midi = file.ok() ? MidiSynth::unwrap(file.bytes) : QByteArray();
    if (midi.isEmpty())
        return nullptr;

    const double seconds = MidiLength::lastEventSeconds(midi);
    if (seconds < 0)
        return nullptr;
    std::unique_ptr<MidiStream> self(new MidiStream);
    const int64_t frames = int64_t(std::min<double>(seconds, kMaxSeconds) * MidiSynth::kSampleRate);
    self->m_synth = MidiSynth::create(midi);
    if (!self->m_synth)
        return nullptr;
    self->m_dataBytes = (frames + kTailFrames) * MidiSynth::kChannels * 2;
    writeWavHeader(self->m_header, quint32(self->m_dataBytes));
    return self;
}

MidiStream::~MidiStream() = default;

bool MidiStream::renderUpTo(int64_t pcmBytes)
{
    constexpr int kChunkFrames = 4096;
    constexpr int64_t kBytesPerFrame = MidiSynth::kChannels * 2;
    while (int64_t(m_pcm.size()) < pcmBytes) {
        if (m_cancelled)
            return false;
        const int64_t left = (m_dataBytes - int64_t(m_pcm.size())) / kBytesPerFrame;
        const int frames = int(std::min<int64_t>(kChunkFrames, left));
        if (frames <= 0)
            break;
        const size_t at = m_pcm.size();
        m_pcm.resize(at + size_t(frames * kBytesPerFrame));
        m_synth->render(reinterpret_cast<int16_t *>(m_pcm.data() + at), frames);
    }
    return true;
}

int64_t MidiStream::read(char *buffer, uint64_t bytes)
{
    if (m_cancelled)
        return -1;
    const int64_t end = std::min<int64_t>(size(), m_position + std::min<int64_t>(int64_t(bytes), kMaxBytesPerRead));
    int64_t copied = 0;
    if (m_position < kHeaderSize && m_position < end) {
        const int64_t count = std::min<int64_t>(kHeaderSize, end) - m_position;
        std::memcpy(buffer, m_header + m_position, size_t(count));
        copied += count;
        m_position += count;
    }
    if (m_position < end) {
        if (!renderUpTo(end - kHeaderSize))
            return -1;
        const int64_t count = end - m_position;
        std::memcpy(buffer + copied, m_pcm.data() + (m_position - kHeaderSize), size_t(count));
        copied += count;
        m_position += count;
    }
    return copied;
}

int64_t MidiStream::seek(int64_t offset)
{
    if (m_cancelled || offset < 0 || offset > size())
        return MPV_ERROR_GENERIC;
    m_position = offset;
    return offset;
}
