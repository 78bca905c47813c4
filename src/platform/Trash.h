#pragma once
// The desktop's trash (the freedesktop one): files sent there can be
// brought back to where they were, by this program or a file manager.
#include <QByteArray>

#include <system_error>

class FileOperations;
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
// error says why (an unwritable or full trash, say).
Sent sendToTrash(const QByteArray &path, FileSystem &fs);
Sent sendToTrash(const QByteArray &path);

// The same, giving only the place inside the trash (empty on failure).
QByteArray send(const QByteArray &path);

// Brings the file at pathInTrash back to original, never replacing a file
// there (EEXIST), and removes its record from the trash.
std::error_code restore(FileOperations &fileOps, const QByteArray &pathInTrash, const QByteArray &original);

// The record the trash keeps beside a trashed file (its ".trashinfo"), or
// empty when pathInTrash does not lie in a trash's "files" folder.
QByteArray infoFileOf(const QByteArray &pathInTrash);

} // namespace trash
