#pragma once
// A player backend that plays nothing and records every address it is asked
// to load, for tests of the player control and of the handlers that drive
// it. The record lives in a PlayerRecord that the test owns, so it outlives
// the control (and its backend) and spans several windows.
#include "player/PlayerBackend.h"

#include <QByteArrayList>

#include <memory>

struct PlayerRecord
{
    // Every address loaded, oldest first ("" for a stop).
    QByteArrayList writes;
    // The address loaded last.
    QByteArray URL() const { return writes.isEmpty() ? QByteArray() : writes.last(); }
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
            emit fileStarted();
            emit playbackRestarted();
        } else {
            emit unloaded();
        }
    }
    void stop() override { load(QByteArray()); }
    void setPaused(bool paused) override
    {
        m_paused = paused;
        emit pausedChanged(paused);
    }
    void seek(double) override {}
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

    bool isLoaded() const override { return m_loaded; }
    bool isPaused() const override { return m_paused; }
    bool hasVideo() const override { return false; }
    double position() const override { return 0; }
    double duration() const override { return 0; }
    int volume() const override { return m_volume; }
    bool isMuted() const override { return m_muted; }
    bool renderFrame(VideoFrame &) override { return false; }

private:
    PlayerRecord &m_record;
    bool m_loaded = false;
    bool m_paused = false;
    bool m_muted = false;
    int m_volume = 50;
};
