#pragma once
// Reads a file that must be an ordinary one: a settings file, a playlist,
// the head of a media file.
//
// The file is opened without waiting (O_NONBLOCK), so a FIFO or a device in
// its place never blocks the caller, then checked by its descriptor: only a
// regular file is read, and only up to a size limit, so a link to
// /dev/zero or an endless file cannot eat the memory. What was found is told
// apart, so callers can be silent about a missing file and speak about a
// FIFO.
#include "platform/FileDescriptor.h"

#include <QByteArray>

class FileSystem;

namespace regularfile {

enum class Outcome {
    Read,       // the bytes are the file's
    Missing,    // no such file (or an empty path)
    NotRegular, // a folder, FIFO, socket or device
    TooLarge,   // bigger than the limit given
    Unreadable, // exists but could not be opened or read (errno in error)
};

struct Contents
{
    QByteArray bytes;
    Outcome outcome = Outcome::Missing;
    int error = 0; // the errno behind Missing or Unreadable

    bool ok() const { return outcome == Outcome::Read; }
};

// Opens path for reading as a regular file, or says why not.
FileDescriptor open(const QByteArray &path, FileSystem &fileSystem, Outcome *outcome,
    int *error, qint64 *size = nullptr);

// The whole file, when it is a regular file of at most maxBytes.
Contents read(const QByteArray &path, qint64 maxBytes);
Contents read(const QByteArray &path, qint64 maxBytes, FileSystem &fileSystem);

// The first `bytes` bytes of a regular file of any size.
Contents readHead(const QByteArray &path, qint64 bytes);

} // namespace regularfile
