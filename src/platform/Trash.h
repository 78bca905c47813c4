#pragma once
// The desktop's trash (the freedesktop one): files sent there can be
// brought back to where they were, by this program or a file manager.
#include "platform/FileOperations.h"

#include <QByteArray>
#include <QByteArrayList>

#include <ctime>
#include <system_error>

class FileSystem;

namespace trash {

// Where a file went, or why it could not go.
struct Sent
{
    // The file's place inside the trash; empty when it was not sent.
    QByteArray inTrash;
    std::error_code error;
};

// Sends the file at path to the trash: its record goes into the trash's
// "info" folder first, under a name no other file holds, and only then the
// file into "files", so the trash never holds a file it cannot name. Takes
// a bounded number of steps; on failure the file stays where it was and
// error says why (an unwritable or full trash, say). When the trash lies on
// another file system the file is copied there, telling progress how far.
Sent sendToTrash(const QByteArray &path, FileSystem &fs, const FileOperations::Progress &progress = {});
Sent sendToTrash(const QByteArray &path);

// The same, giving only the place inside the trash (empty on failure).
QByteArray send(const QByteArray &path);

// Brings the file at pathInTrash back to original, never replacing a file
// there (EEXIST), and removes its record from the trash. A trash on
// another file system copies the file back, telling progress how far.
std::error_code restore(FileOperations &fileOps, const QByteArray &pathInTrash, const QByteArray &original,
    const FileOperations::Progress &progress = {});

// Removes from the trash at root the records that a send killed before
// its file arrived left behind: a record of one of originals (absolute
// paths, the files still there), written before the time before, whose
// name has no file in "files". The trash would otherwise list a file it
// does not hold. Returns how many went.
int dropRecordsWithoutFile(FileSystem &fs, const QByteArray &root, const QByteArrayList &originals, time_t before);

// The record the trash keeps beside a trashed file (its ".trashinfo"), or
// empty when pathInTrash does not lie in a trash's "files" folder.
QByteArray infoFileOf(const QByteArray &pathInTrash);

} // namespace trash
