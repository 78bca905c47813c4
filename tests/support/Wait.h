#pragma once
// Waiting for asynchronous work in tests: runs the event loop until a
// condition holds or a generous timeout passes. Never used to measure time.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}
