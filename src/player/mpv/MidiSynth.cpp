#include "player/mpv/MidiSynth.h"

#include <fluidsynth.h>

#include <mutex>

namespace {

// FluidSynth reports bad files on stderr; the program reports nothing.
void silenceFluidSynth()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

quint32 readLe32(const char *bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

} // namespace

void MidiSynth::SettingsDeleter::operator()(fluid_settings_t *settings) const
{
    delete_fluid_settings(settings);
}

void MidiSynth::SynthDeleter::operator()(fluid_synth_t *synth) const
{
    delete_fluid_synth(synth);
}

void MidiSynth::PlayerDeleter::operator()(fluid_player_t *player) const
{
    fluid_player_stop(player);
    delete_fluid_player(player);
}

QByteArray MidiSynth::unwrap(const QByteArray &data)
{
    if (data.startsWith("MThd"))
        return data;
    if (!data.startsWith("RIFF") || data.mid(8, 4) != "RMID")
        return {};
    qsizetype at = 12;
    while (at + 8 <= data.size()) {
        const qint64 length = readLe32(data.constData() + at + 4);
        if (data.mid(at, 4) == "data") {
            const QByteArray midi = data.mid(at + 8, qsizetype(qMin<qint64>(length, data.size() - at - 8)));
            return midi.startsWith("MThd") ? midi : QByteArray();
        }
        // Chunks are padded to an even length.
        at += 8 + length + (length & 1);
    }
    return {};
}

std::unique_ptr<MidiSynth> MidiSynth::create(const QByteArray &midi)
{
    silenceFluidSynth();
    // A header chunk of six bytes is the least a player can start from.
    if (!midi.startsWith("MThd") || midi.size() < 14)
        return nullptr;

    std::unique_ptr<MidiSynth> self(new MidiSynth);
    self->m_midi = midi;
    self->m_settings.reset(new_fluid_settings());
    if (!self->m_settings)
        return nullptr;
    fluid_settings_t *settings = self->m_settings.get();
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    self->m_synth.reset(new_fluid_synth(settings));
    if (!self->m_synth)
        return nullptr;
    if (fluid_synth_sfload(self->m_synth.get(), kSoundFont, 1) == FLUID_FAILED)
        return nullptr;
    self->m_player.reset(new_fluid_player(self->m_synth.get()));
    if (!self->m_player
        || fluid_player_add_mem(self->m_player.get(), self->m_midi.constData(), size_t(self->m_midi.size())) != FLUID_OK
        || fluid_player_play(self->m_player.get()) != FLUID_OK)
        return nullptr;
    return self;
}

MidiSynth::~MidiSynth() = default;

void MidiSynth::render(int16_t *out, int frames)
{
    fluid_synth_write_s16(m_synth.get(), frames, out, 0, kChannels, out, 1, kChannels);
}

bool MidiSynth::finished() const
{
    return fluid_player_get_status(m_player.get()) != FLUID_PLAYER_PLAYING;
}
