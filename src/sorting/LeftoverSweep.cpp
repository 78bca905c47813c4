#include "sorting/LeftoverSweep.h"

#include "platform/FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Trash.h"
#include "platform/TrashFolder.h"

#include <QSet>

#include <ctime>

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

Places placesOf(const QByteArray &journalPath, const std::vector<sortjournal::Entry> &entries,
    const QByteArray &trashFiles)
{
    Places places;
    QSet<QByteArray> folders;
    QSet<QByteArray> sources;
    const auto add = [&](const QByteArray &folder, const QByteArray &source) {
        addOnce(places.folders, folders, folder);
        addOnce(places.sources, sources, source);
    };
    addOnce(places.folders, folders, paths::directoryPart(journalPath));
    for (const sortjournal::Entry &entry : entries) {
        if (!entry.done) {
            // A reject copies the file into the user's trash when it lies on
            // another file system; a sort sends a file in its way there.
            if (entry.kind == Kind::Reject) {
                add(trashFiles, entry.source);
            } else {
                add(paths::directoryPart(entry.target), entry.source);
                add(trashFiles, entry.target);
            }
            continue;
        }
        if (entry.undone)
            continue;
        // An undo copies the file back to where it was, the file it
        // replaced back to the target, and a copy's file into the trash.
        if (entry.kind != Kind::Copy)
            add(paths::directoryPart(entry.source), entry.target);
        else
            add(trashFiles, entry.target);
        if (!entry.replacedInTrash.isEmpty())
            add(paths::directoryPart(entry.target), entry.replacedInTrash);
    }
    return places;
}

int sweep(FileSystem &fileSystem, const QByteArrayList &folders, const QByteArray &journalPath,
    const std::vector<sortjournal::Entry> &entries)
{
    Places places = placesOf(journalPath, entries, paths::join(trashfolder::homeTrash(), "files"));
    QSet<QByteArray> seen(places.folders.cbegin(), places.folders.cend());
    for (const QByteArray &folder : folders)
        addOnce(places.folders, seen, folder);
    const time_t started = std::time(nullptr);
    FileOperations operations(fileSystem);
    int removed = 0;
    for (const QByteArray &folder : std::as_const(places.folders)) {
        if (fileSystem.isDirectory(folder))
            removed += operations.removeLeftovers(folder, places.sources);
    }
    // A reject killed while its file was copied into the trash leaves the
    // record it wrote first.
    QByteArrayList rejected;
    for (const sortjournal::Entry &entry : entries) {
        if (entry.kind == Kind::Reject && !entry.done)
            rejected.push_back(entry.source);
    }
    return removed + trash::dropRecordsWithoutFile(fileSystem, trashfolder::homeTrash(), rejected, started);
}

} // namespace leftoversweep
