#pragma once
// The preview player control.
//
// Plays whatever path is written to its URL at once, through libmpv (MIDI
// synthesised by FluidSynth, ASX and M3U playlists read by our own readers);
// "" stops and unloads. Video is drawn by libmpv's software renderer into the area above
// the transport bar, scaled to fit and centred on black. An audio-only file
// shows a still black picture with its name; a file that cannot be played
// shows nothing and reports nothing. Owns its backend, its transport bar and
// its context menu (play/pause, stop, mute).
#include "platform/PreviewPlayer.h"
#include "platform/player/MpvPlayer.h"
#include "platform/player/VideoFrame.h"

#include <QWidget>

#include <memory>

class PlayerTransportBar;
class QAction;
class QMenu;

class TWindowsMediaPlayer : public QWidget, public PreviewPlayer
{
    Q_OBJECT

public:
    explicit TWindowsMediaPlayer(QWidget *parent = nullptr);
    TWindowsMediaPlayer(const MpvOptions &options, QWidget *parent = nullptr);
    ~TWindowsMediaPlayer() override;

    void setURL(const QByteArray &path) override;
    QByteArray URL() const override { return m_url; }

    MpvPlayer *backend() const { return m_player.get(); }
    PlayerTransportBar *transportBar() const { return m_bar; }
    QMenu *contextMenu() const { return m_menu; }

    // Where the picture goes: everything above the transport bar.
    QRect videoRect() const;

    void togglePause();
    void stop();
    void toggleMute();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void connectBackend();
    void buildContextMenu();
    void renderFrame();
    void updateMenu();

    std::unique_ptr<MpvPlayer> m_player;
    PlayerTransportBar *m_bar = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_playPauseAction = nullptr;
    QAction *m_stopAction = nullptr;
    QAction *m_muteAction = nullptr;
    VideoFrame m_frame;
    bool m_frameShown = false;
    bool m_failed = false;
    QByteArray m_url;
};
