#include "app/WindowsMediaPlayer.h"

#include "app/PlayerTexts.h"
#include "app/PlayerTransportBar.h"
#include "platform/Paths.h"
#include "player/PlayerBackend.h"
#include "player/MpvBackendLoader.h"
#include "player/StartPosition.h"

#include <QActionGroup>
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
    // A click anywhere on the control, its bar or the bar's parts counts as use.
    installEventFilter(this);
    m_bar->installEventFilter(this);
    for (QWidget *part : m_bar->findChildren<QWidget *>())
        part->installEventFilter(this);
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
    m_player->setStartPercent(m_startPercent);
    m_player->setLevelling(m_levelling);
    // What was written while the backend was on its way plays now.
    if (!m_url.isEmpty())
        m_player->load(m_url);
    if (!m_upcoming.isEmpty())
        m_player->prepare(m_upcoming);
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
    connect(player, &PlayerBackend::playbackRestarted, this, [this] { m_seekTarget.reset(); });
    connect(player, &PlayerBackend::fileStarted, this, [this] {
        m_seekTarget.reset();
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
    connect(m_bar, &PlayerTransportBar::seekRequested, this, &TWindowsMediaPlayer::seekTo);
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

    m_menu->addSeparator();
    QMenu *start = m_menu->addMenu(playertext::startPosition());
    m_startGroup = new QActionGroup(this);
    for (int percent : startposition::kChoices) {
        QAction *action = start->addAction(playertext::startAt(percent), this,
                                           [this, percent] { setStartPercent(percent); });
        action->setCheckable(true);
        action->setChecked(percent == m_startPercent);
        action->setData(percent);
        m_startGroup->addAction(action);
    }
    m_levelAction = m_menu->addAction(playertext::levelLoudness(), this, &TWindowsMediaPlayer::setLevelling);
    m_levelAction->setCheckable(true);
    // Once the menu has closed, the keys go back where they sort.
    connect(m_menu, &QMenu::aboutToHide, this, &TWindowsMediaPlayer::controlsUsed, Qt::QueuedConnection);
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
    seekTo(0);
}

void TWindowsMediaPlayer::seekTo(double seconds)
{
    if (!m_player)
        return;
    m_seekTarget = seconds;
    m_player->seek(seconds);
}

void TWindowsMediaPlayer::skip(double seconds)
{
    if (!m_player || !m_player->isLoaded())
        return;
    // Presses quicker than the seeks add up.
    const double target = m_seekTarget.value_or(m_player->position()) + seconds;
    // Ahead needs a known end to stay before it: reaching it would end the file.
    if (seconds > 0 && (m_player->duration() <= 0 || target >= m_player->duration()))
        return;
    seekTo(qMax(0.0, target));
}

void TWindowsMediaPlayer::restart()
{
    if (!m_player || !m_player->isLoaded())
        return;
    seekTo(0);
    if (m_player->isPaused())
        m_player->setPaused(false);
}

void TWindowsMediaPlayer::setStartPercent(int percent)
{
    if (!startposition::isChoice(percent))
        return;
    m_startPercent = percent;
    for (QAction *action : m_startGroup->actions())
        action->setChecked(action->data().toInt() == percent);
    if (m_player)
        m_player->setStartPercent(percent);
}

void TWindowsMediaPlayer::setLevelling(bool on)
{
    m_levelling = on;
    m_levelAction->setChecked(on);
    if (m_player)
        m_player->setLevelling(on);
}

void TWindowsMediaPlayer::setUpcoming(const QByteArray &path)
{
    m_upcoming = path;
    if (m_player)
        m_player->prepare(path);
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

bool TWindowsMediaPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::Wheel)
        emit controlsUsed();
    return QWidget::eventFilter(watched, event);
}

void TWindowsMediaPlayer::contextMenuEvent(QContextMenuEvent *event)
{
    updateMenu();
    m_menu->popup(event->globalPos());
}
