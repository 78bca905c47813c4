#pragma once
// Reads the names of a folder's files that match a FileMask, in one pass
// over the folder.
//
// Listed are regular files, read-only and hidden (".name") ones included,
// and symbolic links to regular files; never folders, FIFOs, sockets,
// devices or broken links. A name is listed once for every pattern it
// matches. The names come pattern by pattern, in the mask's order, and within
// one pattern in the folder's own order: the order that enumerating the
// folder once per pattern would give.
#include <QByteArray>

#include <vector>

class FileMask;

namespace folderfiles {

struct Listing {
    std::vector<QByteArray> names;
    int error = 0; // errno when the folder could not be read, else 0
};

Listing read(const QByteArray &folder, const FileMask &mask);

// The same on an open folder; the descriptor stays open and unmoved.
Listing read(int folderFd, const FileMask &mask);

} // namespace folderfiles
