#pragma once
// File-system calls made for one purpose of one object (a destination
// slot's folder check, the file list's folder reads), run on worker
// threads so that the GUI thread never waits on a device.
//
// start() hands the work to a worker and waits for it as long as the
// worker is working (kPatience): on a healthy disk the answer comes within
// that time and start() calls `answer` before it returns, so the caller's
// order of events is what it would be with the call made in place. When
// the worker lies blocked (a share or a drive that does not answer), start()
// returns without an answer; the answer then comes later on this object's
// thread, and slow() is raised once the call has gone kShowWaitingMs
// without one, so the owner can show it waits. A mount that already has a
// call that does not answer is not waited for at all.
//
// Only the latest call counts: starting another one, or cancel(), makes
// the answer of the one under way stale, and it is dropped. Nothing is
// answered once this object (a child of its owner) is gone. The workers
// themselves are never waited for (WorkerThreads).
#include "platform/StalledMounts.h"
#include "platform/WorkWatch.h"
#include "platform/WorkerThreads.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QTimer>

#include <functional>
#include <memory>

class FileCalls : public QObject
{
    Q_OBJECT

public:
    // How long the caller waits for a worker that works, or lies blocked.
    // A healthy share answers a folder's look within a millisecond or two;
    // one that does not answer costs the window's start this much once.
    static constexpr Patience kPatience {8, 1000};
    // How long a worker may lie blocked on local disks only: there it waits
    // for the disk, which a busy machine keeps for longer, never for a
    // device that is gone. Still below kShowWaitingMs.
    static constexpr int kLocalBlockedMs = 250;

    // The patience for a call on mounts: the local one on local disks, a
    // single look at a mount that already has a call without an answer.
    static Patience patienceFor(const stalledmounts::Mounts &mounts, Patience patience = kPatience);
    // When a call without an answer shows as waiting.
    static constexpr int kShowWaitingMs = 300;

    explicit FileCalls(QObject *owner);

    // Runs work on a worker; `answer` gets its result on this object's
    // thread, before start() returns when it comes in time. paths are what
    // the work touches (absolute, or relative to the working directory):
    // their mounts decide whether the call is waited for.
    template <typename T>
    void start(const QByteArrayList &paths, std::function<T()> work, std::function<void(T)> answer)
    {
        call<T>(paths, std::move(work), std::move(answer), workerthreads::Lane::Normal, true);
    }
    // The same without waiting at all, at a lower priority: work the caller
    // does not need before it goes on.
    template <typename T>
    void startInBackground(const QByteArrayList &paths, std::function<T()> work, std::function<void(T)> answer)
    {
        call<T>(paths, std::move(work), std::move(answer), workerthreads::Lane::Background, false);
    }

    // The call under way is forgotten: its answer will be dropped.
    void cancel();
    // A call has been started and has not answered yet.
    bool isWaiting() const { return m_waiting; }
    // It has gone kShowWaitingMs without an answer.
    bool isSlow() const { return m_slow; }

signals:
    void slow();

private:
    template <typename T>
    void call(const QByteArrayList &paths, std::function<T()> work, std::function<void(T)> answer,
        workerthreads::Lane lane, bool wait);
    quint64 beginCall();
    // Waits in the caller's thread for the work; true when it has answered.
    bool waitForAnswer(WorkWatch &watch, const stalledmounts::Mounts &mounts) const;
    void awaitLater(quint64 call);
    // Whether call is still the latest; ends it if so.
    bool endCall(quint64 call);

    quint64 m_calls = 0;
    bool m_waiting = false;
    bool m_slow = false;
    QElapsedTimer m_started;
    QTimer m_slowTimer;
};

template <typename T>
void FileCalls::call(const QByteArrayList &paths, std::function<T()> work, std::function<void(T)> answer,
    workerthreads::Lane lane, bool wait)
{
    const quint64 call = beginCall();
    struct Pending
    {
        WorkWatch watch;
        QPromise<T> promise;
        QFuture<T> future = promise.future();
        std::shared_ptr<stalledmounts::Mark> mark;
    };
    const stalledmounts::Mounts mounts = stalledmounts::mountsOf(paths);
    auto pending = std::make_shared<Pending>();
    pending->mark = std::make_shared<stalledmounts::Mark>(mounts.points);
    pending->promise.start();
    workerthreads::run([pending, work = std::move(work)] {
        pending->watch.begin();
        pending->promise.addResult(work());
        pending->promise.finish();
        pending->mark->answered();
        pending->watch.end();
    }, lane);

    if (wait && waitForAnswer(pending->watch, mounts)) {
        endCall(call);
        answer(pending->future.result());
        return;
    }
    if (wait)
        pending->mark->stall();
    // The watcher dies with this object, and with it the answer.
    auto *watcher = new QFutureWatcher<T>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, call, answer = std::move(answer)] {
        watcher->deleteLater();
        if (endCall(call))
            answer(watcher->result());
    });
    watcher->setFuture(pending->future);
    awaitLater(call);
}
