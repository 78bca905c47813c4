#include "sorting/SortQueue.h"

#include "platform/ThreadPriority.h"

#include <algorithm>

SortQueue::SortQueue(QObject *parent)
    : QObject(parent)
    , m_worker([this] { work(); })
{
}

SortQueue::~SortQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void SortQueue::add(Task task)
{
    m_pending.push_back(task.id);
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.push_back(std::move(task));
    }
    m_wake.notify_one();
}

bool SortQueue::withdraw(qint64 id)
{
    {
        const std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_waiting.begin(), m_waiting.end(),
            [id](const Task &task) { return task.id == id; });
        if (found == m_waiting.end())
            return false;
        m_waiting.erase(found);
    }
    forget(id);
    if (m_pending.empty())
        emit drained();
    return true;
}

void SortQueue::forget(qint64 id)
{
    const auto found = std::find(m_pending.begin(), m_pending.end(), id);
    if (found != m_pending.end())
        m_pending.erase(found);
}

bool SortQueue::isPending(qint64 id) const
{
    return std::find(m_pending.begin(), m_pending.end(), id) != m_pending.end();
}

void SortQueue::post(std::function<void()> call)
{
    // Calls posted to the queue die with it, unrun.
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void SortQueue::work()
{
    // Copying yields to the player and the window.
    lowerThreadPriority();
    for (;;) {
        Task task;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
            // Stopping still empties the queue first.
            if (m_waiting.empty())
                return;
            task = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        const qint64 id = task.id;
        post([this, id] { emit started(id); });

        int reported = 0;
        const auto progress = [&](qint64 copied, qint64 total) {
            const int percent = total > 0 ? int(std::min<qint64>(100, copied * 100 / total)) : 100;
            if (percent == reported)
                return;
            reported = percent;
            post([this, id, percent] { emit progressed(id, percent); });
        };
        const Result result = task.run(progress);

        post([this, id, result] {
            forget(id);
            emit finished(id, result);
            if (m_pending.empty())
                emit drained();
        });
    }
}
