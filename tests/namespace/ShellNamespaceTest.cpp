// The Linux namespace over a real temporary folder tree.
#include "support/ShellFixtureTree.h"

#include "namespace/ShellFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include <sys/stat.h>

using namespace shellns;

namespace {

class ShellNamespace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        desktop = tree.desktop();
        ItemIdList ids;
        ASSERT_TRUE(desktop->parseDisplayName(tree.path("data"), &ids, nullptr));
        data = desktop->bindToObject(ids);
        ASSERT_TRUE(data);
    }

    QByteArray nameOf(const std::shared_ptr<ShellFolder> &folder, const ItemIdList &id,
                      std::uint32_t flags = nameflags::kInFolder | nameflags::kForParsing) const
    {
        return folder->displayNameOf(id, flags).value_or("<none>");
    }

    // The items of `folder` in the shell's order, by in-folder parsing name.
    std::vector<QByteArray> sortedNames(const std::shared_ptr<ShellFolder> &folder, std::uint32_t flags) const
    {
        auto ids = folder->enumObjects(flags);
        EXPECT_TRUE(ids);
        std::sort(ids->begin(), ids->end(), [&](const ItemIdList &a, const ItemIdList &b) {
            return folder->compareIds(a, b).value_or(0) < 0;
        });
        std::vector<QByteArray> names;
        for (const ItemIdList &id : *ids)
            names.push_back(nameOf(folder, id));
        return names;
    }

    ItemIdList entry(const QByteArray &name) const
    {
        const auto ids = data->enumObjects(enumflags::kFolders | enumflags::kNonFolders | enumflags::kIncludeHidden);
        for (const ItemIdList &id : *ids) {
            if (nameOf(data, id) == name)
                return id;
        }
        ADD_FAILURE() << "no entry " << name.constData();
        return ItemIdList();
    }

    ShellFixtureTree tree;
    std::shared_ptr<ShellFolder> desktop;
    std::shared_ptr<ShellFolder> data;
};

} // namespace

TEST_F(ShellNamespace, EnumerationFollowsFlagsAndShellOrder)
{
    using namespace enumflags;
    const QByteArray sjis = ShellFixtureTree::sjisName();
    EXPECT_EQ(sortedNames(data, kFolders),
              (std::vector<QByteArray>{"empty", "File1", "file2", "file10", "link-to-dir", "Music", "music", sjis}));
    EXPECT_EQ(sortedNames(data, kNonFolders),
              (std::vector<QByteArray>{"a.txt", "B.txt", "broken", "c9.mp3", "c10.mp3", "fifo"}));
    const auto all = sortedNames(data, kFolders | kNonFolders | kIncludeHidden);
    EXPECT_EQ(all.front(), ".hidden");
    EXPECT_EQ(all.size(), 15u);
    // Folders come before every file.
    EXPECT_EQ(all[8], sjis);
    EXPECT_EQ(all[9], "a.txt");
}

TEST_F(ShellNamespace, CompareIdsGivesZeroOnlyForTheSameItem)
{
    EXPECT_EQ(data->compareIds(entry("Music"), entry("Music")), 0);
    EXPECT_NE(data->compareIds(entry("Music"), entry("music")), 0);
    EXPECT_EQ(data->compareIds(entry("file2"), QByteArray("\x01")), std::nullopt);
}

TEST_F(ShellNamespace, AttributesOfEntries)
{
    using namespace attr;
    const std::uint32_t dir = kFileSystem | kFolder | kFileSysAncestor | kStorageAncestor;
    struct Case
    {
        QByteArray name;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {"file2", dir},
        {".hidden", dir | kHidden},
        {"link-to-dir", dir | kLink},
        {"broken", kFileSystem | kLink},
        {"fifo", kFileSystem},
        {"a.txt", kFileSystem},
        {ShellFixtureTree::sjisName(), dir},
    };
    for (const Case &c : cases)
        EXPECT_EQ(data->attributesOf(entry(c.name), kBrowseMask), c.bits) << c.name.constData();
    // The mask limits the answer; a FIFO is a system item, a plain file is not.
    EXPECT_EQ(data->attributesOf(entry(".hidden"), kHidden), kHidden);
    EXPECT_EQ(data->attributesOf(entry("fifo"), kSystem), kSystem);
    EXPECT_EQ(data->attributesOf(entry("a.txt"), kSystem), 0u);
}

