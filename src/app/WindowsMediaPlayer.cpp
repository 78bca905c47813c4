#include "app/WindowsMediaPlayer.h"

#include "app/PlayerTexts.h"
#include "app/PlayerTransportBar.h"
#include "platform/Paths.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>

TWindowsMediaPlayer::TWindowsMediaPlayer(QWidget *parent)
    : TWindowsMediaPlayer(MpvOptions(), parent)
{
}

TWindowsMediaPlayer::TWindowsMediaPlayer(const MpvOptions &options, QWidget *parent)
    : QWidget(parent)
    , m_player(std::make_unique<MpvPlayer>(options))
    , m_bar(new PlayerTransportBar(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reachable with Tab, but a click leaves the focus with the file list.
    setFocusPolicy(Qt::TabFocus);
    m_bar->setVolume(m_player->volume());
    m_bar->setMuted(m_player->isMuted());
    buildContextMenu();
    connectBackend();
}

// The backend goes first: its callbacks stop before the widgets they reach.
TWindowsMediaPlayer::~TWindowsMediaPlayer()
{
    m_player.reset();
}

void TWindowsMediaPlayer::connectBackend()
{
    MpvPlayer *player = m_player.get();
    connect(player, &MpvPlayer::positionChanged, m_bar, &PlayerTransportBar::setPosition);
    connect(player, &MpvPlayer::durationChanged, m_bar, &PlayerTransportBar::setDuration);
    connect(player, &MpvPlayer::volumeChanged, m_bar, &PlayerTransportBar::setVolume);
    connect(player, &MpvPlayer::pausedChanged, this, [this](bool paused) {
        m_bar->setPaused(paused);
        updateMenu();
    });
    connect(player, &MpvPlayer::mutedChanged, this, [this](bool muted) {
        m_bar->setMuted(muted);
        updateMenu();
    });
    connect(player, &MpvPlayer::fileStarted, this, [this] {
        m_failed = false;
        m_bar->setLoaded(true);
        updateMenu();
        update();
    });
    connect(player, &MpvPlayer::loadFailed, this, [this] {
        m_failed = true;
        update();
    });
    connect(player, &MpvPlayer::unloaded, this, [this] {
        m_bar->setLoaded(false);
        updateMenu();
        update();
    });
    connect(player, &MpvPlayer::videoChanged, this, [this] {
        m_frameShown = false;
        update();
    });
    connect(player, &MpvPlayer::frameReady, this, &TWindowsMediaPlayer::renderFrame);

    connect(m_bar, &PlayerTransportBar::playPauseClicked, this, &TWindowsMediaPlayer::togglePause);
    connect(m_bar, &PlayerTransportBar::stopClicked, this, &TWindowsMediaPlayer::stop);
    connect(m_bar, &PlayerTransportBar::seekRequested, player, &MpvPlayer::seek);
    connect(m_bar, &PlayerTransportBar::volumeRequested, player, &MpvPlayer::setVolume);
    connect(m_bar, &PlayerTransportBar::muteRequested, player, &MpvPlayer::setMuted);
}

void TWindowsMediaPlayer::buildContextMenu()
{
    m_menu = new QMenu(this);
    m_playPauseAction = m_menu->addAction(playertext::pause(), this, &TWindowsMediaPlayer::togglePause);
    m_stopAction = m_menu->addAction(style()->standardIcon(QStyle::SP_MediaStop), playertext::stop(),
                                     this, &TWindowsMediaPlayer::stop);
    m_muteAction = m_menu->addAction(playertext::mute(), this, &TWindowsMediaPlayer::toggleMute);
    m_muteAction->setCheckable(true);
    updateMenu();
}

void TWindowsMediaPlayer::updateMenu()
{
    const bool paused = m_player->isPaused();
    m_playPauseAction->setText(paused ? playertext::play() : playertext::pause());
    m_playPauseAction->setIcon(style()->standardIcon(paused ? QStyle::SP_MediaPlay : QStyle::SP_MediaPause));
    m_playPauseAction->setEnabled(m_player->isLoaded());
    m_stopAction->setEnabled(m_player->isLoaded());
    m_muteAction->setChecked(m_player->isMuted());
}

void TWindowsMediaPlayer::setURL(const QByteArray &path)
{
    m_url = path;
    m_failed = false;
    // The old picture goes at once; the new file brings its own.
    m_frameShown = false;
    m_player->load(path);
    update();
}

void TWindowsMediaPlayer::togglePause()
{
    m_player->setPaused(!m_player->isPaused());
}

void TWindowsMediaPlayer::stop()
{
    // Stopping keeps the file at its start, ready to play again.
    m_player->setPaused(true);
    m_player->seek(0);
}

void TWindowsMediaPlayer::toggleMute()
{
    m_player->setMuted(!m_player->isMuted());
}

QRect TWindowsMediaPlayer::videoRect() const
{
    return QRect(0, 0, width(), qMax(0, height() - m_bar->height()));
}

void TWindowsMediaPlayer::resizeEvent(QResizeEvent *)
{
    m_bar->setGeometry(0, height() - m_bar->height(), width(), m_bar->height());
    renderFrame();
}

void TWindowsMediaPlayer::renderFrame()
{
    const qreal ratio = devicePixelRatioF();
    m_frame.resize(videoRect().size() * ratio);
    if (m_frame.isNull())
        return;
    m_frameShown = m_player->renderFrame(m_frame);
    update(videoRect());
}

void TWindowsMediaPlayer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = videoRect();
    if (m_frameShown && m_player->hasVideo() && !m_failed) {
        QImage image = m_frame.image();
        image.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(area.topLeft(), image);
        return;
    }
    painter.fillRect(area, Qt::black);
    // An audio-only file: a still picture with its name, never an old frame.
    if (m_player->isLoaded() && !m_failed && !m_url.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(12);
        painter.setFont(font);
        painter.setPen(QColor(0xb0, 0xb0, 0xb0));
        const QString name = paths::toDisplay(paths::lastComponent(m_url));
        painter.drawText(area.adjusted(10, 10, -10, -10),
                         Qt::AlignCenter | Qt::TextWrapAnywhere, name);
    }
}

void TWindowsMediaPlayer::contextMenuEvent(QContextMenuEvent *event)
{
    updateMenu();
    m_menu->popup(event->globalPos());
}
