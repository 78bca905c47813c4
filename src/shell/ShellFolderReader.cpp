#include "shell/ShellFolderReader.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <numeric>

using namespace shellns;

bool ShellItemFilter::accepts(std::uint32_t attributes) const
{
    if (!(attributes & attr::kFolder) && !includeFiles)
        return false;
    if (!(attributes & (attr::kFileSystem | attr::kFileSysAncestor)) && onlyFileSystem)
        return false;
    if (isHidden(attributes) && !showsHiddenItems(showHidden, userShowsHidden))
        return false;
    return true;
}

namespace {

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool sameIgnoringAsciiCase(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

} // namespace

bool sameItemName(QByteArrayView a, QByteArrayView b)
{
    // While both names are ASCII, character for character, a differing
    // letter or an end decides; most names of a folder differ early.
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < common && !((std::uint8_t(a[i]) | std::uint8_t(b[i])) & 0x80)) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
        ++i;
    }
    if (i == common)
        return a.size() == b.size();
    // Letters outside ASCII may fold to another length.
    QStringDecoder left(QStringDecoder::Utf8);
    QStringDecoder right(QStringDecoder::Utf8);
    const QString x = left.decode(a);
    const QString y = right.decode(b);
    if (!left.hasError() && !right.hasError())
        return x.compare(y, Qt::CaseInsensitive) == 0;
    // Bytes of other encodings are compared as they are, but for ASCII letters.
    return sameIgnoringAsciiCase(a, b);
}

namespace {

// `positions` put in the shell's order. idAt(p) and keyAt(p) give the
// identifier list and sort key of the item at position p as views; keys are
// used when `byKeys`, else the folder's compareIds orders the items.
template <typename IdAt, typename KeyAt>
std::vector<std::uint32_t> shellOrder(const ShellFolder &folder, std::vector<std::uint32_t> positions, IdAt idAt,
                                      KeyAt keyAt, bool byKeys, const std::optional<ItemIdList> &leading)
{
    // An identifier list for the folder's own questions, without a copy.
    auto idList = [&idAt](std::size_t i) {
        const QByteArrayView id = idAt(i);
        return QByteArray::fromRawData(id.data(), id.size());
    };
    struct Entry
    {
        std::uint64_t head; // eight key bytes after what all keys share
        std::uint32_t position;
        bool leads;
    };
    // Names in one folder often share a start ("folder 1", "folder 2"...):
    // the bytes after it decide most comparisons without a look at the keys.
    qsizetype shared = 0;
    if (byKeys && !positions.empty()) {
        const QByteArrayView first = keyAt(positions.front());
        shared = first.size();
        for (std::size_t i = 1; i < positions.size() && shared > 0; ++i) {
            const QByteArrayView key = keyAt(positions[i]);
            qsizetype same = 0;
            const qsizetype limit = std::min(shared, key.size());
            while (same < limit && key[same] == first[same])
                ++same;
            shared = same;
        }
    }
    auto headOf = [shared](QByteArrayView key) {
        // Missing bytes count as 0, below every byte, so a shorter key never
        // sorts later; equal heads leave the order to the whole keys.
        std::uint64_t head = 0;
        for (qsizetype i = shared; i < shared + 8; ++i)
            head = (head << 8) | (i < key.size() ? std::uint8_t(key[i]) : 0);
        return head;
    };
    std::vector<Entry> entries(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const std::uint32_t p = positions[i];
        entries[i] = {byKeys ? headOf(keyAt(p)) : 0, p, leading && folder.compareIds(idList(p), *leading) == 0};
    }
    if (byKeys) {
        std::sort(entries.begin(), entries.end(), [&keyAt](const Entry &a, const Entry &b) {
            if (a.leads != b.leads)
                return a.leads;
            if (a.head != b.head)
                return a.head < b.head;
            return keyAt(a.position) < keyAt(b.position);
        });
    } else {
        std::stable_sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
            if (a.leads != b.leads)
                return a.leads;
            // The shell's answer is a signed 16-bit number; a failed compare ties.
            const auto result = folder.compareIds(idList(a.position), idList(b.position));
            return result && qint16(*result) < 0;
        });
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        positions[i] = entries[i].position;
    return positions;
}

} // namespace

