#pragma once
// The shell namespace as the browsing components see it.
//
// A ShellFolder is one folder of the namespace: the Desktop at the top, the
// drives folder, a volume, a directory. It lists its items as item
// identifier lists relative to itself, binds an item to that item's own
// folder object, and answers names, attributes, order, icons, overlays and
// link targets for its items. Folder objects are shared: whoever keeps one
// holds a std::shared_ptr to it. Every operation reports failure as an empty
// result and never throws.
//
// The operations that take an item accept a list of any length: an empty
// list means the folder itself, a longer one is walked from this folder.
#include "namespace/ItemIdList.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace shellns {

// Attribute bits of an item.
namespace attr {
// Neither a regular file nor a directory (socket, FIFO, device): never media.
constexpr std::uint32_t kSystem = 0x00001000;
constexpr std::uint32_t kEncrypted = 0x00002000;
constexpr std::uint32_t kIsSlow = 0x00004000;
constexpr std::uint32_t kGhosted = 0x00008000;
constexpr std::uint32_t kLink = 0x00010000;
constexpr std::uint32_t kShare = 0x00020000;
constexpr std::uint32_t kReadOnly = 0x00040000;
constexpr std::uint32_t kHidden = 0x00080000;
constexpr std::uint32_t kStorageAncestor = 0x00800000;
constexpr std::uint32_t kCompressed = 0x04000000;
constexpr std::uint32_t kFileSysAncestor = 0x10000000;
constexpr std::uint32_t kFolder = 0x20000000;
constexpr std::uint32_t kFileSystem = 0x40000000;
// What the browsing components ask for.
constexpr std::uint32_t kBrowseMask = 0x748be000;
} // namespace attr

// What enumObjects lists.
namespace enumflags {
constexpr std::uint32_t kFolders = 0x20;
constexpr std::uint32_t kNonFolders = 0x40;
constexpr std::uint32_t kIncludeHidden = 0x80;
} // namespace enumflags

// Forms of an item's name; kInFolder and kForParsing combine.
namespace nameflags {
constexpr std::uint32_t kNormal = 0x0000;     // label for people
constexpr std::uint32_t kInFolder = 0x0001;   // relative to its folder
constexpr std::uint32_t kForParsing = 0x8000; // as a path names it
} // namespace nameflags

// Which icon iconLocation gives.
namespace iconflags {
constexpr unsigned kOpenIcon = 0x1;
constexpr unsigned kForShell = 0x2;
} // namespace iconflags

// Where an icon comes from: a freedesktop theme icon name and an index in it.
struct IconLocation
{
    QByteArray location;
    int index = 0;

    bool operator==(const IconLocation &) const = default;
};

// Entries of the shell's image list that overlays are drawn from.
enum SystemImage : int { kImageShareOverlay = 0, kImageLinkOverlay = 1, kSystemImageCount };

// Theme icon name behind a system image, "" for an index it does not have.
QByteArray systemImageName(int index);

// File-system facts about an item, as a directory search reports them.
namespace fileattr {
constexpr std::uint32_t kReadOnly = 0x0001;
constexpr std::uint32_t kHidden = 0x0002;
constexpr std::uint32_t kSystem = 0x0004;
constexpr std::uint32_t kDirectory = 0x0010;
constexpr std::uint32_t kNormal = 0x0080;
constexpr std::uint32_t kReparsePoint = 0x0400;
} // namespace fileattr

struct FindData
{
    std::uint32_t attributes = 0;
    QDateTime created;
    QDateTime modified;
    QDateTime accessed;
    std::uint64_t size = 0;
};

// One item as a folder lists it with its facts, read in one pass.
struct FolderItem
{
    ItemIdList itemId;           // one element, relative to the folder
    QByteArray name;             // in-folder parsing name
    std::uint32_t attributes = 0; // limited to the asked mask
    // Bytes whose plain order is the folder's order of its items; empty
    // when the folder orders its items only through compareIds.
    QByteArray sortKey;
};

// The same facts for a whole folder packed into one buffer, so that a big
// folder is listed without an allocation per item. Each item's identifier
// list, name and sort key lie back to back in `bytes` from its offset.
struct FolderListing
{
    struct Item
    {
        qsizetype offset = 0;
        std::uint32_t attributes = 0; // limited to the asked mask
        std::uint32_t idSize = 0;
        std::uint32_t nameSize = 0;
        std::uint32_t keySize = 0; // 0 when the folder has no keys
    };
    std::vector<Item> items;
    QByteArray bytes;

