#include "platform/FileCalls.h"

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

bool FileCalls::waitForAnswer(WorkWatch &watch, const QByteArrayList &mounts) const
{
    // A mount known not to answer is given one look, not the full patience.
    Patience patience = kPatience;
    if (stalledmounts::anyStalled(mounts))
        patience.blockedMs = 1;
    return watch.wait(patience);
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
