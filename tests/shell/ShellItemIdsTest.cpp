#include "shell/ShellItemIds.h"

#include <gtest/gtest.h>

using namespace shellns;

TEST(ShellItemIds, CopyFirstAndStepThroughThreeElements)
{
    const ItemIdList a = makeItemId(ItemKind::Drives, {});
    const ItemIdList b = makeItemId(ItemKind::Volume, "/");
    const ItemIdList c = makeItemId(ItemKind::Folder, "music");
    const ItemIdList list = appendItemIds(appendItemIds(a, b), c);

    std::optional<QByteArrayView> position = QByteArrayView(list);
    std::vector<ItemIdList> seen;
    while (position) {
        auto first = copyFirstItemId(*position);
        ASSERT_TRUE(first);
        seen.push_back(*first);
        freeItemId(first);
        EXPECT_FALSE(first);
        position = nextItemId(*position);
    }
    EXPECT_EQ(seen, (std::vector<ItemIdList>{a, b, c}));
    // The copy is count + 2 bytes: the element and a zero count.
    EXPECT_EQ(copyFirstItemId(list)->size(), (a.size() - 2) + 2);
}

TEST(ShellItemIds, EmptyAndMalformedListsGiveNone)
{
    const QByteArray cases[] = {
        emptyItemIdList(),
        QByteArray(),
        QByteArray("\x01\x00", 2),
        QByteArray("\xff\x00\x20" "a", 4), // a count far past the end
    };
    for (const QByteArray &list : cases) {
        EXPECT_FALSE(copyFirstItemId(list)) << list.toHex().constData();
        EXPECT_FALSE(nextItemId(list)) << list.toHex().constData();
    }
    // A whole element followed by a broken one: the step does not go on into it.
    const QByteArray truncated = makeItemId(ItemKind::Folder, "a").chopped(2) + QByteArray("\x09\x00", 2);
    EXPECT_TRUE(copyFirstItemId(truncated));
    EXPECT_FALSE(nextItemId(truncated));
}
