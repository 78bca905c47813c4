#pragma once
// A FluidSynth synthesiser with a MIDI file player, rendered on demand.
//
// The player is driven by the synthesiser's own sample clock, so rendering
// runs as fast as the caller asks and the same file always yields the same
// samples. Used by MidiStream on libmpv's reading thread; one instance per
// opened stream, nothing shared between instances.
#include <QByteArray>

#include <cstdint>
#include <memory>

#include <fluidsynth/types.h>

class MidiSynth
{
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr const char *kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

    // A synthesiser playing `midi` (a Standard MIDI File); null when the
    // data is no MIDI file or the sound font cannot be loaded.
    static std::unique_ptr<MidiSynth> create(const QByteArray &midi);
    ~MidiSynth();
    MidiSynth(const MidiSynth &) = delete;
    MidiSynth &operator=(const MidiSynth &) = delete;

    // Renders `frames` interleaved 16-bit stereo frames into `out`.
    void render(int16_t *out, int frames);
    bool finished() const;

    // The Standard MIDI File inside `data`: the data itself, or the "data"
    // chunk of a RIFF RMID wrapper. Empty when neither is found.
    static QByteArray unwrap(const QByteArray &data);

private:
    MidiSynth() = default;

    struct SettingsDeleter { void operator()(fluid_settings_t *settings) const; };
    struct SynthDeleter { void operator()(fluid_synth_t *synth) const; };
    struct PlayerDeleter { void operator()(fluid_player_t *player) const; };

    // Declared in creation order, so they are destroyed player first.
    QByteArray m_midi;
    std::unique_ptr<fluid_settings_t, SettingsDeleter> m_settings;
    std::unique_ptr<fluid_synth_t, SynthDeleter> m_synth;
    std::unique_ptr<fluid_player_t, PlayerDeleter> m_player;
};
