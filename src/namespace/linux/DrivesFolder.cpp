#include "namespace/linux/DrivesFolder.h"

#include "namespace/linux/FileSystemFolder.h"
#include "namespace/linux/NaturalOrder.h"
#include "platform/FolderProbe.h"
#include "platform/Paths.h"

namespace shellns {

namespace {

constexpr std::uint32_t kVolumeBits =
    attr::kFolder | attr::kFileSystem | attr::kFileSysAncestor | attr::kStorageAncestor;

// How long a listing waits for its mount points to answer.
constexpr int kListingWaitMs = 300;

// A volume's bits by how its mount point answered: one that does not is
// still listed, as slow; a mounted single file is no volume.
std::optional<std::uint32_t> volumeBits(folderprobe::Answer answer)
{
    switch (answer) {
    case folderprobe::Answer::Folder:
        return kVolumeBits;
    case folderprobe::Answer::NoAnswer:
        return kVolumeBits | attr::kIsSlow;
    case folderprobe::Answer::NotFolder:
        break;
    }
    return std::nullopt;
}

} // namespace

DrivesFolder::DrivesFolder(std::shared_ptr<const NamespaceRoots> roots)
    : m_roots(std::move(roots))
{
}

QByteArray DrivesFolder::parsingName()
{
    return QByteArrayLiteral("::drives");
}

std::optional<Volume> DrivesFolder::volumeOf(const ItemId &item) const
{
    if (item.kind != ItemKind::Volume || !item.name.startsWith('/'))
        return std::nullopt;
    for (const Volume &volume : m_roots->volumes()) {
        if (volume.mountPoint == item.name)
            return volume;
    }
    // Unmounted since it was listed: still a folder while its directory exists.
    return Volume{item.name, paths::toDisplay(item.name), false};
}

std::optional<std::vector<ItemIdList>> DrivesFolder::enumObjects(std::uint32_t flags) const
{
    std::vector<ItemIdList> items;
    if (flags & enumflags::kFolders) {
        for (const Volume &volume : m_roots->volumes())
            items.push_back(makeItemId(ItemKind::Volume, volume.mountPoint));
    }
    return items;
}

std::optional<std::vector<FolderItem>> DrivesFolder::enumItems(std::uint32_t flags, std::uint32_t mask) const
{
    std::vector<FolderItem> items;
    if (!(flags & enumflags::kFolders))
        return items;
    // Every mount point is asked at once; a dead one costs the listing one wait, not one each.
    const std::vector<Volume> volumes = m_roots->volumes();
    QByteArrayList mountPoints;
    for (const Volume &volume : volumes)
        mountPoints << volume.mountPoint;
    const std::vector<folderprobe::Answer> answers = folderprobe::look(mountPoints, kListingWaitMs);
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        if (const auto bits = volumeBits(answers[i]))
            items.push_back({makeItemId(ItemKind::Volume, volumes[i].mountPoint), volumes[i].mountPoint, *bits & mask,
                             QByteArray()});
    }
    return items;
}

std::shared_ptr<ShellFolder> DrivesFolder::bindItem(const ItemId &item) const
{
    // Opening a volume waits for its mount point, however long it takes.
    const auto volume = volumeOf(item);
    if (!volume || folderprobe::look(volume->mountPoint, -1) != folderprobe::Answer::Folder)
        return nullptr;
    return std::make_shared<FileSystemFolder>(volume->mountPoint, m_roots);
}

std::optional<QByteArray> DrivesFolder::itemName(const ItemId *item, std::uint32_t flags) const
{
    if (!item)
        return (flags & nameflags::kForParsing) ? parsingName() : QStringLiteral("コンピュータ").toUtf8();
    const auto volume = volumeOf(*item);
    if (!volume)
        return std::nullopt;
    return (flags & nameflags::kForParsing) ? volume->mountPoint : volume->label.toUtf8();
}

std::optional<std::uint32_t> DrivesFolder::itemAttributes(const ItemId *item) const
{
    if (!item)
        return attr::kFolder | attr::kFileSysAncestor;
    const auto volume = volumeOf(*item);
    if (!volume)
        return std::nullopt;
    return volumeBits(folderprobe::look(volume->mountPoint, kListingWaitMs));
}

int DrivesFolder::compareItems(const ItemId &a, const ItemId &b) const
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if ((a.name == "/") != (b.name == "/"))
        return a.name == "/" ? -1 : 1;
    return naturalCompare(a.name, b.name);
}

std::optional<IconLocation> DrivesFolder::itemIcon(const ItemId *item, unsigned) const
{
    if (!item)
        return IconLocation{QByteArrayLiteral("computer"), 0};
    const auto volume = volumeOf(*item);
    if (!volume)
        return std::nullopt;
    return IconLocation{volume->removable ? QByteArrayLiteral("drive-removable-media")
                                          : QByteArrayLiteral("drive-harddisk"),
                        0};
}

} // namespace shellns
