#include "player/mpv/KindAhead.h"

#include "platform/FileCalls.h"

KindAhead::KindAhead(QObject *parent)
    : QObject(parent)
    , m_calls(new FileCalls(this))
{
}

void KindAhead::lookAt(const QByteArray &path)
{
    if (path == m_path)
        return;
    m_calls->cancel();
    m_path = path;
    m_kind.reset();
    if (path.isEmpty())
        return;
    m_calls->startInBackground<MediaSource::Kind>({path},
        [path] { return MediaSource::classify(path); },
        [this](MediaSource::Kind kind) { m_kind = kind; });
}

std::optional<MediaSource::Kind> KindAhead::kindOf(const QByteArray &path) const
{
    if (path != m_path)
        return std::nullopt;
    return m_kind;
}
