#pragma once
// A preview player that only records what was written to it, for tests of
// the handlers that drive the player.
#include "platform/PreviewPlayer.h"

#include <QByteArrayList>

class RecordingPlayer : public PreviewPlayer
{
public:
    void setURL(const QByteArray &path) override
    {
        m_url = path;
        writes << path;
    }
    QByteArray URL() const override { return m_url; }

    // Every value written, oldest first.
    QByteArrayList writes;

private:
    QByteArray m_url;
};
