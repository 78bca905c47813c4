#pragma once
// One node of the folder tree: its shell record and its looks.
//
// The node owns its TFflNodeInfo. Its image, selected image and overlay are
// indices into the tree's icon list; the tree composes the icon, and the
// bold and cut (dimmed) states, when the view asks for them.
#include "shell/FflNodeInfo.h"

#include <QTreeWidgetItem>

#include <memory>

class FolderTreeNode : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 4;

    FolderTreeNode(const QString &label, std::unique_ptr<TFflNodeInfo> info);
    ~FolderTreeNode() override;

    TFflNodeInfo *info() const { return m_info.get(); }

    int imageIndex() const { return m_imageIndex; }
    int selectedIndex() const { return m_selectedIndex; }
    int overlayIndex() const { return m_overlayIndex; }
    bool isCut() const { return m_cut; }
    bool isBold() const { return m_bold; }

    void setImageIndex(int index);
    void setSelectedIndex(int index);
    void setOverlayIndex(int index);
    void setCut(bool cut);
    void setBold(bool bold);

    QVariant data(int column, int role) const override;

private:
    std::unique_ptr<TFflNodeInfo> m_info;
    int m_imageIndex = -1;
    int m_selectedIndex = -1;
    int m_overlayIndex = -1;
    bool m_cut = false;
    bool m_bold = false;
};
