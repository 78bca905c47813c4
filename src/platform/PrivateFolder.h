#pragma once
// Making the folders a per-user file lives in (the settings file, the
// journal, the desktop's trash): every missing folder on the way is made
// private to the user, as the desktop's own data and config folders are.
#include <QByteArray>

namespace privatefolder {

// Makes folder and any missing folder above it (mode 0700). Returns whether
// folder is a directory afterwards; true for an empty path (the working
// directory).
bool make(const QByteArray &folder);

} // namespace privatefolder
