#pragma once
// A directory of the file system as a shell folder: its entries are the
// items (kind Folder for directories and links to them, File for the rest).
// The Desktop and the drives folder hand their directory work to one.
#include "namespace/ShellFolder.h"
#include "namespace/linux/LinuxNamespace.h"

#include <sys/stat.h>

namespace shellns {

class FileSystemFolder : public ShellFolder
{
public:
    FileSystemFolder(QByteArray path, std::shared_ptr<const NamespaceRoots> roots);

    const QByteArray &path() const { return m_path; }
    QByteArray childPath(const QByteArray &name) const;

    std::optional<std::vector<ItemIdList>> enumObjects(std::uint32_t flags) const override;
    std::optional<std::vector<FolderItem>> enumItems(std::uint32_t flags, std::uint32_t mask) const override;
    std::optional<FolderListing> listItems(std::uint32_t flags, std::uint32_t mask) const override;

    // The single-item answers, open to the folders that delegate here.
    std::shared_ptr<ShellFolder> bindItem(const ItemId &item) const override;
    std::optional<QByteArray> itemName(const ItemId *item, std::uint32_t flags) const override;
    std::optional<std::uint32_t> itemAttributes(const ItemId *item) const override;
    int compareItems(const ItemId &a, const ItemId &b) const override;
    std::optional<IconLocation> itemIcon(const ItemId *item, unsigned flags) const override;
    std::optional<int> itemOverlay(const ItemId &item) const override;
    std::optional<QByteArray> itemLinkTarget(const ItemId &item) const override;
    std::optional<FindData> itemFindData(const ItemId &item) const override;
    std::optional<QByteArray> itemSortKey(const ItemId &item) const override;

private:
    // What one directory entry is, as far as the listing asked.
    struct Entry
    {
        unsigned char type = 0; // DT_* of the entry itself
        bool folder = false;    // a directory, or a link to one
        bool reachable = false; // `target` holds the mode the entry leads to
        struct stat target = {};
    };
    // Calls visit(name, entry) for each entry that `flags` lets through;
    // false when the directory cannot be read.
    template <typename Visit>
    bool readEntries(std::uint32_t flags, bool wantTarget, Visit visit) const;
    // The attribute bits of an entry named `name`.
    static std::uint32_t entryAttributes(const char *name, const Entry &facts);

    // Path of an entry of this folder, or of the folder itself for none.
    std::optional<QByteArray> pathOf(const ItemId *item) const;
    IconLocation folderIcon(const QByteArray &path, unsigned flags) const;

    QByteArray m_path;
    std::shared_ptr<const NamespaceRoots> m_roots;
};

} // namespace shellns
