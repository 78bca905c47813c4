#pragma once
// Local files and folders carried by a drag from a file manager (or by a
// file: URI on the command line), as file-system bytes.
//
// The URIs are read from the raw "text/uri-list" bytes and percent-decoded
// to bytes, so a name that is not valid UTF-8 arrives unchanged. Only
// file: URIs of this machine count (no host, "localhost" or this host's
// name); others (http:, sftp:, another machine) are left out.
#include <QByteArray>
#include <QByteArrayList>

class QDropEvent;
class QMimeData;

namespace droppedpaths {

// How long a drop on a share or a drive that may hang waits to learn whether
// it carries a folder (on local disks it waits as a busy disk needs).
constexpr int kFolderLookMs = 50;

// The local paths of a text/uri-list, in order; comments and blank lines skipped.
QByteArrayList fromUriList(const QByteArray &uriList);

// The local path one file: URI names, or empty when it names none.
QByteArray fromFileUri(const QByteArray &uri);

// The local paths a drag carries.
QByteArrayList fromMimeData(const QMimeData &data);

// Accepts a drag as a reference to its files, never as a move: a link where
// the source offers one, else a copy (the source then leaves its files
// alone; nothing is copied here either). False when it offers neither.
bool acceptAsReference(QDropEvent &event);

// The local paths of one control's drag, from its first move over the control
// to its drop. A drag carries the same data all the way, so the drop takes
// the paths read while the drag moved over the control rather than asking
// the other program again: some programs (Qt's own drag source among them)
// do not answer that last request while they wait for the drop to finish,
// and the window would wait seconds for an empty answer.
class DragOffer
{
public:
    // The paths of a drag enter, move or drop event.
    QByteArrayList paths(const QDropEvent &event);
    // The drag left the control.
    void forget() { m_carried.clear(); }

private:
    QByteArrayList m_carried;
};

} // namespace droppedpaths
