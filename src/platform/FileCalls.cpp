#include "platform/FileCalls.h"

#include <algorithm>

FileCalls::FileCalls(QObject *owner)
    : QObject(owner)
{
    m_slowTimer.setSingleShot(true);
    connect(&m_slowTimer, &QTimer::timeout, this, [this] {
        if (!m_waiting || m_slow)
            return;
        m_slow = true;
        emit slow();
    });
}

quint64 FileCalls::beginCall()
{
    m_slowTimer.stop();
    m_waiting = false;
    m_slow = false;
    m_started.start();
    return ++m_calls;
}

Patience FileCalls::patienceFor(const stalledmounts::Mounts &mounts, Patience patience)
{
    if (stalledmounts::anyStalled(mounts.points))
        patience.blockedMs = 1;
    else if (mounts.local)
        patience.blockedMs = std::max(patience.blockedMs, kLocalBlockedMs);
    return patience;
}

bool FileCalls::waitForAnswer(WorkWatch &watch, const stalledmounts::Mounts &mounts) const
{
    return watch.wait(patienceFor(mounts));
}

void FileCalls::awaitLater(quint64 call)
{
    if (call != m_calls)
        return;
    m_waiting = true;
    m_slowTimer.start(std::max<qint64>(0, kShowWaitingMs - m_started.elapsed()));
}

bool FileCalls::endCall(quint64 call)
{
    if (call != m_calls)
        return false;
    m_slowTimer.stop();
    m_waiting = false;
    m_slow = false;
    return true;
}

void FileCalls::cancel()
{
    beginCall();
}
