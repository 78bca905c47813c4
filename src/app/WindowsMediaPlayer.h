#pragma once
// The preview player control.
//
// Plays whatever path is written to its URL at once, through libmpv (MIDI
// synthesised by FluidSynth, ASX and M3U playlists read by our own readers);
// "" stops and unloads. Video is drawn by libmpv's software renderer into the area above
// the transport bar, scaled to fit and centred on black. An audio-only file
// shows a still black picture with its name; a file that cannot be played
// shows nothing and reports nothing. Owns its backend, its transport bar and
// its context menu (play/pause, stop, mute, where files start, levelling).
//
// Its parts never keep the keyboard: after any use of them with the mouse
// it says so (controlsUsed), and the window gives the keys back to the list.
//
// The backend is given by the creator, or by default is the libmpv one,
// which arrives from a module loaded in the background once the control has
// first been painted: until it is ready the picture stays black and the
// last URL written waits, to be played as soon as the backend is there.
// (Loading libmpv holds the dynamic loader's lock for the whole time; the
// window's own first paint, which may load Qt plugins, comes first.)
#include "player/MpvOptions.h"
#include "player/VideoFrame.h"

#include <QWidget>

#include <memory>
#include <optional>

class PlayerBackend;
class PlayerTransportBar;
class QAction;
class QActionGroup;
class QMenu;

class TWindowsMediaPlayer : public QWidget
{
    Q_OBJECT

public:
    // Plays through libmpv with the default options.
    explicit TWindowsMediaPlayer(QWidget *parent = nullptr);
    // Plays through libmpv set up with `options`.
    TWindowsMediaPlayer(const MpvOptions &options, QWidget *parent = nullptr);
    // Plays through `backend`, which is ready at once.
    TWindowsMediaPlayer(std::unique_ptr<PlayerBackend> backend, QWidget *parent = nullptr);
    ~TWindowsMediaPlayer() override;

    void setURL(const QByteArray &path);
    QByteArray URL() const { return m_url; }

    // Null until the backend is ready.
    PlayerBackend *backend() const { return m_player.get(); }
    PlayerTransportBar *transportBar() const { return m_bar; }
    QMenu *contextMenu() const { return m_menu; }

    // Where the picture goes: everything above the transport bar.
    QRect videoRect() const;

    void togglePause();
    void stop();
    void toggleMute();
    // Jumps `seconds` ahead (or back, when negative) from where the latest
    // jump is going; never past the end: too near it, nothing happens.
    void skip(double seconds);
    // Back to the start of the file, playing.
    void restart();

    // Where each new file starts, in percent of its length (the menu's choices).
    void setStartPercent(int percent);
    int startPercent() const { return m_startPercent; }
    // Levels the loudness of the files against one another.
    void setLevelling(bool on);
    bool isLevelling() const { return m_levelling; }
    // The file likely to be written to URL next ("" for none).
    void setUpcoming(const QByteArray &path);

signals:
    // The backend has arrived; a URL written before now plays.
    void backendReady();
    // The backend could not be loaded or started; the control stays black.
    void backendFailed(const QString &message);
    // Its controls, picture or menu were used with the mouse.
    void controlsUsed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void requestMpvBackend(const MpvOptions &options);
    void attachBackend(std::unique_ptr<PlayerBackend> backend);
    void connectBackend();
    void buildContextMenu();
    void seekTo(double seconds);
    void renderFrame();
    void updateMenu();

    std::unique_ptr<PlayerBackend> m_player;
    // How to set up the libmpv backend until it is asked for.
    std::optional<MpvOptions> m_mpvOptions;
    PlayerTransportBar *m_bar = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_playPauseAction = nullptr;
    QAction *m_stopAction = nullptr;
    QAction *m_muteAction = nullptr;
    QActionGroup *m_startGroup = nullptr;
    QAction *m_levelAction = nullptr;
    VideoFrame m_frame;
    bool m_frameShown = false;
    bool m_failed = false;
    QByteArray m_url;
    QByteArray m_upcoming;
    int m_startPercent = 0;
    bool m_levelling = false;
    // Where the latest seek goes, until the backend has got there.
    std::optional<double> m_seekTarget;
};
