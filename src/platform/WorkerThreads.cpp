#include "platform/WorkerThreads.h"

#include "platform/ThreadPriority.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace workerthreads {

namespace {

// How long an idle thread stays before it ends.
constexpr auto kIdleLifetime = std::chrono::seconds(30);

class Lanes
{
public:
    // Never destroyed: a detached thread may still be stuck in a job when
    // the process ends, and must find its lane where it left it.
    static Lanes &instance()
    {
        static Lanes *lanes = new Lanes;
        return *lanes;
    }

    void run(std::function<void()> job, Lane lane)
    {
        State &state = m_states[int(lane)];
        bool start = false;
        {
            const std::lock_guard lock(state.mutex);
            state.jobs.push_back(std::move(job));
            // A thread for the job when none waits for work; stuck ones do not count as waiting.
            start = state.idle < int(state.jobs.size()) && state.threads < kMaxThreads;
            if (start)
                ++state.threads;
        }
        if (start)
            std::thread([this, lane] { work(lane); }).detach();
        else
            state.wake.notify_one();
    }

    int threadCount(Lane lane)
    {
        State &state = m_states[int(lane)];
        const std::lock_guard lock(state.mutex);
        return state.threads;
    }

    int pendingCount(Lane lane)
    {
        State &state = m_states[int(lane)];
        const std::lock_guard lock(state.mutex);
        return state.threads - state.idle + int(state.jobs.size());
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<std::function<void()>> jobs;
        int threads = 0;
        int idle = 0;
    };

    void work(Lane lane)
    {
        if (lane == Lane::Background)
            lowerThreadPriority();
        State &state = m_states[int(lane)];
        std::unique_lock lock(state.mutex);
        for (;;) {
            ++state.idle;
            const bool got = state.wake.wait_for(lock, kIdleLifetime, [&] { return !state.jobs.empty(); });
            --state.idle;
            if (!got) {
                --state.threads;
                return;
            }
            std::function<void()> job = std::move(state.jobs.front());
            state.jobs.pop_front();
            lock.unlock();
            job();
            job = nullptr;
            lock.lock();
        }
    }

    State m_states[2];
};

} // namespace

void run(std::function<void()> job, Lane lane)
{
    Lanes::instance().run(std::move(job), lane);
}

int threadCount(Lane lane)
{
    return Lanes::instance().threadCount(lane);
}

int pendingCount(Lane lane)
{
    return Lanes::instance().pendingCount(lane);
}

} // namespace workerthreads
