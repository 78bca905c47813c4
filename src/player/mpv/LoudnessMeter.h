#pragma once
// Measures ahead how loud files are, so that each one can start at its
// levelling gain with nothing to wait for.
//
// A second libmpv core of its own, with no sound device and no picture,
// decodes a file's audio as fast as it can through libavfilter's EBU R128
// meter and reads the integrated loudness and the highest sample when it
// is unloaded. It looks at up to kMeasuredSeconds from where the player will start
// the file (the same share of its length), which is what the listener
// hears. Its threads run at a lower priority than the player's and the
// window's.
//
// One file is measured at a time. A file about to play now (measureNow)
// goes before a file likely to come next (prepare), which only the latest
// call names. Results are kept by address for the rest of the session.
// Everything happens on the thread the object lives on; libmpv's wakeups
// only post to it.
#include "player/StartPosition.h"
#include "player/mpv/EntryResolver.h"
#include "player/mpv/MpvHandles.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <atomic>
#include <optional>

class LoudnessMeter : public QObject
{
    Q_OBJECT

public:
    static constexpr double kMeasuredSeconds = 180;
    // Results kept; the oldest go first beyond this.
    static constexpr int kKeptResults = 2000;

    // Throws std::runtime_error when libmpv cannot be started.
    explicit LoudnessMeter(QObject *parent = nullptr);
    ~LoudnessMeter() override;

    // The levelling gain (dB) of `entry` (an address as libmpv loads it),
    // once measured.
    std::optional<double> gain(const QByteArray &entry) const;
    // Measures `entry` before anything prepared.
    void measureNow(const QByteArray &entry, startposition::Source source);
    // Measures what `path` plays when it is a single file (or MIDI song),
    // once nothing more urgent waits; replaces the previous such request.
    void prepare(const QByteArray &path);
    // Where the player starts files from now on: results measured from
    // elsewhere are forgotten.
    void setStartPercent(int percent);

    bool isIdle() const { return m_current.entry.isEmpty(); }

signals:
    void measured(const QByteArray &entry, double gain);

private:
    struct Request
    {
        QByteArray entry;
        startposition::Source source = startposition::Source::File;
        bool operator==(const Request &other) const { return entry == other.entry; }
    };

    static void onWakeup(void *self);
    void drainEvents();
    void startNext();
    void start(const Request &request);
    void finish(std::optional<double> gain);
    void continueOpening(double duration);
    bool wanted(const Request &request) const;

    MpvCorePtr m_core;
    std::atomic<bool> m_drainQueued{false};
    EntryResolver m_resolver;
    QHash<QByteArray, double> m_gains;
    QList<QByteArray> m_order;
    Request m_urgent;
    Request m_ahead;
    Request m_current;
    // The core's playlist entry of the file handed over last (-1 until its
    // loadfile answers), and whether the core has reported its start: until
    // then its reports are about a file already left. A file replaced before
    // the core began it is never reported as started, so starts are matched
    // by entry, not counted.
    int64_t m_entryId = -1;
    bool m_started = false;
    // The hook the core waits in, and whether the meter is being read in it.
    uint64_t m_hook = 0;
    bool m_reading = false;
    // Numbers the files handed to the core, to match replies to them.
    uint64_t m_job = 0;
    int m_startPercent = 0;
};
