#pragma once
// A FileSystem that passes every call to the real one unless a test has
// armed a fault: a rename failing with a chosen error, the disk filling up
// after so many bytes, writes coming back short, a read cut short, an
// action run between two reads (to pull the source away mid-copy), failing
// fsync, unlink or access, a second file system inside the real one, and reads
// held until the test lets them go (a copy that takes its time).
#include "platform/FileSystem.h"

#include <QByteArray>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <condition_variable>
#include <functional>
#include <mutex>

// The rename of the file itself (not of a temporary file) fails with EXDEV,
// as between two file systems.
inline int acrossFileSystems(const QByteArray &from, const QByteArray &)
{
    return from.contains(".ondasort-") ? 0 : EXDEV;
}

class FaultyFileSystem : public FileSystem
{
public:
    // Given from and to, returns the errno to fail with, or 0 to go ahead.
    std::function<int(const QByteArray &, const QByteArray &)> renameFault;
    qint64 diskSpace = -1;      // bytes that writes may still add; -1: no limit
    size_t maxWrite = 0;        // largest count one write takes; 0: no limit
    int readsBeforeEnd = -1;    // reads that return data before a premature end
    std::function<void()> afterFirstRead;
    int fsyncError = 0;
    int unlinkError = 0;        // for the first unlink only
    int accessError = 0;

    // The folder standing for a second file system (empty: only one):
    // a rename between a path inside it and one outside fails with EXDEV.
    QByteArray otherFileSystem;

    // Calls come from worker threads too.
    std::atomic<int> renames {0};
    // Folders opened (as the file list does to read one).
    std::atomic<int> folderOpens {0};

    // Reads wait (on whatever thread makes them) until the test lets them go.
    void holdReads()
    {
        const std::lock_guard lock(m_gateMutex);
        m_readsHeld = true;
    }
    void letReadsGo()
    {
        {
            const std::lock_guard lock(m_gateMutex);
            m_readsHeld = false;
        }
        m_gate.notify_all();
    }
    // Whether a read is waiting at the held gate now.
    bool readWaiting() const
    {
        const std::lock_guard lock(m_gateMutex);
        return m_readsWaiting > 0;
    }

    bool sameFileSystem(const char *path, const char *folder) override
    {
        return !crosses(path, folder) && FileSystem::sameFileSystem(path, folder);
    }

    int open(const char *path, int flags, mode_t mode) override
    {
        if (flags & O_DIRECTORY)
            ++folderOpens;
        return FileSystem::open(path, flags, mode);
    }

    ssize_t write(int fd, const void *buffer, size_t size) override
    {
        if (maxWrite && size > maxWrite)
            size = maxWrite;
        if (diskSpace >= 0) {
            if (diskSpace == 0) {
                errno = ENOSPC;
                return -1;
            }
            size = std::min<size_t>(size, size_t(diskSpace));
            diskSpace -= qint64(size);
        }
        return FileSystem::write(fd, buffer, size);
    }

    ssize_t read(int fd, void *buffer, size_t size) override
    {
        {
            std::unique_lock lock(m_gateMutex);
            ++m_readsWaiting;
            m_gate.wait(lock, [this] { return !m_readsHeld; });
            --m_readsWaiting;
        }
        if (readsBeforeEnd == 0)
            return 0;
        if (readsBeforeEnd > 0)
            --readsBeforeEnd;
        const ssize_t got = FileSystem::read(fd, buffer, size);
        if (afterFirstRead) {
            auto action = std::move(afterFirstRead);
            afterFirstRead = nullptr;
            action();
        }
        return got;
    }

    int rename(const char *from, const char *to) override
    {
        return renameFailed(from, to) ? -1 : FileSystem::rename(from, to);
    }

    int renameNoReplace(const char *from, const char *to) override
    {
        return renameFailed(from, to) ? -1 : FileSystem::renameNoReplace(from, to);
    }

    int fsync(int fd) override
    {
        if (fsyncError) {
            errno = fsyncError;
            return -1;
        }
        return FileSystem::fsync(fd);
    }

    int unlink(const char *path) override
    {
        if (unlinkError) {
            errno = std::exchange(unlinkError, 0);
            return -1;
        }
        return FileSystem::unlink(path);
    }

    int access(const char *path, int mode) override
    {
        if (accessError) {
            errno = accessError;
            return -1;
        }
        return FileSystem::access(path, mode);
    }

private:
    bool crosses(const char *from, const char *to) const
    {
        const auto inside = [this](const char *path) {
            const QByteArray name(path);
            return !otherFileSystem.isEmpty()
                && (name == otherFileSystem || name.startsWith(otherFileSystem + '/'));
        };
        return inside(from) != inside(to);
    }

    // Counts a rename and tells whether it crosses the two file systems or
    // an armed fault fails it (errno set).
    bool renameFailed(const char *from, const char *to)
    {
        ++renames;
        int error = renameFault ? renameFault(from, to) : 0;
        if (!error && crosses(from, to))
            error = EXDEV;
        if (error)
            errno = error;
        return error != 0;
    }

    mutable std::mutex m_gateMutex;
    std::condition_variable m_gate;
    bool m_readsHeld = false;
    int m_readsWaiting = 0;
};

