#pragma once
// A FileSystem that passes every call to another one until it is closed;
// from then on every call fails with ECANCELED, except closing a
// descriptor and removing a name.
//
// Work that is given up while a call of it hangs on a device (the window
// closed anyway) goes through one of these: when the hung call returns,
// the work fails at its next step instead of going on unseen. A move whose
// copy is cut short that way never reaches the removal of its source; one
// that has renamed its copy into place may still remove the source, so no
// file is ever left in neither place.
#include "platform/FileSystem.h"

#include <atomic>
#include <cerrno>

class GatedFileSystem : public FileSystem
{
public:
    explicit GatedFileSystem(FileSystem &inner)
        : m_inner(inner)
    {
    }

    void close() { m_closed = true; }
    bool isClosed() const { return m_closed; }

    int open(const char *path, int flags, mode_t mode) override
    {
        return closed() ? -1 : m_inner.open(path, flags, mode);
    }
    int close(int fd) override { return m_inner.close(fd); }
    ssize_t read(int fd, void *buffer, size_t size) override
    {
        return closed() ? -1 : m_inner.read(fd, buffer, size);
    }
    ssize_t write(int fd, const void *buffer, size_t size) override
    {
        return closed() ? -1 : m_inner.write(fd, buffer, size);
    }
    int fsync(int fd) override { return closed() ? -1 : m_inner.fsync(fd); }
    int fstat(int fd, struct stat *status) override { return closed() ? -1 : m_inner.fstat(fd, status); }
    int fchmod(int fd, mode_t mode) override { return closed() ? -1 : m_inner.fchmod(fd, mode); }
    int futimens(int fd, const struct timespec times[2]) override
    {
        return closed() ? -1 : m_inner.futimens(fd, times);
    }
    int stat(const char *path, struct stat *status) override { return closed() ? -1 : m_inner.stat(path, status); }
    int lstat(const char *path, struct stat *status) override
    {
        return closed() ? -1 : m_inner.lstat(path, status);
    }
    int rename(const char *from, const char *to) override { return closed() ? -1 : m_inner.rename(from, to); }
    int renameNoReplace(const char *from, const char *to) override
    {
        return closed() ? -1 : m_inner.renameNoReplace(from, to);
    }
    int unlink(const char *path) override { return m_inner.unlink(path); }
    int access(const char *path, int mode) override { return closed() ? -1 : m_inner.access(path, mode); }
    bool sameFileSystem(const char *path, const char *folder) override
    {
        return !closed() && m_inner.sameFileSystem(path, folder);
    }
    int readDirectory(const char *folder, std::vector<QByteArray> &names) override
    {
        return closed() ? -1 : m_inner.readDirectory(folder, names);
    }

private:
    bool closed() const
    {
        if (!m_closed)
            return false;
        errno = ECANCELED;
        return true;
    }

    FileSystem &m_inner;
    std::atomic<bool> m_closed {false};
};
