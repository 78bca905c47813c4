#pragma once
// One node of the folder tree: its shell record, its children and its looks.
//
// The node owns its TFflNodeInfo and its children. What only a painted row
// needs is made the first time the row is shown: the label is read from
// the namespace, the image, open image and overlay are acquired from the
// tree's icon list. The cut (dimmed) state comes with the attributes, the
// bold state with the selection.
#include "shell/FflIconList.h"
#include "shell/FflNodeInfo.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class IconExtractor;

class FolderTreeNode
{
public:
    FolderTreeNode(FolderTreeNode *parent, TFflNodeInfo info);
    ~FolderTreeNode();
    FolderTreeNode(const FolderTreeNode &) = delete;
    FolderTreeNode &operator=(const FolderTreeNode &) = delete;
    // Only while a node's siblings are being gathered: children point to it.
    FolderTreeNode(FolderTreeNode &&) = default;

    TFflNodeInfo *info() { return &m_info; }
    const TFflNodeInfo *info() const { return &m_info; }
    FolderTreeNode *parent() const { return m_parent; }
    int row() const { return m_row; }
    int childCount() const { return int(m_children.size()); }
    FolderTreeNode *child(int row) const;
    // Takes the children read from the node's folder, in their order. They
    // are held side by side and never move again.
    void setChildren(std::vector<FolderTreeNode> children);

    // The folder object that holds this node's item (the Desktop's own for the root).
    shellns::ShellFolder *parentFolder() const;
    // The item's label for people, read the first time it is asked.
    QString label() const;

    // The pictures, acquired from `images` the first time they are asked.
    const FflItemIcons &icons(TFflIconList &images, const IconExtractor *extractor);
    bool hasIcons() const { return m_looks && m_looks->icons; }
    int imageIndex() const { return hasIcons() ? m_looks->icons->image : -1; }
    int selectedIndex() const { return hasIcons() ? m_looks->icons->selected : -1; }
    int overlayIndex() const { return hasIcons() ? m_looks->icons->overlay : -1; }

    bool isCut() const { return m_cut; }
    void setCut(bool cut) { m_cut = cut; }
    bool isBold() const { return m_bold; }
    void setBold(bool bold) { m_bold = bold; }
    // Its folder is being read and has not answered for a while.
    bool isLoading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

private:
    // What only a shown row needs, made the first time it is asked: most
    // nodes of a big folder are never shown, and a small node keeps the
    // making of thousands of siblings cheap.
    struct Looks
    {
        std::optional<QString> label;
        std::optional<FflItemIcons> icons;
    };
    Looks &looks() const;

    FolderTreeNode *m_parent;
    TFflNodeInfo m_info;
    std::vector<FolderTreeNode> m_children;
    mutable std::unique_ptr<Looks> m_looks;
    int m_row = 0;
    bool m_cut = false;
    bool m_bold = false;
    bool m_loading = false;
};
