// What killed copies and rewrites left behind, and when it may go.
#include "platform/FileOperations.h"

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/LeftoverName.h"
#include "platform/Paths.h"

#include <QHash>

#include <fcntl.h>
#include <sys/file.h>
#include <optional>
#include <vector>

namespace {

using leftovers::Leftover;

// Digests of paths, for leftovers whose names hold only those.
class Digests
{
public:
    explicit Digests(const QByteArrayList &paths) : m_paths(paths) {}

    QByteArray pathOf(const QByteArray &digest)
    {
        if (!m_made) {
            for (const QByteArray &path : std::as_const(m_paths))
                m_byDigest.insert(leftovers::digestOf(path), path);
            m_made = true;
        }
        return m_byDigest.value(digest);
    }

private:
    QByteArrayList m_paths;
    QHash<QByteArray, QByteArray> m_byDigest;
    bool m_made = false;
};

} // namespace

int FileOperations::removeLeftovers(const QByteArray &folder)
{
    return removeLeftovers(folder, {});
}

int FileOperations::removeLeftovers(const QByteArray &folder, const QByteArrayList &knownSources)
{
    if (folder.isEmpty())
        return 0;
    std::vector<QByteArray> names;
    m_fs.readDirectory(folder.constData(), names);
    std::vector<std::pair<QByteArray, Leftover>> found;
    QByteArrayList otherNames;
    for (QByteArray &name : names) {
        if (std::optional<Leftover> leftover = leftovers::parse(name))
            found.emplace_back(std::move(name), std::move(*leftover));
        else
            otherNames.push_back(std::move(name));
    }
    Digests sources(knownSources);
    Digests neighbours(otherNames);
    int removed = 0;
    for (auto &[name, leftover] : found) {
        if (leftover.path.isEmpty())
            leftover.path = (leftover.kind == Leftover::Kind::Copy ? sources : neighbours).pathOf(leftover.digest);
        if (!leftover.path.isEmpty() && removeLeftover(paths::join(folder, name), leftover))
            ++removed;
    }
    return removed;
}

bool FileOperations::removeLeftover(const QByteArray &path, const Leftover &leftover)
{
    // Only a plain file that no live process is writing (it would hold the
    // lock), opened without following a link or waiting.
    const FileDescriptor fd(m_fs.open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0), m_fs);
    struct stat status {};
    if (!fd.isOpen() || m_fs.fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)
        || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    struct stat original {};
    if (leftover.kind == Leftover::Kind::Copy) {
        // Redundant only while its source is still there in full: the same
        // file, unchanged since the copy began, and at least as long.
        if (m_fs.stat(leftover.path.constData(), &original) != 0 || !S_ISREG(original.st_mode)
            || !leftovers::sameSource(leftover, original) || original.st_size < status.st_size)
            return false;
    } else {
        // A new version never put in place: the file it was to replace is
        // still there, complete, and is what counts.
        const QByteArray replaced = paths::join(paths::directoryPart(path), leftover.path);
        if (m_fs.lstat(replaced.constData(), &original) != 0 || !S_ISREG(original.st_mode))
            return false;
    }
    // Never the file itself under another name.
    if (original.st_dev == status.st_dev && original.st_ino == status.st_ino)
        return false;
    return m_fs.unlink(path.constData()) == 0;
}
