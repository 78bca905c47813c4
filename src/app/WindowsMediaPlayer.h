#pragma once
// The preview player control.
//
// For now a black surface that remembers its address; playback through
// libmpv comes with the player backend.
#include "platform/PreviewPlayer.h"

#include <QWidget>

class TWindowsMediaPlayer : public QWidget, public PreviewPlayer
{
    Q_OBJECT

public:
    explicit TWindowsMediaPlayer(QWidget *parent = nullptr);

    void setURL(const QByteArray &path) override;
    QByteArray URL() const override { return m_url; }

private:
    QByteArray m_url;
};
