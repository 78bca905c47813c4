#include "sorting/SortJournal.h"

#include "platform/FileDescriptor.h"
#include "platform/FileOperations.h"
#include "platform/FileTime.h"
#include "platform/Paths.h"
#include "platform/PrivateFolder.h"

#include <QFile>
#include <QHash>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sortjournal {

namespace {

constexpr QByteArrayView kEndMark(";");
// The most fields a line has, its end mark included.
constexpr qsizetype kMostFields = 6;

// Splits line at every space into fields, as QByteArray::split(' ') would,
// keeping the first fields.size() of them; returns how many there are in
// all, or fields.size() when there are at least that many.
template<size_t N>
qsizetype splitFields(QByteArrayView line, std::array<QByteArrayView, N> &fields)
{
    qsizetype count = 0;
    qsizetype start = 0;
    while (count < qsizetype(N)) {
        const qsizetype space = line.indexOf(' ', start);
        fields[count++] = line.sliced(start, (space < 0 ? line.size() : space) - start);
        if (space < 0)
            return count;
        start = space + 1;
    }
    return count;
}

QByteArray encodePath(const QByteArray &path)
{
    return '=' + path.toPercentEncoding("/");
}

bool decodePath(QByteArrayView field, QByteArray &path)
{
    if (!field.startsWith('='))
        return false;
    path = QByteArray::fromPercentEncoding(field.sliced(1).toByteArray());
    return true;
}

bool decodeNumber(QByteArrayView field, qint64 &number)
{
    bool ok = false;
    number = field.toLongLong(&ok);
    return ok;
}

char kindLetter(Kind kind)
{
    switch (kind) {
    case Kind::Move:
        return 'm';
    case Kind::Copy:
        return 'c';
    case Kind::Reject:
        return 'r';
    }
    return 'm';
}

bool kindOf(QByteArrayView field, Kind &kind)
{
    if (field == "m")
        kind = Kind::Move;
    else if (field == "c")
        kind = Kind::Copy;
    else if (field == "r")
        kind = Kind::Reject;
    else
        return false;
    return true;
}

QByteArray beginLine(const Entry &entry)
{
    return "B " + QByteArray::number(entry.id) + ' ' + kindLetter(entry.kind) + ' '
        + encodePath(entry.source) + ' ' + encodePath(entry.target) + " ;\n";
}

QByteArray replacedLine(const Entry &entry)
{
    return "R " + QByteArray::number(entry.id) + ' ' + encodePath(entry.replacedInTrash) + " ;\n";
}

QByteArray doneLine(const Entry &entry)
{
    return "D " + QByteArray::number(entry.id) + ' ' + encodePath(entry.target) + ' '
        + QByteArray::number(entry.size) + ' ' + QByteArray::number(entry.mtimeNs) + " ;\n";
}

QByteArray undoneLine(const Entry &entry)
{
    return "U " + QByteArray::number(entry.id) + " ;\n";
}

} // namespace

std::vector<Entry> parse(const QByteArray &text)
{
    std::vector<Entry> entries;
    QHash<qint64, size_t> byId;
    // The fields of one line, looked at where they lie in text: a journal
    // of thousands of operations is read without a copy of each line.
    std::array<QByteArrayView, kMostFields + 1> fields;
    const QByteArrayView all(text);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = all.indexOf('\n', start);
        // What follows the last line break is a line torn by a crash.
        if (end < 0)
            break;
        const qsizetype count = splitFields(all.sliced(start, end - start), fields);
        start = end + 1;
        // Only a line that reaches its end mark was written whole: a torn
        // line completed by the next one's line break lacks it.
        if (count < 3 || count > kMostFields || fields[count - 1] != kEndMark)
            continue;
        const qsizetype size = count - 1;
        qint64 id = 0;
        if (fields[0].size() != 1 || !decodeNumber(fields[1], id))
            continue;
        const char type = fields[0][0];
        if (type == 'B') {
            Entry entry;
            entry.id = id;
            if (size != 5 || byId.contains(id) || !kindOf(fields[2], entry.kind)
                || !decodePath(fields[3], entry.source) || !decodePath(fields[4], entry.target))
                continue;
            byId.insert(id, entries.size());
            entries.push_back(std::move(entry));
            continue;
        }
        const auto found = byId.constFind(id);
        if (found == byId.constEnd())
            continue;
        Entry &entry = entries[*found];
        if (type == 'R' && size == 3) {
            decodePath(fields[2], entry.replacedInTrash);
        } else if (type == 'D' && size == 5) {
            QByteArray target;
            qint64 fileSize = 0;
            qint64 mtime = 0;
            if (decodePath(fields[2], target) && decodeNumber(fields[3], fileSize) && decodeNumber(fields[4], mtime)) {
                entry.target = std::move(target);
                entry.size = fileSize;
                entry.mtimeNs = mtime;
                entry.done = true;
            }
        } else if (type == 'U' && size == 2) {
            entry.undone = entry.done;
        }
    }
    return entries;
}

