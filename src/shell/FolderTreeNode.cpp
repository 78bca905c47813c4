#include "shell/FolderTreeNode.h"

#include "shell/FolderTreeView.h"

#include <QFont>

FolderTreeNode::FolderTreeNode(const QString &label, std::unique_ptr<TFflNodeInfo> info)
    : QTreeWidgetItem(kType)
    , m_info(std::move(info))
{
    setText(0, label);
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

FolderTreeNode::~FolderTreeNode() = default;

void FolderTreeNode::setImageIndex(int index)
{
    if (m_imageIndex != index) {
        m_imageIndex = index;
        emitDataChanged();
    }
}

void FolderTreeNode::setSelectedIndex(int index)
{
    if (m_selectedIndex != index) {
        m_selectedIndex = index;
        emitDataChanged();
    }
}

void FolderTreeNode::setOverlayIndex(int index)
{
    if (m_overlayIndex != index) {
        m_overlayIndex = index;
        emitDataChanged();
    }
}

void FolderTreeNode::setCut(bool cut)
{
    if (m_cut != cut) {
        m_cut = cut;
        emitDataChanged();
    }
}

void FolderTreeNode::setBold(bool bold)
{
    if (m_bold != bold) {
        m_bold = bold;
        emitDataChanged();
    }
}

QVariant FolderTreeNode::data(int column, int role) const
{
    if (column == 0) {
        auto *tree = qobject_cast<TFolderTreeView *>(treeWidget());
        switch (role) {
        case Qt::DecorationRole:
            if (tree)
                return tree->nodeIcon(*this);
            break;
        case Qt::FontRole:
            if (tree && m_bold) {
                QFont font = tree->font();
                font.setBold(true);
                return font;
            }
            break;
        case Qt::ForegroundRole:
            if (tree && m_cut) {
                QColor dimmed = tree->palette().color(QPalette::Text);
                dimmed.setAlpha(128);
                return dimmed;
            }
            break;
        default:
            break;
        }
    }
    return QTreeWidgetItem::data(column, role);
}
