#include "platform/WorkWatch.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace {

// How often the waiting thread looks at the worker at most, and how many
// looks its patience for a blocked worker is cut into: a look tells whether
// the worker ran at any time since the one before, so a long patience needs
// few (each wakes the waiting thread and reads /proc), and a call that ends
// before the first look costs the waiter nothing but the wait.
constexpr int kSampleMs = 2;
constexpr int kLooksPerPatience = 4;
// How long the waiting thread first looks without sleeping: a healthy
// disk's call ends within it, and the waiter neither reads the worker's
// state from /proc (100 µs and more after a pause) nor sleeps and waits to
// be woken again when the answer comes.
constexpr int kSpinUs = 150;
// After that it goes on looking without sleeping, up to kWorkingSpinUs in
// all, for as long as the worker is seen on a processor at every look
// kWorkingLookUs apart: a long read of a cached folder ends soon, while a
// worker that waits for the disk or for a processor gets the processor
// this thread would take.
constexpr int kWorkingSpinUs = 2000;
constexpr int kWorkingLookUs = 40;

// Nanoseconds on a processor by the thread whose clock this is; -1 when unknown.
long long processorTime(clockid_t clock)
{
    timespec now {};
    if (::clock_gettime(clock, &now) != 0)
        return -1;
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Spins until settled is set or `until`; true when it was set.
bool spinUntil(const std::atomic<bool> &settled, std::chrono::steady_clock::time_point until)
{
    while (!settled.load(std::memory_order_acquire)) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    return true;
}

QByteArray readSmallFile(const char *path)
{
    char buffer[512];
    FILE *file = std::fopen(path, "re");
    if (!file)
        return QByteArray();
    const size_t got = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    return QByteArray(buffer, qsizetype(got));
}

// 'R' while the thread runs or waits for a processor, 'S' or 'D' while it
// sleeps or waits in the kernel; 0 when unknown.
char threadState(pid_t tid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/stat", int(tid));
    const QByteArray stat = readSmallFile(path);
    // The command name in parentheses may hold anything: the state follows the last ")".
    const qsizetype close = stat.lastIndexOf(')');
    return close >= 0 && close + 2 < stat.size() ? stat[close + 2] : 0;
}

// Nanoseconds the thread has spent on a processor plus waiting for one.
unsigned long long scheduledTime(pid_t tid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/schedstat", int(tid));
    unsigned long long onProcessor = 0, waiting = 0;
    const QByteArray line = readSmallFile(path);
    if (std::sscanf(line.constData(), "%llu %llu", &onProcessor, &waiting) != 2)
        return 0;
    return onProcessor + waiting;
}

} // namespace

WorkWatch::WorkWatch()
{
    m_clock.start();
}

void WorkWatch::begin()
{
    const pid_t tid = pid_t(::syscall(SYS_gettid));
    clockid_t clock {};
    if (::pthread_getcpuclockid(::pthread_self(), &clock) == 0) {
        m_workerClock = clock;
        m_hasWorkerClock.store(true, std::memory_order_release);
    }
    const std::lock_guard lock(m_mutex);
    m_tid = tid;
    m_lastActiveMs = m_clock.elapsed();
}

void WorkWatch::end()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_settled.store(true, std::memory_order_release);
    m_changed.notify_all();
}

void WorkWatch::release()
{
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
    }
    m_settled.store(true, std::memory_order_release);
    m_changed.notify_all();
}

bool WorkWatch::hasEnded() const
{
    const std::lock_guard lock(m_mutex);
    return m_ended;
}

bool WorkWatch::isReleased() const
{
    const std::lock_guard lock(m_mutex);
    return m_released;
}

void WorkWatch::spinBriefly() const
{
    using std::chrono::microseconds;
    const auto start = std::chrono::steady_clock::now();
    if (spinUntil(m_settled, start + microseconds(kSpinUs)) || !m_hasWorkerClock.load(std::memory_order_acquire))
        return;
    long long worked = processorTime(m_workerClock);
    const auto last = start + microseconds(kWorkingSpinUs);
    for (auto look = std::chrono::steady_clock::now(); look < last && worked >= 0;) {
        look += microseconds(kWorkingLookUs);
        if (spinUntil(m_settled, look))
            return;
        const long long now = processorTime(m_workerClock);
        if (now <= worked)
            return; // blocked, or waiting for this processor
        worked = now;
    }
}

bool WorkWatch::sampleActive()
{
    if (m_tid == 0)
        return true; // not begun: it waits for a thread, not for a device
    const unsigned long long scheduled = scheduledTime(m_tid);
    const bool ran = scheduled != 0 && scheduled != m_scheduled;
    m_scheduled = scheduled;
    return ran || threadState(m_tid) == 'R';
}

int WorkWatch::blockedMs()
{
    const std::lock_guard lock(m_mutex);
    if (m_ended || m_tid == 0)
        return 0;
    const qint64 now = m_clock.elapsed();
    if (sampleActive())
        m_lastActiveMs = now;
    return int(now - m_lastActiveMs);
}

bool WorkWatch::wait(const Patience &patience)
{
    QElapsedTimer waited;
    waited.start();
    spinBriefly();
    std::unique_lock lock(m_mutex);
    // Released work is never taken here, even when it has ended by the
    // time the waiter looks (a slow GUI thread): its result always comes
    // the other way, so the caller's order does not hang on timing.
    if (m_released)
        return false;
    if (m_ended)
        return true;
    // What the worker did before the wait began does not count.
    sampleActive();
    qint64 lastActive = waited.elapsed();
    const int interval = std::max(kSampleMs, patience.blockedMs / kLooksPerPatience);
    for (;;) {
        const qint64 left = patience.totalMs - waited.elapsed();
        m_changed.wait_for(lock, std::chrono::milliseconds(std::max<qint64>(1, std::min<qint64>(interval, left))));
        if (m_released)
            return false;
        if (m_ended)
            return true;
        const qint64 now = waited.elapsed();
        if (sampleActive())
            lastActive = now;
        if (now - lastActive >= patience.blockedMs || now >= patience.totalMs)
            return false;
    }
}
