#pragma once
// The compact transport bar at the foot of the player control: play/pause,
// stop, a position slider that seeks, elapsed and total time, mute and a
// volume slider.
//
// It only shows what it is told and reports what the user asks for; the
// player control connects it to the backend. None of its parts takes the
// keyboard focus, so a click on it leaves the focus where it was (the file
// list) and the sorting keys keep working.
#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

class PlayerTransportBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 46;

    explicit PlayerTransportBar(QWidget *parent = nullptr);

    void setPosition(double seconds);
    void setDuration(double seconds);
    void setPaused(bool paused);
    void setVolume(int volume);
    void setMuted(bool muted);
    // Without a file the buttons that need one are disabled.
    void setLoaded(bool loaded);

    // "m:ss", or "h:mm:ss" from an hour on.
    static QString formatTime(double seconds);

    QToolButton *playPauseButton() const { return m_playPause; }
    QToolButton *stopButton() const { return m_stop; }
    QToolButton *muteButton() const { return m_mute; }
    QSlider *positionSlider() const { return m_position; }
    QSlider *volumeSlider() const { return m_volume; }
    QLabel *timeLabel() const { return m_time; }

signals:
    void playPauseClicked();
    void stopClicked();
    void seekRequested(double seconds);
    void volumeRequested(int volume);
    void muteRequested(bool muted);

private:
    void updateTime();

    QToolButton *m_playPause;
    QToolButton *m_stop;
    QToolButton *m_mute;
    QSlider *m_position;
    QSlider *m_volume;
    QLabel *m_time;
    double m_seconds = 0;
    double m_duration = 0;
    bool m_paused = false;
};
