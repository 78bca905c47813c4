#pragma once
// Path helpers on byte strings.
//
// A path is kept as the bytes the file system uses (QByteArray); names need
// not be valid UTF-8 and are never rebuilt from display text. The separator
// is "/", and every split takes the last one.
#include <QByteArray>
#include <QString>

namespace paths {

// folder + "/" + name, always inserting exactly one "/" (so "/" gives "//name").
QByteArray join(const QByteArray &folder, const QByteArray &name);

// What follows the last "/" (the whole path when there is none).
QByteArray lastComponent(const QByteArray &path);

// Everything before the last "/", without it; a "/" that directly follows
// another "/" or starts the path stays, so "/usr/bin/x" gives "/usr/bin" and
// "/x" gives "/". A path without "/" gives "".
QByteArray directoryPart(const QByteArray &path);

// The path cut just after its last "/" ("" when there is none).
QByteArray directoryWithSeparator(const QByteArray &path);

// The folder's own name: one trailing "/" removed, then the last component
// ("" for the root).
QByteArray folderName(const QByteArray &path);

// The name without its extension: from the last "." to the end is dropped;
// a name without "." stays whole.
QByteArray dropExtension(const QByteArray &name);

// Text for showing a path or name: UTF-8, else Shift_JIS when the bytes are
// valid Shift_JIS, else the file system's own decoding. Never turn the
// result back into a path of an existing file: keep the bytes for that.
QString toDisplay(const QByteArray &path);
// Bytes for a path the user typed or picked as text.
QByteArray fromDisplay(const QString &text);

} // namespace paths
