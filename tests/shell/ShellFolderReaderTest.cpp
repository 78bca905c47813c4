// Reading a shell folder: order, the item filter and name matching, over a
// real temporary folder tree and a small namespace of our own making.
#include "support/ShellFixtureTree.h"

#include "shell/ShellFolderReader.h"

#include <gtest/gtest.h>

#include <map>

#include <unistd.h>

using namespace shellns;

namespace {

// A folder whose items are named with given attribute bits; "unreadable"
// items have no name. It has no sort keys, so the shell's order comes from
// compareIds alone.
class FakeFolder : public ShellFolder
{
public:
    explicit FakeFolder(std::map<QByteArray, std::uint32_t> items)
        : m_items(std::move(items))
    {
    }

    std::optional<std::vector<ItemIdList>> enumObjects(std::uint32_t) const override
    {
        std::vector<ItemIdList> ids;
        // Listed in reverse, so the reader's own sort shows.
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
            ids.push_back(makeItemId(ItemKind::Folder, it->first));
        return ids;
    }

protected:
    std::shared_ptr<ShellFolder> bindItem(const ItemId &) const override { return nullptr; }
    std::optional<QByteArray> itemName(const ItemId *item, std::uint32_t) const override
    {
        if (!item || item->name.startsWith("unreadable"))
            return std::nullopt;
        return item->name;
    }
    std::optional<std::uint32_t> itemAttributes(const ItemId *item) const override
    {
        const auto found = item ? m_items.find(item->name) : m_items.end();
        return found == m_items.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    }
    int compareItems(const ItemId &a, const ItemId &b) const override
    {
        return a.name < b.name ? -1 : (b.name < a.name ? 1 : 0);
    }
    std::optional<IconLocation> itemIcon(const ItemId *, unsigned) const override { return std::nullopt; }

private:
    std::map<QByteArray, std::uint32_t> m_items;
};

std::vector<QByteArray> namesOf(const std::optional<std::vector<ShellFolderItem>> &items)
{
    std::vector<QByteArray> names;
    for (const ShellFolderItem &item : items.value_or(std::vector<ShellFolderItem>()))
        names.push_back(item.name);
    return names;
}

class ShellFolderReader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        desktop = tree.desktop();
        data = bind("data");
        ASSERT_TRUE(data);
    }

    std::shared_ptr<ShellFolder> bind(const QByteArray &relative) const
    {
        ItemIdList ids;
        return desktop->parseDisplayName(tree.path(relative), &ids, nullptr) ? desktop->bindToObject(ids) : nullptr;
    }

    ShellFixtureTree tree;
    std::shared_ptr<ShellFolder> desktop;
    std::shared_ptr<ShellFolder> data;
};

} // namespace

TEST_F(ShellFolderReader, SortsInTheShellsOrder)
{
    ShellReadOptions options;
    options.filter.includeFiles = true;
    options.filter.showHidden = flhForceShow;
    const QByteArray sjis = ShellFixtureTree::sjisName();
    const std::vector<QByteArray> expected{".hidden", "empty", "File1", "file2", "file10", "link-to-dir", "Music",
                                           "music", sjis, "a.txt", "B.txt", "broken", "c9.mp3", "c10.mp3", "fifo"};
    const auto items = readShellFolder(*data, options);
    EXPECT_EQ(namesOf(items), expected);

    // The same order when it is asked of the folder item by item.
    std::vector<ShellFolderItem> again = *items;
    std::reverse(again.begin(), again.end());
    sortInShellOrder(*data, again);
    EXPECT_EQ(namesOf(again), expected);

    // One item may be asked to lead.
    const ItemIdList music = (*items)[7].itemId;
    options.leadingItem = music;
    EXPECT_EQ(namesOf(readShellFolder(*data, options)).front(), "music");
    sortInShellOrder(*data, again, music);
    EXPECT_EQ(namesOf(again).front(), "music");
}

