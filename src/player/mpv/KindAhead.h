#pragma once
// Looks at the file likely to be played next while the current one plays,
// so that when it comes its kind is known and libmpv can open it at once:
// no read of ours stands between the key and the file. The bytes are read
// on a worker thread, which may lie blocked on a disk that does not answer
// without holding anything up.
#include "player/mpv/MediaSource.h"

#include <QByteArray>
#include <QObject>

#include <optional>

class FileCalls;

class KindAhead : public QObject
{
    Q_OBJECT

public:
    explicit KindAhead(QObject *parent = nullptr);

    // Starts looking at `path` (absolute), in place of any earlier one; an
    // empty path forgets.
    void lookAt(const QByteArray &path);
    // The kind of `path`, when it is the one looked at and has been read.
    std::optional<MediaSource::Kind> kindOf(const QByteArray &path) const;

private:
    FileCalls *m_calls;
    QByteArray m_path;
    std::optional<MediaSource::Kind> m_kind;
};