TEST_F(ShellNamespace, ListingWithFactsAnswersAsItemByItem)
{
    using namespace attr;
    const std::uint32_t all = enumflags::kFolders | enumflags::kNonFolders | enumflags::kIncludeHidden;
    // With and without the bits that need each entry's mode.
    for (const std::uint32_t mask : {kBrowseMask, kBrowseMask | kSystem | kReadOnly}) {
        for (const auto &folder : {data, desktop}) {
            const auto items = folder->enumItems(all, mask);
            ASSERT_TRUE(items);
            ASSERT_EQ(items->size(), folder->enumObjects(all)->size());
            for (const FolderItem &item : *items) {
                EXPECT_EQ(nameOf(folder, item.itemId), item.name);
                EXPECT_EQ(folder->attributesOf(item.itemId, mask), item.attributes) << item.name.constData();
                EXPECT_EQ(folder->sortKey(item.itemId).value_or(QByteArray()), item.sortKey);
            }
            // Keys order the items as compareIds does.
            for (const FolderItem &a : *items) {
                for (const FolderItem &b : *items) {
                    if (a.sortKey.isEmpty())
                        continue;
                    const int byKey = a.sortKey.compare(b.sortKey);
                    EXPECT_EQ((byKey > 0) - (byKey < 0), folder->compareIds(a.itemId, b.itemId))
                        << a.name.constData() << " vs " << b.name.constData();
                }
            }
        }
    }
    ::chmod(tree.path("data/a.txt").constData(), 0444);
    const auto readOnly = data->enumItems(all, kReadOnly);
    ASSERT_TRUE(readOnly);
    for (const FolderItem &item : *readOnly) {
        EXPECT_EQ(item.attributes, item.name == "a.txt" ? kReadOnly : 0u) << item.name.constData();
    }
}

TEST_F(ShellNamespace, DisplayNamesKeepBytesAndShowText)
{
    const ItemIdList id = entry(ShellFixtureTree::sjisName());
    EXPECT_EQ(QString::fromUtf8(nameOf(data, id, nameflags::kNormal)), QStringLiteral("テスト"));
    EXPECT_EQ(nameOf(data, id), ShellFixtureTree::sjisName());
    EXPECT_EQ(nameOf(data, id, nameflags::kForParsing), tree.path("data/" + ShellFixtureTree::sjisName()));
    // A bound child answers with the same path.
    const auto child = data->bindToObject(id);
    ASSERT_TRUE(child);
    EXPECT_EQ(child->displayNameOf(emptyItemIdList(), nameflags::kForParsing), tree.path("data/" + ShellFixtureTree::sjisName()));
}

TEST_F(ShellNamespace, BindingOnlyReachesFolders)
{
    EXPECT_TRUE(data->bindToObject(entry("link-to-dir")));
    EXPECT_FALSE(data->bindToObject(entry("a.txt")));
    EXPECT_FALSE(data->bindToObject(entry("broken")));
    EXPECT_FALSE(data->bindToObject(entry("fifo")));
    // Names that would leave the folder are refused.
    EXPECT_FALSE(data->bindToObject(makeItemId(ItemKind::Folder, "..")));
    EXPECT_FALSE(data->bindToObject(makeItemId(ItemKind::Folder, "file2/sub")));
}

TEST_F(ShellNamespace, LinksAndOverlays)
{
    EXPECT_EQ(data->linkTarget(entry("link-to-dir")), tree.path("data/file2"));
    EXPECT_EQ(data->linkTarget(entry("broken")), tree.path("data/missing"));
    EXPECT_EQ(data->linkTarget(entry("file2")), std::nullopt);
    EXPECT_EQ(data->overlayIconIndex(entry("link-to-dir")), kImageLinkOverlay);
    EXPECT_EQ(data->overlayIconIndex(entry("file2")), std::nullopt);
    EXPECT_EQ(systemImageName(kImageLinkOverlay), "emblem-symbolic-link");
}

