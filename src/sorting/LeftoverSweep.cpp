#include "sorting/LeftoverSweep.h"

#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QSet>

namespace leftoversweep {

namespace {

using sortjournal::Kind;

void addOnce(QByteArrayList &list, QSet<QByteArray> &seen, const QByteArray &item)
{
    if (!item.isEmpty() && !seen.contains(item)) {
        seen.insert(item);
        list.push_back(item);
    }
}

} // namespace

Places placesOf(const QByteArray &journalPath, const std::vector<sortjournal::Entry> &entries)
{
    Places places;
    QSet<QByteArray> folders;
    QSet<QByteArray> sources;
    addOnce(places.folders, folders, paths::directoryPart(journalPath));
    for (const sortjournal::Entry &entry : entries) {
        if (entry.kind == Kind::Reject)
            continue;
        if (!entry.done) {
            addOnce(places.folders, folders, paths::directoryPart(entry.target));
            addOnce(places.sources, sources, entry.source);
        } else if (entry.kind == Kind::Move && !entry.undone) {
            addOnce(places.folders, folders, paths::directoryPart(entry.source));
            addOnce(places.sources, sources, entry.target);
        }
    }
    return places;
}

int sweep(FileSystem &fileSystem, const QByteArrayList &folders, const QByteArray &journalPath,
    const std::vector<sortjournal::Entry> &entries)
{
    Places places = placesOf(journalPath, entries);
    QSet<QByteArray> seen(places.folders.cbegin(), places.folders.cend());
    for (const QByteArray &folder : folders)
        addOnce(places.folders, seen, folder);
    FileOperations operations(fileSystem);
    int removed = 0;
    for (const QByteArray &folder : std::as_const(places.folders)) {
        if (fileSystem.isDirectory(folder))
            removed += operations.removeLeftovers(folder, places.sources);
    }
    return removed;
}

} // namespace leftoversweep
