#include "sorting/SortOperation.h"

#include "platform/Trash.h"

namespace sortoperation {

Result perform(SortJournal &journal, FileOperations &fileOps, qint64 id, sortjournal::Kind kind,
    const QByteArray &source, const QByteArray &target, const FileOperations::Progress &progress)
{
    Result result;
    if (kind == sortjournal::Kind::Reject) {
        const trash::Sent sent = trash::sendToTrash(source, fileOps.fileSystem(), progress);
        result.trashRefused = bool(sent.error);
        result.error = sent.error;
        if (!sent.error)
            journal.done(id, sent.inTrash);
        return result;
    }
    QByteArray replaced;
    const auto setAside = [&](const QByteArray &existing) -> std::error_code {
        const trash::Sent sent = trash::sendToTrash(existing, fileOps.fileSystem());
        if (sent.error) {
            result.trashRefused = true;
            return sent.error;
        }
        replaced = sent.inTrash;
        journal.replaced(id, replaced);
        return {};
    };
    result.error = kind == sortjournal::Kind::Move ? fileOps.move(source, target, setAside, progress)
                                                   : fileOps.copy(source, target, setAside, progress);
    if (!result.error) {
        journal.done(id, target);
        return result;
    }
    // The destination gets back what it had.
    if (!replaced.isEmpty())
        trash::restore(fileOps, replaced, target);
    return result;
}

} // namespace sortoperation
