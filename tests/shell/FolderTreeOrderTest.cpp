// The tree over a namespace of our own making: order of the Desktop's
// children, the file-system filter, and items the namespace cannot describe.
#include "shell/FolderTreeView.h"

#include "platform/ShellFolder.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <map>

using namespace shellns;

namespace {

// A Desktop whose children are named folders; "virtual" ones are neither
// file-system objects nor hold any, "unreadable" ones have no name.
class FakeDesktop : public ShellFolder
{
public:
    explicit FakeDesktop(std::map<QByteArray, std::uint32_t> items)
        : m_items(std::move(items))
    {
    }

    std::optional<std::vector<ItemIdList>> enumObjects(std::uint32_t) const override
    {
        std::vector<ItemIdList> ids;
        // Listed in reverse, so the tree's own sort shows.
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
            ids.push_back(makeItemId(ItemKind::Folder, it->first));
        return ids;
    }

    std::optional<ItemIdList> specialFolderLocation(SpecialFolder folder) const override
    {
        if (folder == SpecialFolder::Desktop)
            return emptyItemIdList();
        if (folder == SpecialFolder::Documents)
            return makeItemId(ItemKind::Folder, "zz documents");
        return std::nullopt;
    }

protected:
    std::shared_ptr<ShellFolder> bindItem(const ItemId &) const override { return nullptr; }
    std::optional<QByteArray> itemName(const ItemId *item, std::uint32_t) const override
    {
        if (!item)
            return QByteArray("Desktop");
        if (item->name.startsWith("unreadable"))
            return std::nullopt;
        return item->name;
    }
    std::optional<std::uint32_t> itemAttributes(const ItemId *item) const override
    {
        if (!item)
            return attr::kFolder | attr::kFileSystem;
        const auto found = m_items.find(item->name);
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

QStringList childLabels(const TFolderTreeView &view)
{
    QStringList labels;
    if (view.topLevelItemCount() == 0)
        return labels;
    for (int i = 0; i < view.topLevelItem(0)->childCount(); ++i)
        labels.append(view.topLevelItem(0)->child(i)->text(0));
    return labels;
}

} // namespace

TEST(FolderTreeOrder, DocumentsLeadThenTheNamespaceOrderAndFilters)
{
    const std::uint32_t folder = attr::kFolder | attr::kFileSystem;
    auto desktop = std::make_shared<FakeDesktop>(std::map<QByteArray, std::uint32_t>{
        {"b", folder},
        {"a", folder},
        {"zz documents", folder},
        {"network", attr::kFolder},                             // virtual, holds no files
        {"library", attr::kFolder | attr::kFileSysAncestor},    // virtual, holds file folders
        {"unreadable", folder},
        {"plain file", attr::kFileSystem},
    });
    QWidget host;
    TFolderTreeView view(desktop, &host);
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Desktop"));
    EXPECT_EQ(childLabels(view), (QStringList{"zz documents", "a", "b", "library"}));

    view.setOnlyFileSystem(false);
    view.Refresh();
    EXPECT_EQ(childLabels(view), (QStringList{"zz documents", "a", "b", "library", "network"}));
    // Nodes without icons draw none rather than failing.
    EXPECT_TRUE(view.nodeIcon(*TFolderTreeView::node(view.topLevelItem(0)->child(0))).isNull());
}

TEST(FolderTreeOrder, NoDesktopMeansAnEmptyTree)
{
    QWidget host;
    TFolderTreeView view(nullptr, &host);
    EXPECT_EQ(view.topLevelItemCount(), 0);
    view.setFolderName("/tmp");
    view.Refresh();
    EXPECT_EQ(view.FolderName(), "");
}
