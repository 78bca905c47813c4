#include "sorting/SortOperation.h"

#include "platform/Trash.h"

namespace sortoperation {

Result perform(SortJournal &journal, FileOperations &fileOps, qint64 id, sortjournal::Kind kind,
    const QByteArray &source, const QByteArray &target, const FileOperations::Progress &progress)
{
    Result result;
    if (kind == sortjournal::Kind::Reject) {
        const QByteArray inTrash = trash::send(source);
        result.trashRefused = inTrash.isEmpty();
        if (result.trashRefused)
            result.error = std::make_error_code(std::errc::permission_denied);
        else
            journal.done(id, inTrash);
        return result;
    }
    QByteArray replaced;
    const auto setAside = [&](const QByteArray &existing) -> std::error_code {
        replaced = trash::send(existing);
        if (replaced.isEmpty()) {
            result.trashRefused = true;
            return std::make_error_code(std::errc::permission_denied);
        }
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
