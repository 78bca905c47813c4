#pragma once
// Waiting in the event loop, for the benchmarks: until a signal comes, or for
// a while, and the time since a moment.
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace bench {

inline double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs the event loop until `signal` of `sender` comes (or ten seconds pass).
template <typename Sender, typename Signal>
void waitFor(Sender *sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop for ms milliseconds.
inline void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace bench
