#include "namespace/linux/FileSystemFolder.h"

#include "platform/Paths.h"
#include "platform/PathResolve.h"
#include "namespace/linux/NaturalOrder.h"
#include "namespace/linux/PosixFiles.h"

#include <QMimeDatabase>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace shellns {

namespace {

bool isEntryKind(ItemKind kind)
{
    return kind == ItemKind::Folder || kind == ItemKind::File;
}

QDateTime fromTimestamp(const struct statx_timestamp &time)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000);
}

QByteArray iconForNonFolder(const QByteArray &name, const struct stat *target)
{
    if (target && !S_ISREG(target->st_mode)) {
        if (S_ISFIFO(target->st_mode))
            return QByteArrayLiteral("inode-fifo");
        if (S_ISSOCK(target->st_mode))
            return QByteArrayLiteral("inode-socket");
        if (S_ISCHR(target->st_mode))
            return QByteArrayLiteral("inode-chardevice");
        if (S_ISBLK(target->st_mode))
            return QByteArrayLiteral("inode-blockdevice");
    }
    if (!target)
        return QByteArrayLiteral("inode-symlink");
    // The type by name only: reading every file's content would make big folders slow.
    static const QMimeDatabase database;
    return database.mimeTypeForFile(paths::toDisplay(name), QMimeDatabase::MatchExtension)
        .iconName()
        .toUtf8();
}

} // namespace

FileSystemFolder::FileSystemFolder(QByteArray path, std::shared_ptr<const NamespaceRoots> roots)
    : m_path(std::move(path))
    , m_roots(std::move(roots))
{
}

QByteArray FileSystemFolder::childPath(const QByteArray &name) const
{
    return m_path.endsWith('/') ? m_path + name : m_path + '/' + name;
}

std::optional<QByteArray> FileSystemFolder::pathOf(const ItemId *item) const
{
    if (!item)
        return m_path;
    if (!isEntryKind(item->kind) || item->name.isEmpty() || item->name.contains('/')
        || item->name.contains('\0') || item->name == "." || item->name == "..")
        return std::nullopt;
    return childPath(item->name);
}

