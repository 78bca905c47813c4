#include "sorting/SortSession.h"

#include "platform/FileCalls.h"
#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/GatedFileSystem.h"
#include "platform/Paths.h"
#include "platform/WorkerThreads.h"
#include "sorting/LeftoverSweep.h"

#include <climits>

namespace {

using sortjournal::Kind;

// What a sort's task hands back besides its error.
enum SortCode : int {
    kSorted = 0,
    kTrashRefused = 1,
    // No regular file at the source, or the target is the file itself.
    kNothingToDo = 2,
};

SortQueue::Result fromSort(const sortoperation::Result &result)
{
    return {result.error, result.trashRefused ? kTrashRefused : kSorted};
}

sortoperation::Result toSort(const SortQueue::Result &result)
{
    return {result.error, result.code == kTrashRefused};
}

SortQueue::Result fromUndo(const sortundo::Result &result)
{
    return {result.error, int(result.outcome)};
}

sortundo::Result toUndo(const SortQueue::Result &result)
{
    return {sortundo::Outcome(result.code), result.error};
}

bool cameBack(const sortundo::Result &result)
{
    return result.outcome == sortundo::Outcome::Undone || result.outcome == sortundo::Outcome::ReplacedNotRestored;
}

// How long the caller waits for a rename that works: a same-named file
// sent to the trash on another disk can make it a copy.
constexpr Patience kRenamePatience {FileCalls::kPatience.blockedMs, 250};

} // namespace

// The file system (behind a gate that giving up closes), the operations on
// it and the journal: shared with every task, so that a task left to a
// thread that hangs still has them.
struct SortSession::Tools
{
    explicit Tools(FileSystem &fileSystem, const QByteArray &journalPath)
        : gate(fileSystem)
        , fileOps(gate)
        , journal(journalPath)
    {
    }
    GatedFileSystem gate;
    FileOperations fileOps;
    SortJournal journal;
};

SortSession::SortSession(const QByteArray &journalPath, FileSystem &fileSystem, QObject *parent)
    : QObject(parent)
    , m_tools(std::make_shared<Tools>(fileSystem, journalPath))
    , m_journal(&m_tools->journal)
    , m_checks(new FileCalls(this))
{
    connect(&m_queue, &SortQueue::started, this, [this](qint64 id) {
        m_progressId = id;
        m_progressPercent = 0;
        emit progressChanged();
    });
    connect(&m_queue, &SortQueue::progressed, this, [this](qint64 id, int percent) {
        m_progressId = id;
        m_progressPercent = percent;
        emit progressChanged();
    });
    connect(&m_queue, &SortQueue::stalledChanged, this, &SortSession::progressChanged);
    connect(&m_queue, &SortQueue::finished, this, &SortSession::taskFinished);
    connect(&m_queue, &SortQueue::drained, this, [this] {
        emit progressChanged();
        emit drained();
    });
}

SortSession::~SortSession()
{
    // A task given up fails at its next step, should its device answer.
    if (!m_queue.finish())
        m_tools->gate.close();
    // The cleaner works on the caller's file system: it is waited for,
    // unless it lies blocked on a device.
    if (m_cleaner)
        m_cleaner->wait({SortQueue::kGiveUpMs, INT_MAX});
}

SortQueue::Task SortSession::work(const Task &task) const
{
    const sortjournal::Entry entry = task.entry;
    if (task.undo) {
        return {0, [tools = m_tools, entry](const FileOperations::Progress &progress) {
            // Moving a file back to another file system copies it.
            if (sortundo::undoCopiesAcross(entry, tools->fileOps))
                SortQueue::taskTakesLong();
            return fromUndo(sortundo::undo(entry, tools->fileOps, progress));
        }};
    }
    return {0, [tools = m_tools, entry](const FileOperations::Progress &progress) {
        FileSystem &fs = tools->gate;
        // Nothing is there to send, or the target is the file's own place.
        if (!fs.isRegularFile(entry.source)
            || (entry.kind != Kind::Reject && fs.sameFile(entry.source, entry.target)))
            return SortQueue::Result {{}, kNothingToDo};
        const qint64 id = tools->journal.begin(entry.kind, entry.source, entry.target);
        // A move into a folder that is not there fails at once; within one
        // file system it is a rename. Anything else copies.
        const QByteArray folder = paths::directoryPart(entry.target);
        const bool renames = entry.kind == Kind::Reject
            || (entry.kind == Kind::Move
                && (!fs.isDirectory(folder) || tools->fileOps.sameFileSystem(entry.source, folder)));
        if (!renames)
            SortQueue::taskTakesLong();
        // A reject copies only when the trash lies on another file system:
        // the copy's first progress says so.
        const FileOperations::Progress copying = [&progress](qint64 copied, qint64 total) {
            if (copied == 0)
                SortQueue::taskTakesLong();
            progress(copied, total);
        };
        return fromSort(sortoperation::perform(tools->journal, tools->fileOps, id, entry.kind, entry.source,
            entry.target, entry.kind == Kind::Reject ? copying : progress));
    }};
}

std::optional<SortQueue::Result> SortSession::run(const Task &task, bool waitForIt)
{
    const qint64 id = ++m_lastTask;
    m_tasks[id] = task;
    SortQueue::Task queued = work(task);
    queued.id = id;
    m_queue.add(std::move(queued));
    if (waitForIt) {
        const Patience patience =
            FileCalls::patienceFor(stalledmounts::mountsOf({task.entry.source, task.entry.target}), kRenamePatience);
        if (const std::optional<SortQueue::Result> result = m_queue.waitFor(id, patience)) {
            m_tasks.erase(id);
            checkJournal();
            return result;
        }
    }
    // A file on its way out of the folder is not listed again meanwhile.
    if (!task.undo && task.entry.kind != Kind::Copy)
        emit withheld(task.entry.source);
    emit progressChanged();
    return std::nullopt;
}

