#pragma once
// The file operations of the sort session run here, on a thread of the
// queue's own, one after another in the order they were added, so the
// window never waits for a disk.
//
// The queue knows nothing of what a task does: the caller hands in the
// work and hears back through the signals, which are raised on the thread
// that owns the queue. A task counts as pending until its finished signal
// has been raised, or until waitFor() has handed back its result.
//
// A task that is quick on a healthy disk (a rename) can be waited for with
// waitFor(): the owner's thread waits while the task works, and goes on
// without it once the task says it takes long (a copy) or lies blocked on
// a device that does not answer. A task blocked that way for kStalledMs is
// reported as stalled. Destroying the queue first finishes every task
// still waiting, as long as its work goes on; a worker blocked on a device
// for kGiveUpMs, or one given up with abandon(), is left to itself and
// never waited for: it owns what it needs, and tasks that had not begun
// are dropped.
#include "platform/FileOperations.h"
#include "platform/WorkWatch.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

class SortQueue : public QObject
{
    Q_OBJECT

public:
    static constexpr int kStalledMs = 2000;
    static constexpr int kGiveUpMs = 1000;

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

    // Waits for task id as long as it works and has not said it takes long
    // (patience): its result when it has ended, and it is then no longer
    // pending (no finished signal comes for it); none otherwise.
    std::optional<Result> waitFor(qint64 id, const Patience &patience);
    // Called by a running task on its own thread: it will take a while, and
    // whoever waits for it goes on.
    static void taskTakesLong();

    // Drops the tasks that have not begun and leaves the running one to
    // its thread, which nothing waits for any more.
    void abandon();
    // Finishes every task still waiting, as long as the work goes on: true
    // when all are done, false when the queue had to give them up. No task
    // can be added afterwards.
    bool finish();

    // Tasks running or waiting, as the owner's thread has heard of them.
    int pending() const { return int(m_pending.size()); }
    bool isIdle() const { return m_pending.empty(); }
    bool isPending(qint64 id) const;
    // The task added first of those pending (the one running or about to),
    // and the one added last; 0 when none is pending.
    qint64 oldest() const { return m_pending.empty() ? 0 : m_pending.front(); }
    qint64 newest() const { return m_pending.empty() ? 0 : m_pending.back(); }
    // The running task has lain blocked on a device for kStalledMs.
    bool isStalled() const { return m_stalled; }

signals:
    void started(qint64 id);
    // The share of the running task's bytes copied, raised when it changes.
    void progressed(qint64 id, int percent);
    void finished(qint64 id, const SortQueue::Result &result);
    // The last pending task has finished.
    void drained();
    void stalledChanged(bool stalled);

private:
    struct Shared;
    static void work(std::shared_ptr<Shared> shared);
    void forget(qint64 id);
    void checkStalled();
    // Waits for the worker to end while it works; false when it lies blocked.
    bool waitForWorker();

    // On the owner's thread: ids of tasks whose finished signal is to come.
    std::deque<qint64> m_pending;
    std::map<qint64, std::shared_ptr<WorkWatch>> m_watches;
    bool m_stalled = false;
    QTimer m_stallCheck;

    // Shared with the worker, which may outlive the queue.
    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
};
