#pragma once
// Item identifier lists: how the shell namespace names its items.
//
// A list is a run of elements, each a little-endian 16-bit byte count that
// counts itself, followed by its payload; a count of 0 ends the list. Our
// payload is one kind byte and the item's name bytes. Lists are plain byte
// arrays held by value, so they free themselves.
#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <vector>

namespace shellns {

using ItemIdList = QByteArray;

enum class ItemKind : std::uint8_t {
    Documents = 0x01, // the user's documents folder, below the Desktop
    Home = 0x02,      // the home folder, below the Desktop
    Drives = 0x03,    // the drives folder ("コンピュータ"), below the Desktop
    Volume = 0x10,    // a mounted volume, named by its mount point
    Folder = 0x20,    // a directory entry that is (or points to) a directory
    File = 0x21,      // any other directory entry
};

struct ItemId
{
    ItemKind kind;
    QByteArray name;
};

// Size of the element at the start of `list`: 0 for the terminator, -1 when
// the bytes do not hold a whole element (short count, count past the end).
qsizetype firstItemIdSize(QByteArrayView list);

// The list of no elements: the folder itself.
ItemIdList emptyItemIdList();

// A one-element list for (kind, name), terminator included.
ItemIdList makeItemId(ItemKind kind, QByteArrayView name);
// The same list written at the end of `out`.
void appendItemId(QByteArray &out, ItemKind kind, QByteArrayView name);

// `head` without its terminator followed by `tail`.
ItemIdList appendItemIds(const ItemIdList &head, const ItemIdList &tail);

// Each element of a well-formed list as a one-element list; none when the
// list is malformed or unterminated.
std::optional<std::vector<ItemIdList>> splitItemIds(QByteArrayView list);

// Kind and name of the first element; none for an empty or malformed list or
// an unknown kind.
std::optional<ItemId> decodeItemId(QByteArrayView list);

} // namespace shellns
