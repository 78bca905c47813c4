#include "platform/player/MediaSource.h"

#include "platform/player/AsxPlaylist.h"
#include "platform/player/MidiStream.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MediaSource {

namespace {

// Nested ASX playlists deeper than this are taken for a loop.
constexpr int kMaxNesting = 4;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool hasExtension(const QByteArray &path, std::initializer_list<const char *> extensions)
{
    const QByteArray lower = path.toLower();
    for (const char *extension : extensions) {
        if (lower.endsWith(extension))
            return true;
    }
    return false;
}

bool looksLikeAsx(const QByteArray &head)
{
    QByteArray text = head;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    text = text.trimmed();
    return text.startsWith('<') && text.toLower().contains("<asx");
}

QByteArray absolute(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    return QFile::encodeName(QDir::currentPath()) + '/' + path;
}

void appendEntries(const QByteArray &path, int depth, QByteArrayList &out);

// The first alternative of an ASX entry that can be played.
void appendAsxEntry(const QByteArrayList &alternatives, int depth, QByteArrayList &out)
{
    for (const QByteArray &address : alternatives) {
        if (!address.startsWith('/')) {
            out << address;
            return;
        }
        const qsizetype before = out.size();
        appendEntries(address, depth, out);
        if (out.size() > before)
            return;
    }
}

void appendEntries(const QByteArray &path, int depth, QByteArrayList &out)
{
    switch (classify(path)) {
    case Kind::Missing:
        break;
    case Kind::Plain:
        out << absolute(path);
        break;
    case Kind::Midi:
        out << MidiStream::address(absolute(path));
        break;
    case Kind::Asx:
        if (depth >= kMaxNesting)
            break;
        for (const QByteArrayList &entry : AsxPlaylist::read(absolute(path)))
            appendAsxEntry(entry, depth + 1, out);
        break;
    }
}

} // namespace

QByteArray readRegularFile(const QByteArray &path, qint64 maxBytes, bool *ok)
{
    *ok = false;
    if (path.isEmpty())
        return {};
    FileDescriptor fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)
        || info.st_size > maxBytes)
        return {};
    QByteArray content(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < content.size()) {
        const ssize_t got = ::read(fd.get(), content.data() + filled, size_t(content.size() - filled));
        if (got < 0)
            return {};
        if (got == 0)
            break;
        filled += got;
    }
    content.truncate(filled);
    *ok = true;
    return content;
}

Kind classify(const QByteArray &path)
{
    if (path.isEmpty())
        return Kind::Missing;
    FileDescriptor fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return Kind::Missing;
    QByteArray head(512, '\0');
    const ssize_t got = ::read(fd.get(), head.data(), size_t(head.size()));
    head.truncate(got > 0 ? got : 0);

    if (head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID"))
        return Kind::Midi;
    if (looksLikeAsx(head))
        return Kind::Asx;
    if (hasExtension(path, {".asx", ".wax", ".wvx", ".wmx"}) && head.trimmed().startsWith('<'))
        return Kind::Asx;
    return Kind::Plain;
}

QByteArrayList mpvEntries(const QByteArray &path)
{
    QByteArrayList entries;
    appendEntries(path, 0, entries);
    return entries;
}

} // namespace MediaSource
