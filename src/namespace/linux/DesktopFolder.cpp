#include "namespace/linux/DesktopFolder.h"

#include "platform/Paths.h"
#include "platform/PathResolve.h"
#include "namespace/linux/DrivesFolder.h"
#include "namespace/linux/NaturalOrder.h"
#include "namespace/linux/PosixFiles.h"
#include "platform/Paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>

namespace shellns {

namespace {

constexpr std::uint32_t kDirectoryBits =
    attr::kFolder | attr::kFileSystem | attr::kFileSysAncestor | attr::kStorageAncestor;

bool isEntry(const ItemId &item)
{
    return item.kind == ItemKind::Folder || item.kind == ItemKind::File;
}

// The path as the file system spells it. A component that does not exist as
// written matches an entry that differs only in letter case, the first in
// the shell's order, so paths typed in another case still lead somewhere.
std::optional<QByteArray> existingSpelling(const QByteArray &clean)
{
    struct stat entry;
    if (lstat(clean.constData(), &entry) == 0)
        return clean;
    QByteArray resolved = "/";
    for (const QByteArray &part : clean.split('/')) {
        if (part.isEmpty())
            continue;
        const QByteArray folder = resolved == "/" ? resolved : resolved + '/';
        if (lstat((folder + part).constData(), &entry) == 0) {
            resolved = folder + part;
            continue;
        }
        DirHandle dir = openDirectory(resolved);
        if (!dir)
            return std::nullopt;
        QByteArray best;
        while (const dirent *each = readdir(dir.get())) {
            const QByteArray name(each->d_name);
            if (name != "." && name != ".." && sameNameIgnoringCase(name, part)
                && (best.isEmpty() || naturalCompare(name, best) < 0))
                best = name;
        }
        if (best.isEmpty())
            return std::nullopt;
        resolved = folder + best;
    }
    return resolved;
}

// Two paths that lead to the same directory.
bool sameDirectory(const QByteArray &a, const QByteArray &b)
{
    struct stat first, second;
    return a == b
        || (stat(a.constData(), &first) == 0 && stat(b.constData(), &second) == 0
            && S_ISDIR(first.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino);
}

} // namespace

DesktopFolder::DesktopFolder(std::shared_ptr<const NamespaceRoots> roots)
    : m_roots(roots)
    , m_entries(roots->desktop, roots)
{
}

std::optional<QByteArray> DesktopFolder::specialPath(const ItemId &item) const
{
    if (item.kind == ItemKind::Documents)
        return m_roots->documents;
    if (item.kind == ItemKind::Home)
        return m_roots->home;
    return std::nullopt;
}

std::optional<std::vector<ItemIdList>> DesktopFolder::enumObjects(std::uint32_t flags) const
{
    std::vector<ItemIdList> items;
    if (flags & enumflags::kFolders) {
        if (isDirectory(m_roots->documents))
            items.push_back(makeItemId(ItemKind::Documents, {}));
        // Without a documents folder of its own the home folder stands in
        // its place, listed once.
        if (isDirectory(m_roots->home) && !sameDirectory(m_roots->documents, m_roots->home))
            items.push_back(makeItemId(ItemKind::Home, {}));
        items.push_back(makeItemId(ItemKind::Drives, {}));
    }
    // A missing desktop directory leaves just the folders above.
    if (auto entries = m_entries.enumObjects(flags)) {
        items.insert(items.end(), std::make_move_iterator(entries->begin()),
                     std::make_move_iterator(entries->end()));
    }
    return items;
}

bool DesktopFolder::parseDisplayName(const QByteArray &path, ItemIdList *ids,
                                     std::uint32_t *attributes) const
{
    if (!path.startsWith('/') || path.size() >= PATH_MAX || path.contains('\0'))
        return false;
    const auto spelled = existingSpelling(paths::absoluteClean(path, "/"));
    struct stat entry;
    if (!spelled || lstat(spelled->constData(), &entry) != 0)
        return false;
    const QByteArray &clean = *spelled;
    const std::vector<Volume> volumes = m_roots->volumes();
    const Volume *volume = volumeHolding(volumes, clean);
    if (!volume)
        return false;

    ItemIdList list = appendItemIds(makeItemId(ItemKind::Drives, {}),
                                    makeItemId(ItemKind::Volume, volume->mountPoint));
    const QByteArray rest = clean.mid(volume->mountPoint == "/" ? 1 : volume->mountPoint.size() + 1);
    const QList<QByteArray> parts = rest.isEmpty() ? QList<QByteArray>() : rest.split('/');
    struct stat target;
    const bool reachable = stat(clean.constData(), &target) == 0;
    const bool folder = reachable && S_ISDIR(target.st_mode);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const ItemKind kind = (!last || folder) ? ItemKind::Folder : ItemKind::File;
        list = appendItemIds(list, makeItemId(kind, parts[i]));
    }

