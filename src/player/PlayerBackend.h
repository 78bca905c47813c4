#pragma once
// The media engine behind the player control: plays one file at a time,
// reports what it is doing through signals and draws the current video
// frame on request.
//
// The real engine is libmpv (MpvPlayer, built into a module of its own that
// is loaded in the background at start-up); tests drive the control over a
// recording backend. Every call returns at once: a slow or broken file never
// holds up the GUI thread. Signals come on the thread the backend lives on.
#include <QByteArray>
#include <QObject>

class VideoFrame;

// Exported from its shared library, the one place its metaobject lives.
class Q_DECL_EXPORT PlayerBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~PlayerBackend() override;

    // Opens `path` (file-system bytes) and plays it from the start, replacing
    // whatever was loaded; an empty path stops and unloads.
    virtual void load(const QByteArray &path) = 0;
    virtual void stop() = 0;
    virtual void setPaused(bool paused) = 0;
    virtual void seek(double seconds) = 0;
    virtual void setVolume(int volume) = 0;
    virtual void setMuted(bool muted) = 0;
    // Where each file loaded from now on starts, in percent of its length
    // (one of startposition::kChoices). Files shorter than 20 s, playlists
    // and MIDI songs start at the beginning.
    virtual void setStartPercent(int percent) = 0;
    // Levels the loudness of the files played against one another, with a
    // fixed gain per file.
    virtual void setLevelling(bool on) = 0;
    // `path` is likely to be loaded next: the backend may get ready for it.
    virtual void prepare(const QByteArray &path) = 0;

    virtual bool isLoaded() const = 0;
    virtual bool isPaused() const = 0;
    virtual bool hasVideo() const = 0;
    virtual double position() const = 0;
    virtual double duration() const = 0;
    virtual int volume() const = 0;
    virtual bool isMuted() const = 0;

    // Draws the current video frame into `target`, scaled to fit and
    // centred on black. Returns false when there is no video to draw.
    virtual bool renderFrame(VideoFrame &target) = 0;

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
};
