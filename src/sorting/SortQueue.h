#pragma once
// The file operations that take time (a move to another file system, any
// copy) run here, on a thread of the queue's own, one after another in the
// order they were added, so the window never waits for a disk.
//
// The queue knows nothing of what a task does: the caller hands in the
// work and hears back through the signals, which are raised on the thread
// that owns the queue. A task counts as pending until its finished signal
// has been raised. Destroying the queue first finishes every task still
// waiting: a file on its way is never abandoned half-way.
#include "platform/FileOperations.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

class SortQueue : public QObject
{
    Q_OBJECT

public:
    // How a task ended: why it failed (empty for success), and a code of
    // the task's own that the queue hands back untouched.
    struct Result
    {
        std::error_code error;
        int code = 0;
    };

    struct Task
    {
        // The caller's number for the task, unique among pending ones; the
        // signals and withdraw() name the task by it.
        qint64 id = 0;
        // The work; it reports the bytes copied through progress.
        std::function<Result(const FileOperations::Progress &progress)> run;
    };

    explicit SortQueue(QObject *parent = nullptr);
    ~SortQueue() override;

    void add(Task task);
    // Takes back a task that has not started yet; false when it has.
    bool withdraw(qint64 id);

    // Tasks running or waiting, as the owner's thread has heard of them.
    int pending() const { return int(m_pending.size()); }
    bool isIdle() const { return m_pending.empty(); }
    bool isPending(qint64 id) const;
    // The task added first of those pending (the one running or about to),
    // and the one added last; 0 when none is pending.
    qint64 oldest() const { return m_pending.empty() ? 0 : m_pending.front(); }
    qint64 newest() const { return m_pending.empty() ? 0 : m_pending.back(); }

signals:
    void started(qint64 id);
    // The share of the running task's bytes copied, raised when it changes.
    void progressed(qint64 id, int percent);
    void finished(qint64 id, const SortQueue::Result &result);
    // The last pending task has finished.
    void drained();

private:
    void work();
    void post(std::function<void()> call);
    void forget(qint64 id);

    // On the owner's thread: ids of tasks whose finished signal is to come.
    std::deque<qint64> m_pending;

    // Shared with the worker.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_waiting;
    bool m_stopping = false;
    std::thread m_worker;
};
