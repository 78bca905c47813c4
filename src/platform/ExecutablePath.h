#pragma once
// Where the running program lives, as the file system's bytes.
//
// Read from /proc/self/exe, never through Qt's application paths: those go
// through text and come back empty for a folder whose name is not UTF-8
// (a portable copy on a stick written by a Japanese PC has Shift_JIS names).
// Works before the application object exists.
#include <QByteArray>

namespace executable {

// The executable's full path; "" when the system does not say.
QByteArray filePath();

// The folder holding the executable, without a trailing "/" (except for
// the root itself); "" when unknown.
QByteArray directory();

// The executable's own file name (the last component of its path).
QByteArray fileName();

} // namespace executable
