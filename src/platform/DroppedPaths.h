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

} // namespace droppedpaths
