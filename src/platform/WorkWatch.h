#pragma once
// One piece of work on another thread, as the thread that waits for it
// sees it: whether it has ended, and whether its worker is working or lies
// blocked in the kernel (a disk or a network share that does not answer).
//
// The worker calls begin() on its own thread before the work and end()
// after it. The waiting thread calls wait() with its patience: it waits
// while the worker runs or waits for a processor, and gives up once the
// worker has lain blocked for patience.blockedMs without a break, or once
// patience.totalMs have passed. A busy machine therefore never makes a call
// on a healthy disk count as one that does not answer, while a call stuck
// on a device is given up after a few milliseconds. The worker may also
// release() the waiter early (work it knows will take long).
//
// Whether the worker is blocked is read from /proc (the thread's state and
// its scheduler times); where that cannot be read, all waiting counts as
// blocked.
#include <QElapsedTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sys/types.h>
#include <time.h>

struct Patience
{
    // How long the worker may lie blocked without a break.
    int blockedMs = 15;
    // How long to wait in all, however busy the worker is.
    int totalMs = 1000;
};

class WorkWatch
{
public:
    WorkWatch();
    WorkWatch(const WorkWatch &) = delete;
    WorkWatch &operator=(const WorkWatch &) = delete;

    // On the worker's thread.
    void begin();
    void end();
    void release();

    // On the waiting thread: true once the work has ended; false when the
    // waiter was released (whether or not the work has ended since) or its
    // patience ran out first.
    bool wait(const Patience &patience);
    bool hasEnded() const;
    bool isReleased() const;

    // How long the worker has lain blocked without a break, as far as the
    // samples taken so far tell (each call takes one); 0 before it began.
    int blockedMs();

private:
    // Waits a moment without sleeping for the work to end or be released.
    void spinBriefly() const;
    // Reads the worker's state; true when it has run or waited for a
    // processor since the last sample. Called with m_mutex held.
    bool sampleActive();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    pid_t m_tid = 0;
    bool m_ended = false;
    bool m_released = false;
    // Set with m_ended or m_released, read without the lock.
    std::atomic<bool> m_settled {false};
    // The worker's processor-time clock, set in begin().
    clockid_t m_workerClock {};
    std::atomic<bool> m_hasWorkerClock {false};
    // The worker's time on and waiting for a processor at the last sample.
    unsigned long long m_scheduled = 0;
    // Since the worker began, and when it was last seen active.
    QElapsedTimer m_clock;
    qint64 m_lastActiveMs = 0;
};
