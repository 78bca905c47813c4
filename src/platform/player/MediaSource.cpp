#include "platform/player/MediaSource.h"

#include "platform/RegularFile.h"
#include "platform/player/AsxPlaylist.h"
#include "platform/player/M3uPlaylist.h"
#include "platform/player/MidiStream.h"

#include <QDir>
#include <QFile>


namespace MediaSource {

namespace {

// Playlists nested deeper than this are taken for a loop.
constexpr int kMaxNesting = 4;

// What one path may expand to: a list that names itself many times would
// otherwise multiply its reads at every level.
struct Budget
{
    int playlistsLeft = 32;
    qsizetype maxEntries = 5000;
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

void appendEntries(const QByteArray &path, int depth, Budget &budget, QByteArrayList &out);

// The first alternative of a playlist entry that can be played.
void appendPlaylistEntry(const QByteArrayList &alternatives, int depth, Budget &budget, QByteArrayList &out)
{
    for (const QByteArray &address : alternatives) {
        if (!address.startsWith('/')) {
            out << address;
            return;
        }
        const qsizetype before = out.size();
        appendEntries(address, depth, budget, out);
        if (out.size() > before)
            return;
    }
}

void appendEntries(const QByteArray &path, int depth, Budget &budget, QByteArrayList &out)
{
    if (out.size() >= budget.maxEntries)
        return;
    const Kind kind = classify(path);
    switch (kind) {
    case Kind::Missing:
        break;
    case Kind::Plain:
        out << absolute(path);
        break;
    case Kind::Midi:
        out << MidiStream::address(absolute(path));
        break;
    case Kind::Asx:
    case Kind::M3u: {
        if (depth >= kMaxNesting || budget.playlistsLeft <= 0)
            break;
        --budget.playlistsLeft;
        const QByteArray playlist = absolute(path);
        const QList<QByteArrayList> entries =
            kind == Kind::Asx ? AsxPlaylist::read(playlist) : M3uPlaylist::read(playlist);
        for (const QByteArrayList &entry : entries)
            appendPlaylistEntry(entry, depth + 1, budget, out);
        break;
    }
    }
}

} // namespace

Kind classify(const QByteArray &path)
{
    if (path.isEmpty())
        return Kind::Missing;
    const regularfile::Contents contents = regularfile::readHead(path, 512);
    if (!contents.ok())
        return Kind::Missing;
    const QByteArray &head = contents.bytes;

    if (head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID"))
        return Kind::Midi;
    if (looksLikeAsx(head))
        return Kind::Asx;
    if (hasExtension(path, {".asx", ".wax", ".wvx", ".wmx"}) && head.trimmed().startsWith('<'))
        return Kind::Asx;
    // A text list: marked as extended M3U, or so named and free of binary bytes.
    if (head.startsWith("#EXTM3U") || head.startsWith("\xEF\xBB\xBF#EXTM3U")
        || (hasExtension(path, {".m3u", ".m3u8"}) && !head.contains('\0')))
        return Kind::M3u;
    return Kind::Plain;
}

QByteArrayList mpvEntries(const QByteArray &path)
{
    QByteArrayList entries;
    Budget budget;
    appendEntries(path, 0, budget, entries);
    return entries;
}

} // namespace MediaSource
