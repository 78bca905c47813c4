#pragma once
// Keeps the files a player plays at one loudness, with a fixed gain per
// file: nothing pumps, and nothing is buffered or analysed on the way to
// the speakers, so the first sound comes as soon as it would without.
//
// The gain goes to libmpv as its fallback replay gain, a plain
// multiplication at its output that can change at any moment. A file
// measured ahead (LoudnessMeter) starts at its own gain. One that was not
// starts at the gain typical of the files measured so far, is measured at
// once, and is brought to its own gain gently as soon as that is known.
// Switching levelling off brings the gain back to none the same way.
//
// Owns its meter, made the first time levelling is switched on. Lives on
// the player's thread.
#include "player/StartPosition.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

struct mpv_handle;
class LoudnessMeter;

class LoudnessLeveller : public QObject
{
    Q_OBJECT

public:
    // How fast a gain that is already playing changes.
    static constexpr double kStepDb = 0.25;
    static constexpr int kStepMs = 20;

    // `core` is the player's; it outlives the leveller.
    explicit LoudnessLeveller(mpv_handle *core, QObject *parent = nullptr);
    ~LoudnessLeveller() override;

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    void setStartPercent(int percent);
    // Measures what `path` plays, in case it comes next.
    void prepare(const QByteArray &path);
    // A file is on its way: the meter waits until it plays (or fails), so
    // that its work never competes with the start the listener waits for.
    void fileLoading();
    void fileSettled();
    // `entry` is about to start, before its first sound.
    void entryStarting(const QByteArray &entry, startposition::Source source);
    // `entry` is playing, found out after its start.
    void entryPlaying(const QByteArray &entry, startposition::Source source);

    // The gain applied now, in dB.
    double gain() const { return m_gain; }
    LoudnessMeter *meter() const { return m_meter.get(); }

private:
    bool makeMeter();
    void measured(const QByteArray &entry, double gain);
    void levelPlaying();
    void rampTo(double gain);
    void step();
    void apply(double gain);

    mpv_handle *m_core;
    std::unique_ptr<LoudnessMeter> m_meter;
    bool m_enabled = false;
    int m_startPercent = 0;
    QByteArray m_playing;
    startposition::Source m_playingSource = startposition::Source::File;
    double m_gain = 0;
    double m_target = 0;
    QTimer m_ramp;
    // The latest gains measured, for files not measured yet.
    QList<double> m_recent;
    // What the meter is to do once the file on its way plays.
    bool m_loading = false;
    bool m_measureWhenSettled = false;
    std::optional<QByteArray> m_heldPrepare;
};
