#include "app/WindowsMediaPlayer.h"

#include "app/PlayerTexts.h"
#include "app/PlayerTransportBar.h"
#include "platform/Paths.h"
#include "player/PlayerBackend.h"
#include "player/MpvBackendLoader.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTimer>

TWindowsMediaPlayer::TWindowsMediaPlayer(QWidget *parent)
    : TWindowsMediaPlayer(MpvOptions(), parent)
{
}

TWindowsMediaPlayer::TWindowsMediaPlayer(const MpvOptions &options, QWidget *parent)
    : TWindowsMediaPlayer(std::unique_ptr<PlayerBackend>(), parent)
{
    m_mpvOptions = options;
}

TWindowsMediaPlayer::TWindowsMediaPlayer(std::unique_ptr<PlayerBackend> backend, QWidget *parent)
    : QWidget(parent)
    , m_bar(new PlayerTransportBar(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reachable with Tab, but a click leaves the focus with the file list.
    setFocusPolicy(Qt::TabFocus);
    m_bar->setLoaded(false);
    buildContextMenu();
    if (backend)
        attachBackend(std::move(backend));
}

// The backend goes first: its callbacks stop before the widgets they reach.
TWindowsMediaPlayer::~TWindowsMediaPlayer()
{
    m_player.reset();
}

void TWindowsMediaPlayer::requestMpvBackend(const MpvOptions &options)
{
    MpvBackendLoader::preload();
    MpvBackendLoader::create(this, options,
        [this](std::unique_ptr<PlayerBackend> backend, const QString &error) {
            if (backend)
                attachBackend(std::move(backend));
            else
                emit backendFailed(error);
        });
}

void TWindowsMediaPlayer::attachBackend(std::unique_ptr<PlayerBackend> backend)
{
    m_player = std::move(backend);
    m_bar->setVolume(m_player->volume());
    m_bar->setMuted(m_player->isMuted());
    connectBackend();
    updateMenu();
    // What was written while the backend was on its way plays now.
    if (!m_url.isEmpty())
        m_player->load(m_url);
    emit backendReady();
}

void TWindowsMediaPlayer::connectBackend()
{
    PlayerBackend *player = m_player.get();
    connect(player, &PlayerBackend::positionChanged, m_bar, &PlayerTransportBar::setPosition);
    connect(player, &PlayerBackend::durationChanged, m_bar, &PlayerTransportBar::setDuration);
    connect(player, &PlayerBackend::volumeChanged, m_bar, &PlayerTransportBar::setVolume);
    connect(player, &PlayerBackend::pausedChanged, this, [this](bool paused) {
        m_bar->setPaused(paused);
        updateMenu();
    });
    connect(player, &PlayerBackend::mutedChanged, this, [this](bool muted) {
        m_bar->setMuted(muted);
        updateMenu();
    });
    connect(player, &PlayerBackend::fileStarted, this, [this] {
        m_failed = false;
        m_bar->setLoaded(true);
        updateMenu();
        update();
    });
    connect(player, &PlayerBackend::loadFailed, this, [this] {
        m_failed = true;
        update();
    });
    connect(player, &PlayerBackend::unloaded, this, [this] {
        m_bar->setLoaded(false);
        updateMenu();
        update();
    });
    connect(player, &PlayerBackend::videoChanged, this, [this] {
        m_frameShown = false;
        update();
    });
    connect(player, &PlayerBackend::frameReady, this, &TWindowsMediaPlayer::renderFrame);

    connect(m_bar, &PlayerTransportBar::playPauseClicked, this, &TWindowsMediaPlayer::togglePause);
    connect(m_bar, &PlayerTransportBar::stopClicked, this, &TWindowsMediaPlayer::stop);
    connect(m_bar, &PlayerTransportBar::seekRequested, player, &PlayerBackend::seek);
    connect(m_bar, &PlayerTransportBar::volumeRequested, player, &PlayerBackend::setVolume);
    connect(m_bar, &PlayerTransportBar::muteRequested, player, &PlayerBackend::setMuted);
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
    const bool loaded = m_player && m_player->isLoaded();
    const bool paused = m_player && m_player->isPaused();
    m_playPauseAction->setText(paused ? playertext::play() : playertext::pause());
    m_playPauseAction->setIcon(style()->standardIcon(paused ? QStyle::SP_MediaPlay : QStyle::SP_MediaPause));
    m_playPauseAction->setEnabled(loaded);
    m_stopAction->setEnabled(loaded);
    m_muteAction->setEnabled(m_player != nullptr);
    m_muteAction->setChecked(m_player && m_player->isMuted());
}

void TWindowsMediaPlayer::setURL(const QByteArray &path)
{
    m_url = path;
    m_failed = false;
    // The old picture goes at once; the new file brings its own.
    m_frameShown = false;
    // Without a backend yet the address waits for it.
    if (m_player)
        m_player->load(path);
    update();
}

void TWindowsMediaPlayer::togglePause()
{
    if (m_player)
        m_player->setPaused(!m_player->isPaused());
}

void TWindowsMediaPlayer::stop()
{
    if (!m_player)
        return;
    // Stopping keeps the file at its start, ready to play again.
    m_player->setPaused(true);
    m_player->seek(0);
}

void TWindowsMediaPlayer::toggleMute()
{
    if (m_player)
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
    if (m_frame.isNull() || !m_player)
        return;
    m_frameShown = m_player->renderFrame(m_frame);
    update(videoRect());
}

void TWindowsMediaPlayer::paintEvent(QPaintEvent *)
{
    // The backend is asked for once this first paint is through.
    if (m_mpvOptions) {
        QTimer::singleShot(0, this, [this, options = *m_mpvOptions] { requestMpvBackend(options); });
        m_mpvOptions.reset();
    }
    QPainter painter(this);
    const QRect area = videoRect();
    if (m_frameShown && m_player && m_player->hasVideo() && !m_failed) {
        QImage image = m_frame.image();
        image.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(area.topLeft(), image);
        return;
    }
    painter.fillRect(area, Qt::black);
    // An audio-only file: a still picture with its name, never an old frame.
    if (m_player && m_player->isLoaded() && !m_failed && !m_url.isEmpty()) {
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
