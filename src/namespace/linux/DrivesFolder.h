#pragma once
// The drives folder ("コンピュータ"): one item per mounted volume, named by
// its mount point. It is virtual: no directory stands behind it. A mount
// point that does not answer within a short wait is listed as slow
// (attr::kIsSlow); binding to it waits until it answers.
#include "namespace/ShellFolder.h"
#include "namespace/linux/LinuxNamespace.h"

namespace shellns {

class DrivesFolder : public ShellFolder
{
public:
    explicit DrivesFolder(std::shared_ptr<const NamespaceRoots> roots);

    static QByteArray parsingName();

    std::optional<std::vector<ItemIdList>> enumObjects(std::uint32_t flags) const override;
    std::optional<std::vector<FolderItem>> enumItems(std::uint32_t flags, std::uint32_t mask) const override;

    std::shared_ptr<ShellFolder> bindItem(const ItemId &item) const override;
    std::optional<QByteArray> itemName(const ItemId *item, std::uint32_t flags) const override;
    std::optional<std::uint32_t> itemAttributes(const ItemId *item) const override;
    int compareItems(const ItemId &a, const ItemId &b) const override;
    std::optional<IconLocation> itemIcon(const ItemId *item, unsigned flags) const override;

private:
    std::optional<Volume> volumeOf(const ItemId &item) const;

    std::shared_ptr<const NamespaceRoots> m_roots;
};

} // namespace shellns
