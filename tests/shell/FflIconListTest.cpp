#include "shell/FflIconList.h"
#include "shell/IconExtractor.h"

#include "namespace/ShellFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Draws a plain square for any location; counts what it was asked.
class FakeExtractor : public IconExtractor
{
public:
    QPixmap extract(const QByteArray &location, int, int size) const override
    {
        ++calls;
        if (location == "throws")
            throw std::runtime_error("broken icon");
        if (location == "missing")
            return QPixmap();
        lastSize = size;
        QPixmap picture(size, size);
        picture.fill(Qt::darkGreen);
        return picture;
    }
    mutable int calls = 0;
    mutable int lastSize = 0;
};

// A folder whose only answer is an overlay; counts the questions.
class OverlayFolder : public shellns::ShellFolder
{
public:
    std::optional<std::vector<shellns::ItemIdList>> enumObjects(std::uint32_t) const override { return {}; }
    mutable int asked = 0;

protected:
    std::shared_ptr<ShellFolder> bindItem(const shellns::ItemId &) const override { return nullptr; }
    std::optional<QByteArray> itemName(const shellns::ItemId *, std::uint32_t) const override { return {}; }
    std::optional<std::uint32_t> itemAttributes(const shellns::ItemId *) const override { return {}; }
    int compareItems(const shellns::ItemId &, const shellns::ItemId &) const override { return 0; }
    std::optional<shellns::IconLocation> itemIcon(const shellns::ItemId *, unsigned) const override { return {}; }
    std::optional<int> itemOverlay(const shellns::ItemId &) const override
    {
        ++asked;
        return shellns::kImageLinkOverlay;
    }
};

} // namespace

TEST(FflIconList, SharesEqualIconsAndCountsUsers)
{
    FakeExtractor extractor;
    TFflIconList list(nullptr, true);
    EXPECT_EQ(list.iconSize(), QSize(16, 16));
    const int folder = list.acquireIcon(&extractor, "folder", 0);
    EXPECT_EQ(folder, 0);
    EXPECT_EQ(list.acquireIcon(&extractor, "FOLDER", 0), folder); // letter case does not matter
    EXPECT_EQ(list.acquireIcon(&extractor, "folder", 1), 1);      // another index is another image
    EXPECT_EQ(extractor.calls, 2);
    EXPECT_EQ(extractor.lastSize, 16);
    EXPECT_EQ(list.entries()[0].refCount, 2);

    EXPECT_FALSE(list.releaseIcon(folder));
    EXPECT_EQ(list.count(), 2);
    EXPECT_TRUE(list.releaseIcon(folder));
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries()[0].iconIndex, 1);
}

TEST(FflIconList, FailuresGiveMinusOneAndAddNothing)
{
    FakeExtractor extractor;
    TFflIconList list(nullptr, false);
    EXPECT_EQ(list.acquireIcon(&extractor, "throws", 0), -1);
    EXPECT_EQ(list.acquireIcon(&extractor, "missing", 0), -1);
    EXPECT_EQ(list.acquireIcon(nullptr, "NoSuchBitmap", 0), -1);
    EXPECT_EQ(list.acquireIcon(nullptr, QByteArray(), 99), -1); // no such system image
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.entries().isEmpty());
    EXPECT_FALSE(list.releaseIcon(-1));
    EXPECT_FALSE(list.releaseIcon(0));

    // Images added behind the list's back make it refuse further icons.
    EXPECT_EQ(list.acquireIcon(&extractor, "folder", 0), 0);
    list.addImage(QPixmap(48, 48));
    EXPECT_EQ(list.acquireIcon(&extractor, "file", 0), -1);
    EXPECT_EQ(extractor.lastSize, 48);
}

TEST(FflIconList, ReleasingAnImageMovesLaterImagesAndOverlays)
{
    FakeExtractor extractor;
    OverlayFolder folder;
    TFflIconList list(nullptr, true);
    ASSERT_EQ(list.acquireIcon(&extractor, "icon", 0), 0);
    ASSERT_EQ(list.acquireIcon(&extractor, "icon", 1), 1);
    ASSERT_EQ(list.setShellOverlay(1, &folder, shellns::makeItemId(shellns::ItemKind::File, "x")), 2);
    ASSERT_EQ(list.setResourceOverlay(0, "OverlayHidden"), 3);
    ASSERT_EQ(list.acquireIcon(&extractor, "icon", 4), 4);
    const qint64 lastImage = list.image(4).cacheKey();

    EXPECT_TRUE(list.releaseIcon(2));
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.entries().size(), 4);
    EXPECT_EQ(list.entries()[2].location, "OverlayHidden"); // 3 and 4 became 2 and 3
    EXPECT_EQ(list.image(3).cacheKey(), lastImage);
    EXPECT_EQ(list.overlay(0), 2);  // held 3
    EXPECT_EQ(list.overlay(1), -1); // held the removed image

    // A filled slot answers without asking the folder again.
    EXPECT_EQ(list.setResourceOverlay(2, "OverlayHidden"), 2);
    const int asked = folder.asked;
    list.setShellOverlay(2, &folder, shellns::makeItemId(shellns::ItemKind::File, "y"));
    EXPECT_EQ(folder.asked, asked);
}

