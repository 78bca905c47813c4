#pragma once
// Undoing one journal entry: a moved file goes back to its folder, a copy
// goes to the trash, a rejected file comes back from the trash, and a file
// the operation replaced comes back from the trash to its name.
//
// Undo never overwrites and never guesses: when the file at the target is
// no longer the one the operation left there (size or modification time
// differ) or the old place is taken, nothing moves.
#include "platform/FileOperations.h"
#include "sorting/SortJournal.h"

#include <system_error>

namespace sortundo {

enum class Outcome {
    Undone,
    // The file the operation left is gone.
    TargetMissing,
    // The file at the target has changed since.
    TargetChanged,
    // Another file now has the old name.
    PlaceTaken,
    // A file operation failed (error says why); nothing moved.
    Failed,
    // The operation is undone, but the file it replaced could not come back
    // (error says why).
    ReplacedNotRestored,
};

struct Result
{
    Outcome outcome = Outcome::Failed;
    std::error_code error;
};

// Takes entry back; progress hears of the bytes when a move back has to copy.
Result undo(const sortjournal::Entry &entry, FileOperations &fileOps,
    const FileOperations::Progress &progress = {});

// Whether taking entry back copies a file from one file system to another,
// which takes as long as the operation itself did.
bool undoCopiesAcross(const sortjournal::Entry &entry, const FileOperations &fileOps);

} // namespace sortundo
