#pragma once
// The media backend: one libmpv core, its software video renderer and the
// state the player control shows.
//
// Every command goes out asynchronously, so a slow or broken file never
// holds up the GUI thread. libmpv's wakeup and render-update callbacks only
// post to the thread this object lives on, which then drains the events and
// turns them into signals. The render context is freed before the core.
#include "platform/player/EntryResolver.h"
#include "platform/player/MpvHandles.h"

#include <QByteArray>
#include <QObject>

#include <atomic>

class VideoFrame;

struct MpvOptions
{
    // Tried in order; the last one always works, so playback never fails
    // for want of a sound device.
    QByteArray audioOutput = "pipewire,pulse,alsa,null";
    // "libmpv" draws through renderFrame(); "null" decodes without drawing.
    QByteArray videoOutput = "libmpv";
    int volume = 50;
};

class MpvPlayer : public QObject
{
    Q_OBJECT

public:
    // Throws std::runtime_error when libmpv cannot be started.
    explicit MpvPlayer(const MpvOptions &options = MpvOptions(), QObject *parent = nullptr);
    ~MpvPlayer() override;

    // Opens `path` (file-system bytes) and plays it from the start, replacing
    // whatever was loaded; an empty path stops and unloads. What the path
    // holds (a playlist's entries) is worked out off this thread, so the
    // call returns at once; a later load() or stop() supersedes it.
    void load(const QByteArray &path);
    void stop();
    void setPaused(bool paused);
    void seek(double seconds);
    void setVolume(int volume);
    void setMuted(bool muted);

    bool isLoaded() const { return m_loaded; }
    bool isPaused() const { return m_paused; }
    bool hasVideo() const { return m_hasVideo; }
    double position() const { return m_position; }
    double duration() const { return m_duration; }
    int volume() const { return m_volume; }
    bool isMuted() const { return m_muted; }

    // Draws the current video frame into `target`, scaled to fit and
    // centred on black. Returns false when there is no video to draw.
    bool renderFrame(VideoFrame &target);

signals:
    void fileStarted();
    void playbackRestarted();
    void loadFailed();
    void unloaded();
    void positionChanged(double seconds);
    void durationChanged(double seconds);
    void pausedChanged(bool paused);
    void volumeChanged(int volume);
    void mutedChanged(bool muted);
    void videoChanged(bool hasVideo);
    // A new video frame is ready for renderFrame().
    void frameReady();

private:
    static void onWakeup(void *self);
    static void onRenderUpdate(void *self);
    void drainEvents();
    void takeRenderUpdate();
    void handleProperty(const mpv_event_property &property);
    void command(std::initializer_list<const char *> args);
    void setFlag(const char *name, bool value);
    void setHasVideo(bool video);
    void play(const QByteArrayList &entries);

    MpvCorePtr m_core;
    MpvRenderContextPtr m_render;
    std::atomic<bool> m_drainQueued{false};
    std::atomic<bool> m_renderQueued{false};
    // Counts started files, to match replies to the file they were asked for.
    uint64_t m_fileGeneration = 0;

    bool m_loaded = false;
    bool m_paused = false;
    bool m_pauseRequested = false;
    bool m_hasVideo = false;
    bool m_muted = false;
    double m_position = 0;
    double m_duration = 0;
    int m_volume = 50;
    // Reads playlists off the GUI thread; goes first when the player does.
    EntryResolver m_resolver;
};
