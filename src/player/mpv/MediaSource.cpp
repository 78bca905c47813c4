#include "player/mpv/MediaSource.h"

#include "platform/RegularFile.h"
#include "player/mpv/AsxPlaylist.h"
#include "player/mpv/M3uPlaylist.h"
#include "player/mpv/MidiStream.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>


namespace MediaSource {

namespace {

// Everything one path may cost. A list that names itself, or other lists,
// many times would otherwise multiply its work at every level; each
// dimension is capped, so the worst case is a fraction of a second.
struct Budget
{
    Budget(const Limits &limits, const std::function<bool()> &cancelled)
        : limits(limits)
        , cancelled(cancelled)
    {
    }

    const Limits &limits;
    const std::function<bool()> &cancelled;
    int playlistsLeft = limits.maxPlaylists;
    int referencesLeft = limits.maxReferences;
    qint64 bytesLeft = limits.maxBytes;
    // Each path is looked at once; the lists being read now, to skip loops.
    QHash<QByteArray, Kind> kinds;
    QSet<QByteArray> open;

    bool stopped(const QByteArrayList &out) const
    {
        return out.size() >= limits.maxEntries || (cancelled && cancelled());
    }
    bool exhausted(const QByteArrayList &out) const
    {
        return referencesLeft <= 0 || stopped(out);
    }
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

void appendEntries(const QByteArray &path, int depth, Budget &budget, QByteArrayList &out);

// The first alternative of a playlist entry that can be played.
void appendPlaylistEntry(const QByteArrayList &alternatives, int depth, Budget &budget, QByteArrayList &out)
{
    for (const QByteArray &address : alternatives) {
        if (budget.exhausted(out))
            return;
        --budget.referencesLeft;
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

void appendPlaylist(const QByteArray &playlist, Kind kind, int depth, Budget &budget, QByteArrayList &out)
{
    if (depth >= budget.limits.maxNesting || budget.playlistsLeft <= 0 || budget.bytesLeft <= 0
        || budget.open.contains(playlist))
        return;
    --budget.playlistsLeft;
    const qint64 maxSize = kind == Kind::Asx ? AsxPlaylist::kMaxFileSize : M3uPlaylist::kMaxFileSize;
    const regularfile::Contents file = regularfile::read(playlist, std::min(maxSize, budget.bytesLeft));
    if (!file.ok())
        return;
    budget.bytesLeft -= file.bytes.size();
    const QList<QByteArrayList> entries = kind == Kind::Asx ? AsxPlaylist::entries(file.bytes, playlist)
                                                            : M3uPlaylist::entries(file.bytes, playlist);
    budget.open.insert(playlist);
    for (const QByteArrayList &entry : entries) {
        if (budget.exhausted(out))
            break;
        appendPlaylistEntry(entry, depth + 1, budget, out);
    }
    budget.open.remove(playlist);
}

void appendEntries(const QByteArray &path, int depth, Budget &budget, QByteArrayList &out)
{
    if (budget.stopped(out))
        return;
    const QByteArray file = absolutePath(path);
    auto known = budget.kinds.constFind(file);
    const Kind kind = known != budget.kinds.cend() ? *known : *budget.kinds.insert(file, classify(file));
    switch (kind) {
    case Kind::Missing:
        break;
    case Kind::Plain:
        out << file;
        break;
    case Kind::Midi:
        out << MidiStream::address(file);
        break;
    case Kind::Asx:
    case Kind::M3u:
        appendPlaylist(file, kind, depth, budget, out);
        break;
    }
}

} // namespace

QByteArray absolutePath(const QByteArray &path)
{
    if (path.startsWith('/') || path.isEmpty())
        return path;
    return QFile::encodeName(QDir::currentPath()) + '/' + path;
}

bool plainByName(const QByteArray &path)
{
    // The media mask's audio and video types and today's ones libmpv plays.
    // Not here: the lists (.asx, .wax, .wvx, .wmx, .m3u), MIDI (.mid, .midi,
    // .rmi) and what is no media at all (.wmd packages, .wmp).
    return hasExtension(path, {".ivf", ".aif", ".aifc", ".aiff", ".asf", ".wm", ".wma", ".wmv", ".avi",
                               ".wav", ".mpeg", ".mpg", ".m1v", ".mp2", ".mpa", ".mpe", ".mpv2", ".au",
                               ".snd", ".mp3", ".vob", ".mp4", ".m4a", ".m4v", ".mov", ".mkv", ".mka",
                               ".webm", ".flac", ".ogg", ".oga", ".ogv", ".opus", ".aac", ".3gp"});
}

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

QByteArrayList mpvEntries(const QByteArray &path, const Limits &limits,
    const std::function<bool()> &cancelled)
{
    QByteArrayList entries;
    Budget budget(limits, cancelled);
    appendEntries(path, 0, budget, entries);
    return entries;
}

} // namespace MediaSource
