#pragma once
// The desktop's trash (the freedesktop one): files sent there can be
// brought back to where they were.
#include <QByteArray>

#include <system_error>

class FileOperations;

namespace trash {

// Sends the file at path to the trash. Returns where it now lies inside the
// trash, or empty when it could not be sent (it then stays where it was).
QByteArray send(const QByteArray &path);

// Brings the file at pathInTrash back to original, never replacing a file
// there (EEXIST), and removes its record from the trash.
std::error_code restore(FileOperations &fileOps, const QByteArray &pathInTrash, const QByteArray &original);

// The record the trash keeps beside a trashed file (its ".trashinfo"), or
// empty when pathInTrash does not lie in a trash's "files" folder.
QByteArray infoFileOf(const QByteArray &pathInTrash);

} // namespace trash
