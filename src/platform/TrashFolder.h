#pragma once
// Where the desktop's trash keeps a file sent to it (the freedesktop
// layout): the user's own trash in the data folder for a file on the same
// file system, otherwise a trash at the top of the file's mount, where the
// file can be renamed into it instead of copied.
#include <QByteArray>

#include <system_error>

class FileSystem;

namespace trashfolder {

struct Place
{
    // The trash folder, holding "files" and "info" (both made).
    QByteArray root;
    // The top of the mount for a trash there, which the record's Path is
    // relative to; empty for the user's own trash (an absolute Path).
    QByteArray top;
    std::error_code error;
};

// The trash for the file at path (absolute, its folder free of links),
// made where missing. The user's trash serves a file on another mount
// whose top takes no trash; error is set when no trash can be had.
Place forFile(const QByteArray &path, FileSystem &fs);

// The user's own trash ($XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash), whether or not it exists.
QByteArray homeTrash();

} // namespace trashfolder
