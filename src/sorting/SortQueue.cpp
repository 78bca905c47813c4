#include "sorting/SortQueue.h"

#include "platform/ThreadPriority.h"

#include <QElapsedTimer>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace {

// The watch of the task running on this thread.
thread_local WorkWatch *t_running = nullptr;

constexpr int kStallCheckMs = 250;

} // namespace

struct SortQueue::Shared
{
    std::mutex mutex;
    std::condition_variable wake;
    struct Waiting
    {
        Task task;
        std::shared_ptr<WorkWatch> watch;
    };
    std::deque<Waiting> waiting;
    // Results of tasks that have ended, until the owner takes them.
    std::map<qint64, Result> results;
    bool stopping = false;
    bool abandoned = false;
    bool ended = false;
    // The queue to tell; none once it is gone or has given up.
    SortQueue *owner = nullptr;

    // Runs call with the owner on the owner's thread, if there still is an
    // owner. Calls posted to the queue die with it, unrun.
    void post(std::function<void(SortQueue *owner)> call)
    {
        const std::lock_guard lock(mutex);
        if (owner)
            QMetaObject::invokeMethod(owner, [call = std::move(call), to = owner] { call(to); }, Qt::QueuedConnection);
    }
};

SortQueue::SortQueue(QObject *parent)
    : QObject(parent)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_worker = std::thread(&SortQueue::work, m_shared);
    m_stallCheck.setInterval(kStallCheckMs);
    connect(&m_stallCheck, &QTimer::timeout, this, &SortQueue::checkStalled);
}

SortQueue::~SortQueue()
{
    finish();
}

bool SortQueue::finish()
{
    // Given up already: nothing is waited for.
    if (!m_worker.joinable())
        return m_pending.empty();
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->stopping = true;
    }
    m_shared->wake.notify_all();
    if (waitForWorker()) {
        m_worker.join();
        return true;
    }
    abandon();
    return false;
}

bool SortQueue::waitForWorker()
{
    std::unique_lock lock(m_shared->mutex);
    for (;;) {
        if (m_shared->wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_shared->ended; }))
            return true;
        // The task running now is the oldest one the worker has taken.
        std::shared_ptr<WorkWatch> running;
        for (const auto &[id, watch] : m_watches) {
            if (watch->hasEnded())
                continue;
            running = watch;
            break;
        }
        lock.unlock();
        const bool blocked = running && running->blockedMs() >= kGiveUpMs;
        lock.lock();
        if (blocked)
            return false;
    }
}

void SortQueue::abandon()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->abandoned = true;
        m_shared->waiting.clear();
        m_shared->owner = nullptr;
    }
    m_shared->wake.notify_all();
    if (m_worker.joinable())
        m_worker.detach();
    m_pending.clear();
    m_watches.clear();
    m_stallCheck.stop();
    m_stalled = false;
}

void SortQueue::add(Task task)
{
    if (!m_worker.joinable())
        return;
    m_pending.push_back(task.id);
    auto watch = std::make_shared<WorkWatch>();
    m_watches[task.id] = watch;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->waiting.push_back({std::move(task), watch});
    }
    m_shared->wake.notify_all();
    if (!m_stallCheck.isActive())
        m_stallCheck.start();
}

bool SortQueue::withdraw(qint64 id)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        auto &waiting = m_shared->waiting;
        const auto found = std::find_if(waiting.begin(), waiting.end(),
            [id](const Shared::Waiting &each) { return each.task.id == id; });
        if (found == waiting.end())
            return false;
        waiting.erase(found);
    }
    forget(id);
    if (m_pending.empty())
        emit drained();
    return true;
}

std::optional<SortQueue::Result> SortQueue::waitFor(qint64 id, const Patience &patience)
{
    const auto found = m_watches.find(id);
    if (found == m_watches.end() || !found->second->wait(patience))
        return std::nullopt;
    Result result;
    {
        const std::lock_guard lock(m_shared->mutex);
        result = m_shared->results[id];
        m_shared->results.erase(id);
    }
    // What the worker posts about it finds it no longer pending.
    forget(id);
    return result;
}

void SortQueue::taskTakesLong()
{
    if (t_running)
        t_running->release();
}

void SortQueue::forget(qint64 id)
{
    const auto found = std::find(m_pending.begin(), m_pending.end(), id);
    if (found != m_pending.end())
        m_pending.erase(found);
    m_watches.erase(id);
    if (m_pending.empty())
        checkStalled();
}

bool SortQueue::isPending(qint64 id) const
{
    return std::find(m_pending.begin(), m_pending.end(), id) != m_pending.end();
}

void SortQueue::checkStalled()
{
    const auto found = m_watches.find(oldest());
    const bool stalled = found != m_watches.end() && found->second->blockedMs() >= kStalledMs;
    if (m_pending.empty())
        m_stallCheck.stop();
    if (stalled == m_stalled)
        return;
    m_stalled = stalled;
    emit stalledChanged(stalled);
}

void SortQueue::work(std::shared_ptr<Shared> shared)
{
    // Copying yields to the player and the window.
    lowerThreadPriority();
    for (;;) {
        Shared::Waiting next;
        {
            std::unique_lock lock(shared->mutex);
            shared->wake.wait(lock, [&] { return shared->stopping || shared->abandoned || !shared->waiting.empty(); });
            // Stopping still empties the queue first; giving up does not.
            if (shared->abandoned || shared->waiting.empty()) {
                shared->ended = true;
                shared->wake.notify_all();
                return;
            }
            next = std::move(shared->waiting.front());
            shared->waiting.pop_front();
        }
        const qint64 id = next.task.id;
        WorkWatch &watch = *next.watch;
        shared->post([id](SortQueue *owner) {
            if (owner->isPending(id))
                emit owner->started(id);
        });

        int reported = 0;
        const auto progress = [&](qint64 copied, qint64 total) {
            const int percent = total > 0 ? int(std::min<qint64>(100, copied * 100 / total)) : 100;
            if (percent == reported)
                return;
            reported = percent;
            shared->post([id, percent](SortQueue *owner) {
                if (owner->isPending(id))
                    emit owner->progressed(id, percent);
            });
        };
        watch.begin();
        t_running = &watch;
        const Result result = next.task.run(progress);
        t_running = nullptr;
        {
            const std::lock_guard lock(shared->mutex);
            shared->results[id] = result;
        }
        watch.end();

        shared->post([id, result](SortQueue *owner) {
            {
                const std::lock_guard lock(owner->m_shared->mutex);
                owner->m_shared->results.erase(id);
            }
            // Taken by waitFor() already.
            if (!owner->isPending(id))
                return;
            owner->forget(id);
            emit owner->finished(id, result);
            if (owner->m_pending.empty())
                emit owner->drained();
        });
    }
}
