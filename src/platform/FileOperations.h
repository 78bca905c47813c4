#pragma once
// Moving, copying and rewriting files so that no file is ever lost.
//
// A move is a rename when source and target share a file system; otherwise
// the source is copied into a temporary file in the target's folder, flushed
// to disk, renamed over the target and only then removed. A copy, and the
// rewrite of a whole file, go through the same temporary file and rename, so
// an existing target is replaced in one step and never deleted beforehand.
// When any step fails, the source and any existing target stay as they were
// and the temporary file is removed; the error is returned (an empty
// std::error_code means success).
//
// All paths are the file system's bytes. The calls go through a FileSystem,
// the POSIX one unless a test hands in another.
#include <QByteArray>
#include <QByteArrayList>

#include <sys/types.h>
#include <functional>
#include <system_error>

class FileSystem;

namespace leftovers {
struct Leftover;
}

class FileOperations
{
public:
    explicit FileOperations(FileSystem &fileSystem);
    FileOperations();

    // Called with the target path just before the final rename when the
    // file that was there when the operation began is still there, to take
    // it elsewhere. The rename then never replaces a file: one still there,
    // one that another program puts there meanwhile or in the checked
    // file's place, fails the operation with EEXIST and keeps its place. An
    // error stops the operation: nothing has been replaced then.
    using SetAside = std::function<std::error_code(const QByteArray &target)>;

    // Called while contents are copied, with the bytes copied so far and
    // the file's size; never for a move that is a rename.
    using Progress = std::function<void(qint64 copied, qint64 total)>;

    // Moves the file at source to target, replacing a file already there
    // (with setAside: taking it elsewhere first).
    std::error_code move(const QByteArray &source, const QByteArray &target,
        const SetAside &setAside = {}, const Progress &progress = {});

    // Copies the file at source to target, replacing a file already there
    // (with setAside: taking it elsewhere first). The copy keeps the
    // source's permissions and modification time.
    std::error_code copy(const QByteArray &source, const QByteArray &target,
        const SetAside &setAside = {}, const Progress &progress = {});

    // Moves the file at source to target only while nothing is at target
    // (EEXIST otherwise); across file systems as move() does.
    std::error_code moveNoReplace(const QByteArray &source, const QByteArray &target,
        const Progress &progress = {});

    // Replaces the contents of the file at target with bytes, creating it
    // when missing. An existing file keeps its permissions; a new one gets
    // newFileMode (less the process's umask).
    std::error_code writeWhole(const QByteArray &target, const QByteArray &bytes,
        mode_t newFileMode = 0666);

    // Removes from folder the temporary files that a killed or crashed copy,
    // move or rewrite left there, where they are not the only copy of
    // anything. A copy's name records its source, which must still be there
    // in full (the same file, unchanged, at least as long); a rewrite's names
    // the file it was to replace, which must still be there. A file a live
    // process is still writing, or whose source is gone or changed, is kept.
    // Returns how many were removed.
    int removeLeftovers(const QByteArray &folder);
    // The same, where knownSources are the paths copies may have been made
    // from: a copy whose source path was too long for its name (the name
    // holds only a digest of it) is recognised among them.
    int removeLeftovers(const QByteArray &folder, const QByteArrayList &knownSources);

    // Whether a file at path can be renamed into folder (one mounted file
    // system), so that moving it there takes no time.
    bool sameFileSystem(const QByteArray &path, const QByteArray &folder) const;

    // The file system the operations go through.
    FileSystem &fileSystem() const { return m_fs; }

private:
    class TemporaryFile;

    // What the final rename may do to a file at the target: replace it
    // (no setAside), or hand the file there at the start to setAside.
    struct Replacement
    {
        SetAside setAside;
        // The file at the target when the operation began.
        bool checked = false;
        dev_t device = 0;
        ino_t inode = 0;
    };
    Replacement replacementAt(const QByteArray &target, const SetAside &setAside);
    // Renames from to target as replacement allows; EEXIST when it does not.
    std::error_code renameInto(const QByteArray &from, const QByteArray &target, const Replacement &replacement);
    std::error_code copyThroughTemporary(const QByteArray &source, const QByteArray &target,
        const Replacement &replacement, const Progress &progress);
    std::error_code copyContents(int from, int to, off_t expectedSize, const Progress &progress);
    std::error_code writeAll(int fd, const char *data, qsizetype size);
    bool removeLeftover(const QByteArray &path, const leftovers::Leftover &leftover);

    FileSystem &m_fs;
};
