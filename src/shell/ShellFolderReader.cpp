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

bool isAscii(QByteArrayView s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return std::uint8_t(c) < 0x80; });
}

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
    if (a == b)
        return true;
    // Letters outside ASCII may fold to another length; ASCII ones never do.
    if (isAscii(a) && isAscii(b))
        return sameIgnoringAsciiCase(a, b);
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

// Positions of the items in the shell's order. `keys` is empty when the
// folder orders its items only through compareIds.
std::vector<std::size_t> shellOrder(const ShellFolder &folder, const std::vector<const ItemIdList *> &ids,
                                    const std::vector<QByteArrayView> &keys, const std::optional<ItemIdList> &leading)
{
    struct Entry
    {
        bool leads;
        std::uint64_t head; // eight key bytes after what all keys share
        QByteArrayView key;
        std::size_t position;
    };
    // Names in one folder often share a start ("folder 1", "folder 2"...):
    // the bytes after it decide most comparisons without a look at the keys.
    qsizetype shared = keys.empty() ? 0 : keys.front().size();
    for (QByteArrayView key : keys) {
        qsizetype i = 0;
        while (i < shared && i < key.size() && key[i] == keys.front()[i])
            ++i;
        shared = i;
    }
    auto headOf = [shared](QByteArrayView key) {
        // Missing bytes count as 0, below every byte, so a shorter key never
        // sorts later; equal heads leave the order to the whole keys.
        std::uint64_t head = 0;
        for (qsizetype i = shared; i < shared + 8; ++i)
            head = (head << 8) | (i < key.size() ? std::uint8_t(key[i]) : 0);
        return head;
    };
    std::vector<Entry> entries(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const QByteArrayView key = keys.empty() ? QByteArrayView() : keys[i];
        entries[i] = {leading && folder.compareIds(*ids[i], *leading) == 0, headOf(key), key, i};
    }
    if (!keys.empty()) {
        std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
            if (a.leads != b.leads)
                return a.leads;
            if (a.head != b.head)
                return a.head < b.head;
            return a.key < b.key;
        });
    } else {
        std::stable_sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
            if (a.leads != b.leads)
                return a.leads;
            // The shell's answer is a signed 16-bit number; a failed compare ties.
            const auto result = folder.compareIds(*ids[a.position], *ids[b.position]);
            return result && qint16(*result) < 0;
        });
    }
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].position;
    return order;
}

} // namespace

void sortInShellOrder(const ShellFolder &folder, std::vector<ShellFolderItem> &items,
                      const std::optional<ItemIdList> &leading)
{
    std::vector<const ItemIdList *> ids;
    std::vector<QByteArray> keys;
    ids.reserve(items.size());
    keys.reserve(items.size());
    for (const ShellFolderItem &each : items) {
        ids.push_back(&each.itemId);
        if (auto key = folder.sortKey(each.itemId); key && keys.size() + 1 == ids.size())
            keys.push_back(std::move(*key));
    }
    std::vector<QByteArrayView> views;
    if (keys.size() == ids.size())
        views.assign(keys.begin(), keys.end());
    std::vector<ShellFolderItem> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : shellOrder(folder, ids, views, leading))
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

std::optional<std::vector<ShellFolderItem>> readShellFolder(const ShellFolder &folder,
                                                            const ShellReadOptions &options)
{
    auto listed = folder.enumItems(options.enumFlags, options.attributeMask);
    if (!listed)
        return std::nullopt;
    std::vector<FolderItem *> kept;
    kept.reserve(listed->size());
    for (FolderItem &each : *listed) {
        if (options.filter.accepts(each.attributes))
            kept.push_back(&each);
    }
    // Keys come with the listing when the folder has them.
    std::vector<const ItemIdList *> ids;
    std::vector<QByteArrayView> keys;
    ids.reserve(kept.size());
    keys.reserve(kept.size());
    for (const FolderItem *each : kept) {
        ids.push_back(&each->itemId);
        keys.push_back(each->sortKey);
    }
    if (std::any_of(keys.begin(), keys.end(), [](QByteArrayView key) { return key.isEmpty(); }))
        keys.clear();

    std::vector<ShellFolderItem> items;
    items.reserve(kept.size());
    for (std::size_t i : shellOrder(folder, ids, keys, options.leadingItem)) {
        FolderItem &each = *kept[i];
        ShellFolderItem item{std::move(each.itemId), std::move(each.name), each.attributes, std::nullopt};
        if (options.withFindData)
            item.findData = folder.findData(item.itemId);
        items.push_back(std::move(item));
    }
    return items;
}
