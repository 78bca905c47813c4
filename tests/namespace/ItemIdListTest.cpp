#include "namespace/ItemIdList.h"

#include <gtest/gtest.h>

using namespace shellns;

TEST(ItemIdList, ElementIsCountKindNameThenTerminator)
{
    const ItemIdList list = makeItemId(ItemKind::Folder, "ab");
    EXPECT_EQ(list, QByteArray("\x05\x00\x20" "ab" "\x00\x00", 7));
    const auto item = decodeItemId(list);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, ItemKind::Folder);
    EXPECT_EQ(item->name, "ab");
}

TEST(ItemIdList, CountIsLittleEndianForLongNames)
{
    const QByteArray name(300, 'n');
    const ItemIdList list = makeItemId(ItemKind::Volume, name);
    EXPECT_EQ(std::uint8_t(list[0]), (303 & 0xFF));
    EXPECT_EQ(std::uint8_t(list[1]), (303 >> 8));
    EXPECT_EQ(decodeItemId(list)->name, name);
}

TEST(ItemIdList, AppendAndSplitRoundTrip)
{
    const ItemIdList a = makeItemId(ItemKind::Drives, {});
    const ItemIdList b = makeItemId(ItemKind::Volume, "/");
    const ItemIdList c = makeItemId(ItemKind::File, QByteArray("\xff\x00z", 3));
    const ItemIdList list = appendItemIds(appendItemIds(a, b), c);
    const auto parts = splitItemIds(list);
    ASSERT_TRUE(parts);
    EXPECT_EQ(*parts, (std::vector<ItemIdList>{a, b, c}));
    EXPECT_EQ(splitItemIds(emptyItemIdList())->size(), 0u);
}

TEST(ItemIdList, MalformedBytesAreRejected)
{
    struct Case
    {
        QByteArray bytes;
        bool firstElementReadable;
    };
    const Case cases[] = {
        {QByteArray(), false},                       // not even a terminator
        {QByteArray("\x01", 1), false},              // half a count
        {QByteArray("\x01\x00", 2), false},          // a count shorter than itself
        {QByteArray("\x09\x00\x20" "ab", 5), false}, // count past the end
        {QByteArray("\x05\x00\x20" "ab", 5), true},  // no terminator after a whole element
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(splitItemIds(c.bytes)) << c.bytes.toHex().constData();
        EXPECT_EQ(bool(decodeItemId(c.bytes)), c.firstElementReadable) << c.bytes.toHex().constData();
    }
    // An unknown kind byte names nothing.
    EXPECT_FALSE(decodeItemId(QByteArray("\x04\x00\x7f" "a\x00\x00", 6)));
}
