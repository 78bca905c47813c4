#pragma once
// The Desktop: root of the namespace. Its own items are the documents
// folder, the home folder and the drives folder; the desktop directory's
// entries follow. It alone parses paths and names the special folders.
#include "namespace/ShellFolder.h"
#include "namespace/linux/FileSystemFolder.h"

namespace shellns {

class DesktopFolder : public ShellFolder
{
public:
    explicit DesktopFolder(std::shared_ptr<const NamespaceRoots> roots);

    std::optional<std::vector<ItemIdList>> enumObjects(std::uint32_t flags) const override;
    bool parseDisplayName(const QByteArray &path, ItemIdList *ids,
                          std::uint32_t *attributes) const override;
    std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) const override;

protected:
    std::shared_ptr<ShellFolder> bindItem(const ItemId &item) const override;
    std::optional<QByteArray> itemName(const ItemId *item, std::uint32_t flags) const override;
    std::optional<std::uint32_t> itemAttributes(const ItemId *item) const override;
    int compareItems(const ItemId &a, const ItemId &b) const override;
    std::optional<IconLocation> itemIcon(const ItemId *item, unsigned flags) const override;
    std::optional<int> itemOverlay(const ItemId &item) const override;
    std::optional<QByteArray> itemLinkTarget(const ItemId &item) const override;
    std::optional<FindData> itemFindData(const ItemId &item) const override;

private:
    // The directory behind a documents or home item.
    std::optional<QByteArray> specialPath(const ItemId &item) const;

    std::shared_ptr<const NamespaceRoots> m_roots;
    FileSystemFolder m_entries; // the desktop directory
};

} // namespace shellns