// Items that share the listing's bytes are the same items as the copies,
// stay whole after the listing is gone, and a change to one of them leaves
// its neighbours in the shared bytes alone.
TEST_F(ShellFolderReader, SharedItemsEqualTheCopiesAndOutliveTheListing)
{
    ShellReadOptions options;
    options.filter.includeFiles = true;
    options.filter.showHidden = flhForceShow;
    auto listing = listShellFolder(*data, options);
    ASSERT_TRUE(listing);
    ASSERT_GT(listing->size(), 2u);
    std::vector<ShellFolderItem> copies, shared;
    for (std::size_t i = 0; i < listing->size(); ++i) {
        copies.push_back(listing->item(i));
        shared.push_back(listing->sharedItem(i));
    }
    listing.reset();

    for (std::size_t i = 0; i < copies.size(); ++i) {
        SCOPED_TRACE(copies[i].name.toStdString());
        EXPECT_EQ(shared[i].name, copies[i].name);
        EXPECT_EQ(shared[i].itemId, copies[i].itemId);
        EXPECT_EQ(shared[i].attributes, copies[i].attributes);
        EXPECT_EQ(data->displayNameOf(shared[i].itemId, nameflags::kInFolder | nameflags::kForParsing),
            std::optional<QByteArray>(copies[i].name));
    }
    // Growing one name, or writing into it, must not reach the bytes after it.
    shared[0].name.append("-more");
    shared[1].name.data()[0] = '#';
    EXPECT_EQ(shared[0].name, copies[0].name + "-more");
    EXPECT_EQ(shared[1].name.mid(1), copies[1].name.mid(1));
    EXPECT_EQ(shared[0].itemId, copies[0].itemId);
    EXPECT_EQ(shared[2].name, copies[2].name);
    EXPECT_EQ(shared[1].itemId, copies[1].itemId);
    // A name taken as a C string ends where the name ends.
    EXPECT_EQ(qstrlen(shared[0].name.constData()), copies[0].name.size() + 5);

    // The last holder of the bytes may grow its array in place.
    std::vector<ShellFolderItem> last;
    last.push_back(std::move(shared.back()));
    shared.clear();
    last[0].name.append("-end");
    EXPECT_EQ(last[0].name, copies.back().name + "-end");
    EXPECT_EQ(last[0].itemId, copies.back().itemId);
}

TEST_F(ShellFolderReader, DesktopListsDocumentsFirstAndFoldersOnly)
{
    ShellReadOptions options;
    options.enumFlags = enumflags::kFolders | enumflags::kIncludeHidden;
    options.leadingItem = desktop->specialFolderLocation(SpecialFolder::Documents);
    const auto items = readShellFolder(*desktop, options);
    const QByteArray root = tree.root();
    EXPECT_EQ(namesOf(items), (std::vector<QByteArray>{tree.path("Documents"), root, "::drives", "DeskFolder"}));
}

TEST_F(ShellFolderReader, FilterFollowsFilesHiddenAndTheUserSetting)
{
    struct Case
    {
        bool includeFiles;
        int mode;
        bool userShowsHidden;
        bool hiddenShown;
    };
    const Case cases[] = {
        {false, flhForceShow, false, true},
        {true, flhForceHide, true, false},
        {false, flhConformExplorer, true, true},
        {true, flhConformExplorer, false, false},
    };
    for (const Case &c : cases) {
        ShellReadOptions options;
        options.filter.includeFiles = c.includeFiles;
        options.filter.showHidden = toShowHidden(c.mode);
        options.filter.userShowsHidden = c.userShowsHidden;
        const auto names = namesOf(readShellFolder(*data, options));
        const auto has = [&](const char *name) { return std::count(names.begin(), names.end(), name) == 1; };
        EXPECT_EQ(has(".hidden"), c.hiddenShown) << c.mode << c.userShowsHidden;
        EXPECT_EQ(has("a.txt"), c.includeFiles);
        EXPECT_EQ(has("fifo"), c.includeFiles);
        EXPECT_TRUE(has("file2") && has("link-to-dir"));
    }
}

