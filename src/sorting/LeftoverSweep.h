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
// copies may have been made from, as the journal tells them: the folder
// of every sort not known to have ended (a killed copy is there), the old
// folder of every move not undone (a killed undo copies back into it), and
// the journal's own folder (it is rewritten whole now and then).
struct Places
{
    QByteArrayList folders;
    QByteArrayList sources;
};
Places placesOf(const QByteArray &journalPath, const std::vector<sortjournal::Entry> &entries);

// Cleans folders and the journal's places; returns how many files went.
int sweep(FileSystem &fileSystem, const QByteArrayList &folders, const QByteArray &journalPath,
    const std::vector<sortjournal::Entry> &entries);

} // namespace leftoversweep
