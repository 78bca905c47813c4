#include "app/PlayerTransportBar.h"

#include "app/PlayerTexts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kButtonSize = 22;

// A click on a slider's groove jumps there instead of paging towards it.
class JumpingSliderStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QToolButton *makeButton(QWidget *parent, QStyle::StandardPixmap icon, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QSlider *makeSlider(QWidget *parent)
{
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setFocusPolicy(Qt::NoFocus);
    return slider;
}

} // namespace

PlayerTransportBar::PlayerTransportBar(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(kHeight);
    // The application's colours, whatever the panel behind: the style's
    // media icons are drawn for them.
    setPalette(QGuiApplication::palette());
    setAutoFillBackground(true);

    m_position = makeSlider(this);
    m_position->setRange(0, 0);
    m_position->setToolTip(QStringLiteral("再生位置"));
    m_playPause = makeButton(this, QStyle::SP_MediaPause, playertext::pause());
    m_stop = makeButton(this, QStyle::SP_MediaStop, playertext::stop());
    m_mute = makeButton(this, QStyle::SP_MediaVolume, playertext::mute());
    m_mute->setCheckable(true);
    m_volume = makeSlider(this);
    m_volume->setRange(0, 100);
    m_volume->setFixedWidth(56);
    m_volume->setToolTip(QStringLiteral("音量"));
    // Made after the sliders, so it is destroyed after them too.
    auto *sliderStyle = new JumpingSliderStyle;
    sliderStyle->setParent(this);
    m_position->setStyle(sliderStyle);
    m_volume->setStyle(sliderStyle);
    m_time = new QLabel(this);
    m_time->setAlignment(Qt::AlignCenter);
    QFont small = font();
    small.setPixelSize(10);
    m_time->setFont(small);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(1);
    buttons->addWidget(m_playPause);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_time, 1);
    buttons->addWidget(m_mute);
    buttons->addWidget(m_volume);
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(0);
    rows->addWidget(m_position);
    rows->addLayout(buttons);

    connect(m_playPause, &QToolButton::clicked, this, &PlayerTransportBar::playPauseClicked);
    connect(m_stop, &QToolButton::clicked, this, &PlayerTransportBar::stopClicked);
    connect(m_mute, &QToolButton::clicked, this, &PlayerTransportBar::muteRequested);
    // Dragging seeks as it goes; the release seeks to where the handle ended.
    connect(m_position, &QSlider::sliderMoved, this,
            [this](int milliseconds) { emit seekRequested(milliseconds / 1000.0); });
    connect(m_position, &QSlider::sliderReleased, this,
            [this] { emit seekRequested(m_position->value() / 1000.0); });
    connect(m_volume, &QSlider::valueChanged, this, &PlayerTransportBar::volumeRequested);

    setLoaded(false);
    updateTime();
}

void PlayerTransportBar::setPosition(double seconds)
{
    m_seconds = seconds;
    if (!m_position->isSliderDown())
        m_position->setValue(int(std::lround(seconds * 1000)));
    updateTime();
}

void PlayerTransportBar::setDuration(double seconds)
{
    m_duration = seconds;
    m_position->setRange(0, int(std::lround(qBound(0.0, seconds, 1.0e6) * 1000)));
    updateTime();
}

void PlayerTransportBar::setPaused(bool paused)
{
    m_paused = paused;
    m_playPause->setIcon(style()->standardIcon(paused ? QStyle::SP_MediaPlay : QStyle::SP_MediaPause));
    m_playPause->setToolTip(paused ? playertext::play() : playertext::pause());
}

void PlayerTransportBar::setVolume(int volume)
{
    const QSignalBlocker blocker(m_volume);
    m_volume->setValue(volume);
}

void PlayerTransportBar::setMuted(bool muted)
{
    m_mute->setChecked(muted);
    m_mute->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
}

void PlayerTransportBar::setLoaded(bool loaded)
{
    m_playPause->setEnabled(loaded);
    m_stop->setEnabled(loaded);
    m_position->setEnabled(loaded);
    if (!loaded) {
        setDuration(0);
        setPosition(0);
    }
}

QString PlayerTransportBar::formatTime(double seconds)
{
    const qint64 total = std::isfinite(seconds) && seconds > 0 ? qint64(seconds) : 0;
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 % 60;
    const qint64 secs = total % 60;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(secs, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(minutes).arg(secs, 2, 10, QLatin1Char('0'));
}

void PlayerTransportBar::updateTime()
{
    m_time->setText(formatTime(m_seconds) + QStringLiteral(" / ") + formatTime(m_duration));
}