template <typename Visit>
bool FileSystemFolder::readEntries(std::uint32_t flags, bool wantTarget, Visit visit) const
{
    DirHandle dir = openDirectory(m_path);
    if (!dir)
        return false;
    const int fd = dirfd(dir.get());
    while (const dirent *entry = readdir(dir.get())) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        if (name[0] == '.' && !(flags & enumflags::kIncludeHidden))
            continue;
        // The entry's type comes with the name; only links, file systems that
        // do not report types and callers that need more ask the disk.
        Entry facts;
        facts.type = entry->d_type;
        if (facts.type == DT_UNKNOWN) {
            struct stat own;
            if (fstatat(fd, name, &own, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since it was listed
            facts.type = IFTODT(own.st_mode);
        }
        if (facts.type == DT_LNK || wantTarget) {
            facts.reachable = fstatat(fd, name, &facts.target, 0) == 0;
            facts.folder = facts.reachable && S_ISDIR(facts.target.st_mode);
        } else {
            facts.folder = facts.type == DT_DIR;
        }
        if (!(flags & (facts.folder ? enumflags::kFolders : enumflags::kNonFolders)))
            continue;
        visit(name, facts);
    }
    return true;
}

std::optional<std::vector<ItemIdList>> FileSystemFolder::enumObjects(std::uint32_t flags) const
{
    std::vector<ItemIdList> items;
    const bool read = readEntries(flags, false, [&](const char *name, const Entry &facts) {
        items.push_back(makeItemId(facts.folder ? ItemKind::Folder : ItemKind::File, name));
    });
    if (!read)
        return std::nullopt;
    return items;
}

std::uint32_t FileSystemFolder::entryAttributes(const char *name, const Entry &facts)
{
    std::uint32_t bits = attr::kFileSystem;
    if (facts.folder)
        bits |= attr::kFolder | attr::kFileSysAncestor | attr::kStorageAncestor;
    if (facts.type == DT_LNK) {
        bits |= attr::kLink;
        if (facts.reachable && !facts.folder && !S_ISREG(facts.target.st_mode))
            bits |= attr::kSystem;
    } else if (facts.type != DT_DIR && facts.type != DT_REG) {
        bits |= attr::kSystem;
    }
    if (facts.reachable && !(facts.target.st_mode & S_IWUSR))
        bits |= attr::kReadOnly;
    if (name[0] == '.')
        bits |= attr::kHidden;
    return bits;
}

std::optional<std::vector<FolderItem>> FileSystemFolder::enumItems(std::uint32_t flags, std::uint32_t mask) const
{
    const auto listing = listItems(flags, mask);
    if (!listing)
        return std::nullopt;
    return listing->toItems();
}

std::optional<FolderListing> FileSystemFolder::listItems(std::uint32_t flags, std::uint32_t mask) const
{
    FolderListing listing;
    // Only the read-only bit needs the mode of every entry.
    const bool wantTarget = mask & attr::kReadOnly;
    const bool read = readEntries(flags, wantTarget, [&](const char *name, const Entry &facts) {
        const ItemKind kind = facts.folder ? ItemKind::Folder : ItemKind::File;
        const QByteArrayView bytes(name, qsizetype(std::strlen(name)));
        const char lead = char(kind);
        const qsizetype offset = listing.bytes.size();
        appendItemId(listing.bytes, kind, bytes);
        const qsizetype idSize = listing.bytes.size() - offset;
        listing.bytes.append(bytes);
        appendNaturalSortKey(listing.bytes, bytes, QByteArrayView(&lead, 1));
        listing.addWritten(offset, entryAttributes(name, facts) & mask, idSize, bytes.size());
    });
    if (!read)
        return std::nullopt;
    return listing;
}

std::shared_ptr<ShellFolder> FileSystemFolder::bindItem(const ItemId &item) const
{
    const auto path = pathOf(&item);
    struct stat target;
    if (!path || stat(path->constData(), &target) != 0 || !S_ISDIR(target.st_mode))
        return nullptr;
    return std::make_shared<FileSystemFolder>(*path, m_roots);
}

std::optional<QByteArray> FileSystemFolder::itemName(const ItemId *item, std::uint32_t flags) const
{
    const auto path = pathOf(item);
    if (!path)
        return std::nullopt;
    if (flags & nameflags::kForParsing)
        return (flags & nameflags::kInFolder) ? paths::lastComponent(*path) : *path;
    const QByteArray name = paths::lastComponent(*path);
    return paths::toDisplay(name.isEmpty() ? *path : name).toUtf8();
}

std::optional<std::uint32_t> FileSystemFolder::itemAttributes(const ItemId *item) const
{
    const auto path = pathOf(item);
    struct stat entry;
    if (!path || lstat(path->constData(), &entry) != 0)
        return std::nullopt;
    std::uint32_t bits = attr::kFileSystem;
    struct stat target = entry;
    bool reachable = true;
    if (S_ISLNK(entry.st_mode)) {
        bits |= attr::kLink;
        reachable = stat(path->constData(), &target) == 0;
    }
    if (reachable && S_ISDIR(target.st_mode))
        bits |= attr::kFolder | attr::kFileSysAncestor | attr::kStorageAncestor;
    if (reachable && !S_ISDIR(target.st_mode) && !S_ISREG(target.st_mode))
        bits |= attr::kSystem;
    if (reachable && !(target.st_mode & S_IWUSR))
        bits |= attr::kReadOnly;
    if (paths::lastComponent(*path).startsWith('.'))
        bits |= attr::kHidden;
    return bits;
}

int FileSystemFolder::compareItems(const ItemId &a, const ItemId &b) const
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1; // folders before files
    return naturalCompare(a.name, b.name);
}

