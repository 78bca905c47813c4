#pragma once
// Reading one shell folder the way the browsing components show it.
//
// readShellFolder lists a folder through the namespace in one pass (names
// and attributes together), leaves out what the item filter says to leave
// out, and sorts the rest in the shell's order, optionally with one item
// (the documents folder under the Desktop) first. It makes no widgets,
// display names or icons: the folder tree, the folder drop-down and the
// file list view build those for the rows they show.
#include "shell/FflShowHidden.h"

#include "namespace/ShellFolder.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <vector>

// Which items a component shows.
struct ShellItemFilter
{
    bool includeFiles = false;  // items that are not folders
    bool onlyFileSystem = true; // only file-system items and folders that hold some
    TFflShowHidden showHidden = flhConformExplorer;
    bool userShowsHidden = false; // the user's desktop setting
    // What makes an item hidden: the tree and the list view count ghosted
    // items too, the drop-down only hidden ones.
    std::uint32_t hiddenBits = shellns::attr::kHidden | shellns::attr::kGhosted;

    bool isHidden(std::uint32_t attributes) const { return attributes & hiddenBits; }
    bool accepts(std::uint32_t attributes) const;
};

struct ShellReadOptions
{
    std::uint32_t enumFlags = shellns::enumflags::kFolders | shellns::enumflags::kNonFolders
        | shellns::enumflags::kIncludeHidden;
    std::uint32_t attributeMask = shellns::attr::kBrowseMask;
    ShellItemFilter filter;
    // An item of the folder that comes before all others (compareIds 0).
    std::optional<shellns::ItemIdList> leadingItem;
    // Also read each item's size, times and file attributes (file lists).
    bool withFindData = false;
};

struct ShellFolderItem
{
    shellns::ItemIdList itemId;   // relative to the folder read
    QByteArray name;              // in-folder parsing name
    std::uint32_t attributes = 0; // limited to the asked mask
    std::optional<shellns::FindData> findData;
};

// The folder's items that pass the filter, in the shell's order; none when
// the folder cannot be listed.
std::optional<std::vector<ShellFolderItem>> readShellFolder(const shellns::ShellFolder &folder,
                                                            const ShellReadOptions &options);

// The same items read and put in order, but each made only when it is
// taken, so that a caller building its own records makes no list between.
class ShellFolderListing
{
public:
    std::size_t size() const { return m_order.size(); }
    // The item at `position` in the shell's order. Asks the folder for find
    // data when the options did, so the folder must still be there.
    ShellFolderItem item(std::size_t position) const;
    // The same item, its identifier list and name sharing the listing's
    // bytes instead of copies of their own: no allocation per item, and
    // the bytes stay as long as any item (or a copy of its arrays) holds
    // on to them. Neither array ends in a 0 byte of its own.
    ShellFolderItem sharedItem(std::size_t position) const;

private:
    friend std::optional<ShellFolderListing> listShellFolder(const shellns::ShellFolder &,
                                                             const ShellReadOptions &);

    const shellns::ShellFolder *m_folder = nullptr;
    bool m_withFindData = false;
    shellns::FolderListing m_listing;
    std::vector<std::uint32_t> m_order; // positions in m_listing.items
};

std::optional<ShellFolderListing> listShellFolder(const shellns::ShellFolder &folder, const ShellReadOptions &options);

// Puts items of `folder` in the shell's order, `leading` first when given.
void sortInShellOrder(const shellns::ShellFolder &folder, std::vector<ShellFolderItem> &items,
                      const std::optional<shellns::ItemIdList> &leading = std::nullopt);

// The paths a read of the item of `parent` touches, for judging their
// mounts: the path it stands for, or for a virtual folder (the computer)
// the paths of its own items, the volumes, each of which a listing looks
// at. Naming the volumes reads only the mount table.
QByteArrayList shellItemPaths(const shellns::ShellFolder &parent, const shellns::ItemIdList &id);

// An absolute path parsed by the Desktop into item ids, as a walk down to it
// needs them; ok is false when the namespace cannot parse it.
struct ParsedShellPath
{
    bool ok = false;
    shellns::ItemIdList ids;
    std::uint32_t attributes = shellns::attr::kFolder;
};
ParsedShellPath parseShellPath(const shellns::ShellFolder &desktop, const QByteArray &path);

// Equal in-folder names ignoring letter case, as path elements are matched.
bool sameItemName(QByteArrayView a, QByteArrayView b);

// Position of the item named `name` among `count` names given by
// nameAt(i): an exact spelling wins (the file system tells "Music" from
// "music"), else the first that differs only in case; -1 for none.
template <typename NameAt>
int findItemByName(int count, NameAt nameAt, QByteArrayView name)
{
    for (int i = 0; i < count; ++i) {
        if (QByteArrayView(nameAt(i)) == name)
            return i;
    }
    for (int i = 0; i < count; ++i) {
        if (sameItemName(nameAt(i), name))
            return i;
    }
    return -1;
}
