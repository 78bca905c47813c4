#pragma once
// A player backend that plays nothing and records every address it is asked
// to load, every seek and every setting, for tests of the player control and
// of the handlers that drive it. The record lives in a PlayerRecord that the
// test owns, so it outlives the control (and its backend) and spans several
// windows. A file "starts" where the real backend would start it, going by
// what the test says the path is (its length, a file, a MIDI song or a
// playlist); a seek arrives at once.
#include "player/PlayerBackend.h"
#include "player/StartPosition.h"

#include <QByteArrayList>
#include <QHash>
#include <QList>

#include <memory>

struct PlayerRecord
{
    // Every address loaded, oldest first ("" for a stop).
    QByteArrayList writes;
    // The address loaded last.
    QByteArray URL() const { return writes.isEmpty() ? QByteArray() : writes.last(); }

    struct Media
    {
        double duration = 0;
        startposition::Source source = startposition::Source::File;
    };
    // What the test says each path is; an unknown path is a file of unknown length.
    QHash<QByteArray, Media> media;
    // Where each loaded file started, in seconds, oldest first.
    QList<double> starts;
    // Every position sought, in seconds.
    QList<double> seeks;
    // Every path the backend was told may come next.
    QByteArrayList prepared;
    int startPercent = 0;
    bool levelling = false;
};

class RecordingBackend : public PlayerBackend
{
public:
    explicit RecordingBackend(PlayerRecord &record)
        : m_record(record)
    {
    }

    static std::unique_ptr<PlayerBackend> make(PlayerRecord &record)
    {
        return std::make_unique<RecordingBackend>(record);
    }

    // A file "starts" at once; an empty address unloads.
    void load(const QByteArray &path) override
    {
        m_record.writes << path;
        m_loaded = !path.isEmpty();
        if (m_loaded) {
            const PlayerRecord::Media media = m_record.media.value(path);
            m_duration = media.duration;
            m_position = startposition::seconds(m_record.startPercent, media.duration, media.source);
            m_record.starts << m_position;
            emit fileStarted();
            emit durationChanged(m_duration);
            emit positionChanged(m_position);
            emit playbackRestarted();
        } else {
            m_position = m_duration = 0;
            emit unloaded();
        }
    }
    void stop() override { load(QByteArray()); }
    void setPaused(bool paused) override
    {
        m_paused = paused;
        emit pausedChanged(paused);
    }
    void seek(double seconds) override
    {
        m_record.seeks << seconds;
        m_position = seconds;
        emit positionChanged(seconds);
        emit playbackRestarted();
    }
    void setVolume(int volume) override
    {
        m_volume = volume;
        emit volumeChanged(volume);
    }
    void setMuted(bool muted) override
    {
        m_muted = muted;
        emit mutedChanged(muted);
    }

    void setStartPercent(int percent) override { m_record.startPercent = percent; }
    void setLevelling(bool on) override { m_record.levelling = on; }
    void prepare(const QByteArray &path) override { m_record.prepared << path; }

    bool isLoaded() const override { return m_loaded; }
    bool isPaused() const override { return m_paused; }
    bool hasVideo() const override { return false; }
    double position() const override { return m_position; }
    double duration() const override { return m_duration; }
    int volume() const override { return m_volume; }
    bool isMuted() const override { return m_muted; }
    bool renderFrame(VideoFrame &) override { return false; }

private:
    PlayerRecord &m_record;
    bool m_loaded = false;
    bool m_paused = false;
    bool m_muted = false;
    int m_volume = 50;
    double m_position = 0;
    double m_duration = 0;
};
