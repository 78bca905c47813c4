#pragma once
// A temporary folder for tests, with helpers on byte paths: write and read a
// file, list the folder.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <dirent.h>
#include <cstdio>
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>
#include <vector>

class TempFolder
{
public:
    TempFolder() : m_path(QFile::encodeName(m_dir.path())) { m_dir.setAutoRemove(false); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    // Removes everything, FIFOs and read-only entries included.
    ~TempFolder()
    {
        ::nftw(m_path.constData(), [](const char *path, const struct stat *, int, FTW *) {
            return ::remove(path);
        }, 16, FTW_DEPTH | FTW_PHYS);
    }

    const QByteArray &path() const { return m_path; }
    QByteArray operator/(const QByteArray &name) const { return m_path + '/' + name; }

    static void write(const QByteArray &path, const QByteArray &bytes)
    {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t n = ::write(fd, bytes.constData(), bytes.size());
            ::close(fd);
        }
    }

    // nullopt-like: a missing file reads as "<missing>".
    static QByteArray read(const QByteArray &path)
    {
        const int fd = ::open(path.constData(), O_RDONLY);
        if (fd < 0)
            return "<missing>";
        QByteArray bytes;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, got);
        ::close(fd);
        return bytes;
    }

    // Sorted names in a folder, without "." and "..".
    static std::vector<QByteArray> list(const QByteArray &folder)
    {
        std::vector<QByteArray> names;
        if (DIR *dir = ::opendir(folder.constData())) {
            while (dirent *entry = ::readdir(dir)) {
                const QByteArray name(entry->d_name);
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};
