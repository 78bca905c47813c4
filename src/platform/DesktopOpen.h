#pragma once
// Hands a document or a web address to the desktop's default handler.
// Failures are not reported: the caller has nothing to do about them.
#include <QByteArray>
#include <QString>
#include <QUrl>

namespace desktop {

// The file: URL of a local path, carrying its bytes percent-encoded.
QUrl localFileUrl(const QByteArray &path);

// Opens a local file (path as file-system bytes) in its default application.
bool openLocalFile(const QByteArray &path);

// Opens a URL, given exactly as written, in the default browser.
bool openUrl(const QString &url);

} // namespace desktop
