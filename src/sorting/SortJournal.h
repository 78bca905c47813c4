#pragma once
// The journal of sorts and rejects that undo walks back through.
//
// Every operation is written before it starts and marked done once it has
// completed, each line appended to the file and handed to the system at
// once, so the journal outlives the program (a crash or kill included).
// One operation takes up to four lines; paths are percent-encoded bytes
// and every line ends in " ;":
//   B <id> <m|c|r> =<source> =<target> ;   begun (move, copy, reject)
//   R <id> =<path in trash> ;              a same-named file at the target
//                                          was sent to the trash first
//   D <id> =<target> <size> <time stamp> ;  done; the file now at target
//   U <id> ;                               undone
// Lines that do not read as one of these are skipped, among them a line
// torn by a crash. Beyond keep operations, the oldest are dropped
// when the file is next opened or grows well past it.
#include <QByteArray>

#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

namespace sortjournal {

enum class Kind { Move, Copy, Reject };

struct Entry
{
    qint64 id = 0;
    Kind kind = Kind::Move;
    // Where the file was.
    QByteArray source;
    // Where it went; for a reject, its place in the trash.
    QByteArray target;
    // Where a replaced same-named file went in the trash, or empty.
    QByteArray replacedInTrash;
    // The file at target when the operation was done: its size and time
    // stamp (filetime::stamp(), nanoseconds since 1970 for usual dates).
    qint64 size = -1;
    qint64 mtimeNs = 0;
    bool done = false;
    bool undone = false;
};

// The operations a journal's text holds, oldest first.
std::vector<Entry> parse(const QByteArray &text);

// The lines that write entry back.
QByteArray serialize(const Entry &entry);

// Size and modification time stamp (filetime::stamp()) of the file at path;
// false when it is missing or no regular file.
bool fileState(const QByteArray &path, qint64 &size, qint64 &mtimeNs);

} // namespace sortjournal

// Operations running on another thread write their lines through the same
// journal: every call may come from any thread.
class SortJournal
{
public:
    static constexpr int kKeep = 5000;

    // Opens (and reads) the journal at path; an empty path keeps it in memory only.
    explicit SortJournal(const QByteArray &path, int keep = kKeep);

    QByteArray path() const { return m_path; }

    // Writes that an operation is starting; returns its id.
    qint64 begin(sortjournal::Kind kind, const QByteArray &source, const QByteArray &target);
    // Writes where the file replaced at the target went in the trash.
    void replaced(qint64 id, const QByteArray &inTrash);
    // Writes that the operation completed, with the file now at target.
    void done(qint64 id, const QByteArray &target);
    void undone(qint64 id);

    // Why the file could not be written since the last call, if it could
    // not: the entries stay in memory, but a restart will not know them.
    std::error_code takeWriteError();

    // The latest operation done and not undone, if any.
    std::optional<sortjournal::Entry> latestUndoable() const;
    std::vector<sortjournal::Entry> entries() const;

private:
    sortjournal::Entry *find(qint64 id);
    void append(const QByteArray &line);
    void dropOldest();

    mutable std::mutex m_mutex;
    QByteArray m_path;
    int m_keep;
    std::vector<sortjournal::Entry> m_entries;
    qint64 m_nextId = 1;
    // The file ends in a torn line: the next line starts on a fresh one.
    bool m_needsNewline = false;
    std::error_code m_writeError;
};
