// The drop-down's flat list with levels.
#include "shell/FolderEntryList.h"

#include <gtest/gtest.h>

namespace {

// Desktop(0) Docs(1) Drives(1) Root(2) Home(3) User(4) Vol(2) Other(1)
FolderEntryList makeList()
{
    FolderEntryList list;
    const struct {
        const char *name;
        int level;
    } rows[] = {{"Desktop", 0}, {"Docs", 1}, {"Drives", 1}, {"Root", 2},
                {"home", 3},    {"User", 4}, {"Vol", 2},    {"Other", 1}};
    for (const auto &row : rows) {
        auto entry = std::make_unique<TFflNodeInfo>();
        entry->name = row.name;
        entry->level = row.level;
        list.insertAfter(-1, std::move(entry));
    }
    return list;
}

TEST(FolderEntryList, NavigatesByLevels)
{
    const FolderEntryList list = makeList();
    const struct {
        int index, parent, firstChild, lastDescendant, nextSibling;
    } cases[] = {
        {0, -1, 1, 7, -1}, {1, 0, -1, -1, 2}, {2, 0, 3, 6, 7},   {3, 2, 4, 5, 6},
        {5, 4, -1, -1, -1}, {6, 2, -1, -1, -1}, {7, 0, -1, -1, -1}, {-1, -1, -1, -1, -1},
        {8, -1, -1, -1, -1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(list.getParent(c.index), c.parent) << c.index;
        EXPECT_EQ(list.getFirstChild(c.index), c.firstChild) << c.index;
        EXPECT_EQ(list.getLastDescendant(c.index), c.lastDescendant) << c.index;
        EXPECT_EQ(list.getNextSibling(c.index), c.nextSibling) << c.index;
    }
}

TEST(FolderEntryList, FindsDirectChildrenOnlyPreferringTheExactSpelling)
{
    FolderEntryList list = makeList();
    EXPECT_EQ(list.findChild(2, "vol"), 6);
    EXPECT_EQ(list.findChild(2, "home"), -1) << "a grandchild is not a child";
    EXPECT_EQ(list.findChild(1, "Docs"), -1);
    auto upper = std::make_unique<TFflNodeInfo>();
    upper->name = "VOL";
    upper->level = 2;
    EXPECT_EQ(list.insertAfter(6, std::move(upper)), 7);
    EXPECT_EQ(list.findChild(2, "VOL"), 7);
    EXPECT_EQ(list.findChild(2, "Vol"), 6);
}

TEST(FolderEntryList, InsertsAfterAPositionOrAtTheEnd)
{
    FolderEntryList list = makeList();
    auto entry = std::make_unique<TFflNodeInfo>();
    entry->name = "New";
    entry->level = 3;
    EXPECT_EQ(list.insertAfter(3, std::move(entry)), 4);
    EXPECT_EQ(list.at(4)->name, "New");
    EXPECT_EQ(list.at(5)->name, "home");
    const int atLast = list.insertAfter(list.count() - 1, std::make_unique<TFflNodeInfo>());
    EXPECT_EQ(atLast, list.count() - 1);
    const int pastTheEnd = list.insertAfter(100, std::make_unique<TFflNodeInfo>());
    EXPECT_EQ(pastTheEnd, list.count() - 1);
}

} // namespace
