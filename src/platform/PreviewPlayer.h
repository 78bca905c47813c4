#pragma once
// What the main window asks of its preview player: one write-only address.
//
// Writing a path starts playing that file at once (writing the same path
// again restarts it); writing an empty path stops playback and unloads the
// file. Paths are file-system bytes. The player control implements it over
// a PlayerBackend (libmpv, or a recording one in tests).
#include <QByteArray>

class PreviewPlayer
{
public:
    virtual ~PreviewPlayer() = default;

    virtual void setURL(const QByteArray &path) = 0;
    virtual QByteArray URL() const = 0;
};
