#include "platform/FolderFiles.h"

#include "platform/DirHandle.h"
#include "platform/FileDescriptor.h"
#include "platform/FileMask.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folderfiles {

namespace {

// Whether an entry is a file to list; links and unknown kinds are looked up.
bool isListedFile(DIR *dir, const dirent *entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat status {};
    return ::fstatat(::dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

} // namespace

Listing read(const QByteArray &folder, const FileMask &mask)
{
    const FileDescriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.isOpen())
        return Listing {{}, errno};
    return read(fd.get(), mask);
}

Listing read(int folderFd, const FileMask &mask)
{
    // The stream gets its own descriptor, so the caller's keeps its position.
    FileDescriptor fd(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.isOpen())
        return Listing {{}, errno};
    const DirHandle dir(::fdopendir(fd.get()));
    if (!dir)
        return Listing {{}, errno};
    fd.release(); // the stream owns it now

    const int patterns = mask.patternCount();
    std::vector<std::vector<QByteArray>> byPattern(static_cast<size_t>(patterns));
    Listing listing;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            listing.error = errno;
            break;
        }
        const QByteArrayView name(entry->d_name, qsizetype(std::strlen(entry->d_name)));
        int kind = -1; // unknown until the first match: -1, then 0 or 1
        QByteArray bytes;
        for (int p = 0; p < patterns; ++p) {
            if (!mask.matches(p, name))
                continue;
            if (kind < 0)
                kind = isListedFile(dir.get(), entry) ? 1 : 0;
            if (kind == 0)
                break;
            if (bytes.isNull())
                bytes = name.toByteArray();
            byPattern[size_t(p)].push_back(bytes);
        }
    }

    size_t total = 0;
    for (const auto &names : byPattern)
        total += names.size();
    listing.names.reserve(total);
    for (auto &names : byPattern) {
        for (QByteArray &name : names)
            listing.names.push_back(std::move(name));
    }
    return listing;
}

} // namespace folderfiles