std::optional<QByteArray> FileSystemFolder::itemSortKey(const ItemId &item) const
{
    const char lead = char(item.kind);
    return naturalSortKey(item.name, QByteArrayView(&lead, 1));
}

IconLocation FileSystemFolder::folderIcon(const QByteArray &path, unsigned flags) const
{
    if (path == m_roots->home)
        return {QByteArrayLiteral("user-home"), 0};
    if (path == m_roots->desktop)
        return {QByteArrayLiteral("user-desktop"), 0};
    if (path == m_roots->documents)
        return {QByteArrayLiteral("folder-documents"), 0};
    if (flags & iconflags::kOpenIcon)
        return {QByteArrayLiteral("folder-open"), 0};
    return {QByteArrayLiteral("folder"), 0};
}

std::optional<IconLocation> FileSystemFolder::itemIcon(const ItemId *item, unsigned flags) const
{
    const auto path = pathOf(item);
    if (!path)
        return std::nullopt;
    // An entry listed as a folder needs no look at the disk: the special
    // folders are told apart by their paths.
    if (item && item->kind == ItemKind::Folder)
        return folderIcon(*path, flags);
    struct stat target;
    const bool reachable = stat(path->constData(), &target) == 0;
    if (reachable && S_ISDIR(target.st_mode))
        return folderIcon(*path, flags);
    if (flags & iconflags::kOpenIcon)
        return std::nullopt; // files have no open look
    struct stat entry;
    if (!reachable && lstat(path->constData(), &entry) != 0)
        return std::nullopt;
    return IconLocation{iconForNonFolder(paths::lastComponent(*path), reachable ? &target : nullptr), 0};
}

std::optional<int> FileSystemFolder::itemOverlay(const ItemId &item) const
{
    const auto path = pathOf(&item);
    struct stat entry;
    if (path && lstat(path->constData(), &entry) == 0 && S_ISLNK(entry.st_mode))
        return kImageLinkOverlay;
    return std::nullopt;
}

std::optional<QByteArray> FileSystemFolder::itemLinkTarget(const ItemId &item) const
{
    const auto path = pathOf(&item);
    if (!path)
        return std::nullopt;
    char buffer[PATH_MAX];
    const ssize_t length = readlink(path->constData(), buffer, sizeof buffer);
    if (length <= 0 || size_t(length) >= sizeof buffer)
        return std::nullopt;
    // A relative target is relative to the folder that holds the link.
    return paths::absoluteClean(QByteArray(buffer, length), m_path);
}

std::optional<FindData> FileSystemFolder::itemFindData(const ItemId &item) const
{
    const auto path = pathOf(&item);
    if (!path)
        return std::nullopt;
    struct statx entry;
    const unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
    if (statx(AT_FDCWD, path->constData(), AT_SYMLINK_NOFOLLOW, mask, &entry) != 0)
        return std::nullopt;
    const bool link = S_ISLNK(entry.stx_mode);
    struct statx target = entry;
    if (link && statx(AT_FDCWD, path->constData(), 0, mask, &target) != 0)
        target = entry; // a broken link describes itself
    FindData data;
    if (S_ISDIR(target.stx_mode))
        data.attributes |= fileattr::kDirectory;
    else if (!S_ISREG(target.stx_mode) && !S_ISLNK(target.stx_mode))
        data.attributes |= fileattr::kSystem;
    if (link)
        data.attributes |= fileattr::kReparsePoint;
    if (item.name.startsWith('.'))
        data.attributes |= fileattr::kHidden;
    if (!(target.stx_mode & S_IWUSR))
        data.attributes |= fileattr::kReadOnly;
    if (data.attributes == 0)
        data.attributes = fileattr::kNormal;
    data.created = fromTimestamp((target.stx_mask & STATX_BTIME) ? target.stx_btime : target.stx_ctime);
    data.modified = fromTimestamp(target.stx_mtime);
    data.accessed = fromTimestamp(target.stx_atime);
    data.size = S_ISDIR(target.stx_mode) ? 0 : target.stx_size;
    return data;
}

} // namespace shellns