TEST_F(ShellNamespace, IconLocations)
{
    struct Case
    {
        QByteArray name;
        unsigned flags;
        std::optional<QByteArray> location;
    };
    const Case cases[] = {
        {"file2", 0, "folder"},
        {"file2", iconflags::kOpenIcon, "folder-open"},
        {"a.txt", 0, "text-plain"},
        {"c9.mp3", 0, "audio-mpeg"},
        {"a.txt", iconflags::kOpenIcon, std::nullopt},
        {"fifo", 0, "inode-fifo"},
    };
    for (const Case &c : cases) {
        const auto icon = data->iconLocation(entry(c.name), c.flags);
        EXPECT_EQ(icon ? std::optional<QByteArray>(icon->location) : std::nullopt, c.location) << c.name.constData();
        if (icon) {
            EXPECT_EQ(icon->index, 0);
        }
    }
}

TEST_F(ShellNamespace, FindDataDescribesEntries)
{
    const auto fifo = data->findData(entry("fifo"));
    ASSERT_TRUE(fifo);
    EXPECT_TRUE(fifo->attributes & fileattr::kSystem);
    const auto hidden = data->findData(entry(".hidden"));
    ASSERT_TRUE(hidden);
    EXPECT_EQ(hidden->attributes, fileattr::kDirectory | fileattr::kHidden);
    const auto file = data->findData(entry("a.txt"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->attributes, fileattr::kNormal);
    EXPECT_EQ(file->size, 1u);
    EXPECT_TRUE(file->created.isValid());
    EXPECT_TRUE(file->modified.isValid());
}

TEST_F(ShellNamespace, DesktopHoldsSpecialFoldersThenItsEntries)
{
    std::vector<QByteArray> labels;
    auto ids = desktop->enumObjects(enumflags::kFolders | enumflags::kNonFolders);
    ASSERT_TRUE(ids);
    std::sort(ids->begin(), ids->end(), [&](const ItemIdList &a, const ItemIdList &b) {
        return desktop->compareIds(a, b).value_or(0) < 0;
    });
    for (const ItemIdList &id : *ids)
        labels.push_back(nameOf(desktop, id, nameflags::kNormal));
    const QByteArray home = tree.root().mid(tree.root().lastIndexOf('/') + 1);
    EXPECT_EQ(labels, (std::vector<QByteArray>{"Documents", home, QStringLiteral("コンピュータ").toUtf8(),
                                               "DeskFolder", "deskfile.txt"}));

    EXPECT_EQ(desktop->displayNameOf(emptyItemIdList(), nameflags::kNormal), QStringLiteral("デスクトップ").toUtf8());
    EXPECT_EQ(desktop->displayNameOf(emptyItemIdList(), nameflags::kForParsing), tree.path("Desktop"));
    const auto documents = desktop->specialFolderLocation(SpecialFolder::Documents);
    ASSERT_TRUE(documents);
    EXPECT_EQ(desktop->displayNameOf(*documents, nameflags::kForParsing), tree.path("Documents"));
    EXPECT_EQ(desktop->iconLocation(*documents, 0)->location, "folder-documents");

    const auto drives = desktop->specialFolderLocation(SpecialFolder::Drives);
    ASSERT_TRUE(drives);
    EXPECT_EQ(desktop->attributesOf(*drives, attr::kBrowseMask), attr::kFolder | attr::kFileSysAncestor);
    const auto volumes = desktop->bindToObject(*drives)->enumObjects(enumflags::kFolders);
    ASSERT_TRUE(volumes);
    ASSERT_EQ(volumes->size(), 2u);
}

TEST_F(ShellNamespace, HomeStandsOnceInPlaceOfAMissingDocumentsFolder)
{
    NamespaceRoots roots = tree.roots();
    roots.documents = roots.home;
    const auto home = makeDesktopFolder(roots);
    auto ids = home->enumObjects(enumflags::kFolders);
    ASSERT_TRUE(ids);
    std::sort(ids->begin(), ids->end(), [&](const ItemIdList &a, const ItemIdList &b) {
        return home->compareIds(a, b).value_or(0) < 0;
    });
    std::vector<QByteArray> parsing;
    for (const ItemIdList &id : *ids)
        parsing.push_back(nameOf(home, id, nameflags::kForParsing));
    ASSERT_GE(parsing.size(), 2u);
    EXPECT_EQ(std::count(parsing.begin(), parsing.end(), tree.root()), 1);
    EXPECT_EQ(parsing[0], tree.root());

    // Where the documents folder is asked for, the home folder answers.
    const auto documents = home->specialFolderLocation(SpecialFolder::Documents);
    ASSERT_TRUE(documents);
    EXPECT_EQ(home->displayNameOf(*documents, nameflags::kForParsing), tree.root());
    EXPECT_EQ(home->iconLocation(*documents, 0)->location, "user-home");
}

TEST_F(ShellNamespace, ParsingWalksDrivesVolumeAndComponents)
{
    struct Case
    {
        QByteArray path;
        bool parses;
        QByteArray volume;
        int components;
        bool folder;
    };
    const QByteArray longPath = "/" + QByteArray(PATH_MAX, 'x');
    const Case cases[] = {
        {tree.path("data/file2/sub"), true, "/", 0, true},
        {tree.path("data/a.txt"), true, "/", 0, false},
        {tree.path("data/./file2/../a.txt"), true, "/", 0, false},
        {tree.path("vol/inner"), true, tree.path("vol"), 1, true},
        {tree.path("vol"), true, tree.path("vol"), 0, true},
        {tree.path("data/broken"), true, "/", 0, false},
        {tree.path("data/nothing"), false, {}, 0, false},
        {"relative/path", false, {}, 0, false},
        {"", false, {}, 0, false},
        {longPath, false, {}, 0, false},
    };
    for (const Case &c : cases) {
        ItemIdList ids;
        std::uint32_t attributes = attr::kFolder;
        ASSERT_EQ(desktop->parseDisplayName(c.path, &ids, &attributes), c.parses) << c.path.left(80).constData();
        if (!c.parses)
            continue;
        const auto parts = splitItemIds(ids);
        ASSERT_TRUE(parts);
        EXPECT_EQ(decodeItemId((*parts)[0])->kind, ItemKind::Drives);
        EXPECT_EQ(decodeItemId((*parts)[1])->name, c.volume);
        if (c.components > 0) {
            EXPECT_EQ(int(parts->size()) - 2, c.components);
        }
        EXPECT_EQ(attributes == attr::kFolder, c.folder) << c.path.constData();
        // The list names the path again.
        EXPECT_EQ(desktop->displayNameOf(ids, nameflags::kForParsing),
                  c.path.contains("/./") ? tree.path("data/a.txt") : c.path);
    }
}

TEST_F(ShellNamespace, ParsingFindsFoldersSpelledInAnotherCase)
{
    struct Case
    {
        QByteArray path;
        QByteArray found;
    };
    const Case cases[] = {
        {tree.path("DATA/FILE2/Sub"), tree.path("data/file2/sub")},
        {tree.path("data/music"), tree.path("data/music")}, // as written when it exists
        {tree.path("data/MUSIC"), tree.path("data/Music")}, // else the first in order
        {tree.path("data/FILE3"), {}},
    };
    for (const Case &c : cases) {
        ItemIdList ids;
        const bool parsed = desktop->parseDisplayName(c.path, &ids, nullptr);
        EXPECT_EQ(parsed, !c.found.isEmpty()) << c.path.constData();
        if (parsed) {
            EXPECT_EQ(desktop->displayNameOf(ids, nameflags::kForParsing), c.found);
        }
    }
}
