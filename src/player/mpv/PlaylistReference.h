#pragma once
// One entry of a playlist file, turned into something the player may open.
//
// Relative references are taken from the playlist's folder, "\" counts as
// "/", file: URLs become paths (their percent escapes decoded to bytes), and
// network addresses pass unchanged. Everything else is refused: Windows
// drive letters and shares mean nothing here, and libmpv's own protocols
// (fd://, av://, memory://, ...) could read descriptors or run filters on a
// playlist's say-so.
#include <QByteArray>

namespace PlaylistReference {

// The path or URL for `reference`; empty when it is refused.
QByteArray resolve(const QByteArray &reference, const QByteArray &baseDir);

// The folder relative references of the playlist at `path` start from.
QByteArray baseFolder(const QByteArray &path);

} // namespace PlaylistReference