TEST(FflIconList, OverlaySlotFollowsItsImage)
{
    FakeExtractor extractor;
    TFflIconList list(nullptr, true);
    for (int i = 0; i < 5; ++i)
        list.acquireIcon(&extractor, "icon", i);
    OverlayFolder folder;
    const int overlay = list.setShellOverlay(2, &folder, shellns::makeItemId(shellns::ItemKind::File, "x"));
    ASSERT_EQ(overlay, 5);
    list.releaseIcon(overlay);
    EXPECT_EQ(list.overlay(2), -1); // the slot that held the removed image is emptied
    EXPECT_EQ(list.setShellOverlay(2, &folder, shellns::makeItemId(shellns::ItemKind::File, "x")), 5);
    EXPECT_EQ(folder.asked, 2);
}

TEST(FflIconList, ResourceBitmapsHaveMagentaLeftOut)
{
    TFflIconList list(nullptr, true);
    const int hidden = list.setResourceOverlay(0, "OverlayHidden");
    ASSERT_EQ(hidden, 0);
    EXPECT_EQ(list.overlay(0), 0);
    const QImage image = list.image(hidden).toImage();
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(image.pixel(15, 0)), 0);     // magenta corner: transparent
    EXPECT_EQ(qAlpha(image.pixel(4, 11)), 255);   // the emblem itself

    // The toolbar strip: cells of the list's size, picked by index.
    EXPECT_GE(list.acquireIcon(nullptr, "ToolBar-Normal", 3), 0);
    EXPECT_EQ(list.acquireIcon(nullptr, "ToolBar-Normal", 4), -1);
}

namespace {

// A folder whose items are named after their icons: "a+b" has the icon "a"
// and the open icon "b"; "a" has no open icon.
class IconFolder : public OverlayFolder
{
protected:
    std::optional<shellns::IconLocation> itemIcon(const shellns::ItemId *item, unsigned flags) const override
    {
        const QList<QByteArray> parts = item->name.split('+');
        if (flags & shellns::iconflags::kOpenIcon)
            return parts.size() > 1 ? std::optional<shellns::IconLocation>({parts[1], 0}) : std::nullopt;
        return shellns::IconLocation{parts[0], 0};
    }
};

} // namespace

TEST(FflIconList, ItemIconsAreSharedAndGivenBackWithMovedIndices)
{
    using namespace shellns;
    FakeExtractor extractor;
    IconFolder folder;
    TFflIconList list(nullptr, true);
    const FflItemIcons plain = list.acquireItemIcons(&extractor, folder, makeItemId(ItemKind::File, "plain"), 0);
    const FflItemIcons same = list.acquireItemIcons(&extractor, folder, makeItemId(ItemKind::Folder, "dir+dir"), 0);
    const FflItemIcons folderIcons =
        list.acquireItemIcons(&extractor, folder, makeItemId(ItemKind::Folder, "folder+open"), attr::kLink);
    EXPECT_EQ(plain.image, plain.selected);
    EXPECT_EQ(same.image, same.selected); // one picture open and shut: one reference
    EXPECT_EQ(list.entries()[same.image].refCount, 1);
    EXPECT_NE(folderIcons.image, folderIcons.selected);
    EXPECT_EQ(folderIcons.overlay, 2);
    EXPECT_GE(list.overlay(2), 0);
    EXPECT_FALSE(list.itemIcon(folderIcons, true).isNull());
    EXPECT_TRUE(list.itemIcon(FflItemIcons(), false).isNull());

    // "plain" (0) and "dir" (1) go; the folder's images move down by two.
    QList<int> removed;
    list.releaseItemIcons(plain, [&](int index) { removed.append(index); });
    list.releaseItemIcons({same.image - 1, same.selected - 1, -1}, [&](int index) { removed.append(index); });
    EXPECT_EQ(removed, (QList<int>{0, 0}));
    const FflItemIcons moved{folderIcons.image - 2, folderIcons.selected - 2, 2};
    removed.clear();
    list.releaseItemIcons(moved, [&](int index) { removed.append(index); });
    EXPECT_EQ(removed, (QList<int>{moved.selected, moved.image}));
    EXPECT_EQ(list.count(), 1); // the overlay stays
}
