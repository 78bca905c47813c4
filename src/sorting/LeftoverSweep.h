#pragma once
// The clean-up at start: temporary files that killed copies, undos and
// rewrites left behind are removed wherever they are not the only copy of
// anything (see FileOperations::removeLeftovers).
#include "sorting/SortJournal.h"

#include <QByteArrayList>

#include <vector>

class FileSystem;

namespace leftoversweep {

// The folders to look in besides those the caller names, and the files
// copies may have been made from, as the journal tells them: for every
// operation not known to have ended, the folder it copied into (the
// target's, or trashFiles, the user's trash's "files" folder, where a
// reject or a file set aside may have been copied); for every one done and
// not undone, the folders its undo copies back into (the old folder, the
// target's for a file it replaced, trashFiles for a copy taken back); and
// the journal's own folder (it is rewritten whole now and then).
struct Places
{
    QByteArrayList folders;
    QByteArrayList sources;
};
Places placesOf(const QByteArray &journalPath, const std::vector<sortjournal::Entry> &entries,
    const QByteArray &trashFiles);

// Cleans folders and the journal's places, and drops the user's trash's
// records of rejects killed before their file arrived; returns how many
// files went.
int sweep(FileSystem &fileSystem, const QByteArrayList &folders, const QByteArray &journalPath,
    const std::vector<sortjournal::Entry> &entries);

} // namespace leftoversweep
