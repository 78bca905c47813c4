#include "app/WindowsMediaPlayer.h"

TWindowsMediaPlayer::TWindowsMediaPlayer(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
}

void TWindowsMediaPlayer::setURL(const QByteArray &path)
{
    m_url = path;
}
