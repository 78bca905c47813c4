#pragma once
// One sort as the journal records it: the file at source is moved or copied
// to target, and a same-named file already at the target goes to the
// desktop's trash the moment before the sorted file takes its name, so it
// is never destroyed. When the operation fails, that file comes back and
// the source stays where it was. A reject sends the file at source to the
// trash (target is not used).
//
// Runs on any thread: the window does a rename at once and hands longer
// work to a SortQueue.
#include "platform/FileOperations.h"
#include "sorting/SortJournal.h"

#include <system_error>

namespace sortoperation {

struct Result
{
    std::error_code error;
    // The file to reject, or the same-named file at the target, could not
    // be sent to the trash (error is then set and nothing changed).
    bool trashRefused = false;
};

// Performs journal entry id (begun with kind, source and target) and marks
// it done in journal on success.
Result perform(SortJournal &journal, FileOperations &fileOps, qint64 id, sortjournal::Kind kind,
    const QByteArray &source, const QByteArray &target, const FileOperations::Progress &progress = {});

} // namespace sortoperation
