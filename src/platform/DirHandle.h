#pragma once
// Owns one open directory stream and closes it when it goes away.
#include <QByteArray>

#include <dirent.h>

#include <memory>

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

inline DirHandle openDirectory(const QByteArray &path)
{
    return DirHandle(::opendir(path.constData()));
}