QByteArray serialize(const Entry &entry)
{
    QByteArray lines = beginLine(entry);
    if (!entry.replacedInTrash.isEmpty())
        lines += replacedLine(entry);
    if (entry.done)
        lines += doneLine(entry);
    if (entry.undone)
        lines += undoneLine(entry);
    return lines;
}

bool fileState(const QByteArray &path, qint64 &size, qint64 &mtimeNs)
{
    struct stat status {};
    if (path.isEmpty() || ::lstat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    size = status.st_size;
    mtimeNs = filetime::stamp(status.st_mtim);
    return true;
}

} // namespace sortjournal

using sortjournal::Entry;

SortJournal::SortJournal(const QByteArray &path, int keep)
    : m_path(path)
    , m_keep(keep)
{
    if (m_path.isEmpty())
        return;
    QFile file(QFile::decodeName(m_path));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = file.readAll();
    m_entries = sortjournal::parse(text);
    m_needsNewline = !text.isEmpty() && !text.endsWith('\n');
    for (const Entry &entry : m_entries)
        m_nextId = std::max(m_nextId, entry.id + 1);
    if (qsizetype(m_entries.size()) > m_keep)
        dropOldest();
}

qint64 SortJournal::begin(sortjournal::Kind kind, const QByteArray &source, const QByteArray &target)
{
    const std::lock_guard lock(m_mutex);
    // Rewriting the file now and then keeps it near its size limit.
    if (qsizetype(m_entries.size()) >= m_keep + m_keep / 10)
        dropOldest();
    Entry entry;
    entry.id = m_nextId++;
    entry.kind = kind;
    entry.source = source;
    entry.target = target;
    m_entries.push_back(entry);
    append(sortjournal::serialize(entry));
    return entry.id;
}

void SortJournal::replaced(qint64 id, const QByteArray &inTrash)
{
    const std::lock_guard lock(m_mutex);
    Entry *entry = find(id);
    if (!entry)
        return;
    entry->replacedInTrash = inTrash;
    append(sortjournal::replacedLine(*entry));
}

void SortJournal::done(qint64 id, const QByteArray &target)
{
    const std::lock_guard lock(m_mutex);
    Entry *entry = find(id);
    if (!entry)
        return;
    entry->target = target;
    if (!sortjournal::fileState(target, entry->size, entry->mtimeNs))
        return;
    entry->done = true;
    append(sortjournal::doneLine(*entry));
}

void SortJournal::undone(qint64 id)
{
    const std::lock_guard lock(m_mutex);
    Entry *entry = find(id);
    if (!entry || !entry->done)
        return;
    entry->undone = true;
    append(sortjournal::undoneLine(*entry));
}

std::optional<Entry> SortJournal::latestUndoable() const
{
    const std::lock_guard lock(m_mutex);
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->done && !it->undone)
            return *it;
    }
    return std::nullopt;
}

std::vector<Entry> SortJournal::entries() const
{
    const std::lock_guard lock(m_mutex);
    return m_entries;
}

Entry *SortJournal::find(qint64 id)
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->id == id)
            return &*it;
    }
    return nullptr;
}

void SortJournal::append(const QByteArray &line)
{
    if (m_path.isEmpty())
        return;
    const auto openForAppend = [this] {
        return FileDescriptor(::open(m_path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    };
    FileDescriptor fd = openForAppend();
    // The settings folder is made when first needed.
    if (!fd.isOpen() && errno == ENOENT && privatefolder::make(paths::directoryPart(m_path)))
        fd = openForAppend();
    if (!fd.isOpen()) {
        m_writeError = std::error_code(errno, std::generic_category());
        return;
    }
    const QByteArray bytes = m_needsNewline ? '\n' + line : line;
    // One write per line: a kill leaves a whole line or a torn last one.
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_writeError = std::error_code(n < 0 ? errno : ENOSPC, std::generic_category());
            break;
        }
        written += n;
    }
    m_needsNewline = written != bytes.size();
    if (fd.close() != 0 && !m_writeError)
        m_writeError = std::error_code(errno, std::generic_category());
}

std::error_code SortJournal::takeWriteError()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_writeError, {});
}

void SortJournal::dropOldest()
{
    const qsizetype excess = qsizetype(m_entries.size()) - m_keep;
    if (excess > 0)
        m_entries.erase(m_entries.begin(), m_entries.begin() + excess);
    if (m_path.isEmpty())
        return;
    QByteArray text;
    for (const Entry &entry : m_entries)
        text += sortjournal::serialize(entry);
    // One rename replaces the file: the journal is never half rewritten.
    if (const std::error_code error = FileOperations().writeWhole(m_path, text, 0600))
        m_writeError = error;
    else
        m_needsNewline = false;
}
