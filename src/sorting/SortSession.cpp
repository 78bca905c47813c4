#include "sorting/SortSession.h"

#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "sorting/LeftoverSweep.h"

namespace {

using sortjournal::Kind;

// The queue hands back a code of the task's own: a sort tells whether the
// trash refused, an undo its outcome.
SortQueue::Result fromSort(const sortoperation::Result &result)
{
    return {result.error, result.trashRefused ? 1 : 0};
}

sortoperation::Result toSort(const SortQueue::Result &result)
{
    return {result.error, result.code != 0};
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

} // namespace

SortSession::SortSession(const QByteArray &journalPath, FileSystem &fileSystem, QObject *parent)
    : QObject(parent)
    , m_fs(fileSystem)
    , m_fileOps(std::make_unique<FileOperations>(fileSystem))
    , m_journal(std::make_unique<SortJournal>(journalPath))
{
    m_cleaner.setMaxThreadCount(1);
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
    connect(&m_queue, &SortQueue::finished, this, &SortSession::taskFinished);
    connect(&m_queue, &SortQueue::drained, this, [this] {
        emit progressChanged();
        emit drained();
    });
}

SortSession::~SortSession() = default;

bool SortSession::renamesNow(const QByteArray &source, const QByteArray &target) const
{
    // Earlier operations still waiting keep their order. A move into a
    // folder that is not there fails at once, so it need not wait either.
    const QByteArray folder = paths::directoryPart(target);
    return m_queue.isIdle() && (!m_fs.isDirectory(folder) || m_fileOps->sameFileSystem(source, folder));
}

SortSession::Outcome SortSession::sort(Kind kind, const QByteArray &file, const QByteArray &target)
{
    // Nothing is there to send, or the target is the file's own place.
    if (!m_fs.isRegularFile(file) || m_fs.sameFile(file, target))
        return Outcome::NothingToDo;
    const qint64 id = m_journal->begin(kind, file, target);
    checkJournal();
    if (kind == Kind::Move && renamesNow(file, target))
        return runNow(id, kind, file, target);
    Task task;
    task.entry.id = id;
    task.entry.kind = kind;
    task.entry.source = file;
    task.entry.target = target;
    enqueue(task);
    return Outcome::Queued;
}

SortSession::Outcome SortSession::reject(const QByteArray &file)
{
    if (!m_fs.isRegularFile(file))
        return Outcome::NothingToDo;
    const qint64 id = m_journal->begin(Kind::Reject, file, QByteArray());
    checkJournal();
    if (m_queue.isIdle())
        return runNow(id, Kind::Reject, file, QByteArray());
    Task task;
    task.entry.id = id;
    task.entry.kind = Kind::Reject;
    task.entry.source = file;
    enqueue(task);
    return Outcome::Queued;
}

SortSession::Outcome SortSession::runNow(qint64 id, Kind kind, const QByteArray &source, const QByteArray &target)
{
    const sortoperation::Result result = sortoperation::perform(*m_journal, *m_fileOps, id, kind, source, target);
    checkJournal();
    if (!result.error)
        return Outcome::Done;
    emit sortFailed({kind, source, target, result, false});
    return Outcome::Failed;
}

void SortSession::enqueue(const Task &task)
{
    const sortjournal::Entry &entry = task.entry;
    m_tasks[task.undo ? -entry.id : entry.id] = task;
    SortQueue::Task work;
    if (task.undo) {
        work = {-entry.id, [&fileOps = *m_fileOps, entry](const FileOperations::Progress &progress) {
            return fromUndo(sortundo::undo(entry, fileOps, progress));
        }};
    } else {
        // A file on its way out of the folder is not listed again meanwhile.
        if (entry.kind != Kind::Copy)
            emit withheld(entry.source);
        work = {entry.id, [&journal = *m_journal, &fileOps = *m_fileOps, entry](const FileOperations::Progress &progress) {
            return fromSort(sortoperation::perform(journal, fileOps, entry.id, entry.kind, entry.source,
                entry.target, progress));
        }};
    }
    m_queue.add(std::move(work));
    emit progressChanged();
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
    if (result.error)
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
    // Moving a file back to another file system copies it: in the background.
    if (sortundo::undoCopiesAcross(task.entry, *m_fileOps)) {
        enqueue(task);
        return {UndoStart::Queued, task.entry};
    }
    reportUndo(task.entry, sortundo::undo(task.entry, *m_fileOps));
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
    // It never began: the file is where it was, and the journal entry stays
    // one that was never done.
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
    return progress;
}

void SortSession::removeLeftovers(const QByteArrayList &folders)
{
    m_cleaner.start([&fs = m_fs, folders, journal = m_journal->path(), entries = m_journal->entries()] {
        leftoversweep::sweep(fs, folders, journal, entries);
    });
}

void SortSession::checkJournal()
{
    if (const std::error_code error = m_journal->takeWriteError())
        emit journalWriteFailed(error);
}
