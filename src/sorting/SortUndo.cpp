#include "sorting/SortUndo.h"

#include "platform/Paths.h"
#include "platform/Trash.h"

#include <sys/stat.h>

namespace sortundo {

namespace {

using sortjournal::Entry;
using sortjournal::Kind;

bool occupied(const QByteArray &path)
{
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0;
}

// Whether the file at the target is still the one the operation left.
Outcome checkTarget(const Entry &entry)
{
    qint64 size = 0;
    qint64 mtime = 0;
    if (!sortjournal::fileState(entry.target, size, mtime))
        return Outcome::TargetMissing;
    if (size != entry.size || mtime != entry.mtimeNs)
        return Outcome::TargetChanged;
    return Outcome::Undone;
}

Result failure(const std::error_code &error)
{
    if (error == std::errc::file_exists)
        return {Outcome::PlaceTaken, error};
    return {Outcome::Failed, error};
}

} // namespace

Result undo(const Entry &entry, FileOperations &fileOps, const FileOperations::Progress &progress)
{
    if (!entry.done || entry.undone)
        return {Outcome::Failed, std::make_error_code(std::errc::invalid_argument)};
    if (const Outcome state = checkTarget(entry); state != Outcome::Undone)
        return {state, {}};

    switch (entry.kind) {
    case Kind::Move:
        if (occupied(entry.source))
            return {Outcome::PlaceTaken, {}};
        if (const std::error_code error = fileOps.moveNoReplace(entry.target, entry.source, progress))
            return failure(error);
        break;
    case Kind::Copy:
        if (const trash::Sent sent = trash::sendToTrash(entry.target, fileOps.fileSystem()); sent.error)
            return {Outcome::Failed, sent.error};
        break;
    case Kind::Reject:
        if (occupied(entry.source))
            return {Outcome::PlaceTaken, {}};
        if (const std::error_code error = trash::restore(fileOps, entry.target, entry.source, progress))
            return failure(error);
        break;
    }

    if (!entry.replacedInTrash.isEmpty()) {
        if (const std::error_code error = trash::restore(fileOps, entry.replacedInTrash, entry.target))
            return {Outcome::ReplacedNotRestored, error};
    }
    return {Outcome::Undone, {}};
}

bool undoCopiesAcross(const Entry &entry, const FileOperations &fileOps)
{
    return (entry.kind == Kind::Move || entry.kind == Kind::Reject)
        && !fileOps.sameFileSystem(entry.target, paths::directoryPart(entry.source));
}

} // namespace sortundo