    if (attributes) {
        std::uint32_t bits = attr::kFileSystem;
        if (folder)
            bits |= attr::kFolder | attr::kFileSysAncestor | attr::kStorageAncestor;
        if (S_ISLNK(entry.st_mode))
            bits |= attr::kLink;
        if (paths::lastComponent(clean).startsWith('.'))
            bits |= attr::kHidden;
        *attributes &= bits;
    }
    if (ids)
        *ids = list;
    return true;
}

std::optional<ItemIdList> DesktopFolder::specialFolderLocation(SpecialFolder folder) const
{
    switch (folder) {
    case SpecialFolder::Desktop:
        return emptyItemIdList();
    case SpecialFolder::Documents:
        if (!isDirectory(m_roots->documents))
            return std::nullopt;
        return makeItemId(ItemKind::Documents, {});
    case SpecialFolder::Drives:
        return makeItemId(ItemKind::Drives, {});
    }
    return std::nullopt;
}

std::shared_ptr<ShellFolder> DesktopFolder::bindItem(const ItemId &item) const
{
    if (item.kind == ItemKind::Drives)
        return std::make_shared<DrivesFolder>(m_roots);
    if (const auto path = specialPath(item)) {
        if (!isDirectory(*path))
            return nullptr;
        return std::make_shared<FileSystemFolder>(*path, m_roots);
    }
    return isEntry(item) ? m_entries.bindItem(item) : nullptr;
}

std::optional<QByteArray> DesktopFolder::itemName(const ItemId *item, std::uint32_t flags) const
{
    const bool parsing = flags & nameflags::kForParsing;
    if (!item)
        return parsing ? m_roots->desktop : QStringLiteral("デスクトップ").toUtf8();
    if (item->kind == ItemKind::Drives)
        return DrivesFolder(m_roots).itemName(nullptr, flags);
    if (const auto path = specialPath(*item)) {
        const QByteArray name = paths::lastComponent(*path);
        return parsing ? *path : paths::toDisplay(name.isEmpty() ? *path : name).toUtf8();
    }
    return isEntry(*item) ? m_entries.itemName(item, flags) : std::nullopt;
}

std::optional<std::uint32_t> DesktopFolder::itemAttributes(const ItemId *item) const
{
    if (!item)
        return kDirectoryBits;
    if (item->kind == ItemKind::Drives)
        return attr::kFolder | attr::kFileSysAncestor;
    if (const auto path = specialPath(*item)) {
        if (!isDirectory(*path))
            return std::nullopt;
        return kDirectoryBits;
    }
    return isEntry(*item) ? m_entries.itemAttributes(item) : std::nullopt;
}

int DesktopFolder::compareItems(const ItemId &a, const ItemId &b) const
{
    // Documents, home and drives in that order, then the desktop's entries.
    if (a.kind != b.kind && !(isEntry(a) && isEntry(b)))
        return a.kind < b.kind ? -1 : 1;
    return m_entries.compareItems(a, b);
}

std::optional<IconLocation> DesktopFolder::itemIcon(const ItemId *item, unsigned flags) const
{
    if (!item)
        return IconLocation{QByteArrayLiteral("user-desktop"), 0};
    switch (item->kind) {
    case ItemKind::Documents:
        if (sameDirectory(m_roots->documents, m_roots->home))
            return IconLocation{QByteArrayLiteral("user-home"), 0};
        return IconLocation{QByteArrayLiteral("folder-documents"), 0};
    case ItemKind::Home:
        return IconLocation{QByteArrayLiteral("user-home"), 0};
    case ItemKind::Drives:
        return IconLocation{QByteArrayLiteral("computer"), 0};
    default:
        return isEntry(*item) ? m_entries.itemIcon(item, flags) : std::nullopt;
    }
}

std::optional<int> DesktopFolder::itemOverlay(const ItemId &item) const
{
    return isEntry(item) ? m_entries.itemOverlay(item) : std::nullopt;
}

std::optional<QByteArray> DesktopFolder::itemLinkTarget(const ItemId &item) const
{
    return isEntry(item) ? m_entries.itemLinkTarget(item) : std::nullopt;
}

std::optional<FindData> DesktopFolder::itemFindData(const ItemId &item) const
{
    return isEntry(item) ? m_entries.itemFindData(item) : std::nullopt;
}

} // namespace shellns