void sortInShellOrder(const ShellFolder &folder, std::vector<ShellFolderItem> &items,
                      const std::optional<ItemIdList> &leading)
{
    std::vector<QByteArray> keys;
    keys.reserve(items.size());
    for (const ShellFolderItem &each : items) {
        auto key = folder.sortKey(each.itemId);
        if (!key)
            break;
        keys.push_back(std::move(*key));
    }
    std::vector<std::uint32_t> positions(items.size());
    std::iota(positions.begin(), positions.end(), 0u);
    const auto order = shellOrder(
        folder, std::move(positions), [&items](std::uint32_t i) { return QByteArrayView(items[i].itemId); },
        [&keys](std::uint32_t i) { return QByteArrayView(keys[i]); }, keys.size() == items.size(), leading);
    std::vector<ShellFolderItem> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

std::optional<ShellFolderListing> listShellFolder(const ShellFolder &folder, const ShellReadOptions &options)
{
    auto listing = folder.listItems(options.enumFlags, options.attributeMask);
    if (!listing)
        return std::nullopt;
    std::vector<std::uint32_t> kept;
    kept.reserve(listing->items.size());
    bool byKeys = true;
    for (std::size_t i = 0; i < listing->items.size(); ++i) {
        const FolderListing::Item &each = listing->items[i];
        if (options.filter.accepts(each.attributes)) {
            kept.push_back(std::uint32_t(i));
            // Keys come with the listing when the folder has them.
            byKeys = byKeys && each.keySize > 0;
        }
    }
    const FolderListing &items = *listing;
    ShellFolderListing result;
    result.m_order = shellOrder(
        folder, std::move(kept), [&items](std::uint32_t i) { return items.itemId(items.items[i]); },
        [&items](std::uint32_t i) { return items.sortKey(items.items[i]); }, byKeys, options.leadingItem);
    result.m_folder = &folder;
    result.m_withFindData = options.withFindData;
    result.m_listing = std::move(*listing);
    return result;
}

ShellFolderItem ShellFolderListing::item(std::size_t position) const
{
    const FolderListing::Item &each = m_listing.items[m_order[position]];
    ShellFolderItem made{m_listing.itemId(each).toByteArray(), m_listing.name(each).toByteArray(), each.attributes,
                         std::nullopt};
    if (m_withFindData)
        made.findData = m_folder->findData(made.itemId);
    return made;
}

namespace {

// `size` bytes of `bytes` from `offset`, sharing its storage (and keeping
// it) where it has storage of its own, else copied. A byte array may begin
// inside its storage, as one does after bytes are taken off its front; a
// change to a shared one copies it first, so the others never see it.
QByteArray sharedPart(const QByteArray &bytes, qsizetype offset, qsizetype size)
{
    QByteArray::DataPointer whole = const_cast<QByteArray &>(bytes).data_ptr();
    if (!whole.d_ptr())
        return QByteArray(bytes.constData() + offset, size);
    whole.ptr += offset;
    whole.size = size;
    return QByteArray(std::move(whole));
}

} // namespace

ShellFolderItem ShellFolderListing::sharedItem(std::size_t position) const
{
    const FolderListing::Item &each = m_listing.items[m_order[position]];
    const QByteArray &bytes = m_listing.bytes;
    ShellFolderItem made{sharedPart(bytes, each.offset, each.idSize),
                         sharedPart(bytes, each.offset + each.idSize, each.nameSize), each.attributes, std::nullopt};
    if (m_withFindData)
        made.findData = m_folder->findData(made.itemId);
    return made;
}

std::optional<std::vector<ShellFolderItem>> readShellFolder(const ShellFolder &folder,
                                                            const ShellReadOptions &options)
{
    const auto listing = listShellFolder(folder, options);
    if (!listing)
        return std::nullopt;
    std::vector<ShellFolderItem> items;
    items.reserve(listing->size());
    for (std::size_t i = 0; i < listing->size(); ++i)
        items.push_back(listing->item(i));
    return items;
}

QByteArrayList shellItemPaths(const ShellFolder &parent, const ItemIdList &id)
{
    const QByteArray path = parent.displayNameOf(id, nameflags::kForParsing).value_or(QByteArray());
    if (path.startsWith('/'))
        return {path};
    QByteArrayList paths;
    const std::shared_ptr<ShellFolder> folder = parent.bindToObject(id);
    const auto items = folder ? folder->enumObjects(enumflags::kFolders) : std::nullopt;
    for (const ItemIdList &item : items.value_or(std::vector<ItemIdList> {})) {
        const QByteArray itemPath = folder->displayNameOf(item, nameflags::kForParsing).value_or(QByteArray());
        if (itemPath.startsWith('/'))
            paths << itemPath;
    }
    return paths;
}

ParsedShellPath parseShellPath(const ShellFolder &desktop, const QByteArray &path)
{
    ParsedShellPath parsed;
    parsed.ok = desktop.parseDisplayName(path, &parsed.ids, &parsed.attributes);
    return parsed;
}
