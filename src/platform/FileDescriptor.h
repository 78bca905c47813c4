#pragma once
// Owns one open file descriptor and closes it, through the FileSystem that
// opened it, when it goes away. Movable, not copyable.
#include "platform/FileSystem.h"

#include <utility>

class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd, FileSystem &fileSystem = FileSystem::posix())
        : m_fd(fd)
        , m_fs(&fileSystem)
    {
    }
    FileDescriptor(FileDescriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
        , m_fs(other.m_fs)
    {
    }
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        if (this != &other) {
            close();
            m_fd = std::exchange(other.m_fd, -1);
            m_fs = other.m_fs;
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { close(); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

    // Gives the descriptor up without closing it.
    int release() { return std::exchange(m_fd, -1); }

    // Closes now. Returns close()'s result, which some file systems use to
    // report a failed write; 0 when nothing was open.
    int close()
    {
        if (m_fd < 0)
            return 0;
        return m_fs->close(std::exchange(m_fd, -1));
    }

private:
    int m_fd = -1;
    FileSystem *m_fs = &FileSystem::posix();
};