    QByteArrayView itemId(const Item &item) const { return {bytes.constData() + item.offset, item.idSize}; }
    QByteArrayView name(const Item &item) const
    {
        return {bytes.constData() + item.offset + item.idSize, item.nameSize};
    }
    QByteArrayView sortKey(const Item &item) const
    {
        return {bytes.constData() + item.offset + item.idSize + item.nameSize, item.keySize};
    }
    // Adds an item from its parts.
    void add(QByteArrayView id, QByteArrayView name, std::uint32_t attributes, QByteArrayView key);
    // Adds an item whose identifier list, name and key were written to the
    // end of `bytes` since `offset`.
    void addWritten(qsizetype offset, std::uint32_t attributes, qsizetype idSize, qsizetype nameSize);
    // The items one by one.
    std::vector<FolderItem> toItems() const;
};

// Folders the namespace can name without parsing.
enum class SpecialFolder { Desktop, Documents, Drives };

class ShellFolder
{
public:
    virtual ~ShellFolder();

    // The items of this folder, each a one-element list, in no set order.
    virtual std::optional<std::vector<ItemIdList>> enumObjects(std::uint32_t flags) const = 0;

    // The items with their parsing names and attributes (limited to `mask`),
    // in no set order; items whose name or attributes cannot be read are
    // left out. The same answers as enumObjects followed by displayNameOf,
    // attributesOf and sortKey for each item, which is what it does unless
    // a folder knows a faster way.
    virtual std::optional<std::vector<FolderItem>> enumItems(std::uint32_t flags, std::uint32_t mask) const;
    // The same items packed into one listing; what enumItems gives unless a
    // folder knows a faster way.
    virtual std::optional<FolderListing> listItems(std::uint32_t flags, std::uint32_t mask) const;

    std::shared_ptr<ShellFolder> bindToObject(const ItemIdList &ids) const;
    std::optional<QByteArray> displayNameOf(const ItemIdList &ids, std::uint32_t flags) const;
    // The item's bits limited to `mask`.
    std::optional<std::uint32_t> attributesOf(const ItemIdList &ids, std::uint32_t mask) const;
    // Order of two items of this folder: negative, 0 for the same item, positive.
    // The result fits a signed 16-bit number.
    std::optional<int> compareIds(const ItemIdList &a, const ItemIdList &b) const;
    // Key of a single item of this folder: comparing two keys as bytes gives
    // the sign compareIds gives. None when the folder has no keys.
    std::optional<QByteArray> sortKey(const ItemIdList &id) const;
    std::optional<IconLocation> iconLocation(const ItemIdList &ids, unsigned flags) const;
    // Index of the item's overlay in the system image list.
    std::optional<int> overlayIconIndex(const ItemIdList &ids) const;
    // Absolute path a link item points to.
    std::optional<QByteArray> linkTarget(const ItemIdList &ids) const;
    std::optional<FindData> findData(const ItemIdList &ids) const;

    // Absolute path → absolute list and the item's bits limited to the
    // asked `*attributes` (left alone when null). Only the Desktop parses.
    virtual bool parseDisplayName(const QByteArray &path, ItemIdList *ids,
                                  std::uint32_t *attributes) const;
    // Absolute list of a special folder; only the Desktop knows them.
    virtual std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) const;

protected:
    // Single items of this folder; `item` is none for the folder itself.
    virtual std::shared_ptr<ShellFolder> bindItem(const ItemId &item) const = 0;
    virtual std::optional<QByteArray> itemName(const ItemId *item, std::uint32_t flags) const = 0;
    virtual std::optional<std::uint32_t> itemAttributes(const ItemId *item) const = 0;
    virtual int compareItems(const ItemId &a, const ItemId &b) const = 0;
    virtual std::optional<IconLocation> itemIcon(const ItemId *item, unsigned flags) const = 0;
    virtual std::optional<int> itemOverlay(const ItemId &item) const;
    virtual std::optional<QByteArray> itemLinkTarget(const ItemId &item) const;
    virtual std::optional<FindData> itemFindData(const ItemId &item) const;
    virtual std::optional<QByteArray> itemSortKey(const ItemId &item) const;

private:
    struct Resolved;
    std::optional<Resolved> resolve(const ItemIdList &ids) const;
};

// The root of the namespace for this user and machine.
std::shared_ptr<ShellFolder> desktopFolder();

} // namespace shellns
