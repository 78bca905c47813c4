#pragma once
// The sort feature without a window: sorting a file into a folder, sending
// it to the trash, and taking the latest of these back (undo).
//
// Every file operation runs on the queue's thread, never on the caller's.
// A move within one file system is a rename, and so is a reject: the
// caller waits for it while it works, so on a healthy disk it is done
// before the call returns. Whatever copies (a move to another file system,
// a copy, an undo that moves a file back across file systems), and a
// rename on a device that does not answer, goes on in the background while
// the caller goes on. Once anything waits there, later sorts and rejects
// queue behind it, so operations complete in the order given and the
// journal's order stays the order undo walks back. A task blocked on a
// device shows as stalled in the progress; abandon() gives such tasks up
// (their files stay whole where they were, see GatedFileSystem).
//
// The session owns the journal, the queue, what it knows of each queued
// task and the progress of the one running. It shows nothing: it tells its
// owner through signals, raised on the owner's thread (for an operation
// done at once, before the call returns), which files are on their way out
// of their folder (withheld until released), which file is back and should
// be made current again, what failed and why, and how far the queue is.
// Destroying the session first finishes every task still waiting, unless
// a task lies blocked on a device; nothing then waits for it.
#include "sorting/SortJournal.h"
#include "sorting/SortOperation.h"
#include "sorting/SortQueue.h"
#include "sorting/SortUndo.h"

#include <QByteArrayList>
#include <QObject>

#include <map>
#include <optional>
#include <memory>
#include <system_error>

class FileCalls;
class FileOperations;
class FileSystem;
class GatedFileSystem;
class WorkWatch;

// A sort or reject that did not happen; the file stayed where it was.
struct SortFailure
{
    sortjournal::Kind kind = sortjournal::Kind::Move;
    QByteArray source;
    QByteArray target;
    sortoperation::Result result;
    // It failed in the background, after the caller had moved on.
    bool queued = false;
};

class SortSession : public QObject
{
    Q_OBJECT

public:
    // Keeps its journal at journalPath (in memory only when empty) and
    // works on fileSystem, which must outlive the session.
    SortSession(const QByteArray &journalPath, FileSystem &fileSystem, QObject *parent = nullptr);
    ~SortSession() override;

    // What a sort or reject became at once.
    enum class Outcome {
        Done,        // completed
        Queued,      // runs in the background; a failure comes through sortFailed
        Failed,      // failed (sortFailed has been raised)
        NothingToDo, // no regular file, or the target is the file itself
    };

    // Moves or copies file to target (the full path it is to have).
    Outcome sort(sortjournal::Kind kind, const QByteArray &file, const QByteArray &target);
    // Sends file to the desktop's trash.
    Outcome reject(const QByteArray &file);

    // What an undo did at once.
    enum class UndoStart {
        NothingToUndo,
        // The latest sort or reject had not begun; it never will.
        Withdrawn,
        // The latest operation is under way: it can be undone once done.
        SortUnderWay,
        UndoUnderWay,
        // Moving the file back copies it: in the background.
        Queued,
        // Tried at once; undoFinished tells how it went.
        Finished,
    };
    struct UndoReply
    {
        UndoStart start = UndoStart::NothingToUndo;
        // The operation concerned (for NothingToUndo, none).
        sortjournal::Entry entry;
    };
    // Takes back the latest sort or reject not yet undone.
    UndoReply undo();

    // What runs in the background now.
    struct Progress
    {
        bool running = false;
        bool undo = false;
        sortjournal::Kind kind = sortjournal::Kind::Move;
        // The file the task moves or copies, as it was named before.
        QByteArray file;
        int percent = 0;
        // Tasks waiting behind it.
        int waiting = 0;
        // It lies blocked on a device that does not answer.
        bool stalled = false;
    };
    Progress progress() const;
    bool isIdle() const { return m_queue.isIdle(); }

    // Gives up the tasks in the background: those not begun are dropped,
    // and the one running fails at its next step once its device answers.
    void abandon();

    // Removes, on a worker thread, what killed copies left in folders, and
    // in the folders the journal knows of, where it is not the only copy of
    // anything.
    void removeLeftovers(const QByteArrayList &folders);

    const SortJournal &journal() const { return *m_journal; }

signals:
    // A file on its way out of its folder (no listing should show it), and
    // the end of that: it has left, or stayed after all.
    void withheld(const QByteArray &path);
    void released(const QByteArray &path);
    void sortFailed(const SortFailure &failure);
    // An undo has ended; result tells how.
    void undoFinished(const sortjournal::Entry &entry, const sortundo::Result &result);
    // The file at path is back where it was: undone, or withdrawn unbegun.
    void fileBack(const QByteArray &path);
    // The journal could not be written: a restart will not know of the
    // operations since.
    void journalWriteFailed(std::error_code error);
    void progressChanged();
    // The last task in the background has ended.
    void drained();

private:
    struct Task
    {
        sortjournal::Entry entry;
        bool undo = false;
    };
    struct Tools;

    // Runs task on the queue; its outcome when it ended while the caller
    // waited for it, none when it goes on in the background.
    std::optional<SortQueue::Result> run(const Task &task, bool waitForIt);
    SortQueue::Task work(const Task &task) const;
    Outcome sortOrReject(sortjournal::Kind kind, const QByteArray &file, const QByteArray &target);
    // Whether file can be sent at all, asked on a worker: false when it
    // answered that there is nothing to send.
    bool worthSending(const QByteArray &file, const QByteArray &target);
    void taskFinished(qint64 id, const SortQueue::Result &result);
    UndoReply withdrawNewest();
    void reportUndo(const sortjournal::Entry &entry, const sortundo::Result &result);
    void checkJournal();

    // What the tasks work with; they keep it alive, also once given up.
    std::shared_ptr<Tools> m_tools;
    SortJournal *m_journal;
    FileCalls *m_checks;
    // Queued tasks by the session's own number for them.
    std::map<qint64, Task> m_tasks;
    qint64 m_lastTask = 0;
    qint64 m_progressId = 0;
    int m_progressPercent = 0;
    std::shared_ptr<WorkWatch> m_cleaner;
    // Destroyed first: it finishes its tasks.
    SortQueue m_queue;
};
