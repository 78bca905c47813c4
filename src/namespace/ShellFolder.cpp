#include "namespace/ShellFolder.h"

#include <algorithm>

namespace shellns {

QByteArray systemImageName(int index)
{
    switch (index) {
    case kImageShareOverlay:
        return QByteArrayLiteral("emblem-shared");
    case kImageLinkOverlay:
        return QByteArrayLiteral("emblem-symbolic-link");
    default:
        return QByteArray();
    }
}

ShellFolder::~ShellFolder() = default;

// The folder that holds the last element of a list, and that element.
struct ShellFolder::Resolved
{
    std::shared_ptr<ShellFolder> keep; // holds `folder` alive when it is not `this`
    const ShellFolder *folder = nullptr;
    std::optional<ItemId> item;        // none: the folder itself
};

auto ShellFolder::resolve(const ItemIdList &ids) const -> std::optional<Resolved>
{
    const auto elements = splitItemIds(ids);
    if (!elements)
        return std::nullopt;
    Resolved resolved;
    resolved.folder = this;
    if (elements->empty())
        return resolved;
    for (std::size_t i = 0; i + 1 < elements->size(); ++i) {
        const auto item = decodeItemId((*elements)[i]);
        if (!item)
            return std::nullopt;
        resolved.keep = resolved.folder->bindItem(*item);
        if (!resolved.keep)
            return std::nullopt;
        resolved.folder = resolved.keep.get();
    }
    resolved.item = decodeItemId(elements->back());
    if (!resolved.item)
        return std::nullopt;
    return resolved;
}

std::optional<std::vector<FolderItem>> ShellFolder::enumItems(std::uint32_t flags, std::uint32_t mask) const
{
    auto ids = enumObjects(flags);
    if (!ids)
        return std::nullopt;
    std::vector<FolderItem> items;
    items.reserve(ids->size());
    for (ItemIdList &id : *ids) {
        const auto item = decodeItemId(id);
        if (!item)
            continue;
        auto name = itemName(&*item, nameflags::kInFolder | nameflags::kForParsing);
        const auto bits = itemAttributes(&*item);
        if (!name || !bits)
            continue;
        items.push_back({std::move(id), std::move(*name), *bits & mask, itemSortKey(*item).value_or(QByteArray())});
    }
    return items;
}

std::optional<FolderListing> ShellFolder::listItems(std::uint32_t flags, std::uint32_t mask) const
{
    const auto items = enumItems(flags, mask);
    if (!items)
        return std::nullopt;
    FolderListing listing;
    listing.items.reserve(items->size());
    for (const FolderItem &each : *items)
        listing.add(each.itemId, each.name, each.attributes, each.sortKey);
    return listing;
}

void FolderListing::add(QByteArrayView id, QByteArrayView name, std::uint32_t attributes, QByteArrayView key)
{
    const qsizetype offset = bytes.size();
    bytes.append(id).append(name).append(key);
    addWritten(offset, attributes, id.size(), name.size());
}

void FolderListing::addWritten(qsizetype offset, std::uint32_t attributes, qsizetype idSize, qsizetype nameSize)
{
    const qsizetype keySize = bytes.size() - offset - idSize - nameSize;
    items.push_back({offset, attributes, std::uint32_t(idSize), std::uint32_t(nameSize), std::uint32_t(keySize)});
}

std::vector<FolderItem> FolderListing::toItems() const
{
    std::vector<FolderItem> unpacked;
    unpacked.reserve(items.size());
    for (const Item &each : items) {
        unpacked.push_back(
            {itemId(each).toByteArray(), name(each).toByteArray(), each.attributes, sortKey(each).toByteArray()});
    }
    return unpacked;
}

std::shared_ptr<ShellFolder> ShellFolder::bindToObject(const ItemIdList &ids) const
{
    const auto resolved = resolve(ids);
    if (!resolved || !resolved->item)
        return nullptr;
    return resolved->folder->bindItem(*resolved->item);
}

std::optional<QByteArray> ShellFolder::displayNameOf(const ItemIdList &ids, std::uint32_t flags) const
{
    const auto resolved = resolve(ids);
    if (!resolved)
        return std::nullopt;
    return resolved->folder->itemName(resolved->item ? &*resolved->item : nullptr, flags);
}

std::optional<std::uint32_t> ShellFolder::attributesOf(const ItemIdList &ids, std::uint32_t mask) const
{
    const auto resolved = resolve(ids);
    if (!resolved)
        return std::nullopt;
    const auto bits = resolved->folder->itemAttributes(resolved->item ? &*resolved->item : nullptr);
    if (!bits)
        return std::nullopt;
    return *bits & mask;
}

std::optional<int> ShellFolder::compareIds(const ItemIdList &a, const ItemIdList &b) const
{
    // Two single items, the common case when a folder's children are sorted.
    const qsizetype sizeA = firstItemIdSize(a);
    const qsizetype sizeB = firstItemIdSize(b);
    if (sizeA > 0 && sizeB > 0 && firstItemIdSize(QByteArrayView(a).sliced(sizeA)) == 0
        && firstItemIdSize(QByteArrayView(b).sliced(sizeB)) == 0) {
        const auto x = decodeItemId(a);
        const auto y = decodeItemId(b);
        if (!x || !y)
            return std::nullopt;
        const int order = compareItems(*x, *y);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    const auto left = splitItemIds(a);
    const auto right = splitItemIds(b);
    if (!left || !right)
        return std::nullopt;
    // Element by element from this folder; a shorter list that is a prefix comes first.
    std::shared_ptr<ShellFolder> keep;
    const ShellFolder *folder = this;
    const std::size_t common = std::min(left->size(), right->size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = decodeItemId((*left)[i]);
        const auto y = decodeItemId((*right)[i]);
        if (!x || !y)
            return std::nullopt;
        const int order = folder->compareItems(*x, *y);
        if (order != 0)
            return order < 0 ? -1 : 1;
        if (i + 1 == common)
            break;
        keep = folder->bindItem(*x);
        if (!keep)
            return std::nullopt;
        folder = keep.get();
    }
    if (left->size() == right->size())
        return 0;
    return left->size() < right->size() ? -1 : 1;
}

std::optional<QByteArray> ShellFolder::sortKey(const ItemIdList &id) const
{
    const qsizetype size = firstItemIdSize(id);
    if (size <= 0 || firstItemIdSize(QByteArrayView(id).sliced(size)) != 0)
        return std::nullopt;
    const auto item = decodeItemId(id);
    return item ? itemSortKey(*item) : std::nullopt;
}

std::optional<IconLocation> ShellFolder::iconLocation(const ItemIdList &ids, unsigned flags) const
{
    const auto resolved = resolve(ids);
    if (!resolved)
        return std::nullopt;
    return resolved->folder->itemIcon(resolved->item ? &*resolved->item : nullptr, flags);
}

std::optional<int> ShellFolder::overlayIconIndex(const ItemIdList &ids) const
{
    const auto resolved = resolve(ids);
    if (!resolved || !resolved->item)
        return std::nullopt;
    return resolved->folder->itemOverlay(*resolved->item);
}

std::optional<QByteArray> ShellFolder::linkTarget(const ItemIdList &ids) const
{
    const auto resolved = resolve(ids);
    if (!resolved || !resolved->item)
        return std::nullopt;
    return resolved->folder->itemLinkTarget(*resolved->item);
}

std::optional<FindData> ShellFolder::findData(const ItemIdList &ids) const
{
    const auto resolved = resolve(ids);
    if (!resolved || !resolved->item)
        return std::nullopt;
    return resolved->folder->itemFindData(*resolved->item);
}

bool ShellFolder::parseDisplayName(const QByteArray &, ItemIdList *, std::uint32_t *) const
{
    return false;
}

std::optional<ItemIdList> ShellFolder::specialFolderLocation(SpecialFolder) const
{
    return std::nullopt;
}

std::optional<int> ShellFolder::itemOverlay(const ItemId &) const
{
    return std::nullopt;
}

std::optional<QByteArray> ShellFolder::itemLinkTarget(const ItemId &) const
{
    return std::nullopt;
}

std::optional<FindData> ShellFolder::itemFindData(const ItemId &) const
{
    return std::nullopt;
}

std::optional<QByteArray> ShellFolder::itemSortKey(const ItemId &) const
{
    return std::nullopt;
}

} // namespace shellns
