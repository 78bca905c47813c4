#pragma once
// The libmpv backend: one libmpv core, its software video renderer and the
// state the player control shows.
//
// Every command goes out asynchronously, so a slow or broken file never
// holds up the GUI thread. libmpv's wakeup and render-update callbacks only
// post to the thread this object lives on, which then drains the events and
// turns them into signals. The render context is freed before the core.
//
// Where a file starts and the gain it starts with are settled in libmpv's
// "on_preloaded" hook, once the file is open and before its first sound;
// the hook is taken only once either is asked for. Inside the hook the core
// waits for us and does nothing else, so the file's duration and address
// are read there directly: the one place where the GUI thread asks and waits.
#include "player/PlayerBackend.h"
#include "player/StartPosition.h"
#include "player/mpv/EntryResolver.h"
#include "player/mpv/KindAhead.h"
#include "player/mpv/MpvHandles.h"
#include "player/MpvOptions.h"

#include <atomic>
#include <memory>

class LoudnessLeveller;

class MpvPlayer : public PlayerBackend
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
    //
    // A file whose kind is known goes to libmpv at once: the one prepared
    // (its bytes were read while the file before it played), or one whose
    // name is an audio or video type. Such a name is checked by its bytes
    // meanwhile, and a MIDI song or a list under it goes our way after all;
    // libmpv's failure on it is told only once the bytes confirm it.
    void load(const QByteArray &path) override;
    void stop() override;
    void setPaused(bool paused) override;
    void seek(double seconds) override;
    void setVolume(int volume) override;
    void setMuted(bool muted) override;
    void setStartPercent(int percent) override;
    void setLevelling(bool on) override;
    void prepare(const QByteArray &path) override;

    bool isLoaded() const override { return m_loaded; }
    bool isPaused() const override { return m_paused; }
    bool hasVideo() const override { return m_hasVideo; }
    double position() const override { return m_position; }
    double duration() const override { return m_duration; }
    int volume() const override { return m_volume; }
    bool isMuted() const override { return m_muted; }

    bool renderFrame(VideoFrame &target) override;

    // The core, for tests that read back its settings.
    mpv_handle *core() const { return m_core.get(); }
    LoudnessLeveller *leveller() const { return m_leveller.get(); }
    const KindAhead &ahead() const { return m_ahead; }

private:
    static void onWakeup(void *self);
    static void onRenderUpdate(void *self);
    void drainEvents();
    void takeRenderUpdate();
    void handleProperty(const mpv_event_property &property);
    void command(std::initializer_list<const char *> args);
    void setFlag(const char *name, bool value);
    void setHasVideo(bool video);
    void play(const QByteArray &path, const QByteArrayList &entries);
    void playChecked(const QByteArray &path, const QByteArrayList &entries);
    // Drops what the file before left: its resolving, its check and its failure.
    void forgetFile();
    void loadFailedNow();
    void tellFailure();
    void hookFileStarts();
    void handleOwnReply(const mpv_event &event);
    void startEntry(uint64_t hook);
    startposition::Source sourceOf(const QByteArray &entry) const;

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

    std::unique_ptr<LoudnessLeveller> m_leveller;
    int m_startPercent = 0;
    bool m_hooked = false;
    // What the latest load plays: the file itself when it is a single
    // plain file (the only kind that may start later), and how many entries.
    QByteArray m_startable;
    qsizetype m_entryCount = 0;
    // A file handed to libmpv by its name alone, whose bytes are still to
    // be looked at (on its failure) or being looked at (m_checking); and
    // libmpv's failure on it, held until the bytes have spoken.
    QByteArray m_unchecked;
    bool m_checking = false;
    bool m_failureHeld = false;
    // This file's failure has been told; libmpv's own word on it comes too late.
    bool m_failureTold = false;
    // Reads the next file's head while this one plays.
    KindAhead m_ahead;
    // Reads playlists off the GUI thread; goes first when the player does.
    EntryResolver m_resolver;
};
