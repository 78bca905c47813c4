#pragma once
// The shell namespace over this machine's file system.
//
// The Desktop ("デスクトップ") stands for the user's desktop directory and
// holds the documents folder, the home folder, the drives folder
// ("コンピュータ", whose items are the mounted volumes) and the desktop
// directory's own entries. Below a volume every directory entry is an item.
#include "namespace/ShellFolder.h"
#include "namespace/linux/Volumes.h"

#include <functional>

namespace shellns {

// The folders and volumes a namespace is built on.
struct NamespaceRoots
{
    QByteArray desktop;   // the desktop directory, else the home folder
    QByteArray documents; // the documents directory, else the home folder
    QByteArray home;
    std::function<std::vector<Volume>()> volumes;

    // The current user's folders (XDG user directories) and the mounted volumes.
    static NamespaceRoots fromEnvironment();
};

std::shared_ptr<ShellFolder> makeDesktopFolder(NamespaceRoots roots);

} // namespace shellns
