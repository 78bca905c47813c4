#include "namespace/ItemIdList.h"

#include <cstring>

namespace shellns {

namespace {

constexpr qsizetype kCountSize = 2;

bool knownKind(std::uint8_t kind)
{
    switch (ItemKind(kind)) {
    case ItemKind::Documents:
    case ItemKind::Home:
    case ItemKind::Drives:
    case ItemKind::Volume:
    case ItemKind::Folder:
    case ItemKind::File:
        return true;
    }
    return false;
}

} // namespace

qsizetype firstItemIdSize(QByteArrayView list)
{
    if (list.size() < kCountSize)
        return -1;
    const qsizetype count = qsizetype(std::uint8_t(list[0])) | (qsizetype(std::uint8_t(list[1])) << 8);
    if (count == 0)
        return 0;
    if (count < kCountSize || count > list.size())
        return -1;
    return count;
}

ItemIdList emptyItemIdList()
{
    return ItemIdList(kCountSize, '\0');
}

ItemIdList makeItemId(ItemKind kind, QByteArrayView name)
{
    ItemIdList list;
    list.reserve(2 * kCountSize + 1 + name.size());
    appendItemId(list, kind, name);
    return list;
}

void appendItemId(QByteArray &out, ItemKind kind, QByteArrayView name)
{
    const qsizetype count = kCountSize + 1 + name.size();
    Q_ASSERT(count <= 0xFFFF);
    const qsizetype start = out.size();
    out.resize(start + count + kCountSize);
    char *at = out.data() + start;
    *at++ = char(count & 0xFF);
    *at++ = char((count >> 8) & 0xFF);
    *at++ = char(kind);
    if (!name.isEmpty())
        std::memcpy(at, name.data(), size_t(name.size()));
    at += name.size();
    *at++ = '\0';
    *at = '\0';
}

ItemIdList appendItemIds(const ItemIdList &head, const ItemIdList &tail)
{
    const qsizetype body = head.size() >= kCountSize ? head.size() - kCountSize : 0;
    return head.left(body) + (tail.isEmpty() ? QByteArray(2, '\0') : tail);
}

std::optional<std::vector<ItemIdList>> splitItemIds(QByteArrayView list)
{
    std::vector<ItemIdList> elements;
    for (;;) {
        const qsizetype size = firstItemIdSize(list);
        if (size < 0)
            return std::nullopt;
        if (size == 0)
            return elements;
        elements.push_back(list.first(size).toByteArray() + QByteArray(2, '\0'));
        list = list.sliced(size);
    }
}

std::optional<ItemId> decodeItemId(QByteArrayView list)
{
    const qsizetype size = firstItemIdSize(list);
    if (size <= kCountSize || !knownKind(std::uint8_t(list[kCountSize])))
        return std::nullopt;
    return ItemId{ItemKind(std::uint8_t(list[kCountSize])),
                  list.sliced(kCountSize + 1, size - kCountSize - 1).toByteArray()};
}

} // namespace shellns
