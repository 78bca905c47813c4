#pragma once
// Making a byte-string path absolute without touching the file system.
#include <QByteArray>

namespace paths {

// `path` made absolute against `base` (an absolute folder), with empty, "."
// and ".." components resolved lexically. ".." at the root stays at the root.
QByteArray absoluteClean(const QByteArray &path, const QByteArray &base);

// The same against the process's current directory.
QByteArray absoluteClean(const QByteArray &path);

} // namespace paths