bool SortSession::worthSending(const QByteArray &file, const QByteArray &target)
{
    // Asked while earlier operations still wait. A device that does not
    // answer in time leaves the question to the task itself: a later
    // answer is not wanted, and cancel() drops it before it can come.
    std::optional<bool> worth;
    m_checks->start<bool>({file, target},
        [tools = m_tools, file, target] {
            FileSystem &fs = tools->gate;
            return fs.isRegularFile(file) && (target.isEmpty() || !fs.sameFile(file, target));
        },
        [&worth](bool answer) { worth = answer; });
    m_checks->cancel();
    return worth.value_or(true);
}

SortSession::Outcome SortSession::sortOrReject(Kind kind, const QByteArray &file, const QByteArray &target)
{
    Task task;
    task.entry.kind = kind;
    task.entry.source = file;
    task.entry.target = target;
    // Earlier operations still waiting keep their order.
    if (!m_queue.isIdle()) {
        if (!worthSending(file, target))
            return Outcome::NothingToDo;
        run(task, false);
        return Outcome::Queued;
    }
    const std::optional<SortQueue::Result> result = run(task, true);
    if (!result)
        return Outcome::Queued;
    if (result->code == kNothingToDo)
        return Outcome::NothingToDo;
    if (!result->error)
        return Outcome::Done;
    emit sortFailed({kind, file, target, toSort(*result), false});
    return Outcome::Failed;
}

SortSession::Outcome SortSession::sort(Kind kind, const QByteArray &file, const QByteArray &target)
{
    return sortOrReject(kind, file, target);
}

SortSession::Outcome SortSession::reject(const QByteArray &file)
{
    return sortOrReject(Kind::Reject, file, QByteArray());
}

void SortSession::taskFinished(qint64 id, const SortQueue::Result &result)
{
    const auto found = m_tasks.find(id);
    if (found == m_tasks.end())
        return;
    const Task task = found->second;
    m_tasks.erase(found);
    checkJournal();
    const sortjournal::Entry &entry = task.entry;
    if (task.undo) {
        reportUndo(entry, toUndo(result));
        return;
    }
    if (entry.kind != Kind::Copy)
        emit released(entry.source);
    if (result.error && result.code != kNothingToDo)
        emit sortFailed({entry.kind, entry.source, entry.target, toSort(result), true});
}

SortSession::UndoReply SortSession::undo()
{
    // The latest operation may still wait in the queue: it is taken back
    // before it begins; one under way is undone once it is done.
    if (!m_queue.isIdle())
        return withdrawNewest();
    const std::optional<sortjournal::Entry> latest = m_journal->latestUndoable();
    if (!latest)
        return {};
    Task task;
    task.entry = *latest;
    task.undo = true;
    const std::optional<SortQueue::Result> result = run(task, true);
    if (!result)
        return {UndoStart::Queued, task.entry};
    reportUndo(task.entry, toUndo(*result));
    return {UndoStart::Finished, task.entry};
}

SortSession::UndoReply SortSession::withdrawNewest()
{
    const auto found = m_tasks.find(m_queue.newest());
    if (found == m_tasks.end())
        return {};
    const qint64 newest = found->first;
    const Task task = found->second;
    if (!m_queue.withdraw(newest))
        return {task.undo ? UndoStart::UndoUnderWay : UndoStart::SortUnderWay, task.entry};
    // It never began: the file is where it was, and the journal never heard of it.
    m_tasks.erase(newest);
    emit progressChanged();
    if (task.entry.kind != Kind::Copy)
        emit released(task.entry.source);
    emit fileBack(task.entry.source);
    return {UndoStart::Withdrawn, task.entry};
}

void SortSession::reportUndo(const sortjournal::Entry &entry, const sortundo::Result &result)
{
    if (cameBack(result)) {
        m_journal->undone(entry.id);
        checkJournal();
    }
    emit undoFinished(entry, result);
    if (cameBack(result))
        emit fileBack(entry.source);
}

SortSession::Progress SortSession::progress() const
{
    Progress progress;
    const auto found = m_tasks.find(m_queue.oldest());
    if (found == m_tasks.end())
        return progress;
    progress.running = true;
    progress.undo = found->second.undo;
    progress.kind = found->second.entry.kind;
    progress.file = found->second.entry.source;
    progress.percent = found->first == m_progressId ? m_progressPercent : 0;
    progress.waiting = m_queue.pending() - 1;
    progress.stalled = m_queue.isStalled();
    return progress;
}

void SortSession::abandon()
{
    m_tools->gate.close();
    m_queue.abandon();
    m_tasks.clear();
    emit progressChanged();
}

void SortSession::removeLeftovers(const QByteArrayList &folders)
{
    auto watch = std::make_shared<WorkWatch>();
    m_cleaner = watch;
    // The journal's places are read here, before the worker starts.
    workerthreads::run([tools = m_tools, watch, folders, journal = m_journal->path(),
                           entries = m_journal->entries()] {
        watch->begin();
        leftoversweep::sweep(tools->gate, folders, journal, entries);
        watch->end();
    }, workerthreads::Lane::Background);
}

void SortSession::checkJournal()
{
    if (const std::error_code error = m_journal->takeWriteError())
        emit journalWriteFailed(error);
}