TEST(ShellFolderReaderFake, FilterLeavesOutVirtualGhostedAndUnreadableItems)
{
    using namespace attr;
    const FakeFolder folder({
        {"b", kFolder | kFileSystem},
        {"a", kFolder | kFileSystem},
        {"network", kFolder},                 // virtual, holds no files
        {"library", kFolder | kFileSysAncestor}, // virtual, holds file folders
        {"ghost", kFolder | kFileSystem | kGhosted},
        {"unreadable", kFolder | kFileSystem},
        {"plain file", kFileSystem},
    });
    ShellReadOptions options;
    EXPECT_EQ(namesOf(readShellFolder(folder, options)), (std::vector<QByteArray>{"a", "b", "library"}));

    options.filter.onlyFileSystem = false;
    options.filter.includeFiles = true;
    EXPECT_EQ(namesOf(readShellFolder(folder, options)),
              (std::vector<QByteArray>{"a", "b", "library", "network", "plain file"}));

    // The drop-down counts only hidden items as hidden, not ghosted ones.
    options.filter.hiddenBits = kHidden;
    EXPECT_EQ(namesOf(readShellFolder(folder, options)).size(), 6u);
    EXPECT_TRUE(options.filter.accepts(kFolder | kGhosted));
    EXPECT_FALSE(ShellItemFilter().accepts(kFolder | kFileSystem | kGhosted));
}

TEST_F(ShellFolderReader, ReadsFindDataWhenAskedAndFailsOnAFolderThatIsGone)
{
    ShellReadOptions options;
    options.filter.includeFiles = true;
    options.withFindData = true;
    const auto items = readShellFolder(*data, options);
    ASSERT_TRUE(items);
    for (const ShellFolderItem &item : *items) {
        if (item.name == "a.txt") {
            ASSERT_TRUE(item.findData);
            EXPECT_EQ(item.findData->size, 1u);
        }
    }
    EXPECT_FALSE(readShellFolder(*data, ShellReadOptions()).value().front().findData);

    const auto empty = bind("data/empty");
    ASSERT_TRUE(empty);
    ASSERT_EQ(::rmdir(tree.path("data/empty").constData()), 0);
    EXPECT_EQ(readShellFolder(*empty, options), std::nullopt);
}

TEST(ShellItemNames, MatchExactSpellingFirstThenIgnoringCase)
{
    const QByteArray sjis("\x83\x65\x83\x58\x83\x67"); // not UTF-8
    const std::vector<QByteArray> names{"Music", "music", "Ärger", sjis, "File"};
    struct Case
    {
        QByteArray name;
        int found;
    };
    const Case cases[] = {
        {"music", 1}, {"Music", 0}, {"MUSIC", 0}, {"ärger", 2}, {sjis, 3}, {"FILE", 4}, {"Fil", -1}, {"", -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(findItemByName(int(names.size()), [&](int i) { return names[std::size_t(i)]; }, c.name), c.found)
            << c.name.constData();
    }
}

TEST(ShellItemNames, SameNameIgnoringCase)
{
    struct Case
    {
        QByteArray a;
        QByteArray b;
        bool same;
    };
    const Case cases[] = {
        {"", "", true},
        {"ab", "abc", false},
        {"ABC", "abd", false},
        {"Folder 12", "fOLDER 12", true},
        // Folding outside ASCII may change the length in bytes.
        {"Kelvin \xE2\x84\xAA", "kelvin k", true}, // KELVIN SIGN
        {"x\xC5\xBF", "XS", true},                  // LONG S
        {"ab\xC3\x84", "AB\xC3\xA4", true},          // Ä, ä
        {"abc\xC3\x84", "abd\xC3\xA4", false},
        // Not UTF-8: the bytes as they are, ASCII letters without case.
        {"\x83\x65X", "\x83\x65x", true},
        {"\x83\x65", "\x83\x66", false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(sameItemName(c.a, c.b), c.same) << c.a.constData() << " / " << c.b.constData();
        EXPECT_EQ(sameItemName(c.b, c.a), c.same) << c.b.constData() << " / " << c.a.constData();
    }
}
