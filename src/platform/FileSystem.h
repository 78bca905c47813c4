#pragma once
// The handful of POSIX file calls that moving, copying and rewriting files
// are built on, behind virtual functions.
//
// The base class simply forwards to the C library and is what the program
// uses (FileSystem::posix()). Tests derive from it and override a call to
// make it fail at a chosen moment (a rename that crosses file systems, a
// disk that fills up half-way, a source that vanishes), so that the code
// above can be shown to lose nothing. Every call keeps the POSIX contract:
// -1 (or a short count) with errno set on failure.
#include <QByteArray>

#include <sys/stat.h>
#include <sys/types.h>
#include <ctime>
#include <vector>

class FileSystem
{
public:
    FileSystem() = default;
    FileSystem(const FileSystem &) = delete;
    FileSystem &operator=(const FileSystem &) = delete;
    virtual ~FileSystem() = default;

    // The shared instance that talks to the real file system.
    static FileSystem &posix();

    virtual int open(const char *path, int flags, mode_t mode);
    virtual int close(int fd);
    virtual ssize_t read(int fd, void *buffer, size_t size);
    virtual ssize_t write(int fd, const void *buffer, size_t size);
    virtual int fsync(int fd);
    virtual int fstat(int fd, struct stat *status);
    virtual int fchmod(int fd, mode_t mode);
    virtual int futimens(int fd, const struct timespec times[2]);
    virtual int stat(const char *path, struct stat *status);
    virtual int lstat(const char *path, struct stat *status);
    virtual int rename(const char *from, const char *to);
    // A rename that fails with EEXIST instead of replacing a file at to.
    virtual int renameNoReplace(const char *from, const char *to);
    // The same through link() and unlink(), for file systems whose rename
    // cannot refuse to replace; renameNoReplace() falls back on it.
    static int renameByLink(const char *from, const char *to);
    virtual int unlink(const char *path);
    virtual int access(const char *path, int mode);
    // Whether a file at path can be renamed into folder: both lie on one
    // mounted file system. False when either cannot be examined.
    virtual bool sameFileSystem(const char *path, const char *folder);
    // The names in folder, without "." and ".."; -1 with errno set when
    // the folder cannot be read to its end.
    virtual int readDirectory(const char *folder, std::vector<QByteArray> &names);

    // Built on stat(): each follows symbolic links and is false for an
    // empty path or one that cannot be examined.
    bool isDirectory(const QByteArray &path);
    bool isRegularFile(const QByteArray &path);
    // Whether both paths name the same file (same device and inode).
    bool sameFile(const QByteArray &a, const QByteArray &b);
};
