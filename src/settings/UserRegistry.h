#pragma once
// The per-user registry: one settings store in Qt's native format (the
// registry on Windows, an INI file under the user's configuration folder
// elsewhere) in which a key path names nested groups.
//
// Key paths may be written with "\" as on Windows or with "/"; both are
// separators, and leading, trailing and doubled separators are dropped.
#include <QSettings>
#include <QString>

#include <memory>

namespace registry {

std::unique_ptr<QSettings> openUser();

// The group path for a key path: separators as "/", empty pieces dropped.
// "" when the path holds nothing but separators.
QString groupPath(const QString &keyPath);

} // namespace registry
