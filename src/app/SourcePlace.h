#pragma once
// Where a folder or file named from outside the window (the command line, a
// drop from a file manager) leads: the folder to list and, for a file, the
// file to make current.
#include <QByteArray>
#include <QString>

struct SourcePlace
{
    // Absolute; empty when the path names nothing that can be listed.
    QByteArray folder;
    // The file to make current; empty for a folder.
    QByteArray fileName;
    // Why the path cannot be opened, for the user.
    QString error;

    // Looks the path up: a folder, or a regular file and its folder. A
    // relative path is taken against the working directory; a file: URI of
    // this machine is accepted as well.
    static SourcePlace of(const QByteArray &path);
};
